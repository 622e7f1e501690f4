#include "model/fileutil.h"

#include "model/textutil.h"
#include "model/userdefaults.h"

namespace FileUtil {

namespace {

// Blanks that separate words of a file name: the Unicode space separators and the tab. Line
// breaks are not among them; they stay inside a name.
bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QString collapseBlanks(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool pendingBlank = false;
    for (const QChar c : text) {
        if (isBlank(c)) {
            pendingBlank = !result.isEmpty();
            continue;
        }
        if (pendingBlank)
            result.append(u' ');
        pendingBlank = false;
        result.append(c);
    }
    if (result.isNull())
        result = QStringLiteral(""); // an empty name, not an absent one
    return result;
}

} // namespace

QString sanitizeFileName(const QString &fileName)
{
    QString name = TextUtil::trimmedString(fileName);
    name.replace(u'/', u'-').replace(u':', u'-');
    if (UserDefaults::shared().boolForKey(QStringLiteral("ENSURE_VALID_WINDOWS_FILES"))) {
        name.replace(u'\\', u'-')
            .replace(u'*', u'-')
            .remove(u'?')
            .replace(u'"', u'\'')
            .replace(u'<', u'(')
            .replace(u'>', u')')
            .replace(u'|', u'-')
            .remove(u'^');
    }
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name.at(begin) == u'-')
        ++begin;
    while (end > begin && name.at(end - 1) == u'-')
        --end;
    return collapseBlanks(name.sliced(begin, end - begin));
}

} // namespace FileUtil
