// Reads every file with a music extension in the shared corpus of real-world files, many of
// them damaged on purpose. Each file is read in a child process (this executable with
// "--one FILE") under a time limit, so a crash, a sanitizer report or a hang names its file.

#include "corpusfiles.h"
#include "fixtures.h"
#include "songdump.h"

#include "model/song.h"
#include "tags/tagsreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

constexpr int FileTimeLimitMs = 20000;

// The child: reads one file as loading does and prints the song.
int readOne(const QString &path)
{
    QTemporaryDir settings;
    useTemporarySettings(settings);
    TagsReader reader;
    reader.setThreadCount(1);
    SongList songs;
    reader.parseFiles({path}, &songs);
    if (songs.size() != 1) {
        std::fprintf(stderr, "expected one song, got %zu\n", songs.size());
        return 2;
    }
    std::printf("%s\n", qPrintable(dumpSong(*songs.front())));
    return 0;
}

} // namespace

class TestCorpus : public QObject {
    Q_OBJECT

private:
    QSet<QString> m_failed;

private slots:
    void readsEveryFileInItsOwnProcess_data()
    {
        if (!CorpusFiles::exists())
            QFAIL(qPrintable(QStringLiteral("no corpus at %1").arg(CorpusFiles::folder())));
        CorpusFiles::addMusicFileRows();
    }

    void readsEveryFileInItsOwnProcess()
    {
        QFETCH(QString, path);
        m_failed.insert(path);
        QString dump;
        const QString failure = CorpusFiles::runOneInChild(path, QStringLiteral("reading"), FileTimeLimitMs, &dump);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY2(dump.contains(QStringLiteral("fileName: ") + QFileInfo(path).fileName()), qPrintable(dump));
        m_failed.remove(path);
    }

    // The same files read in this process, on several threads and sequentially, give equal lists.
    // Files that failed alone are left out, so one hang is not reported twice.
    void readsCorpusOnThreadsLikeSequentially()
    {
        if (!CorpusFiles::exists())
            QFAIL("no corpus");
        QTemporaryDir settings;
        useTemporarySettings(settings);
        QStringList files = CorpusFiles::musicFiles();
        files.removeIf([this](const QString &path) { return m_failed.contains(path); });
        TagsReader reader;
        reader.setThreadCount(1);
        SongList sequential;
        reader.parseFiles(files, &sequential);
        QCOMPARE(sequential.size(), size_t(files.size()));
        reader.setThreadCount(2);
        SongList parallel;
        reader.parseFiles(files, &parallel);
        QCOMPARE(parallel.size(), sequential.size());
        for (size_t i = 0; i < parallel.size(); ++i)
            QCOMPARE(dumpSong(*parallel[i]), dumpSong(*sequential[i]));
    }
};

// A child started by runOneInChild(): "--one <path>".
static std::optional<int> childMain(int argc, char **argv)
{
    if (argc != 3 || qstrcmp(argv[1], "--one") != 0)
        return std::nullopt;
    QCoreApplication app(argc, argv);
    return readOne(QFile::decodeName(argv[2]));
}

QUORL_TEST_MAIN_WITH_CHILD(TestCorpus, childMain)

#include "test_corpus.moc"
