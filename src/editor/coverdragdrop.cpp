#include "editor/coverdragdrop.h"

#include "model/picturedata.h"
#include "model/song.h"
#include "model/wholefile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace CoverDragDrop {

namespace {

constexpr int LastNameNumber = 10;

bool isPictureExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(fileName).mid(dot + 1);
    return extension == u"jpg" || extension == u"jpeg" || extension == u"png";
}

} // namespace

bool isAcceptableFileDrop(const QStringList &paths)
{
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.exists())
            continue;
        if (!info.isFile() || !isPictureExtension(info.fileName()))
            return false;
    }
    return true;
}

QByteArray jpegData(const QImage &picture)
{
    if (picture.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (!writer.write(picture))
        return {};
    return bytes;
}

QString fileBaseName(const Song *firstSelected)
{
    QString name = QStringLiteral("Cover");
    if (firstSelected && !firstSelected->artist().isEmpty() && !firstSelected->album().isEmpty())
        name = QStringLiteral("%1 - %2").arg(firstSelected->artist(), firstSelected->album());
    else if (firstSelected && !firstSelected->album().isEmpty())
        name = firstSelected->album();
    name.replace(u'/', u'-');
    return name;
}

QString fileExtension(const QByteArray &data)
{
    return PictureData::isValidPNG(data) ? QStringLiteral("png") : QStringLiteral("jpg");
}

QStringList candidateFileNames(const QString &baseName, const QString &extension)
{
    QStringList names{QStringLiteral("%1.%2").arg(baseName, extension)};
    for (int number = 2; number <= LastNameNumber; ++number)
        names.append(QStringLiteral("%1 %2.%3").arg(baseName).arg(number).arg(extension));
    return names;
}

Result<void> writeNewFile(const QString &path, const QByteArray &data)
{
    const QFileInfo target(path);
    // A dangling link does not "exist" to QFileInfo, yet its name is taken.
    if (target.exists() || target.isSymLink() || !WholeFile::createNew(path, data))
        return Error{ErrorCode::Unwritable, path};
    return {};
}

Result<QString> writeIntoFolder(const QString &folder, const QString &baseName, const QByteArray &data)
{
    const QDir dir(folder);
    for (const QString &name : candidateFileNames(baseName, fileExtension(data))) {
        const QString path = dir.filePath(name);
        if (writeNewFile(path, data))
            return path;
    }
    return Error{ErrorCode::Unwritable, dir.filePath(baseName)};
}

} // namespace CoverDragDrop
