#pragma once

#include "model/image.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <optional>

class Song;

// The presentation rules of the field area, the song table and the cover panel: pure functions
// from the values of the selection to what is shown. None of them changes a song. Inputs that
// may be "no value" or "not of the expected kind" are QVariants (an invalid QVariant is no
// value); "no output" is nullopt.

// The values of one property of each song, in the songs' order (the input of the list rules).
QVariantList valuesForKey(const QList<Song *> &songs, QStringView key);

// The choices of a combo box: the distinct text forms of the values in order of first
// occurrence, leaving out "" and "0", then postTransform(). A list held in the QVariant
// (QVariantList, QStringList, ...) is read; no value or anything else gives no output.
class Array2SetAsArrayTransformer {
public:
    virtual ~Array2SetAsArrayTransformer() = default;
    std::optional<QStringList> transformedValue(const QVariant &values) const;

protected:
    virtual QStringList postTransform(const QStringList &choices) const { return choices; }
};

// The distinct genres of the selection, then the genre history entries not already among them.
class Genre2ArrayTransformer : public Array2SetAsArrayTransformer {
public:
    // GENRE_HISTORY, read at each call.
    static QStringList genreHistory();

protected:
    QStringList postTransform(const QStringList &choices) const override;
};

// The distinct disc values, then "1" and "1/1" unless already present.
class Disc2ArrayTransformer : public Array2SetAsArrayTransformer {
protected:
    QStringList postTransform(const QStringList &choices) const override;
};

// A number as text, "" for no value and for 0; back: the text's leading integer (after blanks
// and a sign; 0 without one), no value for a null text.
class Number2StringTransformer {
public:
    static QString transformedValue(const QVariant &number);
    static QVariant reverseTransformedValue(const QString &text);
};

// Seconds as "m:ss" below an hour and "h:mm:ss" from an hour on; "0:00" for no value, for
// anything that is not a number and for 0.
class Number2LengthTransformer {
public:
    static QString transformValue(const QVariant &seconds);
    QString transformedValue(const QVariant &seconds) const { return transformValue(seconds); }
};

// True if any song of the list is modified.
class Songs2IsDirtyTransformer {
public:
    static bool transformedValue(const QList<bool> &isModified);
    static bool transformedValue(const QList<Song *> &songs);
};

// The colour of a song's file name; the window maps it to its palette.
enum class TextColor {
    Normal,
    Disabled,
    Red,
};

// Disabled for a song that may not be renamed; for others normal when the file name is sane,
// red when not. Normal for no song.
class Song2TextColorTransformer {
public:
    static TextColor transformedValue(const Song *song);
};

// True if a list is given and has at least one element. Any sequential container held in the
// QVariant counts as a list; anything else is not one.
class Array2IsNonEmptyTransformer {
public:
    static bool transformedValue(const QVariant &list);
};

// True if a list is given and has more than one element.
class Array2IsMultipleTransformer {
public:
    static bool transformedValue(const QVariant &list);
};

// True unless the index is NoneIndex.
class SelectionIndex2IsValidTransformer {
public:
    static bool transformedValue(qint64 selectionIndex);
};

// Despite its name: true when the text has at least one character, false for the empty text
// (it enables controls that need a text).
class String2IsEmptyTransformer {
public:
    static bool transformedValue(const QString &text);
};

// The plain-text side of the styled lyrics text: the window shows the text in white, in the
// system font at FontPointSize points. Forward keeps no value as no value (null); back gives
// "" for no value.
class AttributedString2StringTransformer {
public:
    static constexpr int FontPointSize = 11;
    static QString transformedValue(const QString &text) { return text; }
    static QString reverseTransformedValue(const QString &plainText);
};

// The distinct pictures of a list of picture lists (isEqualToImage), in order of first
// occurrence. No input gives no output.
class ImagesOfSongs2ArrayTransformer {
public:
    static std::optional<QList<Image>> transformedValue(const std::optional<QList<QList<Image>>> &imageLists);
    // The picture lists of the songs; an empty list of songs gives no output.
    static std::optional<QList<Image>> transformedValue(const QList<Song *> &songs);
};
