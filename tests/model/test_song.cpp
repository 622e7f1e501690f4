#include "model/song.h"
#include "model/userdefaults.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using TextSetter = void (Song::*)(const QString &);
using TextGetter = const QString &(Song::*)() const;

struct TextField {
    TextSetter set;
    TextGetter get;
    SongField flag;
};

TextField textField(const QString &name)
{
    static const QHash<QString, TextField> fields{
        {"title", {&Song::setTitle, &Song::title, SongField::Title}},
        {"artist", {&Song::setArtist, &Song::artist, SongField::Artist}},
        {"albumArtist", {&Song::setAlbumArtist, &Song::albumArtist, SongField::AlbumArtist}},
        {"composer", {&Song::setComposer, &Song::composer, SongField::Composer}},
        {"album", {&Song::setAlbum, &Song::album, SongField::Album}},
        {"genre", {&Song::setGenre, &Song::genre, SongField::Genre}},
        {"comment", {&Song::setComment, &Song::comment, SongField::Comment}},
        {"lyrics", {&Song::setLyrics, &Song::lyrics, SongField::Lyrics}},
    };
    return fields.value(name);
}

// Records every notification with the modification state seen at that moment.
class RecordingObserver : public SongObserver {
public:
    void songFieldChanged(Song &song, SongField field) override
    {
        events.append(QStringLiteral("field:%1").arg(Song::keyForField(field)));
        Q_UNUSED(song);
    }
    void songModifiedWillChange(Song &song) override
    {
        events.append(QStringLiteral("will"));
        modifiedBefore.append(song.isModified());
    }
    void songModifiedDidChange(Song &song) override
    {
        events.append(QStringLiteral("did"));
        modifiedAfter.append(song.isModified());
    }

    QStringList events;
    QList<bool> modifiedBefore;
    QList<bool> modifiedAfter;
};

const QString BindAlbumArtist = QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST");
const QString BindCompilation = QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS");

// A song as loading leaves it: a path, its file name, no flags.
void load(Song &song, const QString &path)
{
    song.setFilePath(path);
    song.setFileName(path.section(u'/', -1));
    song.resetModifications();
}

} // namespace

class TestSong : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void constructsEmpty();
    void numberPairs_data();
    void numberPairs();
    void isNumericTakesUnicodeDigits_data();
    void isNumericTakesUnicodeDigits();
    void derivedPairAccessors();

    void textSetters_data();
    void textSetters();
    void trackAndDiscSetters_data();
    void trackAndDiscSetters();
    void invalidTrackThenValidTrack();
    void uncheckedSettersSkipValidation();
    void yearSetter_data();
    void yearSetter();
    void compilationSetter_data();
    void compilationSetter();
    void fileNameSetter_data();
    void fileNameSetter();

    void albumArtistFollowsArtist();
    void compilationFollowsAlbumArtist_data();
    void compilationFollowsAlbumArtist();
    void bindingsReadAtEachCall();

    void imagesWithoutDuplicates();
    void removeImageRemovesEveryEqualPicture();
    void removeAllImagesOnEmptyListLeavesFlagClear();

    void resetKeepsValues();
    void observerSeesEveryEffectiveChange();
    void observerHearsNothingFromNoOps();
    void observerAroundReset();

    void valueForKeyRoundTrip();
    void setValueForKeyUsesSetters();

    void fileHelpers_data();
    void fileHelpers();
    void fileNameSanity();
    void description();

private:
    QTemporaryDir m_dir;
};

void TestSong::initTestCase()
{
    QVERIFY(m_dir.isValid());
    UserDefaults::shared().openStore(m_dir.filePath("settings.ini"));
    UserDefaults::shared().registerDefaults({{"ENSURE_VALID_WINDOWS_FILES", true}});
}

void TestSong::init()
{
    UserDefaults::shared().setBool(false, BindAlbumArtist);
    UserDefaults::shared().setBool(false, BindCompilation);
}

