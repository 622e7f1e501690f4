#include "editor/editorcontroller.h"
#include "editor/songtablecolumns.h"
#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "ui/aboutbox.h"
#include "ui/bottombar.h"
#include "ui/fieldarea.h"
#include "ui/mainwindow.h"
#include "ui/preferencesdialog.h"
#include "ui/progresssheet.h"
#include "ui/songtableview.h"
#include "ui/viewswitch.h"
#include "quorlversion.h"
#include "windowtesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

using namespace WindowTesting;

// The main window as a whole: editing and saving with the keyboard, the question at the end,
// the save report, the view switch, full screen, the preferences and what the window remembers.
class TestWindowFlows : public QObject {
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }

    void editsTheSelectionAndSavesWithTheShortcut()
    {
        QVERIFY(openWindow());
        QCOMPARE(window().bottomBar()->statusText(), QStringLiteral("3 songs loaded, 3 selected"));
        QLineEdit *artist = window().fieldArea()->lineEditFor(SongField::Artist);
        artist->setFocus();
        QTest::keyClicks(artist, QStringLiteral("Dora"));
        QTest::keyClick(artist, Qt::Key_Return);
        window().refreshNow();
        for (int row = 0; row < 3; ++row)
            QCOMPARE(song(window(), row)->artist(), QStringLiteral("Dora"));
        QVERIFY(window().isWindowModified());

        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(waitForSave(window()));
        QVERIFY(!window().isWindowModified());
        for (int row = 0; row < 3; ++row)
            QCOMPARE(reread(*song(window(), row))->artist(), QStringLiteral("Dora"));
    }

    void asksAboutUnsavedChangesAtClose_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("titleOnDisk");
        QTest::newRow("save") << "Save" << true << "Changed";
        QTest::newRow("cancel") << "Cancel" << false << "Alpha";
        QTest::newRow("don't save") << "DontSave" << true << "Alpha";
    }

    void asksAboutUnsavedChangesAtClose()
    {
        QFETCH(QString, button);
        QFETCH(bool, closes);
        QFETCH(QString, titleOnDisk);
        QVERIFY(openWindow());
        song(window(), 0)->setTitle(QStringLiteral("Changed"));
        DialogAnswerer answerer;
        answerer.answer(button);
        QTest::keySequence(&window(), window().action(MainWindow::Command::Quit)->shortcut());
        QCOMPARE(answerer.asked, QStringList{Localized::text("UnsavedChanges")});
        QCOMPARE(window().isVisible(), !closes);
        QCOMPARE(song(window(), 0)->title(), QStringLiteral("Changed"));
        QCOMPARE(reread(*song(window(), 0))->title(), titleOnDisk);
    }

    void reportsSongsThatCouldNotBeSaved()
    {
        QVERIFY(openWindow());
        song(window(), 0)->setTitle(QStringLiteral("One"));
        song(window(), 1)->setTitle(QStringLiteral("Two"));
        // Another file now stands where the second song was read from: the save leaves it alone.
        QVERIFY(QFile::remove(m_test->paths[1]));
        QVERIFY(!copyFixture(m_test->dir(), QStringLiteral("silence.mp3"), QStringLiteral("b.mp3")).isEmpty());
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(waitForSave(window()));
        QCOMPARE(answerer.asked, QStringList{Localized::text("CouldNotSaveOneOrMoreFiles")});
        QCOMPARE(reread(*song(window(), 0))->title(), QStringLiteral("One"));
        QCOMPARE(reread(*song(window(), 1))->title(), QString());
        QVERIFY(song(window(), 1)->isModified());
        QVERIFY(window().isWindowModified());
        // The window is usable again.
        QVERIFY(window().fieldArea()->editorFor(SongField::Title)->isEnabled());
        QVERIFY(window().action(MainWindow::Command::Save)->isEnabled());
    }

    void switchesViewsAndMovesTheFocus()
    {
        QVERIFY(openWindow());
        ViewSwitch *views = window().viewSwitch();
        QSignalSpy changes(views, &ViewSwitch::viewChanged);
        QTest::keyClick(&window(), Qt::Key_2, Qt::ControlModifier);
        QVERIFY(!views->isEditorVisible());
        QTRY_VERIFY(window().searchField()->hasFocus());
        // The view shown already: no change.
        QTest::keyClick(&window(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(changes.size(), 1);
        QVERIFY(window().action(MainWindow::Command::ShowBrowser)->isChecked());
        QTest::keyClick(&window(), Qt::Key_1, Qt::ControlModifier);
        QTRY_VERIFY(views->isEditorVisible() && window().table()->hasFocus());
    }

    void namesTheFullScreenStateItLeadsTo()
    {
        QVERIFY(openWindow());
        QAction *fullScreen = window().action(MainWindow::Command::FullScreen);
        for (const bool full : {false, true, false}) {
            if (full != window().isFullScreen())
                fullScreen->trigger();
            QTRY_COMPARE(window().isFullScreen(), full);
            QCOMPARE(fullScreen->text(), Localized::text(full ? "ExitFullScreen" : "EnterFullScreen"));
        }
    }

    void preferencesShowAndHideColumnsAtOnce()
    {
        QVERIFY(openWindow());
        const int album = int(SongColumn::Album);
        QVERIFY(window().table()->isColumnHidden(album));
        window().action(MainWindow::Command::Preferences)->trigger();
        PreferencesDialog *preferences = window().preferences();
        QTRY_VERIFY(preferences->isVisible());
        QCheckBox *showAlbum = preferences->findChild<QCheckBox *>(QStringLiteral("COLUMN_HIDE_ALBUM"));
        QVERIFY(showAlbum);
        QVERIFY(!showAlbum->isChecked());
        QTest::mouseClick(showAlbum, Qt::LeftButton, {}, QPoint(5, showAlbum->height() / 2));
        QVERIFY(!window().table()->isColumnHidden(album));
        QVERIFY(!UserDefaults::shared().boolForKey(QStringLiteral("COLUMN_HIDE_ALBUM")));
        // A change made elsewhere shows in the sheet.
        UserDefaults::shared().setBool(true, QStringLiteral("COLUMN_HIDE_ALBUM"));
        QVERIFY(!showAlbum->isChecked());
        QVERIFY(window().table()->isColumnHidden(album));
        // The largest picture size is one of the fixed choices.
        QCOMPARE(preferences->pixelSizeBox()->currentData().toInt(), 500);
    }

    void remembersGeometryAndSplitters()
    {
        auto first = std::make_unique<MainWindow>();
        QVERIFY(first->width() >= 1100 && first->height() >= 700);
        first->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.get()));
        first->resize(1250, 820);
        first->editorSplitter()->setSizes({360, 890});
        QTRY_COMPARE(first->editorSplitter()->sizes().constFirst(), 360);
        const QList<int> sideSizes = first->sidePanelSplitter()->sizes();
        QVERIFY(first->close());

        auto again = std::make_unique<MainWindow>();
        again->show();
        QVERIFY(QTest::qWaitForWindowExposed(again.get()));
        QCOMPARE(again->size(), QSize(1250, 820));
        QCOMPARE(again->editorSplitter()->sizes().constFirst(), 360);
        QCOMPARE(again->sidePanelSplitter()->sizes(), sideSizes);
    }

    void progressSheetStopsOnce()
    {
        QVERIFY(openWindow());
        ProgressSheet *sheet = window().progressSheet();
        QVERIFY(sheet->isIdle());
        sheet->showProgressSheet();
        sheet->showProgressSheet();
        QVERIFY(!sheet->isIdle());
        QVERIFY(sheet->isVisible());
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QTest::mouseClick(sheet->stopButton(), Qt::LeftButton);
        QVERIFY(sheet->isIdle());
        QVERIFY(!sheet->isVisible());
    }

    void bottomBarCountsAndCancelsOnce()
    {
        QVERIFY(openWindow());
        BottomBar *bar = window().bottomBar();
        QVERIFY(!bar->isProgressShown());
        int cancels = 0;
        bar->showCountedProgress(QStringLiteral("Reading 300 of 8 000…"), 300, 8000, [&] { ++cancels; });
        QVERIFY(bar->isProgressShown());
        QVERIFY(bar->cancelButton()->isVisible());
        QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
        QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
        QCOMPARE(cancels, 1);
        bar->showProgress(QString());
        QVERIFY(!bar->isProgressShown());
        QVERIFY(!bar->cancelButton()->isVisible());
    }

    void reviewPromptStoresTheVersionOnly_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("storedAfter");
        const QString version = QStringLiteral(QUORL_VERSION);
        QTest::newRow("never asked, yes") << QString() << "CampaignPositive" << version;
        QTest::newRow("never asked, later") << QString() << "CampaignLater" << QString();
        QTest::newRow("never asked, no") << QString() << "CampaignNegative" << version;
        QTest::newRow("asked for this version") << version << QString() << version;
    }

    void reviewPromptStoresTheVersionOnly()
    {
        QFETCH(QString, stored);
        QFETCH(QString, button);
        QFETCH(QString, storedAfter);
        const QString key = QStringLiteral("LAST_CAMPAIGN_VERSION");
        if (stored.isEmpty())
            UserDefaults::shared().removeObjectForKey(key);
        else
            UserDefaults::shared().setObject(stored, key);
        DialogAnswerer answerer;
        if (!button.isEmpty())
            answerer.answer(button);
        QVERIFY(openWindow());
        window().windowLoaded();
        // The prompt comes once the start is over.
        QTest::qWait(200);
        QCOMPARE(answerer.asked, button.isEmpty() ? QStringList() : QStringList{Localized::text("CampaignTitle")});
        QCOMPARE(UserDefaults::shared().stringForKey(key), storedAfter);
    }

    void aboutBoxNamesTheVersion()
    {
        QVERIFY(openWindow());
        window().action(MainWindow::Command::About)->trigger();
        QVERIFY(window().aboutBox()->isVisible());
        QVERIFY(window().aboutBox()->versionText().contains(QStringLiteral(QUORL_VERSION)));
        QVERIFY(!window().aboutBox()->copyrightText().isEmpty());
    }

private:
    // A shown, active window with the three songs loaded (all selected).
    bool openWindow()
    {
        return m_test->open({{"a.mp3", "Alpha", "Ann", {}, {}, "silence.mp3"},
                             {"b.mp3", "Beta", "Bob", {}, {}, "silence.mp3"},
                             {"c.flac", "Gamma", "Cy", {}, {}, "silence.flac"}});
    }

    MainWindow &window() const { return **m_test; }

    std::optional<TestWindow> m_test;
};

QTEST_MAIN(TestWindowFlows)
#include "test_windowflows.moc"
