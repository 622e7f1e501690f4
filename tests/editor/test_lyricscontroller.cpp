#include "editor/lyricscontroller.h"
#include "fixtures.h"
#include "loadededitor.h"
#include "model/song.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// A step as the window makes it: "select 0 2" (the table selection; none: nothing selected),
// "forward", "backward", "type TEXT" (the person's edit), "title|artist|lyrics ROW TEXT" (a
// song changed by other means), "sort title" (descending), "remove" (the selected songs).
void runStep(const QString &step, LoadedEditor &loaded, LyricsController &lyrics)
{
    const QString verb = step.section(u' ', 0, 0);
    const QString rest = step.section(u' ', 1);
    Song *song = loaded.song(std::min(rest.section(u' ', 0, 0).toInt(), int(loaded.editor.songs().size()) - 1));
    const QString value = rest.section(u' ', 1);
    if (verb == u"select") {
        QList<int> rows;
        for (const QString &row : rest.split(u' ', Qt::SkipEmptyParts))
            rows.append(row.toInt());
        loaded.select(rows);
    } else if (verb == u"forward") {
        lyrics.moveLeadSongForward();
    } else if (verb == u"backward") {
        lyrics.moveLeadSongBackward();
    } else if (verb == u"type") {
        lyrics.setLyrics(rest);
    } else if (verb == u"title") {
        song->setTitle(value);
    } else if (verb == u"artist") {
        song->setArtist(value);
    } else if (verb == u"lyrics") {
        song->setLyrics(value);
    } else if (verb == u"sort") {
        loaded.editor.sortUsingDescriptors({{rest, false}});
    } else if (verb == u"remove") {
        loaded.editor.removeSongs();
        loaded.select({}); // the table keeps no selection of removed rows
    }
    if (verb == u"select" || verb == u"remove")
        lyrics.selectionDidChange();
}

} // namespace

class TestLyricsController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(useEditorSettings(m_settings));
    }

    void followsSelectionAndEdits_data()
    {
        QTest::addColumn<QString>("steps"); // separated by ";"
        QTest::addColumn<qint64>("cursor");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("texts"); // selection text | status text
        QTest::addColumn<QString>("songs"); // lyrics in list order; "*" marks a changed one

        const QString untouched = QStringLiteral("one|two|three");
        QTest::newRow("nothing selected yet") << "forward;backward" << NoneIndex << "" << "No song selected|" << untouched;
        QTest::newRow("forward three times comes back")
            << "select 0 1 2;forward;forward;forward" << qint64(0) << "one" << "Ana - Dawn|Song 1 of 3 selected" << untouched;
        QTest::newRow("backward wraps to the last")
            << "select 0 1 2;backward" << qint64(2) << "three" << "Cleo - Dusk|Song 3 of 3 selected" << untouched;
        QTest::newRow("lead without artist shows its file name, typing goes into it only")
            << "select 0 1 2;forward;type New" << qint64(1) << "New" << "02.mp3|Song 2 of 3 selected" << "one|New*|three";
        QTest::newRow("a title change of a selected song returns to the first")
            << "select 0 1 2;forward;forward;title 1 Noonday" << qint64(0) << "one" << "Ana - Dawn|Song 1 of 3 selected"
            << untouched;
        QTest::newRow("a change of a song not selected keeps the cursor")
            << "select 0 2;forward;title 1 Noonday" << qint64(1) << "three" << "Cleo - Dusk|Song 2 of 2 selected" << untouched;
        QTest::newRow("the same selection again keeps the cursor")
            << "select 0 1 2;forward;select 0 1 2" << qint64(1) << "two" << "02.mp3|Song 2 of 3 selected" << untouched;
        QTest::newRow("deselecting empties the text, typing writes nothing")
            << "select 0 1 2;forward;select;type Ghost" << qint64(0) << "Ghost" << "No song selected|" << untouched;
        QTest::newRow("the lead song's lyrics changed elsewhere are shown in place")
            << "select 0 1 2;forward;lyrics 1 Fresh" << qint64(1) << "Fresh" << "02.mp3|Song 2 of 3 selected"
            << "one|Fresh*|three";
        QTest::newRow("sorting starts on the new first song")
            << "select 0 1 2;forward;sort title" << qint64(0) << "two" << "02.mp3|Song 1 of 3 selected" << "two|three|one";
        QTest::newRow("removing the selected songs empties the panel")
            << "select 1 2;forward;remove" << qint64(0) << "" << "No song selected|" << "one";
    }

    void followsSelectionAndEdits()
    {
        QFETCH(QString, steps);
        QFETCH(qint64, cursor);
        QFETCH(QString, shown);
        QFETCH(QString, texts);
        QFETCH(QString, songs);

        // Copies of the fixture; the second song has no artist.
        LoadedEditor loaded;
        QVERIFY(loaded.load(3));
        const QStringList start[] = {{"Ana", "Dawn", "one"}, {"", "Noon", "two"}, {"Cleo", "Dusk", "three"}};
        for (int row = 0; row < 3; ++row) {
            loaded.song(row)->setArtist(start[row][0]);
            loaded.song(row)->setTitle(start[row][1]);
            loaded.song(row)->setLyrics(start[row][2]);
            loaded.song(row)->resetModifications();
        }
        loaded.select({});

        LyricsController lyrics(&loaded.editor);
        for (const QString &step : steps.split(u';', Qt::SkipEmptyParts))
            runStep(step, loaded, lyrics);

        QCOMPARE(lyrics.leadSongCursor(), cursor);
        QCOMPARE(lyrics.lyrics(), shown);
        QCOMPARE(lyrics.selectionMessage() + u'|' + lyrics.statusMessage(), texts);
        QStringList after;
        for (const auto &song : loaded.editor.songs())
            after.append(song->lyrics() + (song->isModified(SongField::Lyrics) ? QStringLiteral("*") : QString()));
        QCOMPARE(after.join(u'|'), songs);
        // Removed songs are no longer observed (the sanitizer would see a use after free).
        loaded.editor.clearSongs();
        QVERIFY(!lyrics.leadSong());
    }

private:
    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(TestLyricsController)
#include "test_lyricscontroller.moc"