void TestSong::constructsEmpty()
{
    Song song;
    for (const char *key : {"track", "title", "artist", "albumArtist", "composer", "album", "disc",
                            "genre", "comment", "lyrics", "filePath"}) {
        const QVariant value = song.valueForKey(QString::fromLatin1(key));
        QVERIFY2(!value.toString().isNull() && value.toString().isEmpty(), key);
    }
    QVERIFY(song.fileName().isNull());
    QCOMPARE(song.year(), 0);
    QCOMPARE(song.isCompilation(), 0);
    QVERIFY(song.isRenamable());
    QCOMPARE(song.countOfImages(), 0);
    QVERIFY(!song.isModified());
}

void TestSong::numberPairs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("firstString");
    QTest::addColumn<QString>("secondString");

    QTest::newRow("number") << "7" << true << 7 << 0 << "7" << "";
    QTest::newRow("pair with zeros") << "07/12" << true << 7 << 12 << "07" << "12";
    QTest::newRow("number and slash") << "7/" << true << 7 << 0 << "7" << "";
    QTest::newRow("count only") << "/12" << true << 0 << 12 << "" << "12";
    QTest::newRow("slash only") << "/" << true << 0 << 0 << "" << "";
    QTest::newRow("empty") << "" << false << 0 << 0 << "" << "";
    QTest::newRow("zero") << "0" << false << 0 << 0 << "0" << "";
    QTest::newRow("zero with count") << "0/12" << false << 0 << 12 << "0" << "12";
    QTest::newRow("zero count") << "3/0" << false << 3 << 0 << "3" << "0";
    QTest::newRow("leading blank") << " 7" << false << 0 << 0 << " 7" << "";
    QTest::newRow("trailing blank") << "7 " << false << 0 << 0 << "7 " << "";
    QTest::newRow("two slashes") << "1/2/3" << false << 1 << 0 << "1" << "2/3";
    QTest::newRow("overflow") << "2147483647" << false << 0 << 0 << "2147483647" << "";
    QTest::newRow("largest") << "2147483646" << true << 2147483646 << 0 << "2147483646" << "";
    QTest::newRow("overflow count") << "1/99999999999" << false << 1 << 0 << "1" << "99999999999";
    QTest::newRow("sign") << "+3" << false << 0 << 0 << "+3" << "";
    QTest::newRow("negative") << "-3/5" << false << 0 << 5 << "-3" << "5";
    QTest::newRow("letters") << "abc" << false << 0 << 0 << "abc" << "";
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("٣/٤") << false << 0 << 0
                                         << QString::fromUtf8("٣") << QString::fromUtf8("٤");
}

void TestSong::numberPairs()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QString, firstString);
    QFETCH(QString, secondString);

    QCOMPARE(Song::isValidNaturalNumberOrPair(text), valid);
    QCOMPARE(Song::firstNaturalNumberInPair(text), first);
    QCOMPARE(Song::secondNaturalNumberInPair(text), second);
    QCOMPARE(Song::firstStringInPair(text), firstString);
    QCOMPARE(Song::secondStringInPair(text), secondString);
}

void TestSong::isNumericTakesUnicodeDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("ascii") << "0123456789" << true;
    QTest::newRow("arabic-indic") << QString::fromUtf8("١٢") << true;
    QTest::newRow("mathematical (outside the BMP)") << QString::fromUtf8("\U0001D7D9") << true;
    QTest::newRow("letter") << "12a" << false;
    QTest::newRow("blank") << "1 2" << false;
    QTest::newRow("superscript is not decimal") << QString::fromUtf8("²") << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD835)) << false;
}

void TestSong::isNumericTakesUnicodeDigits()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(Song::isNumeric(text), numeric);
}

void TestSong::derivedPairAccessors()
{
    Song song;
    song.setTrack("03/12");
    song.setDisc("2");
    QVERIFY(song.hasTrackCount());
    QVERIFY(!song.hasDiscCount());
    QCOMPARE(song.trackNumber(), 3);
    QCOMPARE(song.trackCount(), 12);
    QCOMPARE(song.discNumber(), 2);
    QCOMPARE(song.discCount(), 0);
    QCOMPARE(song.trackNumberAsString(), "03");
    QCOMPARE(song.trackCountAsString(), "12");
    QCOMPARE(song.discNumberAsString(), "2");
    QCOMPARE(song.discCountAsString(), "");

    song.setTrack("/");
    QVERIFY(song.hasTrackCount());
    QCOMPARE(song.trackNumber(), 0);
    QCOMPARE(song.trackCount(), 0);
}

