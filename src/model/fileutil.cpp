#include "model/fileutil.h"

#include "model/textutil.h"
#include "model/userdefaults.h"

namespace FileUtil {

namespace {

// Characters that have no place in a file name and stand for a blank instead: the control
// characters (NUL, which would cut the name short for the system, tab, line breaks, escape, DEL
// and the C1 range) and the Unicode line and paragraph separators.
bool isControl(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

// Blanks that separate words of a file name: the Unicode space separators, and the characters
// above once they were made blanks.
bool isBlank(QChar c)
{
    return c.category() == QChar::Separator_Space;
}

QString withoutControls(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (isControl(c))
            c = u' ';
    }
    return result;
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
    QString name = TextUtil::trimmedString(withoutControls(fileName));
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
