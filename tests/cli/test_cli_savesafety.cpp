#include "clitesting.h"

#include "audiostream.h"

#include "model/replacementfile.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

// Saves that are killed, or that meet another save of the same files: every file keeps its
// audio, and its tags are the old ones or the new ones, never a mix.
class TestCliSaveSafety : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void killedSavesDamageNothing();
    void concurrentSavesDamageNothing();

private:
    struct Check {
        QString damage; // empty when nothing is damaged
        int saved = 0;
    };

    // A folder with copies of each fixture.
    QString makeFolder(const QTemporaryDir &dir) const;
    QProcess *startEdit(const QString &folder, const QString &title);
    // Nothing is damaged when every file holds its audio and either no title and no cover, or
    // one of the titles with the cover, and nothing else lies in the folder but temporary files
    // beside intact originals.
    Check check(const QString &folder, const QStringList &titles) const;
    QString damage(const QString &folder, const QStringList &titles) const { return check(folder, titles).damage; }

    QTemporaryDir m_home;
    QString m_cover;
    QHash<QString, QByteArray> m_audio; // by extension
};

namespace {

const QStringList Extensions = {QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("flac"),
                                QStringLiteral("aiff"), QStringLiteral("wav")};

constexpr int Copies = 4;

// A JPEG of noise, some hundred kilobytes: more than any padding holds.
QByteArray noiseJpeg()
{
    QImage image(400, 400, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

} // namespace

void TestCliSaveSafety::initTestCase()
{
    m_cover = writeFile(m_home, QStringLiteral("cover.jpg"), noiseJpeg());
    QVERIFY(!m_cover.isEmpty());
    QVERIFY2(QFileInfo(m_cover).size() > 100000, qPrintable(QString::number(QFileInfo(m_cover).size())));
    for (const QString &extension : Extensions) {
        m_audio[extension] = audioStream(fixturePath(QStringLiteral("silence.") + extension));
        QVERIFY(!m_audio[extension].isEmpty());
    }
}

QString TestCliSaveSafety::makeFolder(const QTemporaryDir &dir) const
{
    for (int copy = 0; copy < Copies; ++copy) {
        for (const QString &extension : Extensions) {
            const QString name = QStringLiteral("%1-%2.%3").arg(extension).arg(copy).arg(extension);
            if (copyFixture(dir, QStringLiteral("silence.") + extension, name).isEmpty())
                return {};
        }
    }
    return dir.path();
}

QProcess *TestCliSaveSafety::startEdit(const QString &folder, const QString &title)
{
    auto *process = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
    process->setProcessEnvironment(environment);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(QStringLiteral(QUORL_CLI_PATH),
                   {QStringLiteral("edit"), QStringLiteral("--title"), title, QStringLiteral("--add-cover"), m_cover, folder});
    return process;
}

TestCliSaveSafety::Check TestCliSaveSafety::check(const QString &folder, const QStringList &titles) const
{
    const QByteArray cover = fileBytes(m_cover);
    Check result;
    int songs = 0;
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString name = entry.fileName();
        if (ReplacementFile::isTemporaryName(QFile::encodeName(name)))
            continue; // judged by the file beside it, which every run checks
        const QString extension = entry.suffix();
        if (!m_audio.contains(extension))
            return {QStringLiteral("unexpected file %1").arg(name), 0};
        ++songs;
        if (audioStream(entry.filePath()) != m_audio[extension])
            return {QStringLiteral("%1 lost its audio").arg(name), 0};
        const std::unique_ptr<Song> song = readSong(entry.filePath());
        if (!song)
            return {QStringLiteral("%1 cannot be read").arg(name), 0};
        const bool untouched = song->title().isEmpty() && song->countOfImages() == 0;
        const bool saved = titles.contains(song->title()) && song->countOfImages() == 1
            && song->objectInImagesAtIndex(0).data() == cover;
        result.saved += saved ? 1 : 0;
        if (!untouched && !saved)
            return {QStringLiteral("%1 holds a mix: title \"%2\", %3 pictures").arg(name, song->title()).arg(song->countOfImages()), 0};
    }
    if (songs != Copies * int(Extensions.size()))
        return {QStringLiteral("%1 files left of %2").arg(songs).arg(Copies * Extensions.size()), 0};
    return result;
}

void TestCliSaveSafety::killedSavesDamageNothing()
{
    // How long a whole save takes here, so that the kills fall all over it.
    qint64 whole = 0;
    {
        QTemporaryDir dir;
        const QString folder = makeFolder(dir);
        QVERIFY(!folder.isEmpty());
        QElapsedTimer timer;
        timer.start();
        QProcess *process = startEdit(folder, QStringLiteral("New"));
        QVERIFY(process->waitForFinished(120000));
        whole = timer.elapsed();
        QCOMPARE(process->exitCode(), 0);
        QCOMPARE(damage(folder, {QStringLiteral("New")}), QString());
    }

    QRandomGenerator random(20261208);
    const int runs = 40;
    const int songs = Copies * int(Extensions.size());
    int beforeAny = 0;
    int midway = 0;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir dir;
        const QString folder = makeFolder(dir);
        QVERIFY(!folder.isEmpty());
        QProcess *process = startEdit(folder, QStringLiteral("New"));
        QVERIFY(process->waitForStarted());
        // Loading takes the first part of a run; the kills fall after it.
        QThread::msleep(whole / 3 + random.bounded(quint32(whole - whole / 3 + 1)));
        process->kill();
        QVERIFY(process->waitForFinished(10000));
        const Check afterKill = check(folder, {QStringLiteral("New")});
        QVERIFY2(afterKill.damage.isEmpty(), qPrintable(QStringLiteral("run %1: %2").arg(run).arg(afterKill.damage)));
        beforeAny += afterKill.saved == 0 ? 1 : 0;
        midway += afterKill.saved > 0 && afterKill.saved < songs ? 1 : 0;

        // The next save finishes the work and leaves nothing behind.
        process = startEdit(folder, QStringLiteral("New"));
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitCode(), 0);
        QCOMPARE(damage(folder, {QStringLiteral("New")}), QString());
        const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left.size(), songs);
        delete process;
    }
    qInfo("%d runs killed: %d before the first file was saved, %d amid the saves, %d after the last "
          "(a whole run takes %lld ms)", runs, beforeAny, midway, runs - beforeAny - midway, whole);
    QVERIFY(midway >= runs / 4);
}

void TestCliSaveSafety::concurrentSavesDamageNothing()
{
    const QStringList titles = {QStringLiteral("First"), QStringLiteral("Second")};
    for (int round = 0; round < 4; ++round) {
        QTemporaryDir dir;
        const QString folder = makeFolder(dir);
        QVERIFY(!folder.isEmpty());
        QProcess *first = startEdit(folder, titles.at(0));
        QProcess *second = startEdit(folder, titles.at(1));
        QVERIFY(first->waitForFinished(120000));
        QVERIFY(second->waitForFinished(120000));
        // A file the other run held or had changed is refused and reported, never mixed.
        QVERIFY(first->exitCode() == 0 || first->exitCode() == 1);
        QVERIFY(second->exitCode() == 0 || second->exitCode() == 1);
        const QString found = damage(folder, titles);
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(found)));
    }
}

QTEST_GUILESS_MAIN(TestCliSaveSafety)
#include "test_cli_savesafety.moc"