void TestSong::textSetters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("flagged");

    const QString null;
    for (const char *name : {"title", "artist", "albumArtist", "composer", "album", "genre",
                             "comment", "lyrics"}) {
        const QString field = QString::fromLatin1(name);
        auto row = [&](const char *what) -> QTestData & { return QTest::addRow("%s: %s", name, what); };
        row("trimmed") << field << "" << " Song " << "Song" << true;
        row("line breaks trimmed, inner kept") << field << "" << "\n a \n b\t\r\n" << "a \n b" << true;
        row("same value") << field << "Song" << "Song" << "Song" << false;
        row("case differs") << field << "Song" << "song" << "song" << true;
        row("same plus blank flags") << field << "Song" << "Song " << "Song" << true;
        row("null ignored") << field << "Song" << null << "Song" << false;
        row("empty clears") << field << "Song" << "" << "" << true;
        row("blank clears") << field << "Song" << "  " << "" << true;
        row("unicode spaces") << field << "" << QString::fromUtf8("\u00A0x\u2003\u2028") << "x" << true;
    }
}

void TestSong::textSetters()
{
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QFETCH(bool, flagged);

    const TextField access = textField(field);
    Song song;
    (song.*access.set)(stored);
    song.resetModifications();

    (song.*access.set)(argument);
    QCOMPARE((song.*access.get)(), expected);
    QVERIFY(!(song.*access.get)().isNull());
    QCOMPARE(song.isModified(access.flag), flagged);
    QCOMPARE(song.isModified(), flagged);
}

void TestSong::trackAndDiscSetters_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("invalid clears") << "5" << "abc" << "" << true;
    QTest::newRow("untrimmed is invalid") << "" << " 5 " << "" << true;
    QTest::newRow("invalid on empty still flags") << "" << "0" << "" << true;
    QTest::newRow("slash alone") << "" << "/" << "/" << true;
    QTest::newRow("pair") << "" << "03/12" << "03/12" << true;
    QTest::newRow("same") << "03/12" << "03/12" << "03/12" << false;
    QTest::newRow("same number other zeros") << "3" << "03" << "03" << true;
    QTest::newRow("null ignored") << "5" << QString() << "5" << false;
    QTest::newRow("empty clears") << "5" << "" << "" << true;
}

void TestSong::trackAndDiscSetters()
{
    QFETCH(QString, stored);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QFETCH(bool, flagged);

    Song song;
    song.setTrack(stored);
    song.setDisc(stored);
    song.resetModifications();

    song.setTrack(argument);
    QCOMPARE(song.track(), expected);
    QCOMPARE(song.isTrackModified(), flagged);
    QVERIFY(!song.isDiscModified());

    song.setDisc(argument);
    QCOMPARE(song.disc(), expected);
    QCOMPARE(song.isDiscModified(), flagged);
}

void TestSong::invalidTrackThenValidTrack()
{
    Song song;
    song.setTrack("5");
    song.setTrack("abc");
    QCOMPARE(song.track(), "");
    song.resetModifications();
    song.setTrack("5");
    QCOMPARE(song.track(), "5");
    QVERIFY(song.isTrackModified());
}

void TestSong::uncheckedSettersSkipValidation()
{
    Song song;
    song.noCheck_setTrack(" abc ");
    song.noCheck_setDisc("0/0");
    QCOMPARE(song.track(), "abc");
    QCOMPARE(song.disc(), "0/0");
    QVERIFY(song.isTrackModified());
    QVERIFY(song.isDiscModified());

    song.resetModifications();
    song.noCheck_setTrack("abc"); // no equality test
    QVERIFY(song.isTrackModified());
    song.noCheck_setDisc(QString());
    QVERIFY(!song.isDiscModified());

    // No file path, so setFileName refuses everything; the unchecked variant does not.
    song.setFileName("x.mp3");
    QVERIFY(song.fileName().isNull());
    song.noCheck_setFileName(" x.flac ");
    QCOMPARE(song.fileName(), "x.flac");
    QVERIFY(song.isFileNameModified());
}

