#include "fixtures.h"
#include "loadededitor.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/namingcontroller.h"

#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

constexpr int ShowDetails = 1;

const QString ArtistTitle = QStringLiteral("NAMING_ARTIST_AND_TITLE");
const QString TrackTitle = QStringLiteral("NAMING_TRACK_AND_TITLE");
const QString TrackArtistTitle = QStringLiteral("NAMING_TRACK_ARTIST_AND_TITLE");
const QString Custom = QStringLiteral("NAMING_CUSTOM");

UserDefaults &defaults()
{
    return UserDefaults::shared();
}

QList<Song *> pointers(const std::vector<std::unique_ptr<Song>> &songs)
{
    QList<Song *> list;
    for (const auto &song : songs)
        list.append(song.get());
    return list;
}

// Songs without an artist, which fail the default scheme.
std::vector<std::unique_ptr<Song>> songsMissingArtist(int count)
{
    std::vector<std::unique_ptr<Song>> songs;
    for (int i = 1; i <= count; ++i) {
        songs.push_back(makeSong(QStringLiteral("/music/%1.mp3").arg(i),
                                 {{"track", QString::number(i)}, {"title", "T"}}));
    }
    return songs;
}

} // namespace

class TestNaming : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void fixedSchemes_data();
    void fixedSchemes();
    void customPatterns_data();
    void customPatterns();
    void tokenValues_data();
    void tokenValues();
    void missingTokensAreListed();
    void errorListIsCapped_data();
    void errorListIsCapped();
    void reportTakesTwoSteps();
    void unrenamableSongs();
    void schemeSelection();
    void namesTheSelectionWithASavedPattern();
    void refusedNamesAreDroppedSilently();

private:
    QTemporaryDir m_dir;
    int m_store = 0;
    LoadedEditor m_loaded;
};

void TestNaming::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(m_loaded.load(3));
}

void TestNaming::init()
{
    // A fresh store for every test: all settings at their defaults.
    defaults().openStore(m_dir.filePath(QStringLiteral("settings-%1.ini").arg(++m_store)));
    m_loaded.ui.questions.clear();
    m_loaded.ui.answers.clear();
    m_loaded.ui.unexpectedQuestions = 0;
}

void TestNaming::fixedSchemes_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QVariantHash>("settings");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QVariantHash>("fields");
    QTest::addColumn<QString>("fileName");

    const QVariantHash defaultSong{{"track", "03/12"}, {"artist", "AB/CD"}, {"title", "Song Title"}};
    QTest::newRow("defaults") << TrackArtistTitle << QVariantHash() << "/m/old.MP3" << defaultSong
                              << "03 - AB-CD - Song Title.mp3";
    QTest::newRow("upper-case extension") << TrackArtistTitle << QVariantHash{{"CAPITALIZATION_UPPER_CASE", true}}
                                          << "/m/old.MP3" << defaultSong << "03 - AB-CD - Song Title.MP3";
    QTest::newRow("blank separator") << ArtistTitle << QVariantHash{{"NAMING_SEPARATE_BY_HYPHEN", false}}
                                     << "/m/old.mp3" << QVariantHash{{"artist", "Artist"}, {"title", "Title"}}
                                     << "Artist Title.mp3";
    QTest::newRow("trailing hyphen") << TrackTitle << QVariantHash() << "/m/old.mp3"
                                     << QVariantHash{{"track", "1"}, {"title", "- Intro -"}} << "1 - - Intro.mp3";
    QTest::newRow("Unicode") << TrackArtistTitle << QVariantHash() << "/m/old.flac"
                             << QVariantHash{{"track", "7"}, {"artist", "Zoë Ørsted"}, {"title", "Ça va? «Oui» 日本"}}
                             << "7 - Zoë Ørsted - Ça va «Oui» 日本.flac";
    QTest::newRow("apostrophes and dots") << ArtistTitle << QVariantHash() << "/m/old.m4a"
                                          << QVariantHash{{"artist", "P.J. O'Brien"}, {"title", "Don't Stop... Now."}}
                                          << "P.J. O'Brien - Don't Stop... Now..m4a";
    QTest::newRow("Windows characters") << ArtistTitle << QVariantHash() << "/m/old.mp3"
                                        << QVariantHash{{"artist", "A*B|C"}, {"title", "Say \"Hi\" <now>"}}
                                        << "A-B-C - Say 'Hi' (now).mp3";
    QTest::newRow("Windows characters kept") << ArtistTitle << QVariantHash{{"ENSURE_VALID_WINDOWS_FILES", false}}
                                             << "/m/old.mp3" << QVariantHash{{"artist", "A*B"}, {"title", "Why?"}}
                                             << "A*B - Why?.mp3";
    QTest::newRow("count only: the slash is the number") << TrackTitle << QVariantHash() << "/m/old.mp3"
                                                         << QVariantHash{{"track", "/12"}, {"title", "T"}}
                                                         << "- T.mp3";
    QTest::newRow("no scheme on") << QString() << QVariantHash() << "/m/old.mp3" << defaultSong << "old.mp3";
}

