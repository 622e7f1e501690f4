#pragma once

// Helpers of the end-to-end tests of the commands that change songs: running the tool with a
// settings folder of its own, and making and reading back tagged copies of the fixtures through
// the library (whose reader and writer have tests of their own).

#include "fixtures.h"
#include "savetesting.h"

#include "editor/settingsregistry.h"
#include "model/image.h"
#include "model/song.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <QElapsedTimer>

#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    // Standard output as the JSON array of songs; empty when it is none.
    QJsonArray songs() const { return QJsonDocument::fromJson(out).array(); }
};

// Runs a program with the environment changed by the assignments ("NAME=value") and standard
// input closed; standard output goes to outputFile when one is given.
inline CliRun runProgram(const QString &program, const QStringList &arguments, const QStringList &environment,
                         const QString &outputFile = {})
{
    QProcess process;
    QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
    for (const QString &assignment : environment)
        changed.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
    process.setProcessEnvironment(changed);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile, QIODevice::Append);
    process.start(program, arguments);
    process.closeWriteChannel();
    CliRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Runs quorl-cli with XDG_CONFIG_HOME at configHome and standard input closed (a script's run);
// standard output goes to outputFile when one is given ("/dev/full").
inline CliRun runCli(const QStringList &arguments, const QString &configHome, const QString &outputFile = {})
{
    return runProgram(QStringLiteral(QUORL_CLI_PATH), arguments, {QStringLiteral("XDG_CONFIG_HOME=") + configHome},
                      outputFile);
}

// The set-up of a test class that runs the tool: the tool is built, and the test process keeps
// its settings in the work folder (the tool gets a settings folder of its own per run).
inline bool prepareCliTests(const QTemporaryDir &work)
{
    if (!work.isValid() || !QFileInfo::exists(QStringLiteral(QUORL_CLI_PATH)))
        return false;
    useTemporarySettings(work);
    SettingsRegistry::registerDefaults();
    return true;
}

// A settings folder and a song folder of their own for the next test function, in the work
// folder.
inline bool nextCliFolders(const QTemporaryDir &work, QString *config, QString *songs)
{
    static int round = 0;
    ++round;
    *config = work.filePath(QStringLiteral("config%1").arg(round));
    *songs = work.filePath(QStringLiteral("songs%1").arg(round));
    return QDir().mkpath(*config) && QDir().mkpath(*songs);
}

// What the tool wrote to standard error when that was a terminal (a pseudo-terminal the test
// reads), with standard output on a pipe.
struct TerminalRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray terminal;
};

inline TerminalRun runOnTerminal(const QStringList &arguments, const QString &configHome)
{
    TerminalRun run;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return run;
    const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    if (terminal < 0) {
        ::close(master);
        return run;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([terminal] { ::dup2(terminal, STDERR_FILENO); });
    process.start(QStringLiteral(QUORL_CLI_PATH), arguments);
    process.closeWriteChannel();
    ::close(terminal);
    // Read while it runs: a full terminal buffer would hold the tool up.
    const auto drain = [&] {
        char buffer[4096];
        for (ssize_t got; (got = ::read(master, buffer, sizeof buffer)) > 0;)
            run.terminal.append(buffer, got);
    };
    QElapsedTimer timer;
    timer.start();
    while (!process.waitForFinished(20) && timer.elapsed() < 120000)
        drain();
    drain();
    ::close(master);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    return run;
}

// Copies the untagged fixture of the type into the folder under the name and saves the values
// (song property name → value) and pictures into it. Returns the path, or "" on failure.
inline QString makeSong(const QString &folder, const QString &extension, const QString &name,
                        const QVariantMap &values = {}, const QList<QByteArray> &pictures = {})
{
    const QString path = QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    if (!QFile::copy(fixturePath(QStringLiteral("silence.") + extension), path))
        return QString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (values.isEmpty() && pictures.isEmpty())
        return path;
    const std::unique_ptr<Song> song = readSong(path);
    if (!song)
        return QString();
    for (auto it = values.begin(); it != values.end(); ++it)
        song->setValueForKey(it.key(), it.value());
    for (const QByteArray &picture : pictures)
        song->addImage(Image(picture));
    return writeSong(song.get()).hasErrors() ? QString() : path;
}

// An encoded picture of one colour and the given size ("PNG" or "JPG").
inline QByteArray pictureBytes(int width, int height, QRgb colour, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

// A JPEG of random pixels, side × side, that compresses badly: about side² × 1.5 bytes.
inline QByteArray noisyJpeg(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator random(side);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = random.generate() | 0xff000000u;
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 100);
    return data;
}

// The names of the files in the folder, sorted.
inline QStringList fileNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}
