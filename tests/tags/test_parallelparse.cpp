#include "fixtures.h"
#include "savetesting.h"
#include "songdump.h"

#include "model/image.h"
#include "model/song.h"
#include "tags/parallelparse.h"
#include "tags/tagsreader.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

const QStringList Extensions = {QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("flac"),
                                QStringLiteral("aiff"), QStringLiteral("wav")};

// Takes what the run hands over until it has ended, as a consumer on another thread would.
SongList takeAll(ParallelParse &run)
{
    SongList songs;
    while (!run.isFinished()) {
        SongList ready = run.takeReady();
        songs.insert(songs.end(), std::make_move_iterator(ready.begin()), std::make_move_iterator(ready.end()));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    SongList rest = run.takeReady();
    songs.insert(songs.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
    return songs;
}

QStringList dumps(const SongList &songs)
{
    QStringList texts;
    for (const auto &song : songs)
        texts.append(dumpSong(*song));
    return texts;
}

} // namespace

// Parsing on worker threads while the caller takes the songs: they come in path order, a
// cancelled run keeps the songs of the leading paths, and the wake-ups tell of both.
class TestParallelParse : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void handsOverInPathOrder_data();
    void handsOverInPathOrder();
    void cancelKeepsTheLeadingSongs_data();
    void cancelKeepsTheLeadingSongs();
    void stopFlagSetBeforeStartReadsNothing();

private:
    QTemporaryDir m_dir;
    QStringList m_paths;
    QStringList m_expected;
};

void TestParallelParse::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QByteArray cover = samplePng(qRgb(40, 80, 120));
    for (int i = 0; i < 30; ++i) {
        const QString extension = Extensions.at(i % Extensions.size());
        const QString path = copyFixture(m_dir, QStringLiteral("silence.") + extension,
                                         QStringLiteral("%1.%2").arg(i, 2, 10, QLatin1Char('0')).arg(extension));
        QVERIFY(!path.isEmpty());
        const std::unique_ptr<Song> song = readSong(path);
        QVERIFY(song);
        song->setTitle(QStringLiteral("Title %1").arg(i));
        song->setTrack(QString::number(i + 1));
        if (i % 3 == 0)
            song->addImage(Image(cover));
        QVERIFY(!writeSong(song.get()).hasErrors());
        m_paths.append(path);
    }
    // Paths the reader skips or cannot open still count as done.
    m_paths.insert(7, m_dir.filePath(QStringLiteral("notes.txt")));
    m_paths.insert(19, m_dir.filePath(QStringLiteral("gone.flac")));

    TagsReader reader;
    reader.setThreadCount(1);
    SongList sequential;
    reader.parseFiles(m_paths, &sequential);
    QCOMPARE(sequential.size(), size_t(m_paths.size() - 1));
    m_expected = dumps(sequential);
}

void TestParallelParse::handsOverInPathOrder_data()
{
    QTest::addColumn<int>("workers");
    QTest::newRow("1 worker") << 1;
    QTest::newRow("2 workers") << 2;
    QTest::newRow("5 workers") << 5;
}

void TestParallelParse::handsOverInPathOrder()
{
    QFETCH(int, workers);
    TagsReader reader;
    std::atomic<int> wakes{0};
    std::atomic<int> ends{0};
    ParallelParse run(reader, m_paths, workers, [&](bool ended) { ++(ended ? ends : wakes); });
    run.start();
    const SongList songs = takeAll(run);
    run.wait();

    QCOMPARE(dumps(songs), m_expected);
    QCOMPARE(run.takenCount(), m_paths.size());
    QCOMPARE(ends.load(), 1);
    QVERIFY(wakes.load() >= 1);
}

void TestParallelParse::cancelKeepsTheLeadingSongs_data()
{
    QTest::addColumn<int>("workers");
    QTest::addColumn<int>("cancelAfter");
    QTest::newRow("1 worker, after the first song") << 1 << 1;
    QTest::newRow("2 workers, after the first song") << 2 << 1;
    QTest::newRow("3 workers, after ten songs") << 3 << 10;
}

void TestParallelParse::cancelKeepsTheLeadingSongs()
{
    QFETCH(int, workers);
    QFETCH(int, cancelAfter);
    TagsReader reader;
    ParallelParse run(reader, m_paths, workers);
    run.start();
    SongList songs;
    while (songs.size() < size_t(cancelAfter) && !run.isFinished()) {
        SongList ready = run.takeReady();
        songs.insert(songs.end(), std::make_move_iterator(ready.begin()), std::make_move_iterator(ready.end()));
    }
    run.cancel();
    SongList rest = takeAll(run);
    songs.insert(songs.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));

    // Whatever was read is the list a sequential read of the first paths makes.
    QVERIFY(songs.size() >= size_t(cancelAfter));
    QCOMPARE(dumps(songs), m_expected.first(qsizetype(songs.size())));
    QVERIFY(run.takenCount() <= m_paths.size());
    QVERIFY(run.isFinished());
}

void TestParallelParse::stopFlagSetBeforeStartReadsNothing()
{
    TagsReader reader;
    std::atomic<bool> stop{true};
    std::atomic<int> ends{0};
    ParallelParse run(reader, m_paths, 2, [&](bool ended) { ends += ended ? 1 : 0; }, &stop);
    run.start();
    run.wait();
    QVERIFY(run.isFinished());
    QVERIFY(run.takeReady().empty());
    QCOMPARE(run.takenCount(), 0);
    QCOMPARE(ends.load(), 1);
}

QTEST_GUILESS_MAIN(TestParallelParse)
#include "test_parallelparse.moc"