void TestNaming::fixedSchemes()
{
    QFETCH(QString, scheme);
    QFETCH(QVariantHash, settings);
    QFETCH(QString, path);
    QFETCH(QVariantHash, fields);
    QFETCH(QString, fileName);

    for (const QString &key : NamingController::schemeKeys())
        defaults().setBool(key == scheme, key);
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        defaults().setObject(it.value(), it.key());

    const std::unique_ptr<Song> song = makeSong(path, fields);
    NamingController naming(m_loaded.editor);
    const BatchReport report = naming.applyNamingToSongs({song.get()});
    QVERIFY2(!report.hasErrors(), qPrintable(report.errorText()));
    QCOMPARE(song->fileName(), fileName);
    QCOMPARE(song->isFileNameModified(), fileName != QFileInfo(path).fileName());
    QVERIFY(m_loaded.ui.questions.isEmpty());
}

void TestNaming::customPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QVariantHash>("fields");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("missing");

    QTest::newRow("total without one") << "{Track Total}. {Title}" << QVariantHash{{"track", "5"}, {"title", "Title"}}
                                       << "a.mp3" << "track total";
    QTest::newRow("total") << "{Track Total}. {Title}" << QVariantHash{{"track", "5/9"}, {"title", "Title"}}
                           << "9. Title.mp3" << "";
    QTest::newRow("both missing, listed once") << "{Year} {Album}" << QVariantHash{{"year", 0}} << "a.mp3"
                                               << "year/album";
    QTest::newRow("only hyphens") << "---" << QVariantHash{{"title", "T"}} << "a.mp3" << "";
    QTest::newRow("numbers keep their zeros") << "{Disc}-{Track} {Title}"
                                              << QVariantHash{{"disc", "2/3"}, {"track", "07/12"}, {"title", "T"}}
                                              << "2-07 T.mp3" << "";
    QTest::newRow("neighbouring tokens") << "{Title}{Artist}" << QVariantHash{{"title", "T"}, {"artist", "A"}}
                                         << "TA.mp3" << "";
    QTest::newRow("file properties never name") << "{Bitrate} {Length} {Title}"
                                                << QVariantHash{{"title", "T"}, {"bitrate", 128}, {"length", 60}}
                                                << "a.mp3" << "bitrate/length";
    QTest::newRow("colon and slash") << "{Album Artist}: {Album}/{Year}"
                                     << QVariantHash{{"albumArtist", "X"}, {"album", "Y"}, {"year", 1999}}
                                     << "X- Y-1999.mp3" << "";
    QTest::newRow("literal that repeats in values") << "{Artist} - {Title} - {Artist}"
                                                    << QVariantHash{{"artist", "A - B"}, {"title", "C - D"}}
                                                    << "A - B - C - D - A - B.mp3" << "";
    QTest::newRow("empty pattern") << "" << QVariantHash{{"title", "T"}} << "a.mp3" << "";
}

void TestNaming::customPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(QVariantHash, fields);
    QFETCH(QString, fileName);
    QFETCH(QString, missing);

    NamingController naming(m_loaded.editor);
    naming.selectCustom();
    naming.saveCustom(patternFromText(pattern), false);
    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/a.mp3"), fields);
    const BatchReport report = naming.applyNamingToSongs({song.get()});
    QCOMPARE(song->fileName(), fileName);
    if (missing.isEmpty()) {
        QCOMPARE(report.errorCount(), 0u);
        return;
    }
    QCOMPARE(report.errorCount(), 1u);
    QCOMPARE(report.errorText(), Localized::text("WasNotRenamedBracket").arg("a.mp3") + missing
                                     + Localized::text("MissingNewLine"));
}

void TestNaming::tokenValues_data()
{
    QTest::addColumn<QString>("pair");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("total");

    QTest::newRow("number and count") << "2/3" << "2" << "3";
    QTest::newRow("number") << "2" << "2" << QString();
    QTest::newRow("count only") << "/3" << "/" << "3";
    QTest::newRow("slash") << "/" << "/" << QString();
    QTest::newRow("open count") << "2/" << "2" << QString();
    QTest::newRow("leading zeros") << "007/010" << "007" << "010";
    QTest::newRow("empty") << "" << QString() << QString();
}

