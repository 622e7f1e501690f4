#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/namingcontroller.h"
#include "ui/allinonecommand.h"
#include "ui/mainwindow.h"
#include "ui/namingpanel.h"
#include "ui/renamepreview.h"
#include "ui/toolpanelset.h"
#include "windowtesting.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace WindowTesting;

// The naming panel and the all-in-one command through the rename preview: the preview's rows
// and marks, names given only when it is applied, nothing changed when it is cancelled, and the
// save afterwards renaming the files it said it would.

namespace {

// Answers the next rename preview with Apply or Cancel, recording what it showed: per row "new
// name status" as scripts name it, and whether the rows that need a look carry a mark (icon and
// colour) and the others none.
class PreviewAnswerer {
public:
    explicit PreviewAnswerer(bool apply) : m_apply(apply)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(20);
    }

    QStringList rows;
    bool marksRight = true;
    bool seen = false;

private:
    void poll()
    {
        auto *dialog = qobject_cast<RenamePreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || seen)
            return;
        seen = true;
        for (int i = 0; i < dialog->table()->rowCount(); ++i) {
            const RenamePreview::Row &row = dialog->rows().at(i);
            rows.append(dialog->table()->item(i, RenamePreviewDialog::NewName)->text() + u' '
                        + RenamePreview::statusName(row.status));
            const QTableWidgetItem *status = dialog->table()->item(i, RenamePreviewDialog::Status);
            const bool marked = !status->icon().isNull() && status->background().style() != Qt::NoBrush;
            marksRight = marksRight && marked == RenamePreview::isFlagged(row.status)
                         && status->text() == RenamePreview::statusText(row, dialog->rows());
        }
        (m_apply ? dialog->applyButton() : dialog->cancelButton())->click();
    }

    bool m_apply;
    QTimer m_timer;
};

QStringList musicFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name);
}

} // namespace

class TestNamingPanel : public QObject {
    Q_OBJECT

private slots:
    void renameThroughThePreview_data()
    {
        QTest::addColumn<bool>("allInOne");      // else the naming panel with {Title}
        QTest::addColumn<QStringList>("titles"); // of 1.mp3, 2.mp3, ..., by "some band"
        QTest::addColumn<bool>("apply");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("filesAfter"); // after a save that follows

        QTest::newRow("applied") << false << QStringList{"Blue", "Red"} << true
                                 << QStringList{"Blue.mp3 ok", "Red.mp3 ok"} << QStringList{"Blue.mp3", "Red.mp3"};
        QTest::newRow("cancelled") << false << QStringList{"Blue", "Red"} << false
                                   << QStringList{"Blue.mp3 ok", "Red.mp3 ok"} << QStringList{"1.mp3", "2.mp3"};
        // The refused name is given all the same; the save reports it.
        QTest::newRow("two songs to one name, applied")
            << false << QStringList{"Same", "Same", "Other"} << true
            << QStringList{"Same.mp3 ok", "Same.mp3 collision", "Other.mp3 ok"}
            << QStringList{"2.mp3", "Other.mp3", "Same.mp3"};
        const QStringList allInOne{"01 - Some Band - The Sound of the City.mp3", "02 - Some Band - Intro.mp3"};
        QTest::newRow("all in one, applied") << true << QStringList{"the sound of the city", "intro"} << true
                                             << QStringList{allInOne.at(0) + " ok", allInOne.at(1) + " ok"}
                                             << allInOne;
    }

    void renameThroughThePreview()
    {
        QFETCH(bool, allInOne);
        QFETCH(QStringList, titles);
        QFETCH(bool, apply);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, filesAfter);
        QList<SongFile> files;
        for (qsizetype i = 0; i < titles.size(); ++i)
            files.append({QStringLiteral("%1.mp3").arg(i + 1), titles.at(i), QStringLiteral("some band"), {}, {}});
        TestWindow test;
        QVERIFY(test.open(files));
        auto *panel = test->toolPanelSet()->content<NamingPanel>(ToolPanel::Naming);
        QVERIFY(panel);
        if (!allInOne) {
            // The custom choice with {Title}, as the person would pick it in the panel.
            PatternUtil::storePattern(patternFromText(QStringLiteral("{Title}")), NamingController::CustomSchemeKey);
            PanelControls::radioButton(panel->schemes(), NamingController::CustomKey)->click();
            QVERIFY(UserDefaults::shared().boolForKey(NamingController::CustomKey));
        }
        const QStringList filesBefore = musicFiles(test.dir().path());

        PreviewAnswerer shown(apply);
        if (allInOne)
            test->allInOne()->action()->trigger();
        else
            panel->commandButton()->click();
        QVERIFY(shown.seen);
        QCOMPARE(shown.rows, rows);
        QVERIFY(shown.marksRight);

        // Only names (and the all-in-one's numbers) are given; no file moves before the save.
        QCOMPARE(musicFiles(test.dir().path()), filesBefore);
        for (int i = 0; i < int(titles.size()); ++i) {
            QCOMPARE(song(*test, i)->isFileNameModified(), apply);
            QCOMPARE(song(*test, i)->isTrackModified(), apply && allInOne);
        }
        test->refreshNow();
        QCOMPARE(test->isWindowModified(), apply);

        DialogAnswerer reports;
        reports.answer(QStringLiteral("OK"));
        test->action(MainWindow::Command::Save)->trigger();
        QVERIFY(waitForSave(*test));
        QCOMPARE(musicFiles(test.dir().path()), filesAfter);
        const bool refused = !rows.filter(QStringLiteral(" collision")).isEmpty();
        QCOMPARE(reports.asked.size(), apply && refused ? 1 : 0);
    }
};

QTEST_MAIN(TestNamingPanel)
#include "test_namingpanel.moc"