void TestSong::yearSetter_data()
{
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("leading number") << qint64(0) << "1999abc" << qint64(1999) << true;
    QTest::newRow("no number on zero") << qint64(0) << "abc" << qint64(0) << false;
    QTest::newRow("no number clears") << qint64(1999) << "abc" << qint64(0) << true;
    QTest::newRow("blank and sign") << qint64(0) << " \t-12" << qint64(-12) << true;
    QTest::newRow("plus sign") << qint64(0) << "+2001" << qint64(2001) << true;
    QTest::newRow("same value other text") << qint64(1999) << "01999" << qint64(1999) << false;
    QTest::newRow("null ignored") << qint64(1999) << QString() << qint64(1999) << false;
    QTest::newRow("empty is zero") << qint64(1999) << "" << qint64(0) << true;
    QTest::newRow("date") << qint64(0) << "2004-05-06" << qint64(2004) << true;
    QTest::newRow("saturates") << qint64(0) << "99999999999999999999999" << qint64(9223372036854775807LL)
                               << true;
}

void TestSong::yearSetter()
{
    QFETCH(qint64, stored);
    QFETCH(QString, argument);
    QFETCH(qint64, expected);
    QFETCH(bool, flagged);

    Song song;
    song.setYear(stored);
    song.resetModifications();
    song.setYear(argument);
    QCOMPARE(song.year(), expected);
    QCOMPARE(song.isYearModified(), flagged);

    // The number overload follows the same guard.
    Song other;
    other.setYear(stored);
    other.resetModifications();
    other.setYear(expected);
    QCOMPARE(other.isYearModified(), expected != stored);
}

void TestSong::compilationSetter_data()
{
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("null on compilation") << qint64(1) << QString() << qint64(0) << true;
    QTest::newRow("null on none") << qint64(0) << QString() << qint64(0) << false;
    QTest::newRow("text one") << qint64(0) << "1" << qint64(1) << true;
    QTest::newRow("same") << qint64(1) << "1" << qint64(1) << false;
    QTest::newRow("other non-zero") << qint64(1) << "2" << qint64(2) << true;
    QTest::newRow("text without number") << qint64(1) << "yes" << qint64(0) << true;
}

void TestSong::compilationSetter()
{
    QFETCH(qint64, stored);
    QFETCH(QString, argument);
    QFETCH(qint64, expected);
    QFETCH(bool, flagged);

    Song song;
    song.setIsCompilation(stored);
    song.resetModifications();
    song.setIsCompilation(argument);
    QCOMPARE(song.isCompilation(), expected);
    QCOMPARE(song.isCompilationModified(), flagged);
}

void TestSong::fileNameSetter_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("other case of extension") << "/m/Old.mp3" << "New.MP3" << "New.MP3" << true;
    QTest::newRow("path upper case") << "/m/Old.MP3" << "new.mp3" << "new.mp3" << true;
    QTest::newRow("other type") << "/m/Old.mp3" << "New.flac" << "Old.mp3" << false;
    QTest::newRow("no extension in path") << "/m/Old" << "New" << "Old" << false;
    QTest::newRow("no extension, name with one") << "/m/Old" << "New.mp3" << "Old" << false;
    QTest::newRow("same") << "/m/Old.mp3" << "Old.mp3" << "Old.mp3" << false;
    QTest::newRow("trimmed") << "/m/Old.mp3" << "  New.mp3" << "New.mp3" << true;
    QTest::newRow("trailing blank fails the suffix test") << "/m/Old.mp3" << "New.mp3 " << "Old.mp3"
                                                          << false;
    QTest::newRow("null") << "/m/Old.mp3" << QString() << "Old.mp3" << false;
    QTest::newRow("dot in folder only") << "/m.v2/Old" << "New.v2/Old" << "Old" << false;
}

void TestSong::fileNameSetter()
{
    QFETCH(QString, path);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QFETCH(bool, flagged);

    Song song;
    song.setFilePath(path);
    song.noCheck_setFileName(path.section(u'/', -1));
    song.resetModifications();
    song.setFileName(argument);
    QCOMPARE(song.fileName(), expected);
    QCOMPARE(song.isFileNameModified(), flagged);
}

