#include "editor/editorcontroller.h"
#include "model/song.h"
#include "ui/lyricspanel.h"
#include "ui/mainwindow.h"
#include "ui/toolpanelset.h"
#include "windowtesting.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace WindowTesting;

// The lyrics panel in its tool window over three songs.
class TestLyricsPanel : public QObject {
    Q_OBJECT

private slots:
    void typingGoesIntoTheLeadSongOnly_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("clicks"); // "<" backward, ">" forward
        QTest::addColumn<QString>("texts");  // selection text | status text
        QTest::addColumn<QString>("saved");  // the lyrics of the three files as saved

        QTest::newRow("first of three") << QList<int>{0, 1, 2} << "" << "Ana - Dawn|Song 1 of 3 selected" << "Verse||";
        QTest::newRow("two of three") << QList<int>{0, 2} << "><<" << "Cleo - Dusk|Song 2 of 2 selected" << "||Verse";
        QTest::newRow("nothing selected") << QList<int>() << "" << "No song selected|" << "||";
    }

    void typingGoesIntoTheLeadSongOnly()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QString, clicks);
        QFETCH(QString, texts);
        QFETCH(QString, saved);
        TestWindow test;
        QVERIFY(test.open({{"01.mp3", "Dawn", "Ana", {}, "1"},
                           {"02.flac", "Noon", "Bea", {}, "2", QStringLiteral("silence.flac")},
                           {"03.m4a", "Dusk", "Cleo", {}, "3", QStringLiteral("silence.m4a")}}));
        MainWindow &window = *test;
        auto *panel = window.toolPanelSet()->content<LyricsPanel>(ToolPanel::Lyrics);
        QVERIFY(panel);
        select(window, rows);
        window.toolPanelSet()->action(ToolPanel::Lyrics)->trigger();
        QCOMPARE(panel->forwardButton()->isEnabled(), rows.size() > 1);
        for (QChar click : clicks)
            QTest::mouseClick(click == u'>' ? panel->forwardButton() : panel->backwardButton(), Qt::LeftButton);
        QCOMPARE(panel->selectionLabel()->text() + u'|' + panel->statusLabel()->text(), texts);
        QCOMPARE(panel->textArea()->isEnabled(), !rows.isEmpty());
        QCOMPARE(panel->textArea()->palette().color(QPalette::Base), QColor::fromRgbF(0.35f, 0.35f, 0.35f));
        QTest::keyClicks(panel->textArea(), QStringLiteral("Verse"));

        // Saved and read back; a save makes the text read-only while it runs.
        song(window, 1)->setComment(QStringLiteral("saved too"));
        QTest::keySequence(&window, QKeySequence::Save);
        QVERIFY(panel->textArea()->isReadOnly());
        QVERIFY(waitForSave(window));
        QStringList onDisk;
        for (int row = 0; row < 3; ++row)
            onDisk.append(reread(*song(window, row))->lyrics());
        QCOMPARE(onDisk.join(u'|'), saved);
    }
};

QTEST_MAIN(TestLyricsPanel)
#include "test_lyricspanel.moc"
