#include "fakeuserinterface.h"
#include "fixtures.h"
#include "loadededitor.h"
#include "savetesting.h"

#include "editor/savecontroller.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/tagswriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

constexpr int SongCount = 40;

// The thread of every change a song tells its observers of.
struct ThreadRecorder : SongObserver {
    void songFieldChanged(Song &, SongField field) override
    {
        threads.append(QThread::currentThread());
        if (field == SongField::FilePath)
            ++pathChanges;
    }
    void songModifiedDidChange(Song &) override { threads.append(QThread::currentThread()); }
    QList<QThread *> threads;
    int pathChanges = 0;
};

// Notes, for each question, whether the progress was hidden by the time it was asked.
class ReportWatchingInterface : public FakeUserInterface {
public:
    int ask(const Question &question) override
    {
        progressHiddenAtQuestion.append(!progressTexts.isEmpty() && progressTexts.last().isEmpty());
        return FakeUserInterface::ask(question);
    }
    QList<bool> progressHiddenAtQuestion;
};

} // namespace

// The save pass on a worker thread: a count of the files saved, a cancel that finishes the file
// in hand and saves no further one, the songs' changes and the report on the main thread.
class TestBackgroundSave : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(useEditorSettings(m_settings));
    }
    void init()
    {
        UserDefaults::shared().clearOverrides();
    }

    void cancelLeavesFilesAsTheSequentialPassWould_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<bool>("background");
        for (const bool background : {false, true}) {
            const char *mode = background ? "in the background" : "waited for";
            QTest::addRow("before the first file, %s", mode) << "start" << background;
            QTest::addRow("after the first files, %s", mode) << "batch" << background;
            QTest::addRow("never, %s", mode) << "never" << background;
        }
    }
    void cancelLeavesFilesAsTheSequentialPassWould()
    {
        QFETCH(QString, when);
        QFETCH(bool, background);
        LoadedEditor loaded;
        QList<QByteArray> before;
        QStringList oldPaths;
        prepare(&loaded, &before, &oldPaths);
        // Every change the songs tell comes on the main thread, whether the pass runs there or not.
        ThreadRecorder recorder;
        for (int row = 0; row < SongCount; ++row)
            loaded.song(row)->addObserver(&recorder);
        qint64 doneAtCancel = -1;
        loaded.ui.onCount = [&](const FakeUserInterface::Count &count, const std::function<void()> &cancel) {
            if (doneAtCancel < 0 && ((when == u"start") || (when == u"batch" && count.done > 0))) {
                doneAtCancel = count.done;
                cancel();
            }
        };
        TagsWriter writer;
        SaveController controller(loaded.editor, writer);
        SaveReport report;
        if (background) {
            bool ended = false;
            controller.startSaving(false, [&](const SaveReport &ending) {
                report = ending;
                ended = true;
            });
            QVERIFY(controller.isSaving());
            QTRY_VERIFY_WITH_TIMEOUT(!controller.isSaving(), 60000);
            QVERIFY(ended);
        } else {
            report = controller.saveSongs();
        }

        const int saved = report.savedCount;
        if (when == u"start")
            QCOMPARE(saved, 0);
        else if (when == u"never")
            QCOMPARE(saved, SongCount);
        else
            QVERIFY(saved >= doneAtCancel);
        // Cancelled early, the pass stops short (on a machine so busy that the first files were told
        // late, it may have ended already).
        if (when == u"batch" && doneAtCancel <= 5)
            QVERIFY2(saved < SongCount, "the cancel did not stop the pass");
        QVERIFY(!report.hasErrors());
        QCOMPARE(loaded.ui.progressTexts.last(), QString());
        for (int row = 0; row < SongCount; ++row)
            loaded.song(row)->removeObserver(&recorder);
        QCOMPARE(recorder.pathChanges, (saved + 2) / 3);
        QCOMPARE(recorder.threads.isEmpty(), saved == 0);
        for (QThread *thread : std::as_const(recorder.threads))
            QCOMPARE(thread, QThread::currentThread());

        // The songs saved are the first ones, renamed where asked and no longer modified; the others
        // keep their edits, their files are as they were and the report lists them as not reached.
        QStringList notReached;
        for (int row = 0; row < SongCount; ++row) {
            const Song *song = loaded.song(row);
            if (row < saved) {
                QVERIFY(!song->isModified());
                const QString expectedName = row % 3 == 0 ? QStringLiteral("renamed %1.mp3").arg(row)
                                                          : QFileInfo(oldPaths.at(row)).fileName();
                QCOMPARE(QFileInfo(song->filePath()).fileName(), expectedName);
                QCOMPARE(readSong(song->filePath())->title(), QStringLiteral("Saved %1").arg(row));
                if (row % 3 == 0)
                    QVERIFY(!QFile::exists(oldPaths.at(row)));
            } else {
                QVERIFY(song->isModified());
                QCOMPARE(song->filePath(), oldPaths.at(row));
                QCOMPARE(fileBytes(song->filePath()), before.at(row));
                notReached.append(song->filePath());
            }
        }
        QCOMPARE(report.notReachedPaths, notReached);

        // The count: the files saved so far of those to save, ending at the saved.
        QCOMPARE(loaded.ui.countFault("SavingXOfY", SongCount, saved), QString());

        // What was not saved is saved by the next pass.
        loaded.ui.onCount = {};
        const SaveReport rest = controller.saveSongs();
        QCOMPARE(rest.savedCount, SongCount - saved);
        for (int row = 0; row < SongCount; ++row)
            QVERIFY(!loaded.song(row)->isModified());
    }
    void reportComesAfterThePassOnTheMainThread()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ReportWatchingInterface ui;
        EditorController editor(&ui);
        QStringList paths;
        for (int i = 0; i < 4; ++i)
            paths.append(copyFixture(dir, QStringLiteral("silence.flac"), QStringLiteral("%1.flac").arg(i)));
        editor.traverseFiles(paths, true);
        QCOMPARE(int(editor.songs().size()), 4);
        for (const auto &song : editor.songs())
            song->setTitle(QStringLiteral("New"));
        QVERIFY(QFile::setPermissions(paths.at(1), QFile::ReadOwner));
        ui.answerNext(1);
        ui.answerNext(0);
        TagsWriter writer;
        SaveController controller(editor, writer);
        SaveReport report;
        controller.startSaving(false, [&](const SaveReport &ending) { report = ending; });
        QVERIFY(ui.questions.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isSaving(), 60000);

        QCOMPARE(report.errorCount, quint64(1));
        QCOMPARE(ui.askedMessageKeys(), (QStringList{"CouldNotSaveOneOrMoreFiles", "ErrorDetails"}));
        QCOMPARE(ui.questions.at(1).informativeText, report.errorText);
        QCOMPARE(ui.questionThreads, (QList<QThread *>{QThread::currentThread(), QThread::currentThread()}));
        QCOMPARE(ui.progressHiddenAtQuestion, (QList<bool>{true, true}));
        QVERIFY(editor.songs().at(1)->isModified());
        QVERIFY(!editor.songs().at(3)->isModified());
    }
    void listKeepsStillWhileSaving()
    {
        LoadedEditor loaded;
        prepare(&loaded);
        QTemporaryDir other;
        QVERIFY(other.isValid());
        const QString extra = copyFixture(other, QStringLiteral("silence.mp3"), QStringLiteral("extra.mp3"));
        TagsWriter writer;
        SaveController controller(loaded.editor, writer);
        loaded.editor.setLoadsInBackground(true);
        controller.startSaving(false);

        // The save reads the songs on its worker: nothing may take them away or move them meanwhile,
        // and a load waits for its end.
        loaded.ui.rows = {0, 1};
        loaded.editor.removeSongs();
        loaded.editor.moveSongs({5}, 0);
        loaded.editor.clearSongs();
        loaded.editor.traverseFiles({extra}, true);
        QCOMPARE(int(loaded.editor.songs().size()), SongCount);
        QVERIFY(loaded.editor.isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isSaving() && !loaded.editor.isLoading(), 60000);

        QCOMPARE(int(loaded.editor.songs().size()), SongCount + 1);
        QCOMPARE(loaded.editor.songs().back()->filePath(), extra);
        QCOMPARE(QFileInfo(loaded.song(1)->filePath()).fileName(), QStringLiteral("02.mp3"));
        for (int row = 0; row < SongCount; ++row)
            QVERIFY(!loaded.song(row)->isModified());
    }

private:
    // Loads SongCount songs, gives each a new title and every third a new name; the bytes and
    // paths of every file before the save.
    void prepare(LoadedEditor *loaded, QList<QByteArray> *before = nullptr, QStringList *paths = nullptr)
    {
        QVERIFY(loaded->load(SongCount));
        for (int row = 0; row < SongCount; ++row) {
            Song *song = loaded->song(row);
            if (before)
                before->append(fileBytes(song->filePath()));
            if (paths)
                paths->append(song->filePath());
            song->setTitle(QStringLiteral("Saved %1").arg(row));
            if (row % 3 == 0)
                song->setFileName(QStringLiteral("renamed %1.mp3").arg(row));
        }
        loaded->ui.counts.clear();
    }

    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(TestBackgroundSave)
#include "test_backgroundsave.moc"