void TestSong::albumArtistFollowsArtist()
{
    UserDefaults::shared().setBool(true, BindAlbumArtist);
    Song song;
    song.setArtist(" Band ");
    QCOMPARE(song.artist(), "Band");
    QCOMPARE(song.albumArtist(), "Band");
    QVERIFY(song.isAlbumArtistModified());

    // Setting the stored artist again changes nothing, so the album artist stays.
    song.setAlbumArtist("Someone Else");
    song.resetModifications();
    song.setArtist("Band");
    QCOMPARE(song.albumArtist(), "Someone Else");
    QVERIFY(!song.isModified());

    // With both bindings on, a various-artists artist makes a compilation.
    UserDefaults::shared().setBool(true, BindCompilation);
    song.setArtist("Various Artists");
    QCOMPARE(song.albumArtist(), "Various Artists");
    QCOMPARE(song.isCompilation(), 1);
    QVERIFY(song.isCompilationModified());
}

void TestSong::compilationFollowsAlbumArtist_data()
{
    QTest::addColumn<QString>("albumArtist");
    QTest::addColumn<qint64>("before");
    QTest::addColumn<qint64>("after");

    QTest::newRow("various artists") << "Various Artists" << qint64(0) << qint64(1);
    QTest::newRow("upper case") << "VARIOUS" << qint64(0) << qint64(1);
    QTest::newRow("untrimmed argument does not match") << " Various" << qint64(0) << qint64(0);
    QTest::newRow("other artist clears") << "Band" << qint64(1) << qint64(0);
    QTest::newRow("other non-zero flag clears") << "Band" << qint64(2) << qint64(0);
    QTest::newRow("similar") << "Various Artist" << qint64(1) << qint64(0);
}

void TestSong::compilationFollowsAlbumArtist()
{
    QFETCH(QString, albumArtist);
    QFETCH(qint64, before);
    QFETCH(qint64, after);

    UserDefaults::shared().setBool(true, BindCompilation);
    Song song;
    song.setIsCompilation(before);
    song.resetModifications();
    song.setAlbumArtist(albumArtist);
    QCOMPARE(song.isCompilation(), after);
    QCOMPARE(song.isCompilationModified(), before != after);
}

void TestSong::bindingsReadAtEachCall()
{
    Song song;
    song.setArtist("One");
    QCOMPARE(song.albumArtist(), "");
    UserDefaults::shared().setBool(true, BindAlbumArtist);
    song.setArtist("Two");
    QCOMPARE(song.albumArtist(), "Two");
    UserDefaults::shared().setBool(false, BindAlbumArtist);
    song.setArtist("Three");
    QCOMPARE(song.albumArtist(), "Two");

    song.setAlbumArtist("Various");
    QCOMPARE(song.isCompilation(), 0);
    UserDefaults::shared().setOverride(BindCompilation, true);
    song.setAlbumArtist("various");
    QCOMPARE(song.isCompilation(), 1);
    UserDefaults::shared().clearOverrides();
}

void TestSong::imagesWithoutDuplicates()
{
    const Image red(QByteArray("red picture"));
    const Image blue(QByteArray("blue picture"));
    Song song;
    song.addImage(red);
    song.addImage(blue);
    QCOMPARE(song.countOfImages(), 2);
    QVERIFY(song.isImagesModified());

    song.resetModifications();
    // Equal bytes in a separate buffer make an equal picture.
    song.addImage(Image(QByteArray("red ") + QByteArray("picture")));
    song.insertObject(Image(QByteArray("blue picture")), 0);
    QCOMPARE(song.countOfImages(), 2);
    QVERIFY(!song.isModified());

    const Image green(QByteArray("green picture"));
    song.insertObject(green, 1);
    QCOMPARE(song.objectInImagesAtIndex(0), red);
    QCOMPARE(song.objectInImagesAtIndex(1), green);
    QCOMPARE(song.objectInImagesAtIndex(2), blue);
    QVERIFY(song.isImagesModified());

    song.resetModifications();
    song.removeObjectFromImagesAtIndex(0);
    QCOMPARE(song.countOfImages(), 2);
    QCOMPARE(song.objectInImagesAtIndex(0), green);
    QVERIFY(song.isImagesModified());
}

