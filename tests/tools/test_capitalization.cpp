#include "editor/settingsregistry.h"
#include "fixtures.h"
#include "loadededitor.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/capitalizationcontroller.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString TitleCaseKey = QStringLiteral("CAPITALIZATION_TITLE_CASE");
const QString UpperCaseKey = QStringLiteral("CAPITALIZATION_UPPER_CASE");
const QString LowerCaseKey = QStringLiteral("CAPITALIZATION_LOWER_CASE");
const QString NewYorkKey = QStringLiteral("DISABLE_NEW_YORK_STYLE");
const QString BindKey = QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST");

enum class Mode {
    Title,
    Upper,
    Lower,
};

void fill(Song *song, const QString &text)
{
    song->setTitle(text);
    song->setArtist(text);
    song->setAlbumArtist(text);
    song->setComposer(text);
    song->setAlbum(text);
    song->setGenre(text);
    song->setComment(text);
    song->setLyrics(text);
    song->resetModifications();
}

QStringList changedFields(const Song &song)
{
    return {song.title(), song.artist(), song.albumArtist(), song.composer(), song.album(), song.genre()};
}

} // namespace

class TestCapitalization : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void appliesSelectedMode_data();
    void appliesSelectedMode();
    void changesOnlyTheSixFieldsOfSelectedSongs();
    void selectOperationsSetTheirGroup();
    void noModeKeyChangesNothing();
    void unchangedValuesSetNoFlag();
    void styleSwitchApplies();
    void fieldsSeeEarlierSetterEffects();

private:
    QTemporaryDir m_settings;
};

void TestCapitalization::initTestCase()
{
    QVERIFY(m_settings.isValid());
    useTemporarySettings(m_settings);
    SettingsRegistry::registerDefaults();
    QLocale::setDefault(QLocale::c());
}

void TestCapitalization::init()
{
    for (const QString &key : {TitleCaseKey, UpperCaseKey, LowerCaseKey, NewYorkKey, BindKey})
        UserDefaults::shared().removeObjectForKey(key);
}

void TestCapitalization::cleanupTestCase()
{
    QLocale::setDefault(QLocale::system());
}

void TestCapitalization::appliesSelectedMode_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<bool>("alternate");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");

    QTest::newRow("title case") << Mode::Title << false << "the sound of the city" << "The Sound of the City";
    QTest::newRow("title case lowers first") << Mode::Title << false << "AB/CD live" << "Ab/Cd Live";
    QTest::newRow("title case keeps capitals with alternate") << Mode::Title << true << "AB/CD live"
                                                              << "AB/CD Live";
    QTest::newRow("inner capital lowered first") << Mode::Title << false << "eMix to" << "Emix To";
    QTest::newRow("inner capital kept with alternate") << Mode::Title << true << "eMix to" << "eMix to";
    QTest::newRow("shouted title") << Mode::Title << false << "OF MICE AND MEN" << "Of Mice and Men";
    QTest::newRow("abbreviation") << Mode::Title << false << "LIVE IN THE U.S.A." << "Live in the u.s.a.";
    QTest::newRow("abbreviation with alternate") << Mode::Title << true << "live in the U.S.A."
                                                 << "Live in the U.S.A.";
    QTest::newRow("apostrophe") << Mode::Title << false << "DON'T STOP" << "Don't Stop";
    QTest::newRow("German title") << Mode::Title << false << u"STRASSE DER LIEBE"_qs << u"Strasse Der Liebe"_qs;
    QTest::newRow("Greek title") << Mode::Title << false << u"ΟΔΟΣ ΤΗΣ ΖΩΗΣ"_qs << u"Οδος Της Ζωης"_qs;
    QTest::newRow("Cyrillic title") << Mode::Title << false << u"ГРУППА КРОВИ"_qs << u"Группа Крови"_qs;
    QTest::newRow("dotted I title in the C locale") << Mode::Title << false << u"İSTANBUL"_qs << u"I\u0307stanbul"_qs;

    QTest::newRow("upper case") << Mode::Upper << false << "the sound of the city" << "THE SOUND OF THE CITY";
    QTest::newRow("upper case ignores alternate") << Mode::Upper << true << "eMix" << "EMIX";
    QTest::newRow("upper sharp s") << Mode::Upper << false << u"Straße"_qs << u"STRASSE"_qs;
    QTest::newRow("upper Greek") << Mode::Upper << false << u"Οδός"_qs << u"ΟΔΌΣ"_qs;
    QTest::newRow("upper Cyrillic") << Mode::Upper << false << u"Москва"_qs << u"МОСКВА"_qs;
    QTest::newRow("upper i in the C locale") << Mode::Upper << false << u"istanbul ılık"_qs << u"ISTANBUL ILIK"_qs;

    QTest::newRow("lower case") << Mode::Lower << false << "The Sound OF" << "the sound of";
    QTest::newRow("lower Greek final sigma") << Mode::Lower << false << u"ΟΔΟΣ"_qs << u"οδος"_qs;
    QTest::newRow("lower dotted I in the C locale") << Mode::Lower << false << u"İzmir"_qs << u"i\u0307zmir"_qs;
}