void TestNaming::tokenValues()
{
    QFETCH(QString, pair);
    QFETCH(QString, number);
    QFETCH(QString, total);

    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/a.mp3"), {{"track", pair}, {"disc", pair}});
    QCOMPARE(song->track(), pair);
    QCOMPARE(NamingController::stringForToken(QStringLiteral("Track"), *song), number);
    QCOMPARE(NamingController::stringForToken(QStringLiteral("Disc"), *song), number);
    QCOMPARE(NamingController::stringForToken(QStringLiteral("Track Total"), *song), total);
    QCOMPARE(NamingController::stringForToken(QStringLiteral("Disc Total"), *song), total);
    QCOMPARE(NamingController::stringForToken(QStringLiteral("Track Total"), *song).isNull(), total.isNull());
}

void TestNaming::missingTokensAreListed()
{
    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/a.mp3"), {{"year", 0}, {"artist", "A"}});
    QString message = QStringLiteral("untouched");
    QVERIFY(NamingController::validateProperties({"Artist"}, *song, &message));
    QCOMPARE(message, QStringLiteral("untouched"));
    QVERIFY(!NamingController::validateProperties({"Track", "Artist", "Title", "Year", "Album Artist"}, *song,
                                                  &message));
    QCOMPARE(message, QStringLiteral("track/title/year/album artist"));
    QVERIFY(NamingController::stringForToken(QStringLiteral("Year"), *song).isNull());
    QVERIFY(NamingController::stringForToken(QStringLiteral("File Name"), *song).isNull());

    // An empty title under the artist-and-title scheme: one entry with the name and "title".
    NamingController naming(m_loaded.editor);
    naming.selectArtistAndTitle();
    const BatchReport report = naming.applyNamingToSongs({song.get()});
    QCOMPARE(report.errorText(), Localized::text("WasNotRenamedMissingNewLine").arg("a.mp3", "title"));
    QVERIFY(!song->isModified());
}

void TestNaming::errorListIsCapped_data()
{
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("ellipsis");

    QTest::newRow("ten") << 10 << QString();
    QTest::newRow("eleven") << 11 << Localized::text("ThereIsOneMoreEntry").arg(1);
    QTest::newRow("twelve") << 12 << Localized::text("ThereAreMoreEntries").arg(2);
    QTest::newRow("thirty") << 30 << Localized::text("ThereAreMoreEntries").arg(20);
}

void TestNaming::errorListIsCapped()
{
    QFETCH(int, failing);
    QFETCH(QString, ellipsis);

    // Failing songs among good ones: the good ones are still named.
    std::vector<std::unique_ptr<Song>> songs = songsMissingArtist(failing);
    songs.push_back(makeSong(QStringLiteral("/music/good.mp3"), {{"track", "1"}, {"artist", "A"}, {"title", "T"}}));
    NamingController naming(m_loaded.editor);
    m_loaded.ui.answerNext(ShowDetails);
    m_loaded.ui.answerNext(0);
    const BatchReport report = naming.applyNamingToSongs(pointers(songs));

    QString expected;
    for (int i = 1; i <= 10; ++i)
        expected += Localized::text("WasNotRenamedMissingNewLine").arg(QStringLiteral("%1.mp3").arg(i), "artist");
    QCOMPARE(report.errorCount(), quint64(failing));
    QCOMPARE(report.errorText(), expected + ellipsis);
    QCOMPARE(songs.back()->fileName(), QStringLiteral("1 - A - T.mp3"));
    QCOMPARE(m_loaded.ui.questions.size(), 2);
    QCOMPARE(m_loaded.ui.questions[1].informativeText, expected + ellipsis);
}

void TestNaming::reportTakesTwoSteps()
{
    std::vector<std::unique_ptr<Song>> songs = songsMissingArtist(1);
    NamingController naming(m_loaded.editor);

    // "OK": one question only.
    m_loaded.ui.answerNext(0);
    naming.applyNamingToSongs(pointers(songs));
    QCOMPARE(m_loaded.ui.askedMessageKeys(), QStringList{"QuorlCouldNotChangeFileNamesOfOneOrMoreSongs"});
    const UserInterface::Question &first = m_loaded.ui.questions[0];
    QCOMPARE(first.informativeKey, QStringLiteral("MakeSureRelevantSongInformationCorrectlySet"));
    QCOMPARE(first.buttonKeys, (QStringList{"OK", "ShowDetails"}));

    // "ShowDetails": the list follows with a single button.
    m_loaded.ui.questions.clear();
    m_loaded.ui.answerNext(ShowDetails);
    m_loaded.ui.answerNext(0);
    naming.applyNamingToSongs(pointers(songs));
    QCOMPARE(m_loaded.ui.askedMessageKeys(),
             (QStringList{"QuorlCouldNotChangeFileNamesOfOneOrMoreSongs", "ErrorDetails"}));
    QCOMPARE(m_loaded.ui.questions[1].buttonKeys, QStringList{"OK"});
    QCOMPARE(m_loaded.ui.unexpectedQuestions, 0);
}

