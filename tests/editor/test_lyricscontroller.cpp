#include "editor/lyricscontroller.h"
#include "editor/settingsregistry.h"
#include "fixtures.h"
#include "loadededitor.h"
#include "model/localized.h"
#include "model/song.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The three songs every case starts from: read from copies of the fixture, then given these
// values in memory and marked unchanged. The second has no artist.
struct Values {
    const char *artist;
    const char *title;
    const char *lyrics;
};
constexpr Values Start[] = {
    {"Ana", "Dawn", "Words one"},
    {"", "Noon", "Words two"},
    {"Cleo", "Dusk", "Words three"},
};

// A step of a case, as the window would make it:
//   "select 0 2"   the table selection becomes these rows (none: nothing selected)
//   "forward", "backward"
//   "type TEXT"    the person's edit in the panel
//   "title 1 TEXT", "artist 1 TEXT", "lyrics 1 TEXT"   a song changed by other means
//   "sort title"   the table sorted by a column, descending
//   "remove"       the Remove command on the selection
void runStep(const QString &step, LoadedEditor &loaded, LyricsController &lyrics)
{
    const QString verb = step.section(u' ', 0, 0);
    const QString rest = step.section(u' ', 1);
    if (verb == u"select") {
        QList<int> rows;
        for (const QString &row : rest.split(u' ', Qt::SkipEmptyParts))
            rows.append(row.toInt());
        loaded.select(rows);
        lyrics.selectionDidChange();
    } else if (verb == u"forward") {
        lyrics.moveLeadSongForward();
    } else if (verb == u"backward") {
        lyrics.moveLeadSongBackward();
    } else if (verb == u"type") {
        lyrics.setLyrics(rest);
    } else if (verb == u"title" || verb == u"artist" || verb == u"lyrics") {
        Song *song = loaded.song(rest.section(u' ', 0, 0).toInt());
        const QString value = rest.section(u' ', 1);
        if (verb == u"title")
            song->setTitle(value);
        else if (verb == u"artist")
            song->setArtist(value);
        else
            song->setLyrics(value);
    } else if (verb == u"sort") {
        loaded.editor.sortUsingDescriptors({{rest, false}});
        lyrics.selectionDidChange();
    } else if (verb == u"remove") {
        loaded.editor.removeSongs();
        // The table keeps no selection of removed rows.
        loaded.select({});
        lyrics.selectionDidChange();
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

} // namespace

class TestLyricsController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid());
        useTemporarySettings(m_settings);
        SettingsRegistry::registerDefaults();
        QVERIFY(Localized::installStringTable());
    }

    void followsSelectionAndEdits_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<qint64>("cursor");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("selectionText");
        QTest::addColumn<QString>("statusText");
        // Lyrics of the songs in list order afterwards; "*" after one marks it changed.
        QTest::addColumn<QStringList>("songs");

        const QStringList untouched{"Words one", "Words two", "Words three"};
        QTest::newRow("nothing selected yet")
            << QStringList{"forward", "backward"} << NoneIndex << "" << "No song selected" << "" << untouched;
        QTest::newRow("three selected show the first")
            << QStringList{"select 0 1 2"} << qint64(0) << "Words one" << "Ana - Dawn" << "Song 1 of 3 selected"
            << untouched;
        QTest::newRow("forward three times comes back to the first")
            << QStringList{"select 0 1 2", "forward", "forward", "forward"} << qint64(0) << "Words one"
            << "Ana - Dawn" << "Song 1 of 3 selected" << untouched;
        QTest::newRow("forward twice reaches the last")
            << QStringList{"select 0 1 2", "forward", "forward"} << qint64(2) << "Words three" << "Cleo - Dusk"
            << "Song 3 of 3 selected" << untouched;
        QTest::newRow("backward from the first wraps to the last")
            << QStringList{"select 0 1 2", "backward"} << qint64(2) << "Words three" << "Cleo - Dusk"
            << "Song 3 of 3 selected" << untouched;
        QTest::newRow("lead song without artist shows its file name")
            << QStringList{"select 0 1 2", "forward"} << qint64(1) << "Words two" << "02.mp3"
            << "Song 2 of 3 selected" << untouched;
        QTest::newRow("one song selected")
            << QStringList{"select 2", "forward"} << qint64(0) << "Words three" << "Cleo - Dusk" << "1 song selected"
            << untouched;
        QTest::newRow("typing changes the lead song only")
            << QStringList{"select 0 1 2", "forward", "type New words"} << qint64(1) << "New words" << "02.mp3"
            << "Song 2 of 3 selected" << QStringList{"Words one", "New words*", "Words three"};
        QTest::newRow("typing a blank keeps it on screen, the song stores the words")
            << QStringList{"select 2", "type Last line "} << qint64(0) << "Last line " << "Cleo - Dusk"
            << "1 song selected" << QStringList{"Words one", "Words two", "Last line*"};
        QTest::newRow("a title change of a selected song returns to the first")
            << QStringList{"select 0 1 2", "forward", "forward", "title 1 Afternoon"} << qint64(0) << "Words one"
            << "Ana - Dawn" << "Song 1 of 3 selected" << untouched;
        QTest::newRow("an artist change of a selected song returns to the first")
            << QStringList{"select 0 2", "forward", "artist 2 Cleo Smith"} << qint64(0) << "Words one"
            << "Ana - Dawn" << "Song 1 of 2 selected" << untouched;
        QTest::newRow("a change of a song not selected keeps the cursor")
            << QStringList{"select 0 2", "forward", "title 1 Afternoon"} << qint64(1) << "Words three"
            << "Cleo - Dusk" << "Song 2 of 2 selected" << untouched;
        QTest::newRow("the same selection again keeps the cursor")
            << QStringList{"select 0 1 2", "forward", "select 0 1 2"} << qint64(1) << "Words two" << "02.mp3"
            << "Song 2 of 3 selected" << untouched;
        QTest::newRow("another selection starts on its first song")
            << QStringList{"select 0 1 2", "forward", "select 1 2"} << qint64(0) << "Words two" << "02.mp3"
            << "Song 1 of 2 selected" << untouched;
        QTest::newRow("deselecting empties the text and typing writes nothing")
            << QStringList{"select 0 1 2", "forward", "select", "type Ghost text"} << qint64(0) << "Ghost text"
            << "No song selected" << "" << untouched;
        QTest::newRow("lyrics of the lead song changed elsewhere are shown in place")
            << QStringList{"select 0 1 2", "forward", "lyrics 1 Fresh words"} << qint64(1) << "Fresh words"
            << "02.mp3" << "Song 2 of 3 selected" << QStringList{"Words one", "Fresh words*", "Words three"};
        QTest::newRow("sorting the table starts on the new first song")
            << QStringList{"select 0 1 2", "forward", "sort title"} << qint64(0) << "Words two" << "02.mp3"
            << "Song 1 of 3 selected" << QStringList{"Words two", "Words three", "Words one"};
        QTest::newRow("removing the selected songs empties the panel")
            << QStringList{"select 1 2", "forward", "remove"} << qint64(0) << "" << "No song selected" << ""
            << QStringList{"Words one"};
    }

    void followsSelectionAndEdits()
    {
        QFETCH(QStringList, steps);
        QFETCH(qint64, cursor);
        QFETCH(QString, shown);
        QFETCH(QString, selectionText);
        QFETCH(QString, statusText);
        QFETCH(QStringList, songs);

        LoadedEditor loaded;
        QVERIFY(loaded.load(3));
        loaded.select({});
        for (int row = 0; row < 3; ++row) {
            Song *song = loaded.song(row);
            song->setArtist(QString::fromUtf8(Start[row].artist));
            song->setTitle(QString::fromUtf8(Start[row].title));
            song->setLyrics(QString::fromUtf8(Start[row].lyrics));
            song->resetModifications();
        }

        LyricsController lyrics(&loaded.editor);
        for (const QString &step : std::as_const(steps))
            runStep(step, loaded, lyrics);

        QCOMPARE(lyrics.leadSongCursor(), cursor);
        QCOMPARE(lyrics.lyrics(), shown);
        QCOMPARE(lyrics.selectionMessage(), selectionText);
        QCOMPARE(lyrics.statusMessage(), statusText);
        QStringList after;
        for (const auto &song : loaded.editor.songs())
            after.append(song->lyrics() + (song->isModified(SongField::Lyrics) ? QStringLiteral("*") : QString()));
        QCOMPARE(after, songs);
    }

    void announcesEachUpdate()
    {
        LoadedEditor loaded;
        QVERIFY(loaded.load(2));
        loaded.song(0)->setLyrics(QStringLiteral("First"));
        loaded.song(1)->setLyrics(QStringLiteral("Second"));
        loaded.select({});
        LyricsController lyrics(&loaded.editor);
        QSignalSpy shown(&lyrics, &LyricsController::lyricsChanged);
        QSignalSpy messages(&lyrics, &LyricsController::messagesChanged);

        loaded.select({0, 1});
        lyrics.selectionDidChange();
        lyrics.moveLeadSongForward();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).at(0).toString(), QStringLiteral("First"));
        QCOMPARE(shown.at(1).at(0).toString(), QStringLiteral("Second"));
        QCOMPARE(messages.size(), 2);
        // The person's own edit is no news to the panel beyond the text itself.
        lyrics.setLyrics(QStringLiteral("Second, again"));
        QCOMPARE(shown.size(), 3);
        QCOMPARE(messages.size(), 2);
        // A new file name of the lead song reads differently in the selection text.
        loaded.song(1)->setFileName(QStringLiteral("renamed.mp3"));
        QCOMPARE(messages.size(), 3);
        QCOMPARE(lyrics.selectionMessage(), QStringLiteral("renamed.mp3"));
    }

    void madeWithASelectionStartsOnIt()
    {
        LoadedEditor loaded;
        QVERIFY(loaded.load(2));
        loaded.song(1)->setLyrics(QStringLiteral("Chorus"));
        loaded.select({1});
        const LyricsController lyrics(&loaded.editor);
        QCOMPARE(lyrics.leadSongCursor(), qint64(0));
        QCOMPARE(lyrics.lyrics(), QStringLiteral("Chorus"));
    }

    void clearingTheListLetsGoOfTheSongs()
    {
        LoadedEditor loaded;
        QVERIFY(loaded.load(2));
        loaded.select({0, 1});
        LyricsController lyrics(&loaded.editor);
        QCOMPARE(loaded.song(0)->observerCount(), 1);
        loaded.editor.clearSongs();
        QCOMPARE(lyrics.lyrics(), QString());
        QVERIFY(!lyrics.leadSong());
        lyrics.setLyrics(QStringLiteral("After the list was cleared"));
        QCOMPARE(lyrics.selectionMessage(), QStringLiteral("No song selected"));
    }

private:
    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(TestLyricsController)
#include "test_lyricscontroller.moc"
