#include "editor/editorcontroller.h"
#include "model/song.h"
#include "ui/mainwindow.h"
#include "ui/previewwindow.h"
#include "ui/songtableview.h"
#include "ui/viewswitch.h"
#include "windowtesting.h"

#include <QToolButton>
#include <QtTest>

using namespace WindowTesting;

// The preview: Space shows the selected song and hides it again, it follows the selection the
// arrow keys move, and it says when there is nothing to play the song on.
class TestPreview : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_test.emplace();
        QVERIFY(m_test->open({{"a.mp3", "Alpha", "Ann", "First", "1", "silence.mp3"},
                              {"b.flac", "Beta", "Bob", "Second", "2", "silence.flac"}}));
    }

    void spaceShowsTheSelectedSongAndFollowsTheSelection()
    {
        SongTableView *table = window().table();
        table->setSelectedRows({0});
        table->setCurrentIndex(table->model()->index(0, 1));
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(preview() && preview()->isVisible());
        QCOMPARE(preview()->titleText(), QStringLiteral("Alpha"));
        QVERIFY(preview()->detailText().contains(QStringLiteral("Ann")));
        QCOMPARE(preview()->shownPath(), song(window(), 0)->filePath());
        // The table keeps the keyboard: the arrow key moves its selection, the preview follows.
        QVERIFY(table->hasFocus());
        QTest::keyClick(table, Qt::Key_Down);
        window().refreshNow();
        QCOMPARE(preview()->titleText(), QStringLiteral("Beta"));
        QCOMPARE(preview()->shownPath(), song(window(), 1)->filePath());
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(!preview()->isVisible());
    }

    void spaceWithNothingSelectedShowsNothing()
    {
        window().table()->setSelectedRows({});
        QTest::keyClick(window().table(), Qt::Key_Space);
        QVERIFY(!preview() || !preview()->isVisible());
    }

    void theBrowserClosesIt()
    {
        QTest::keyClick(window().table(), Qt::Key_Space);
        QVERIFY(preview() && preview()->isVisible());
        window().viewSwitch()->showBrowser();
        QVERIFY(!preview()->isVisible());
    }

    void withoutSoundOutputItSaysSo()
    {
        if (PreviewWindow::hasSoundOutput())
            QSKIP("This machine has a sound output");
        QTest::keyClick(window().table(), Qt::Key_Space);
        QVERIFY(preview() && preview()->isVisible());
        QVERIFY(!preview()->canPlay());
        QVERIFY(!preview()->playButton()->isEnabled());
        // The song is shown all the same.
        QCOMPARE(preview()->titleText(), QStringLiteral("Alpha"));
    }

private:
    MainWindow &window() const { return **m_test; }
    PreviewWindow *preview() const { return window().findChild<PreviewWindow *>(); }

    std::optional<TestWindow> m_test;
};

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
