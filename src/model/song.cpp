#include "model/song.h"

#include "model/fileutil.h"
#include "model/textutil.h"
#include "model/userdefaults.h"

#include <limits>

namespace {

const QString &emptyText()
{
    static const QString empty = QStringLiteral("");
    return empty;
}

// Trimmed, and never null: a stored text is "" rather than absent once set.
QString trimmedText(const QString &text)
{
    QString trimmed = TextUtil::trimmedString(text);
    return trimmed.isNull() ? emptyText() : trimmed;
}

// The integer value of a text's leading decimal integer after optional white space and an
// optional sign; 0 when there is none. Saturates instead of overflowing.
qint64 leadingInteger(const QString &text)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < size && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    quint64 magnitude = 0;
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    for (; i < size; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            break;
        magnitude = magnitude * 10 + quint64(c - u'0');
        if (magnitude >= limit) {
            magnitude = limit;
            while (i + 1 < size && text.at(i + 1).unicode() >= u'0' && text.at(i + 1).unicode() <= u'9')
                ++i;
        }
    }
    if (negative)
        return magnitude == limit ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
    return qint64(magnitude);
}

bool isNumericView(QStringView text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            if (!QChar::isDigit(QChar::surrogateToUcs4(c, text.at(i + 1))))
                return false;
            ++i;
        } else if (!c.isDigit()) {
            return false;
        }
    }
    return true;
}

// The value of one part of a number pair: its leading ASCII digits if the whole part is made of
// decimal digits, else 0. Values from 2147483647 up count as 0.
qint32 naturalNumber(QStringView part)
{
    if (!isNumericView(part))
        return 0;
    constexpr qint64 Overflow = std::numeric_limits<qint32>::max();
    qint64 value = 0;
    for (const QChar c : part) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value >= Overflow)
            return 0;
    }
    return qint32(value);
}

QStringView firstPart(QStringView text)
{
    const qsizetype slash = text.indexOf(u'/');
    return slash < 0 ? text : text.first(slash);
}

QStringView secondPart(QStringView text)
{
    const qsizetype slash = text.indexOf(u'/');
    return slash < 0 ? QStringView() : text.sliced(slash + 1);
}

// The last path component, ignoring trailing separators.
QStringView lastComponent(QStringView path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.sliced(slash + 1);
}

bool extensionIs(const Song &song, QStringView a, QStringView b = {})
{
    const QString extension = song.extension();
    return extension.compare(a, Qt::CaseInsensitive) == 0
        || (!b.isEmpty() && extension.compare(b, Qt::CaseInsensitive) == 0);
}

} // namespace

Song::Song()
    : m_track(emptyText()),
      m_title(emptyText()),
      m_artist(emptyText()),
      m_albumArtist(emptyText()),
      m_composer(emptyText()),
      m_album(emptyText()),
      m_disc(emptyText()),
      m_genre(emptyText()),
      m_comment(emptyText()),
      m_lyrics(emptyText()),
      m_filePath(emptyText())
{
}

// ---- Notification and flags

void Song::setFlag(SongField field)
{
    Q_ASSERT(int(field) < SongFlaggedFieldCount);
    m_mods |= bit(field);
}

void Song::notifyField(SongField field)
{
    m_observers.notify([this, field](SongObserver *observer) { observer->songFieldChanged(*this, field); });
}

void Song::willChangeModified()
{
    m_observers.notify([this](SongObserver *observer) { observer->songModifiedWillChange(*this); });
}

void Song::didChangeModified()
{
    m_observers.notify([this](SongObserver *observer) { observer->songModifiedDidChange(*this); });
}

void Song::storeText(QString &slot, const QString &value, SongField field)
{
    willChangeModified();
    slot = value;
    setFlag(field);
    notifyField(field);
    didChangeModified();
}

void Song::resetModifications()
{
    willChangeModified();
    m_mods = 0;
    didChangeModified();
}

// ---- Text setters

bool Song::setText(QString &slot, const QString &value, SongField field)
{
    // The guard compares the argument as given; the stored value is trimmed.
    if (value.isNull() || value == slot)
        return false;
    storeText(slot, trimmedText(value), field);
    return true;
}

void Song::setTitle(const QString &title)
{
    setText(m_title, title, SongField::Title);
}

