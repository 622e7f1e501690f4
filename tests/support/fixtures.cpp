#include "fixtures.h"

#include "editor/settingsregistry.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

QString fixturePath(const QString &fixtureName)
{
    return QDir(QStringLiteral(QUORL_TEST_DATA_DIR)).filePath(fixtureName);
}

QString copyFixture(const QTemporaryDir &dir, const QString &fixtureName, const QString &newName)
{
    const QString target = dir.filePath(newName);
    QFile::remove(target);
    if (!QFile::copy(fixturePath(fixtureName), target))
        return QString();
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    return target;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString target = dir.filePath(name);
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return QString();
    return target;
}

namespace {

QByteArray encoded(QRgb color, const char *format)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return bytes;
}

} // namespace

QByteArray samplePng(QRgb color)
{
    return encoded(color, "png");
}

QByteArray sampleJpeg(QRgb color)
{
    return encoded(color, "jpeg");
}

void useTemporarySettings(const QTemporaryDir &dir)
{
    UserDefaults::shared().openStore(dir.filePath(QStringLiteral("settings.ini")));
}

bool useEditorSettings(const QTemporaryDir &dir)
{
    if (!dir.isValid())
        return false;
    useTemporarySettings(dir);
    SettingsRegistry::registerDefaults();
    return Localized::installStringTable();
}
