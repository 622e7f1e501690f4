// Reads every file with a music extension in the shared corpus of real-world files, many of
// them damaged on purpose. Each file is read in a child process (this executable with
// "--one FILE") under a time limit, so a crash, a sanitizer report or a hang names its file.

#include "fixtures.h"
#include "songdump.h"

#include "model/song.h"
#include "tags/tagsreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

constexpr int FileTimeLimitMs = 20000;

QString corpusDir()
{
    return QDir::cleanPath(QStringLiteral(QUORL_CORPUS_DIR));
}

// The files the editor would read, in a stable order.
QStringList musicFiles()
{
    QStringList files;
    TagsReader reader;
    QDirIterator it(corpusDir(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (reader.readerForPath(path))
            files << path;
    }
    files.sort();
    return files;
}

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
        if (!QFileInfo(corpusDir()).isDir())
            QSKIP(qPrintable(QStringLiteral("no corpus at %1").arg(corpusDir())));
        QTest::addColumn<QString>("path");
        const QDir root(corpusDir());
        for (const QString &path : musicFiles())
            QTest::newRow(qPrintable(root.relativeFilePath(path))) << path;
    }

    void readsEveryFileInItsOwnProcess()
    {
        QFETCH(QString, path);
        m_failed.insert(path);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), path});
        QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));
        if (!child.waitForFinished(FileTimeLimitMs)) {
            child.kill();
            child.waitForFinished();
            QFAIL(qPrintable(QStringLiteral("reading %1 did not end within %2 s").arg(path).arg(FileTimeLimitMs / 1000)));
        }
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit,
                 qPrintable(QStringLiteral("reading %1 crashed:\n%2").arg(path, errors)));
        QVERIFY2(child.exitCode() == 0,
                 qPrintable(QStringLiteral("reading %1 failed (exit %2):\n%3").arg(path).arg(child.exitCode()).arg(errors)));
        QVERIFY2(!errors.contains(QLatin1String("Sanitizer")) && !errors.contains(QLatin1String("runtime error")),
                 qPrintable(QStringLiteral("reading %1:\n%2").arg(path, errors)));
        const QString dump = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(dump.contains(QStringLiteral("fileName: ") + QFileInfo(path).fileName()), qPrintable(dump));
        m_failed.remove(path);
    }

    // The same files read in this process, on several threads and sequentially, give equal lists.
    // Files that failed alone are left out, so one hang is not reported twice.
    void readsCorpusOnThreadsLikeSequentially()
    {
        if (!QFileInfo(corpusDir()).isDir())
            QSKIP("no corpus");
        QTemporaryDir settings;
        useTemporarySettings(settings);
        QStringList files = musicFiles();
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

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--one") == 0)
        return readOne(QFile::decodeName(argv[2]));
    TestCorpus test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_corpus.moc"
