#include "tools/tagcomposer.h"

#include "editor/transformers.h"
#include "model/song.h"
#include "tools/tokenutil.h"

namespace {

QString tokenValue(const PatternElement &token, const Song &song)
{
    if (TokenUtil::tokenForString(token.text()) == Token::Length)
        return Number2LengthTransformer::transformValue(song.length());
    // The numbers of the pairs, the year and the bit rate come out in decimal; an unknown token
    // reads nothing.
    return song.valueForKey(TokenUtil::propertyStringFromToken(token)).toString();
}

} // namespace

namespace TagComposer {

QString composedText(const Pattern &pattern, const Song &song)
{
    QString text = QStringLiteral("");
    for (const PatternElement &element : pattern)
        text += element.isToken() ? tokenValue(element, song) : element.text();
    return text;
}

void composeTags(const Pattern &pattern, Song &ofSong, const QString &toProperty)
{
    ofSong.setValueForKey(toProperty, composedText(pattern, ofSong));
}

} // namespace TagComposer