void TestCapitalization::appliesSelectedMode()
{
    QFETCH(Mode, mode);
    QFETCH(bool, alternate);
    QFETCH(QString, text);
    QFETCH(QString, result);

    LoadedEditor loaded;
    QVERIFY(loaded.load(2));
    for (int row = 0; row < 2; ++row)
        fill(loaded.song(row), text);
    CapitalizationController capitalization(&loaded.editor);
    int queries = 0;
    capitalization.setAlternateKeyQuery([&queries, alternate] {
        ++queries;
        return alternate;
    });
    switch (mode) {
    case Mode::Title:
        capitalization.selectTitleCase();
        break;
    case Mode::Upper:
        capitalization.selectUpperCase();
        break;
    case Mode::Lower:
        capitalization.selectLowerCase();
        break;
    }
    capitalization.applyCapitalizationToSongs();
    for (int row = 0; row < 2; ++row)
        QCOMPARE(changedFields(*loaded.song(row)), QStringList(6, result));
    // The key is asked for once per command, and only in title case.
    QCOMPARE(queries, mode == Mode::Title ? 1 : 0);
}

void TestCapitalization::changesOnlyTheSixFieldsOfSelectedSongs()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(3));
    for (int row = 0; row < 3; ++row) {
        fill(loaded.song(row), u"some text"_qs);
        loaded.song(row)->setTrack(u"3/12"_qs);
        loaded.song(row)->resetModifications();
    }
    const QString fileName = loaded.song(1)->fileName();
    loaded.select({1});
    CapitalizationController capitalization(&loaded.editor);
    capitalization.selectUpperCase();
    capitalization.applyCapitalizationToSongs();

    const Song *song = loaded.song(1);
    QCOMPARE(changedFields(*song), QStringList(6, u"SOME TEXT"_qs));
    QCOMPARE(song->comment(), u"some text"_qs);
    QCOMPARE(song->lyrics(), u"some text"_qs);
    QCOMPARE(song->track(), u"3/12"_qs);
    QCOMPARE(song->fileName(), fileName);
    QVERIFY(song->isTitleModified() && song->isArtistModified() && song->isAlbumArtistModified());
    QVERIFY(song->isComposerModified() && song->isAlbumModified() && song->isGenreModified());
    QVERIFY(!song->isCommentModified() && !song->isLyricsModified() && !song->isTrackModified());
    QVERIFY(!song->isFileNameModified());
    QVERIFY(!loaded.song(0)->isModified());
    QVERIFY(!loaded.song(2)->isModified());
}

void TestCapitalization::selectOperationsSetTheirGroup()
{
    LoadedEditor loaded;
    CapitalizationController capitalization(&loaded.editor);
    const UserDefaults &defaults = UserDefaults::shared();
    auto modes = [&defaults] {
        return QList<bool>{defaults.boolForKey(TitleCaseKey), defaults.boolForKey(UpperCaseKey),
                           defaults.boolForKey(LowerCaseKey)};
    };
    QCOMPARE(modes(), (QList<bool>{true, false, false}));
    capitalization.selectUpperCase();
    QCOMPARE(modes(), (QList<bool>{false, true, false}));
    capitalization.selectLowerCase();
    QCOMPARE(modes(), (QList<bool>{false, false, true}));
    capitalization.selectTitleCase();
    QCOMPARE(modes(), (QList<bool>{true, false, false}));
}

void TestCapitalization::noModeKeyChangesNothing()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(1));
    fill(loaded.song(0), u"Some Text"_qs);
    for (const QString &key : {TitleCaseKey, UpperCaseKey, LowerCaseKey})
        UserDefaults::shared().setBool(false, key);
    CapitalizationController capitalization(&loaded.editor);
    capitalization.applyCapitalizationToSongs();
    QCOMPARE(loaded.song(0)->title(), u"Some Text"_qs);
    QVERIFY(!loaded.song(0)->isModified());
}

void TestCapitalization::unchangedValuesSetNoFlag()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(1));
    fill(loaded.song(0), u"ALREADY UPPER"_qs);
    CapitalizationController capitalization(&loaded.editor);
    capitalization.applyUpperCase();
    QVERIFY(!loaded.song(0)->isModified());

    // Title case with the alternate key: a field already in title case is not touched at all.
    fill(loaded.song(0), u"The Sound of the City"_qs);
    capitalization.setAlternateKeyQuery([] { return true; });
    capitalization.applyCapitalizationToSongs();
    QVERIFY(!loaded.song(0)->isModified());
}

void TestCapitalization::styleSwitchApplies()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(1));
    fill(loaded.song(0), u"the sound of the city"_qs);
    UserDefaults::shared().setBool(true, NewYorkKey);
    CapitalizationController capitalization(&loaded.editor);
    capitalization.applyCapitalizationToSongs();
    QCOMPARE(loaded.song(0)->title(), u"The Sound Of The City"_qs);
}

// With the album-artist binding on, setting the artist also sets the album artist; the album
// artist is read after that and so is the capitalized artist, not the old album artist.
void TestCapitalization::fieldsSeeEarlierSetterEffects()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(1));
    Song *song = loaded.song(0);
    fill(song, u"x"_qs);
    song->setArtist(u"some band"_qs);
    song->setAlbumArtist(u"OTHER PEOPLE"_qs);
    UserDefaults::shared().setBool(true, BindKey);
    CapitalizationController capitalization(&loaded.editor);
    capitalization.applyCapitalizationToSongs();
    QCOMPARE(song->artist(), u"Some Band"_qs);
    QCOMPARE(song->albumArtist(), u"Some Band"_qs);
}

QTEST_GUILESS_MAIN(TestCapitalization)
#include "test_capitalization.moc"
