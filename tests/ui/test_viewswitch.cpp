#include "lookup/cover.h"
#include "ui/browserview.h"
#include "ui/coverstrip.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"
#include "ui/viewswitch.h"
#include "windowtesting.h"

#include <QLineEdit>
#include <QSplitter>
#include <QtTest>

using namespace WindowTesting;

// The switch between the editor and the browser in the window: which view shows, the slide
// where animations are on, and where the keyboard focus lands.
class TestViewSwitch : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_test.emplace();
        QVERIFY(m_test->open({{"a.mp3", "Alpha", "Ann", "Blue", {}, "silence.mp3"}}));
    }

    void cleanup() { m_test.reset(); }

    void switchesWithOrWithoutSlide_data()
    {
        QTest::addColumn<bool>("animated");
        QTest::addColumn<QList<int>>("segments");
        QTest::addColumn<bool>("editorVisible");
        QTest::addColumn<int>("changes");
        QTest::addColumn<int>("slides");
        QTest::newRow("to the browser, sliding") << true << QList<int>{1} << false << 1 << 1;
        QTest::newRow("there and back at once") << true << QList<int>{1, 0} << true << 2 << 2;
        QTest::newRow("to the browser, animations off") << false << QList<int>{1} << false << 1 << 0;
        QTest::newRow("there and back, animations off") << false << QList<int>{1, 0} << true << 2 << 0;
        QTest::newRow("the view already shown") << true << QList<int>{0} << true << 0 << 0;
        QTest::newRow("no such segment") << true << QList<int>{2, -1} << true << 0 << 0;
    }

    void switchesWithOrWithoutSlide()
    {
        QFETCH(bool, animated);
        QFETCH(QList<int>, segments);
        QFETCH(bool, editorVisible);
        QFETCH(int, changes);
        QFETCH(int, slides);
        ViewSwitch *views = (*m_test)->viewSwitch();
        views->setAnimated(animated);
        QSignalSpy finished(views, &ViewSwitch::transitionFinished);
        QSignalSpy changed(views, &ViewSwitch::viewChanged);
        for (int segment : segments) {
            const bool wasEditor = views->isEditorVisible();
            views->changeView(segment);
            // The new view is in place at once; the slide only covers it for a moment.
            QCOMPARE((*m_test)->editorSplitter()->isVisible(), views->isEditorVisible());
            QCOMPARE((*m_test)->searchField()->isVisible(), !views->isEditorVisible());
            QCOMPARE(views->transition() != nullptr, animated && wasEditor != views->isEditorVisible());
        }
        QCOMPARE(views->isEditorVisible(), editorVisible);
        QCOMPARE(changed.size(), changes);
        QTRY_COMPARE(finished.size(), slides);
        QVERIFY(!views->transition());
        QTRY_VERIFY(editorVisible ? (*m_test)->table()->hasFocus() : (*m_test)->searchField()->hasFocus());
    }

    void coverSelectionOutlastsTheEditor()
    {
        ViewSwitch *views = (*m_test)->viewSwitch();
        views->setAnimated(false);
        views->showBrowser();
        CoverStrip *strip = (*m_test)->browserView()->strip();
        QList<std::shared_ptr<Cover>> covers;
        for (int index = 0; index < 5; ++index)
            covers.append(std::make_shared<Cover>(QString(NoImageUID)));
        strip->setCovers(covers);
        strip->setSelectedIndex(3);
        strip->setFocus(Qt::MouseFocusReason);
        QVERIFY(strip->hasFocus());
        // The strip had the focus last in the browser; coming back does not select anew.
        views->showEditor();
        QTRY_VERIFY((*m_test)->table()->hasFocus());
        views->showBrowser();
        QTRY_VERIFY((*m_test)->searchField()->hasFocus());
        QCOMPARE(strip->selectedIndex(), 3);
    }

private:
    std::optional<TestWindow> m_test;
};

QTEST_MAIN(TestViewSwitch)
#include "test_viewswitch.moc"