void TestSong::removeImageRemovesEveryEqualPicture()
{
    const Image red(QByteArray("red picture"));
    const Image blue(QByteArray("blue picture"));
    Song song;
    song.addImage(red);
    song.addImage(blue);
    song.resetModifications();

    // Removing an element given by reference to the list itself.
    song.removeImage(song.objectInImagesAtIndex(0));
    QCOMPARE(song.countOfImages(), 1);
    QCOMPARE(song.objectInImagesAtIndex(0), blue);
    QVERIFY(song.isImagesModified());

    song.resetModifications();
    song.removeImage(red);
    QVERIFY(!song.isModified());

    song.removeAllImages();
    QCOMPARE(song.countOfImages(), 0);
    QVERIFY(song.isImagesModified());
}

void TestSong::removeAllImagesOnEmptyListLeavesFlagClear()
{
    Song song;
    RecordingObserver observer;
    song.addObserver(&observer);
    song.removeAllImages();
    QVERIFY(!song.isImagesModified());
    QVERIFY(observer.events.isEmpty());
    song.removeObserver(&observer);
}

void TestSong::resetKeepsValues()
{
    UserDefaults::shared().setBool(true, BindAlbumArtist);
    Song song;
    load(song, "/music/a.mp3");
    song.setTrack("1/2");
    song.setTitle("T");
    song.setArtist("A");
    song.setYear(2000);
    song.setIsCompilation(1);
    song.setFileName("b.mp3");
    song.addImage(Image(QByteArray("x")));
    QVERIFY(song.isModified());
    for (int flag = 0; flag < SongFlaggedFieldCount; ++flag) {
        const bool expected = flag != int(SongField::Album) && flag != int(SongField::Disc)
            && flag != int(SongField::Composer) && flag != int(SongField::Genre)
            && flag != int(SongField::Comment) && flag != int(SongField::Lyrics);
        QCOMPARE(song.isModified(SongField(flag)), expected);
    }

    song.resetModifications();
    QVERIFY(!song.isModified());
    for (int flag = 0; flag < SongFlaggedFieldCount; ++flag)
        QVERIFY(!song.isModified(SongField(flag)));
    QCOMPARE(song.track(), "1/2");
    QCOMPARE(song.title(), "T");
    QCOMPARE(song.albumArtist(), "A");
    QCOMPARE(song.year(), 2000);
    QCOMPARE(song.isCompilation(), 1);
    QCOMPARE(song.fileName(), "b.mp3");
    QCOMPARE(song.countOfImages(), 1);
}

void TestSong::observerSeesEveryEffectiveChange()
{
    UserDefaults::shared().setBool(true, BindAlbumArtist);
    UserDefaults::shared().setBool(true, BindCompilation);
    Song song;
    load(song, "/music/a.mp3");
    RecordingObserver observer;
    song.addObserver(&observer);

    song.setTitle("T");
    QCOMPARE(observer.events, QStringList({"will", "field:title", "did"}));
    QCOMPARE(observer.modifiedBefore, QList<bool>{false});
    QCOMPARE(observer.modifiedAfter, QList<bool>{true});

    observer.events.clear();
    song.setArtist("Various");
    // The artist changes, then the bound album artist, then the bound compilation flag.
    QCOMPARE(observer.events,
             QStringList({"will", "field:artist", "did", "will", "field:albumArtist", "did", "will",
                          "field:isCompilation", "did"}));

    const std::vector<std::pair<QString, std::function<void()>>> edits{
        {"track", [&] { song.setTrack("1"); }},
        {"disc", [&] { song.setDisc("1/2"); }},
        {"year", [&] { song.setYear("1999"); }},
        {"fileName", [&] { song.setFileName("b.mp3"); }},
        {"fileName", [&] { song.noCheck_setFileName("b.mp3"); }},
        {"images", [&] { song.addImage(Image(QByteArray("p"))); }},
        {"images", [&] { song.removeAllImages(); }},
        {"composer", [&] { song.setValueForKey(u"composer", "C"); }},
    };
    for (const auto &[field, edit] : edits) {
        observer.events.clear();
        edit();
        QCOMPARE(observer.events, QStringList({"will", "field:" + field, "did"}));
    }

    // Plain properties announce the field only.
    observer.events.clear();
    song.setBitrate(320);
    song.setFilePath("/music/b.mp3");
    QCOMPARE(observer.events, QStringList({"field:bitrate", "field:filePath"}));
    song.removeObserver(&observer);
}