void Song::setArtist(const QString &artist)
{
    if (setText(m_artist, artist, SongField::Artist)
        && UserDefaults::shared().boolForKey(QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST")))
        setAlbumArtist(artist);
}

void Song::setAlbumArtist(const QString &albumArtist)
{
    if (!setText(m_albumArtist, albumArtist, SongField::AlbumArtist))
        return;
    if (!UserDefaults::shared().boolForKey(QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS")))
        return;
    const QString lower = albumArtist.toLower();
    setIsCompilation(lower == u"various artists" || lower == u"various" ? 1 : 0);
}

void Song::setComposer(const QString &composer)
{
    setText(m_composer, composer, SongField::Composer);
}

void Song::setAlbum(const QString &album)
{
    setText(m_album, album, SongField::Album);
}

void Song::setGenre(const QString &genre)
{
    setText(m_genre, genre, SongField::Genre);
}

void Song::setComment(const QString &comment)
{
    setText(m_comment, comment, SongField::Comment);
}

void Song::setLyrics(const QString &lyrics)
{
    setText(m_lyrics, lyrics, SongField::Lyrics);
}

// ---- Number pairs as fields

void Song::setTrack(const QString &track)
{
    if (track.isNull() || track == m_track)
        return;
    // An invalid text is not refused: it clears the field.
    storeText(m_track, isValidNaturalNumberOrPair(track) ? trimmedText(track) : emptyText(),
              SongField::Track);
}

void Song::setDisc(const QString &disc)
{
    if (disc.isNull() || disc == m_disc)
        return;
    storeText(m_disc, isValidNaturalNumberOrPair(disc) ? trimmedText(disc) : emptyText(),
              SongField::Disc);
}

void Song::noCheck_setTrack(const QString &track)
{
    if (!track.isNull())
        storeText(m_track, trimmedText(track), SongField::Track);
}

void Song::noCheck_setDisc(const QString &disc)
{
    if (!disc.isNull())
        storeText(m_disc, trimmedText(disc), SongField::Disc);
}

// ---- Numbers

void Song::setYear(qint64 year)
{
    if (year == m_year)
        return;
    willChangeModified();
    m_year = year;
    setFlag(SongField::Year);
    notifyField(SongField::Year);
    didChangeModified();
}

void Song::setYear(const QString &year)
{
    if (!year.isNull())
        setYear(leadingInteger(year));
}

void Song::setIsCompilation(qint64 isCompilation)
{
    if (isCompilation == m_isCompilation)
        return;
    willChangeModified();
    m_isCompilation = isCompilation;
    setFlag(SongField::IsCompilation);
    notifyField(SongField::IsCompilation);
    didChangeModified();
}

void Song::setIsCompilation(const QString &isCompilation)
{
    setIsCompilation(isCompilation.isNull() ? 0 : leadingInteger(isCompilation));
}

// ---- File name

void Song::setFileName(const QString &fileName)
{
    if (fileName.isNull())
        return;
    // A name must keep the file's type: it has to end with the extension of the file on disk.
    const QString extension = this->extension();
    if (extension.isEmpty() || !fileName.toLower().endsWith(extension.toLower()))
        return;
    if (fileName == m_fileName)
        return;
    storeText(m_fileName, trimmedText(fileName), SongField::FileName);
}

void Song::noCheck_setFileName(const QString &fileName)
{
    if (!fileName.isNull())
        storeText(m_fileName, trimmedText(fileName), SongField::FileName);
}

// ---- Plain properties

void Song::setBitrate(qint32 bitrate)
{
    if (bitrate == m_bitrate)
        return;
    m_bitrate = bitrate;
    notifyField(SongField::Bitrate);
}

void Song::setLength(qint32 length)
{
    if (length == m_length)
        return;
    m_length = length;
    notifyField(SongField::Length);
}

void Song::setFilePath(const QString &filePath)
{
    if (filePath == m_filePath && !filePath.isNull())
        return;
    m_filePath = filePath.isNull() ? emptyText() : filePath;
    notifyField(SongField::FilePath);
}

void Song::setIsRenamable(bool isRenamable)
{
    if (isRenamable == m_isRenamable)
        return;
    m_isRenamable = isRenamable;
    notifyField(SongField::IsRenamable);
}

// ---- Number pair operations

bool Song::isNumeric(const QString &text)
{
    return isNumericView(text);
}

QString Song::firstStringInPair(const QString &text)
{
    const qsizetype slash = text.indexOf(u'/');
    return slash < 0 ? text : text.first(slash);
}

QString Song::secondStringInPair(const QString &text)
{
    const qsizetype slash = text.indexOf(u'/');
    return slash < 0 ? emptyText() : text.sliced(slash + 1);
}

qint32 Song::firstNaturalNumberInPair(const QString &text)
{
    return naturalNumber(firstPart(text));
}

qint32 Song::secondNaturalNumberInPair(const QString &text)
{
    return naturalNumber(secondPart(text));
}

bool Song::isValidNaturalNumberOrPair(const QString &text)
{
    if (text.isNull())
        return false;
    const qsizetype slash = text.indexOf(u'/');
    if (slash < 0)
        return naturalNumber(text) != 0;
    const QStringView first = QStringView(text).first(slash);
    const QStringView second = QStringView(text).sliced(slash + 1);
    return (first.isEmpty() || naturalNumber(first) != 0)
        && (second.isEmpty() || naturalNumber(second) != 0);
}

bool Song::hasTrackCount() const { return m_track.contains(u'/'); }
bool Song::hasDiscCount() const { return m_disc.contains(u'/'); }
qint32 Song::trackNumber() const { return naturalNumber(firstPart(m_track)); }
qint32 Song::trackCount() const { return naturalNumber(secondPart(m_track)); }
qint32 Song::discNumber() const { return naturalNumber(firstPart(m_disc)); }
qint32 Song::discCount() const { return naturalNumber(secondPart(m_disc)); }
QString Song::trackNumberAsString() const { return firstStringInPair(m_track); }
QString Song::trackCountAsString() const { return secondStringInPair(m_track); }
QString Song::discNumberAsString() const { return firstStringInPair(m_disc); }
QString Song::discCountAsString() const { return secondStringInPair(m_disc); }

// ---- Images

void Song::insertObject(const Image &image, int inImagesAtIndex)
{
    Q_ASSERT(inImagesAtIndex >= 0 && inImagesAtIndex <= m_images.size());
    for (const Image &present : std::as_const(m_images)) {
        if (present.isEqualToImage(image))
            return;
    }
    willChangeModified();
    m_images.insert(inImagesAtIndex, image);
    setFlag(SongField::Images);
    notifyField(SongField::Images);
    didChangeModified();
}

void Song::removeObjectFromImagesAtIndex(int index)
{
    Q_ASSERT(index >= 0 && index < m_images.size());
    willChangeModified();
    m_images.removeAt(index);
    setFlag(SongField::Images);
    notifyField(SongField::Images);
    didChangeModified();
}

void Song::addImage(const Image &image)
{
    insertObject(image, countOfImages());
}

void Song::removeImage(const Image &image)
{
    // A copy: the argument may be an element of the list itself.
    const Image removed = image;
    for (int index = countOfImages() - 1; index >= 0; --index) {
        if (m_images.at(index).isEqualToImage(removed))
            removeObjectFromImagesAtIndex(index);
    }
}

void Song::removeAllImages()
{
    for (int index = countOfImages() - 1; index >= 0; --index)
        removeObjectFromImagesAtIndex(index);
}

// ---- File helpers

QString Song::folder() const
{
    QStringView path = m_filePath;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return emptyText();
    if (slash == 0)
        return QStringLiteral("/");
    return path.first(slash).toString();
}

QString Song::extension() const
{
    const QStringView name = lastComponent(m_filePath);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? emptyText() : name.sliced(dot + 1).toString();
}

QString Song::fileNameWithoutExtension() const
{
    const qsizetype dot = m_fileName.lastIndexOf(u'.');
    return dot < 0 ? m_fileName : m_fileName.first(dot);
}

bool Song::isMP3() const { return extensionIs(*this, u"mp3"); }
bool Song::isM4A() const { return extensionIs(*this, u"m4a", u"m4b"); }
bool Song::isFLAC() const { return extensionIs(*this, u"flac"); }
bool Song::isAIFF() const { return extensionIs(*this, u"aif", u"aiff"); }
bool Song::isWAV() const { return extensionIs(*this, u"wav"); }

bool Song::isFileNameSane() const
{
    return m_fileName == FileUtil::sanitizeFileName(m_fileName);
}

QUrl Song::previewItemURL() const
{
    return QUrl::fromLocalFile(m_filePath);
}

QString Song::description() const
{
    return QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9")
        .arg(m_track, m_title, m_artist, m_album, m_disc, m_genre, QString::number(m_year),
             m_comment, m_fileName);
}
