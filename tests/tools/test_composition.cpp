#include "fixtures.h"
#include "loadededitor.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/compositioncontroller.h"
#include "tools/tagcomposer.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestComposition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void composes_data();
    void composes();
    void unchangedValueSetsNoFlag();
    void patternAndTargetChoice();
    void composesTheSelection();

private:
    QTemporaryDir m_dir;
    int m_store = 0;
    LoadedEditor m_loaded;
};

void TestComposition::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
    QVERIFY(m_loaded.load(3));
}

void TestComposition::init()
{
    UserDefaults::shared().openStore(m_dir.filePath(QStringLiteral("settings-%1.ini").arg(++m_store)));
}

void TestComposition::composes_data()
{
    QTest::addColumn<bool>("fixed"); // the title-and-track pattern, else the custom one
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QVariantHash>("fields");
    QTest::addColumn<QString>("expected");

    const QString title = QStringLiteral("title");
    const QString comment = QStringLiteral("comment");
    QTest::newRow("fixed") << true << QString() << title << QVariantHash{{"title", "Intro"}, {"track", "03/12"}}
                           << "Intro 3";
    QTest::newRow("fixed, no track") << true << QString() << title << QVariantHash{{"title", "Intro"}} << "Intro 0";
    QTest::newRow("fixed ignores the target") << true << QString() << comment
                                              << QVariantHash{{"title", "Intro"}, {"track", "9"}} << "Intro 9";
    const QVariantHash album{{"artist", "A"}, {"album", "B"}, {"year", 2001}};
    QTest::newRow("comment") << false << "{Artist} - {Album} ({Year})" << comment << album << "A - B (2001)";
    QVariantHash noYear = album;
    noYear.remove("year");
    QTest::newRow("year 0") << false << "{Artist} - {Album} ({Year})" << comment << noYear << "A - B (0)";
    QTest::newRow("hours") << false << "{Length}" << title << QVariantHash{{"length", 3725}} << "1:02:05";
    QTest::newRow("minutes") << false << "{Length}" << title << QVariantHash{{"length", 65}} << "1:05";
    QTest::newRow("just below an hour") << false << "{Length}" << title << QVariantHash{{"length", 3599}} << "59:59";
    QTest::newRow("no length") << false << "{Length}" << title << QVariantHash() << "0:00";
    QTest::newRow("numbers lose their zeros") << false << "{Disc}-{Track}" << title
                                              << QVariantHash{{"disc", "2/3"}, {"track", "07/12"}} << "2-7";
    QTest::newRow("absent parts are 0") << false << "{Disc Total}/{Track Total}/{Track}" << comment
                                        << QVariantHash{{"track", "/12"}} << "0/12/0";
    QTest::newRow("empty pattern") << false << "" << comment << QVariantHash{{"comment", "old"}} << "";
    QTest::newRow("trailing blank is trimmed") << false << "{Title} " << title << QVariantHash{{"title", "T"}} << "T";
    QTest::newRow("file properties") << false << "{Bitrate} kbps, {File Name}, {File Path}" << comment
                                     << QVariantHash{{"bitrate", 128}} << "128 kbps, a.mp3, /m/a.mp3";
    QTest::newRow("every text field") << false << "{Title} ({Album Artist}, {Composer}, {Genre}, {Comment})" << title
                                      << QVariantHash{{"title", "T"}, {"albumArtist", "AA"}, {"composer", "C"},
                                                      {"genre", "G"}, {"comment", "X"}}
                                      << "T (AA, C, G, X)";
    QTest::newRow("Unicode and apostrophes") << false << "{Artist} – {Title} ♫" << comment
                                             << QVariantHash{{"artist", "Björk"}, {"title", "It's Oh So Quiet"}}
                                             << "Björk – It's Oh So Quiet ♫";
}