void TestSong::observerHearsNothingFromNoOps()
{
    UserDefaults::shared().setBool(true, BindAlbumArtist);
    Song song;
    load(song, "/music/a.mp3");
    song.setTitle("T");
    song.setArtist("A");
    song.setTrack("3");
    song.setYear(2001);
    song.addImage(Image(QByteArray("p")));
    RecordingObserver observer;
    song.addObserver(&observer);

    song.setTitle("T");
    song.setTitle(QString());
    song.setArtist("A");
    song.setTrack("3");
    song.setDisc(QString());
    song.setYear(2001);
    song.setYear("2001 and more");
    song.setYear(QString());
    song.setIsCompilation(0);
    song.setFileName("a.mp3");
    song.setFileName("a.ogg");
    song.addImage(Image(QByteArray("p")));
    song.removeImage(Image(QByteArray("q")));
    song.setBitrate(0);
    song.setFilePath("/music/a.mp3");
    song.setValueForKey(u"noSuchKey", "x");
    QVERIFY2(observer.events.isEmpty(), qPrintable(observer.events.join(", ")));
    song.removeObserver(&observer);
}

void TestSong::observerAroundReset()
{
    Song song;
    song.setTitle("T");
    RecordingObserver observer;
    song.addObserver(&observer);
    song.resetModifications();
    QCOMPARE(observer.events, QStringList({"will", "did"}));
    QCOMPARE(observer.modifiedBefore, QList<bool>{true});
    QCOMPARE(observer.modifiedAfter, QList<bool>{false});
    song.removeObserver(&observer);
}

void TestSong::valueForKeyRoundTrip()
{
    Song song;
    load(song, "/music/a.mp3");
    const QList<std::pair<QString, QVariant>> values{
        {"track", "1/9"}, {"title", "T"}, {"artist", "A"}, {"albumArtist", "AA"},
        {"composer", "C"}, {"album", "Al"}, {"disc", "2/2"}, {"genre", "G"},
        {"year", qint64(1987)}, {"comment", "Co"}, {"lyrics", "L\nL"}, {"isCompilation", qint64(1)},
        {"fileName", "b.mp3"}, {"bitrate", 256}, {"length", 181}, {"filePath", "/music/a.mp3"},
        {"isRenamable", false},
    };
    for (const auto &[key, value] : values) {
        QVERIFY2(Song::isKey(key), qPrintable(key));
        song.setValueForKey(key, value);
        QCOMPARE(song.valueForKey(key), value);
        QCOMPARE(Song::keyForField(*Song::fieldForKey(key)), key);
    }
    QCOMPARE(song.title(), "T");
    QCOMPARE(song.year(), 1987);
    QCOMPARE(song.length(), 181);
    QVERIFY(!song.isRenamable());

    QVERIFY(!Song::isKey(u"Title"));
    QVERIFY(!song.valueForKey(u"mods").isValid());

    song.addImage(Image(QByteArray("p")));
    const QList<Image> images = song.valueForKey(u"images").value<QList<Image>>();
    QCOMPARE(images.size(), 1);
    QCOMPARE(images.first().data(), QByteArray("p"));
}