void TestNaming::unrenamableSongs()
{
    std::vector<std::unique_ptr<Song>> songs;
    for (const char *name : {"locked.mp3", "free.mp3", "locked2.mp3"})
        songs.push_back(makeSong(QStringLiteral("/m/") + name, {{"track", "1"}, {"artist", "A"}, {"title", "T"}}));
    songs[0]->setIsRenamable(false);
    songs[2]->setIsRenamable(false);
    NamingController naming(m_loaded.editor);

    m_loaded.ui.answerNext(0);
    BatchReport report = naming.applyNamingToSongs(pointers(songs));
    QCOMPARE(report.errorText(), Localized::text("CannotBeRenamedNewLine").arg("locked.mp3")
                                     + Localized::text("CannotBeRenamedNewLine").arg("locked2.mp3"));
    QCOMPARE(songs[0]->fileName(), QStringLiteral("locked.mp3"));
    QCOMPARE(songs[1]->fileName(), QStringLiteral("1 - A - T.mp3"));
    QVERIFY(!songs[2]->isModified());

    // Once the restriction was acknowledged they are passed over without a word.
    defaults().setBool(true, QStringLiteral("CONFIRMED_RENAME_RESTRICTION"));
    m_loaded.ui.questions.clear();
    report = naming.applyNamingToSongs(pointers(songs));
    QVERIFY(!report.hasErrors());
    QVERIFY(m_loaded.ui.questions.isEmpty());
    QCOMPARE(songs[0]->fileName(), QStringLiteral("locked.mp3"));
}

void TestNaming::schemeSelection()
{
    NamingController naming(m_loaded.editor);
    const QList<std::pair<void (NamingController::*)(), QString>> selections{
        {&NamingController::selectArtistAndTitle, ArtistTitle},
        {&NamingController::selectTrackAndTitle, TrackTitle},
        {&NamingController::selectCustom, Custom},
        {&NamingController::selectTrackArtistAndTitle, TrackArtistTitle},
    };
    for (const auto &[select, key] : selections) {
        (naming.*select)();
        for (const QString &member : NamingController::schemeKeys())
            QCOMPARE(defaults().boolForKey(member), member == key);
    }

    // With several keys on, the first in table order wins; the custom pattern stays stored.
    naming.saveCustom(patternFromText("{Title}!"), false);
    defaults().setBool(true, Custom);
    defaults().setBool(true, TrackTitle);
    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/a.mp3"), {{"track", "4"}, {"title", "T"}});
    naming.applyNamingToSongs({song.get()});
    QCOMPARE(song->fileName(), QStringLiteral("4 - T.mp3"));
    naming.selectCustom();
    naming.applyNamingToSongs({song.get()});
    QCOMPARE(song->fileName(), QStringLiteral("T!.mp3"));
}

void TestNaming::namesTheSelectionWithASavedPattern()
{
    for (int row = 0; row < 3; ++row) {
        m_loaded.song(row)->setTitle(QStringLiteral("Song %1").arg(row));
        m_loaded.song(row)->setTrack(QString::number(row + 1));
    }
    m_loaded.select({0, 2});
    NamingController naming(m_loaded.editor);
    naming.selectCustom();
    // Storing with the alternate key held applies at once to the selection.
    naming.saveCustom(patternFromText("{Track}. {Title}"), true);
    QCOMPARE(m_loaded.song(0)->fileName(), QStringLiteral("1. Song 0.mp3"));
    QCOMPARE(m_loaded.song(1)->fileName(), QStringLiteral("02.mp3"));
    QCOMPARE(m_loaded.song(2)->fileName(), QStringLiteral("3. Song 2.mp3"));
    QCOMPARE(describePattern(naming.customPattern()), QStringLiteral("{Track}[. ]{Title}"));
    // Only the name is recorded; the file keeps its place until the save pass.
    QVERIFY(m_loaded.song(0)->filePath().endsWith(QStringLiteral("/01.mp3")));
    QVERIFY(QFileInfo::exists(m_loaded.song(0)->filePath()));
}

void TestNaming::refusedNamesAreDroppedSilently()
{
    NamingController naming(m_loaded.editor);
    naming.selectArtistAndTitle();
    const std::unique_ptr<Song> same = makeSong(QStringLiteral("/m/A - T.mp3"), {{"artist", "A"}, {"title", "T"}});
    const std::unique_ptr<Song> noExtension = makeSong(QStringLiteral("/m/plain"), {{"artist", "A"}, {"title", "T"}});
    const BatchReport report = naming.applyNamingToSongs({same.get(), noExtension.get()});
    QVERIFY(!report.hasErrors());
    QVERIFY(!same->isModified());
    QVERIFY(!noExtension->isModified());
    QVERIFY(m_loaded.ui.questions.isEmpty());
}

QTEST_GUILESS_MAIN(TestNaming)
#include "test_naming.moc"
