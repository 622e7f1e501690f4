#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "ui/librarycommand.h"
#include "ui/lyricspanel.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"
#include "ui/toolpanelset.h"
#include "windowtesting.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace WindowTesting;

// The lyrics panel in its tool window over three songs, and Add to Music Library of the Edit
// menu with a script standing in for the player.
class TestLyricsPanel : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_test.emplace();
        QVERIFY(m_test->open({{"01.mp3", "Dawn", "Ana", {}, "1"},
                              {"02.flac", "Noon", "Bea", {}, "2", QStringLiteral("silence.flac")},
                              {"03.m4a", "Dusk", "Cleo", {}, "3", QStringLiteral("silence.m4a")}}));
        m_panel = window().toolPanelSet()->content<LyricsPanel>(ToolPanel::Lyrics);
        QVERIFY(m_panel);
        window().toolPanelSet()->action(ToolPanel::Lyrics)->trigger();
        QVERIFY(window().toolPanelSet()->window(ToolPanel::Lyrics)->isVisible());
    }
    void cleanup() { m_test.reset(); }

    void typingGoesIntoTheLeadSongOnly_data()
    {
        QTest::addColumn<QList<int>>("rows");
        // Clicks on the panel's buttons: "<" backward, ">" forward.
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("selectionText");
        QTest::addColumn<QString>("statusText");
        // The lyrics of the three files as saved.
        QTest::addColumn<QStringList>("saved");

        QTest::newRow("first of three") << QList<int>{0, 1, 2} << "" << "Ana - Dawn" << "Song 1 of 3 selected"
                                        << QStringList{"Verse", "", ""};
        QTest::newRow("forward once") << QList<int>{0, 1, 2} << ">" << "Bea - Noon" << "Song 2 of 3 selected"
                                      << QStringList{"", "Verse", ""};
        QTest::newRow("backward wraps to the last") << QList<int>{0, 1, 2} << "<" << "Cleo - Dusk"
                                                    << "Song 3 of 3 selected" << QStringList{"", "", "Verse"};
        QTest::newRow("forward three times wraps to the first")
            << QList<int>{0, 1, 2} << ">>>" << "Ana - Dawn" << "Song 1 of 3 selected" << QStringList{"Verse", "", ""};
        QTest::newRow("two of three, forward and back") << QList<int>{0, 2} << "><<" << "Cleo - Dusk"
                                                        << "Song 2 of 2 selected" << QStringList{"", "", "Verse"};
        QTest::newRow("one song") << QList<int>{1} << "" << "Bea - Noon" << "1 song selected"
                                  << QStringList{"", "Verse", ""};
    }

    void typingGoesIntoTheLeadSongOnly()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QString, clicks);
        QFETCH(QString, selectionText);
        QFETCH(QString, statusText);
        QFETCH(QStringList, saved);

        select(rows);
        QCOMPARE(m_panel->forwardButton()->isEnabled(), rows.size() > 1);
        for (QChar click : clicks)
            QTest::mouseClick(click == u'>' ? m_panel->forwardButton() : m_panel->backwardButton(), Qt::LeftButton);
        QCOMPARE(m_panel->selectionLabel()->text(), selectionText);
        QCOMPARE(m_panel->statusLabel()->text(), statusText);

        QPlainTextEdit *text = m_panel->textArea();
        QVERIFY(text->isEnabled() && !text->isReadOnly());
        text->setFocus();
        QTest::keyClicks(text, QStringLiteral("Verse"));
        QCOMPARE(text->toPlainText(), QStringLiteral("Verse"));

        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(waitForSave(window()));
        QStringList onDisk;
        for (int row = 0; row < 3; ++row) {
            const std::unique_ptr<Song> read = reread(*song(window(), row));
            QVERIFY(read);
            onDisk.append(read->lyrics());
        }
        QCOMPARE(onDisk, saved);
    }

    void followsTheTableAndTheSave()
    {
        select({0, 1, 2});
        QTest::mouseClick(m_panel->forwardButton(), Qt::LeftButton);
        QCOMPARE(m_panel->statusLabel()->text(), QStringLiteral("Song 2 of 3 selected"));
        // The text stands in white on grey.
        const QPalette colours = m_panel->textArea()->palette();
        QCOMPARE(colours.color(QPalette::Base), QColor::fromRgbF(0.35f, 0.35f, 0.35f));
        QCOMPARE(colours.color(QPalette::Text), QColor(Qt::white));

        // A title changed in the table brings the panel back to the first selected song.
        SongTableView *table = window().table();
        QVERIFY(table->model()->setData(table->model()->index(1, songColumn(QStringLiteral("Noon"))),
                                        QStringLiteral("Afternoon")));
        QCOMPARE(m_panel->statusLabel()->text(), QStringLiteral("Song 1 of 3 selected"));

        // No selection: nothing to show, nothing to type into.
        table->clearSelection();
        QCOMPARE(m_panel->selectionLabel()->text(), QStringLiteral("No song selected"));
        QCOMPARE(m_panel->statusLabel()->text(), QString());
        QVERIFY(!m_panel->textArea()->isEnabled());
        QVERIFY(m_panel->textArea()->toPlainText().isEmpty());

        // While a save runs the text cannot be edited.
        select({0});
        QVERIFY(!m_panel->textArea()->isReadOnly());
        song(window(), 0)->setComment(QStringLiteral("to be saved"));
        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(window().saver().isSaving());
        QVERIFY(m_panel->textArea()->isReadOnly());
        QVERIFY(waitForSave(window()));
        QVERIFY(!m_panel->textArea()->isReadOnly());
    }

    void addToLibraryHandsTheFilesToThePlayer()
    {
        const QString received = m_test->dir().filePath(QStringLiteral("received"));
        const QString player = m_test->dir().filePath(QStringLiteral("player"));
        QFile script(player);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n").arg(received).toUtf8());
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
        UserDefaults::shared().setObject(player + QStringLiteral(" %f"), QStringLiteral("LIBRARY_HANDOFF_COMMAND"));

        select({2, 0});
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("ITurnedItOff"));
        QAction *command = window().libraryCommand()->action();
        QVERIFY(command->isEnabled());
        command->trigger();
        QCOMPARE(answerer.asked, QStringList{QStringLiteral("Adding songs to the music library")});
        QVERIFY(UserDefaults::shared().boolForKey(QStringLiteral("CONFIRMED_ADD_TO_ITUNES")));
        QFile file(received);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 m_test->paths.at(0) + QStringLiteral("\n") + m_test->paths.at(2) + QStringLiteral("\n"));
        table()->clearSelection();
        QVERIFY(!command->isEnabled());
    }

private:
    MainWindow &window() const { return **m_test; }
    SongTableView *table() const { return window().table(); }
    void select(const QList<int> &rows) const
    {
        table()->clearSelection();
        for (int row : rows)
            table()->selectionModel()->select(table()->model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // The column that shows the value in the first rows.
    int songColumn(const QString &value) const
    {
        for (int column = 0; column < table()->model()->columnCount(); ++column) {
            if (table()->model()->index(1, column).data().toString() == value)
                return column;
        }
        return -1;
    }

    std::optional<TestWindow> m_test;
    LyricsPanel *m_panel = nullptr;
};

QTEST_MAIN(TestLyricsPanel)
#include "test_lyricspanel.moc"