void TestSong::setValueForKeyUsesSetters()
{
    Song song;
    load(song, "/music/a.mp3");
    song.setValueForKey(u"track", "x");
    QCOMPARE(song.track(), "");
    QVERIFY(song.isTrackModified());
    song.setValueForKey(u"title", " padded ");
    QCOMPARE(song.title(), "padded");
    song.setValueForKey(u"year", "1999abc");
    QCOMPARE(song.year(), 1999);
    song.setValueForKey(u"fileName", "c.flac");
    QCOMPARE(song.fileName(), "a.mp3");

    // An invalid QVariant is a null argument: ignored by text setters, 0 for the flag.
    song.setIsCompilation(1);
    song.resetModifications();
    song.setValueForKey(u"title", QVariant());
    song.setValueForKey(u"year", QVariant());
    QVERIFY(!song.isModified());
    song.setValueForKey(u"isCompilation", QVariant());
    QCOMPARE(song.isCompilation(), 0);
    song.setValueForKey(u"isCompilation", "1");
    QCOMPARE(song.isCompilation(), 1);
}

void TestSong::fileHelpers_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("withoutExtension");
    QTest::addColumn<QString>("type");

    QTest::newRow("mp3") << "/music/x/a.b.mp3" << "a.b.mp3" << "/music/x" << "mp3" << "a.b" << "mp3";
    QTest::newRow("upper-case m4b") << "/m/Book.M4B" << "Book.M4B" << "/m" << "M4B" << "Book" << "m4a";
    QTest::newRow("m4a") << "/m/a.m4a" << "a.m4a" << "/m" << "m4a" << "a" << "m4a";
    QTest::newRow("flac") << "/m/a.flac" << "a.flac" << "/m" << "flac" << "a" << "flac";
    QTest::newRow("aif") << "/m/a.aif" << "a.aif" << "/m" << "aif" << "a" << "aiff";
    QTest::newRow("aiff") << "/m/a.AIFF" << "a.AIFF" << "/m" << "AIFF" << "a" << "aiff";
    QTest::newRow("wav") << "/m/a.wav" << "a.wav" << "/m" << "wav" << "a" << "wav";
    QTest::newRow("ogg") << "/m/a.ogg" << "a.ogg" << "/m" << "ogg" << "a" << "";
    QTest::newRow("at the root") << "/a.mp3" << "a.mp3" << "/" << "mp3" << "a" << "mp3";
    QTest::newRow("no extension") << "/m.d/a" << "" << "/m.d" << "" << "" << "";
}

void TestSong::fileHelpers()
{
    QFETCH(QString, path);
    QFETCH(QString, fileName);
    QFETCH(QString, folder);
    QFETCH(QString, extension);
    QFETCH(QString, withoutExtension);
    QFETCH(QString, type);

    Song song;
    load(song, path);
    if (fileName.isEmpty())
        song.noCheck_setFileName("");
    QCOMPARE(song.fileName(), fileName);
    QCOMPARE(song.folder(), folder);
    QCOMPARE(song.extension(), extension);
    QCOMPARE(song.fileNameWithoutExtension(), withoutExtension);
    QCOMPARE(song.isMP3(), type == "mp3");
    QCOMPARE(song.isM4A(), type == "m4a");
    QCOMPARE(song.isFLAC(), type == "flac");
    QCOMPARE(song.isAIFF(), type == "aiff");
    QCOMPARE(song.isWAV(), type == "wav");
    QCOMPARE(song.previewItemURL().toLocalFile(), path);
}

void TestSong::fileNameSanity()
{
    Song song;
    load(song, "/m/x.mp3");
    QVERIFY(song.isFileNameSane());
    song.setFileName("AC/DC.mp3");
    QVERIFY(!song.isFileNameSane());
    song.setFileName("What?.mp3");
    QVERIFY(!song.isFileNameSane());
    UserDefaults::shared().setOverride("ENSURE_VALID_WINDOWS_FILES", false);
    QVERIFY(song.isFileNameSane());
    UserDefaults::shared().clearOverrides();
}

void TestSong::description()
{
    Song song;
    load(song, "/m/01 x.mp3");
    song.setTrack("1/2");
    song.setTitle("T");
    song.setArtist("A");
    song.setAlbumArtist("not shown");
    song.setAlbum("Al");
    song.setDisc("1");
    song.setGenre("G");
    song.setYear(1990);
    song.setComment("%1 stays");
    QCOMPARE(song.description(), "1/2 | T | A | Al | 1 | G | 1990 | %1 stays | 01 x.mp3");
}

QTEST_GUILESS_MAIN(TestSong)
#include "test_song.moc"
