#include "corpusfiles.h"

#include "testregistry.h"

#include "tags/tagsreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace CorpusFiles {

QString folder()
{
    return QDir::cleanPath(QStringLiteral(QUORL_CORPUS_DIR));
}

bool exists()
{
    return QFileInfo(folder()).isDir();
}

QStringList musicFiles()
{
    QStringList files;
    TagsReader reader;
    QDirIterator it(folder(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (reader.readerForPath(path))
            files << path;
    }
    files.sort();
    return files;
}

void addMusicFileRows()
{
    QTest::addColumn<QString>("path");
    const QDir root(folder());
    for (const QString &path : musicFiles())
        QTest::newRow(qPrintable(root.relativeFilePath(path))) << path;
}

QString runOneInChild(const QString &path, const QString &doing, int timeLimitMs, QString *output)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), TestRegistry::selfArguments({QStringLiteral("--one"), path}));
    if (!child.waitForStarted())
        return child.errorString();
    if (!child.waitForFinished(timeLimitMs)) {
        child.kill();
        child.waitForFinished();
        return QStringLiteral("%1 %2 did not end within %3 s").arg(doing, path).arg(timeLimitMs / 1000);
    }
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    *output = QString::fromUtf8(child.readAllStandardOutput());
    if (child.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("%1 %2 crashed:\n%3").arg(doing, path, errors);
    if (child.exitCode() != 0)
        return QStringLiteral("%1 %2 failed (exit %3):\n%4").arg(doing, path).arg(child.exitCode()).arg(errors);
    if (errors.contains(QLatin1String("Sanitizer")) || errors.contains(QLatin1String("runtime error")))
        return QStringLiteral("%1 %2:\n%3").arg(doing, path, errors);
    return {};
}

} // namespace CorpusFiles
