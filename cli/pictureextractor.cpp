#include "pictureextractor.h"

#include "pictureinfo.h"

#include "model/image.h"
#include "model/localized.h"
#include "model/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

PictureExtractor::PictureExtractor(const QString &folder, bool dryRun)
    : m_folder(QDir::cleanPath(QDir::current().absoluteFilePath(folder))), m_dryRun(dryRun)
{
}

PictureExtractor::Report PictureExtractor::extract(const Image &image)
{
    const auto done = m_done.constFind(image.hash());
    if (done != m_done.constEnd())
        return *done;
    const PictureInfo info = PictureInfo::of(image);
    const QString path = m_folder + QLatin1Char('/') + QString::fromLatin1(info.md5Hex)
                         + QLatin1Char('.') + info.extension;
    const Report report = write(image, path);
    if (report.outcome == Outcome::Failed)
        ++m_failures;
    m_done.insert(image.hash(), report);
    return report;
}

PictureExtractor::Report PictureExtractor::write(const Image &image, const QString &path)
{
    const auto failed = [&path](const QString &reason) {
        return Report{Outcome::Failed, path, Localized::text("CliCannotWritePictureXY").arg(path, reason)};
    };
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink()) {
        QFile file(path);
        if (existing.isFile() && file.open(QIODevice::ReadOnly) && file.readAll() == image.data())
            return Report{Outcome::AlreadyPresent, path, QString()};
        return failed(Localized::text("CliDifferentFileExists"));
    }
    if (m_dryRun)
        return Report{Outcome::Planned, path, QString()};
    if (!m_folderReady && !QDir().mkpath(m_folder))
        return failed(Localized::text("CliCannotMakeFolder"));
    m_folderReady = true;
    const Result<void> written = WholeFile::createNew(path, image.data());
    if (!written)
        return failed(written.error().detail);
    return Report{Outcome::Written, path, QString()};
}

QString PictureExtractor::outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Written: return Localized::text("CliPictureWritten");
    case Outcome::AlreadyPresent: return Localized::text("CliPictureAlreadyPresent");
    case Outcome::Planned: return Localized::text("CliPictureWouldBeWritten");
    case Outcome::Failed: break;
    }
    return Localized::text("CliPictureNotWritten");
}
