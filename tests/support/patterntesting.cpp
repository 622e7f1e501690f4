#include "patterntesting.h"

#include "model/song.h"
#include "tools/patternsyntax.h"

#include <QFileInfo>

Pattern patternFromText(const QString &syntax)
{
    const Result<Pattern> pattern = PatternSyntax::parse(syntax);
    if (!pattern.ok())
        qFatal("test pattern \"%s\" does not parse: %s", qPrintable(syntax), qPrintable(pattern.error().detail));
    return pattern.value();
}

QString describePattern(const Pattern &pattern)
{
    QString text;
    for (const PatternElement &element : pattern)
        text += element.isToken() ? '{' + element.text() + '}' : '[' + element.text() + ']';
    return text;
}

std::unique_ptr<Song> makeSong(const QString &path, const QVariantHash &fields)
{
    auto song = std::make_unique<Song>();
    song->setFilePath(path);
    song->setFileName(QFileInfo(path).fileName());
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        song->setValueForKey(it.key(), it.value());
    song->resetModifications();
    return song;
}
