#include "savemeasurement.h"

#include "barewriter.h"
#include "baselinereader.h"
#include "silentuserinterface.h"

#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "model/image.h"
#include "model/song.h"
#include "tags/tagswriter.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace SaveMeasurement {

namespace {

// The wall and processor time of the timed part of one pass.
struct Timing {
    qint64 nanoseconds = 0;
    double cpuMilliseconds = 0;
};

// Measures the time between its construction and stop(); processor time of this process, or of
// the child processes that end meanwhile.
class Stopwatch {
public:
    explicit Stopwatch(bool ofChildren = false)
        : m_ofChildren(ofChildren)
        , m_cpuStart(Measurement::cpuMilliseconds(ofChildren))
    {
        m_timer.start();
    }
    void stop(Timing *timing) const
    {
        timing->nanoseconds = m_timer.nsecsElapsed();
        timing->cpuMilliseconds = Measurement::cpuMilliseconds(m_ofChildren) - m_cpuStart;
    }

private:
    const bool m_ofChildren;
    const double m_cpuStart;
    QElapsedTimer m_timer;
};

// Replaces the work folder with a copy of the corpus's music files and writes it out, so that
// the timed save neither finds the previous pass's titles nor competes with the copy's
// write-back.
bool refreshCopy(const QString &corpus, const QString &work)
{
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work))
        return false;
    const QDir source(corpus);
    QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        if (!EditorController::hasMusicExtension(from))
            continue;
        const QString to = work + u'/' + source.relativeFilePath(from);
        if (!QDir().mkpath(to.section(u'/', 0, -2)) || !QFile::copy(from, to))
            return false;
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    // Written out on the work folder's file system only (nothing to do in memory).
    const int folder = ::open(QFile::encodeName(work).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return false;
    ::syncfs(folder);
    ::close(folder);
    return true;
}

void fail(const char *what)
{
    std::fprintf(stderr, "save benchmark: %s\n", what);
}

// The timed part of one pass; returns the saved file count, or -1 when the pass went wrong.
qint64 bareSave(const QStringList &paths, const QString &title, const QByteArray &picture, Timing *timing)
{
    const Stopwatch stopwatch;
    const int saved = BareWriter::setTitles(paths, title, picture);
    stopwatch.stop(timing);
    return saved;
}

qint64 coreSave(const QString &work, const QString &title, const QByteArray &picture, Timing *timing)
{
    SilentUserInterface ui;
    EditorController editor(&ui);
    editor.traverseFiles({work}, false);
    const Image image(picture);

    const Stopwatch stopwatch;
    for (const auto &song : editor.songs()) {
        song->setTitle(title);
        if (!picture.isEmpty())
            song->addImage(image);
    }
    TagsWriter writer;
    SaveController saver(editor, writer);
    const SaveReport report = saver.saveSongs();
    stopwatch.stop(timing);
    if (report.hasErrors()) {
        std::fprintf(stderr, "%s", report.errorText.toUtf8().constData());
        return -1;
    }
    return report.savedCount;
}

qint64 cliSave(const Setup &setup, const QString &title, const QString &configHome, Timing *timing)
{
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    cli.setProcessEnvironment(environment);
    cli.setStandardOutputFile(QProcess::nullDevice());
    const Stopwatch stopwatch(true);
    cli.start(setup.cliPath, {QStringLiteral("--yes"), QStringLiteral("edit"), QStringLiteral("--title"), title,
                              setup.workFolder});
    const bool finished = cli.waitForFinished(-1);
    stopwatch.stop(timing);
    if (!finished || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0) {
        std::fprintf(stderr, "quorl-cli failed (exit %d): %s\n", cli.exitCode(),
                     cli.readAllStandardError().constData());
        return -1;
    }
    return qint64(BaselineReader::collect(setup.workFolder).size());
}

// Every file of the pass carries the new title: a sample from the start, middle and end.
bool titlesChanged(const QStringList &paths, const QString &title)
{
    if (paths.isEmpty())
        return false;
    for (const qsizetype index : {qsizetype(0), paths.size() / 2, paths.size() - 1}) {
        if (BareWriter::titleOf(paths.at(index)) != title)
            return false;
    }
    return true;
}

} // namespace

QByteArray coverBytes()
{
    QByteArray bytes = QByteArray::fromHex("ffd8ffe0");
    for (int i = 0; bytes.size() < 300 * 1024 - 2; ++i)
        bytes += QByteArray::number(i * 7919);
    bytes.truncate(300 * 1024 - 2);
    return bytes + QByteArray::fromHex("ffd9");
}

QString titleForPass(int pass)
{
    return pass % 2 == 0 ? QStringLiteral("Benchmark Title A") : QStringLiteral("Benchmark Title B");
}

Measurement::Sample run(Mode mode, const Setup &setup)
{
    Measurement::Sample sample;
    QTemporaryDir configHome;
    for (int pass = 0; pass <= setup.runs; ++pass) {
        if (!refreshCopy(setup.corpusFolder, setup.workFolder)) {
            fail("cannot copy the corpus");
            return {};
        }
        const QStringList paths = BaselineReader::collect(setup.workFolder);
        const QString title = titleForPass(pass);
        Timing timing;
        qint64 saved = -1;
        switch (mode) {
        case Mode::Bare: saved = bareSave(paths, title, {}, &timing); break;
        case Mode::Core: saved = coreSave(setup.workFolder, title, {}, &timing); break;
        case Mode::BareCover: saved = bareSave(paths, title, coverBytes(), &timing); break;
        case Mode::CoreCover: saved = coreSave(setup.workFolder, title, coverBytes(), &timing); break;
        case Mode::Cli: saved = cliSave(setup, title, configHome.path(), &timing); break;
        }
        if (saved != paths.size() || !titlesChanged(paths, title)) {
            fail("a pass did not save every file with the new title");
            return {};
        }
        sample.songs = saved;
        // Pass 0 warms the caches and is not counted.
        if (pass > 0) {
            sample.milliseconds.append(double(timing.nanoseconds) / 1e6);
            sample.cpuMilliseconds.append(timing.cpuMilliseconds);
        }
    }
    sample.peakBytes = Measurement::peakResidentBytes(mode == Mode::Cli);
    QDir(setup.workFolder).removeRecursively();
    return sample;
}

} // namespace SaveMeasurement
