#include "fakeuserinterface.h"
#include "fixtures.h"
#include "savetesting.h"
#include "songdump.h"

#include "editor/editorcontroller.h"
#include "editor/standardfolders.h"
#include "model/image.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <numeric>

namespace {

const QStringList Extensions = {QStringLiteral("mp3"), QStringLiteral("flac"), QStringLiteral("m4a"),
                                QStringLiteral("wav"), QStringLiteral("aiff")};

// Counts the announced changes and the rows inserted, and checks that rows only ever enter at
// the end of the list, one run after the other.
struct ListRecorder : SongListObserver {
    explicit ListRecorder(const EditorController &editor) : editor(editor) {}
    void songsWillChange() override { ++announced; }
    void songsInserted(int first, int last) override
    {
        if (first != insertedRows || last != int(editor.songs().size()) - 1)
            ++misplacedInserts;
        insertedRows = last + 1;
        ++inserts;
    }
    const EditorController &editor;
    int announced = 0;
    int inserts = 0;
    int insertedRows = 0;
    int misplacedInserts = 0;
};

QList<int> rowsUpTo(qsizetype count)
{
    QList<int> rows(count);
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

} // namespace

// Loading with the reading on worker threads: the songs enter the list in batches on the main
// thread, in order, with a count; a cancelled load keeps what it read, as a sequential load of
// the first files would have left the list; the question comes on the main thread between the
// walk and the reading.
class TestBackgroundLoad : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid() && m_root.isValid());
        QVERIFY(useEditorSettings(m_settings));
        StandardFolders::setForTesting({m_root.filePath(QStringLiteral("Music")), m_root.filePath(QStringLiteral("Downloads"))});

        // A file outside the music folder, and enough tagged songs in it that a load takes many
        // batches on one thread.
        m_single = copyFixture(m_root, QStringLiteral("silence.flac"), QStringLiteral("single.flac"));
        QVERIFY(!m_single.isEmpty());
        m_album = m_root.filePath(QStringLiteral("Music/Album"));
        QVERIFY(QDir().mkpath(m_album));
        const QByteArray cover = sampleJpeg(qRgb(90, 40, 10));
        QStringList paths;
        for (int i = 0; i < 150; ++i) {
            const QString extension = Extensions.at(i % Extensions.size());
            paths.append(QDir(m_album).filePath(QStringLiteral("%1.%2").arg(i, 3, 10, QLatin1Char('0')).arg(extension)));
            QVERIFY(QFile::copy(fixturePath(QStringLiteral("silence.") + extension), paths.last()));
            QVERIFY(QFile::setPermissions(paths.last(), QFile::ReadOwner | QFile::WriteOwner));
            const std::unique_ptr<Song> song = readSong(paths.last());
            QVERIFY(song);
            song->setTitle(QStringLiteral("Song %1").arg(i));
            song->setArtist(i % 4 ? QStringLiteral("Artist") : QStringLiteral("Guest"));
            song->setTrack(QStringLiteral("%1/150").arg(i + 1));
            if (i % 10 == 0)
                song->addImage(Image(cover));
            QVERIFY(!writeSong(song.get()).hasErrors());
        }
        // What the sequential read of the files in name order makes.
        TagsReader reader;
        reader.setThreadCount(1);
        reader.setLeadingZeros(UserDefaults::shared().boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO")));
        SongList sequential;
        reader.parseFiles(paths, &sequential);
        for (const auto &song : sequential)
            m_expected.append(dumpSong(*song));
        QCOMPARE(m_expected.size(), 150);
    }
    void init()
    {
        UserDefaults::shared().removeObjectForKey(QStringLiteral("CONFIRMED_RENAME_RESTRICTION"));
        m_ui = std::make_unique<FakeUserInterface>();
        m_editor = std::make_unique<EditorController>(m_ui.get());
    }
    void cleanup()
    {
        m_editor.reset();
        m_ui.reset();
    }

    void loadsAsTheSequentialReadDoes_data()
    {
        QTest::addColumn<int>("threads");
        QTest::addColumn<bool>("background");
        for (const int threads : {1, 2, 3}) {
            QTest::addRow("%d thread(s), waited for", threads) << threads << false;
            QTest::addRow("%d thread(s), in the background", threads) << threads << true;
        }
    }
    void loadsAsTheSequentialReadDoes()
    {
        QFETCH(int, threads);
        QFETCH(bool, background);
        m_editor->reader().setThreadCount(threads);
        m_editor->setLoadsInBackground(background);
        ListRecorder recorder(*m_editor);
        m_editor->addObserver(&recorder);

        m_editor->traverseFiles({m_album}, false);
        // A load in the background has only begun when the command returns.
        QCOMPARE(m_editor->isLoading(), background);
        QTRY_VERIFY_WITH_TIMEOUT(!m_editor->isLoading(), 60000);
        m_editor->removeObserver(&recorder);

        QCOMPARE(dumps(), m_expected);
        QCOMPARE(m_ui->rows, rowsUpTo(150));
        QCOMPARE(m_ui->sortOrderClears, 1);
        QCOMPARE(m_ui->progressTexts, (QStringList{Localized::text("Reading"), QString()}));
        QCOMPARE(recorder.misplacedInserts, 0);
        QCOMPARE(recorder.insertedRows, 150);
        // Waited for, the load is one change as any command; in the background each batch is one.
        if (background)
            QCOMPARE(recorder.announced, recorder.inserts);
        else
            QCOMPARE(recorder.announced, 1);

        // The count: unknown during the walk, then the files read so far of all.
        QCOMPARE(m_ui->counts.first().total, 0);
        QCOMPARE(m_ui->counts.first().text, Localized::text("Reading"));
        QCOMPARE(m_ui->countFault("ReadingXOfY", 150, 150, 1), QString());
    }
    void cancelKeepsTheSongsReadSoFar_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<bool>("background");
        for (const bool background : {false, true}) {
            const char *mode = background ? "in the background" : "waited for";
            QTest::addRow("while walking, %s", mode) << "walk" << background;
            QTest::addRow("before reading, %s", mode) << "read" << background;
            QTest::addRow("after the first songs, %s", mode) << "batch" << background;
        }
    }
    void cancelKeepsTheSongsReadSoFar()
    {
        QFETCH(QString, when);
        QFETCH(bool, background);
        m_editor->reader().setThreadCount(1);
        m_editor->setLoadsInBackground(background);
        m_ui->rows = {7};
        qint64 doneAtCancel = -1;
        m_ui->onCount = [&](const FakeUserInterface::Count &count, const std::function<void()> &cancel) {
            const bool now = (when == u"walk" && count.total == 0) || (when == u"read" && count.total > 0)
                             || (when == u"batch" && count.done > 0);
            if (now && doneAtCancel < 0) {
                doneAtCancel = count.done;
                cancel();
            }
        };
        m_editor->traverseFiles({m_album}, false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_editor->isLoading(), 60000);

        QVERIFY(doneAtCancel >= 0);
        const QStringList loaded = dumps();
        QCOMPARE(loaded, m_expected.first(loaded.size()));
        QCOMPARE(m_ui->progressTexts.last(), QString());
        if (when == u"batch") {
            // Every song counted stays; the file in hand is finished, no further one is read. (On a
            // machine so busy that the first songs came late, the reading may have ended already.)
            QVERIFY(loaded.size() >= doneAtCancel);
            if (doneAtCancel <= 10)
                QVERIFY2(loaded.size() < 150, "the cancel did not stop the reading");
            QCOMPARE(m_ui->rows, rowsUpTo(loaded.size()));
            QCOMPARE(m_ui->sortOrderClears, 1);
        } else {
            QVERIFY(loaded.isEmpty());
            QCOMPARE(m_ui->sortOrderClears, 0);
            // Cancelled before reading began, nothing is selected anew; once reading began, the
            // selection is the (empty) set of new songs, as a load that read nothing leaves it.
            QCOMPARE(m_ui->rows, when == u"walk" ? QList<int>{7} : QList<int>());
        }

        // The same folder loaded again brings the songs not read, after those that were: the list
        // is then the one an uninterrupted load makes.
        m_ui->onCount = {};
        m_editor->traverseFiles({m_album}, false);
        QTRY_VERIFY_WITH_TIMEOUT(!m_editor->isLoading(), 60000);
        QCOMPARE(dumps(), m_expected);
    }
    void questionComesBetweenWalkAndReading()
    {
        m_editor->setLoadsInBackground(true);
        // Each count notes how many questions had been asked by then.
        QList<qsizetype> questionsAtCount;
        m_ui->onCount = [&](const FakeUserInterface::Count &, const std::function<void()> &) {
            questionsAtCount.append(m_ui->questions.size());
        };
        m_ui->answerNext(0);
        m_editor->traverseFiles({m_single, m_album}, false);
        QVERIFY(m_ui->questions.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!m_editor->isLoading(), 60000);

        QCOMPARE(m_ui->askedMessageKeys(), QStringList{QStringLiteral("AddingIndividualFiles")});
        QCOMPARE(m_ui->questionThreads, QList<QThread *>{QThread::currentThread()});
        QCOMPARE(int(m_editor->songs().size()), 151);
        QVERIFY(!m_editor->songs().front()->isRenamable());
        QVERIFY(m_editor->songs().back()->isRenamable());
        QCOMPARE(dumps().mid(1), m_expected);
        // Asked after the walk's count and before the first count of the reading.
        for (qsizetype i = 0; i < m_ui->counts.size(); ++i)
            QCOMPARE(questionsAtCount.at(i), m_ui->counts.at(i).total == 0 ? 0 : 1);
    }
    void loadsAndReloadAskedMeanwhileRunInTurn()
    {
        m_editor->setLoadsInBackground(true);
        m_ui->answerNext(0);
        m_editor->traverseFiles({m_album}, false);
        m_editor->traverseFiles({m_single}, false);
        // Reads the list as it stands when its turn comes, after both loads.
        m_editor->reloadSongs();
        QVERIFY(m_ui->questions.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!m_editor->isLoading(), 60000);

        QCOMPARE(dumps().first(150), m_expected);
        QCOMPARE(m_editor->songs().back()->filePath(), m_single);
        // Asked once, when the second load came to it; the reload keeps what the answer made.
        QCOMPARE(m_ui->questions.size(), 1);
        QVERIFY(!m_editor->songs().back()->isRenamable());
        QCOMPARE(m_ui->selectionHistory, (QList<QList<int>>{rowsUpTo(150), {150}, rowsUpTo(151)}));
    }

private:
    QStringList dumps() const
    {
        QStringList texts;
        for (const auto &song : m_editor->songs())
            texts.append(dumpSong(*song));
        return texts;
    }

    QTemporaryDir m_settings;
    QTemporaryDir m_root;
    QString m_album;
    QString m_single;
    QStringList m_expected;
    std::unique_ptr<FakeUserInterface> m_ui;
    std::unique_ptr<EditorController> m_editor;
};

QTEST_GUILESS_MAIN(TestBackgroundLoad)
#include "test_backgroundload.moc"