void TestComposition::composes()
{
    QFETCH(bool, fixed);
    QFETCH(QString, pattern);
    QFETCH(QString, target);
    QFETCH(QVariantHash, fields);
    QFETCH(QString, expected);

    UserDefaults &defaults = UserDefaults::shared();
    defaults.setObject(target, CompositionController::TargetKey);
    CompositionController composition(m_loaded.editor);
    if (fixed) {
        composition.selectTitleAndTrack();
    } else {
        composition.selectCustom();
        composition.saveCustom(patternFromText(pattern), false);
    }
    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/a.mp3"), fields);
    composition.applyCompositionToSongs({song.get()});
    QCOMPARE(song->valueForKey(CompositionController::currentTarget()).toString(), expected);
    // Nothing but the target changes.
    const QString other = CompositionController::currentTarget() == QLatin1String("title") ? "comment" : "title";
    QCOMPARE(song->valueForKey(other).toString(), fields.value(other).toString());
}

void TestComposition::unchangedValueSetsNoFlag()
{
    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/a.mp3"), {{"artist", "A"}, {"comment", "A!"}});
    TagComposer::composeTags(patternFromText("{Artist}!"), *song, QStringLiteral("comment"));
    QVERIFY(!song->isModified());
    TagComposer::composeTags(patternFromText("{Artist}?"), *song, QStringLiteral("comment"));
    QCOMPARE(song->comment(), QStringLiteral("A?"));
    QVERIFY(song->isCommentModified());
    QVERIFY(!song->isTitleModified());
}

void TestComposition::patternAndTargetChoice()
{
    UserDefaults &defaults = UserDefaults::shared();
    CompositionController composition(m_loaded.editor);
    QCOMPARE(describePattern(CompositionController::currentPattern()), QStringLiteral("{Title}[ ]{Track}"));
    QCOMPARE(CompositionController::currentTarget(), QStringLiteral("title"));

    composition.saveCustom(patternFromText("<{Year}>"), false);
    composition.selectCustom();
    composition.selectTarget(QStringLiteral("comment"));
    QVERIFY(!defaults.boolForKey(CompositionController::TitleAndTrackKey));
    QVERIFY(defaults.boolForKey(CompositionController::CustomKey));
    QCOMPARE(describePattern(CompositionController::currentPattern()), QStringLiteral("[<]{Year}[>]"));
    QCOMPARE(CompositionController::currentTarget(), QStringLiteral("comment"));

    composition.selectTitleAndTrack();
    QVERIFY(!defaults.boolForKey(CompositionController::CustomKey));
    QCOMPARE(CompositionController::currentTarget(), QStringLiteral("title"));
    // The custom pattern is kept for later.
    QCOMPARE(describePattern(composition.customPattern()), QStringLiteral("[<]{Year}[>]"));

    const QList<CompositionController::Choice> targets = CompositionController::targets();
    QCOMPARE(targets.size(), 2);
    QCOMPARE(targets[0].value, QStringLiteral("title"));
    QCOMPARE(targets[0].label, Localized::text("Title"));
    QCOMPARE(targets[1].value, QStringLiteral("comment"));
    QCOMPARE(targets[1].label, Localized::text("Comment"));
}

void TestComposition::composesTheSelection()
{
    for (int row = 0; row < 3; ++row) {
        m_loaded.song(row)->setTitle(QStringLiteral("Song"));
        m_loaded.song(row)->setTrack(QStringLiteral("%1/3").arg(row + 1));
    }
    m_loaded.select({0, 2});
    CompositionController composition(m_loaded.editor);
    composition.applyCompositionToSongs();
    QCOMPARE(m_loaded.song(0)->title(), QStringLiteral("Song 1"));
    QCOMPARE(m_loaded.song(1)->title(), QStringLiteral("Song"));
    QCOMPARE(m_loaded.song(2)->title(), QStringLiteral("Song 3"));

    // Stored with the alternate key held: applied at once, into the comment.
    composition.selectCustom();
    composition.selectTarget(QStringLiteral("comment"));
    composition.saveCustom(patternFromText("{Track Total}: {Title}"), true);
    QCOMPARE(m_loaded.song(2)->comment(), QStringLiteral("3: Song 3"));
    QCOMPARE(m_loaded.song(1)->comment(), QString());
}

QTEST_GUILESS_MAIN(TestComposition)
#include "test_composition.moc"
