#include "model/picturedata.h"
#include "model/userdefaults.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Left half red, right half blue, so that rotations can be told apart.
QImage twoColourImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

QByteArray encode(const QImage &image, const char *format,
                  const QList<std::pair<QString, QString>> &texts = {})
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    for (const auto &[key, text] : texts)
        writer.setText(key, text);
    if (!writer.write(image))
        qFatal("cannot encode the test picture: %s", qPrintable(writer.errorString()));
    return bytes;
}

struct Read {
    QByteArray format;
    QImage image;
    QStringList textKeys;
    QString text(const QString &key) const { return texts.value(key); }
    QHash<QString, QString> texts;
};

Read decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    Read read;
    read.format = reader.format();
    read.textKeys = reader.textKeys();
    for (const QString &key : read.textKeys)
        read.texts.insert(key, reader.text(key));
    read.image = reader.read();
    return read;
}

// A JPEG whose EXIF data says the stored picture must be turned 90 degrees clockwise to be shown
// upright (orientation 6).
QByteArray withExifOrientation(const QByteArray &jpeg, quint16 orientation)
{
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);           // big-endian header, first IFD at 8
    tiff.append("\0\x01", 2);                           // one entry
    tiff.append("\x01\x12\0\x03\0\0\0\x01", 8);         // Orientation, SHORT, count 1
    tiff.append(char(orientation >> 8)).append(char(orientation & 0xff)).append("\0\0", 2);
    tiff.append("\0\0\0\0", 4);                         // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xff\xe1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xff)).append(payload);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

} // namespace

class TestPictureData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void formatTests_data();
    void formatTests();
    void scalesDownKeepingFormat_data();
    void scalesDownKeepingFormat();
    void smallerPictureIsReencodedAtItsSize();
    void keepsColourSpace_data();
    void keepsColourSpace();
    void copiesTextMetadata();
    void appliesExifOrientation();
    void undecodableComesBackUnchanged_data();
    void undecodableComesBackUnchanged();
    void scaleIfNeededFollowsSettings();

private:
    QTemporaryDir m_dir;
    QByteArray m_jpeg;
    QByteArray m_png;
};

void TestPictureData::initTestCase()
{
    QVERIFY(m_dir.isValid());
    UserDefaults::shared().openStore(m_dir.filePath("settings.ini"));
    UserDefaults::shared().registerDefaults({{"SCALE_IMAGES", false}, {"SCALE_MAX_PIXEL_SIZE", 500}});
    QVERIFY2(QImageWriter::supportedImageFormats().contains("jpeg"), "no JPEG support");
    m_jpeg = encode(twoColourImage(1400, 1400), "jpeg");
    m_png = encode(twoColourImage(1400, 700), "png");
}

void TestPictureData::cleanup()
{
    UserDefaults::shared().clearOverrides();
}

void TestPictureData::formatTests_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("jpeg");
    QTest::addColumn<bool>("png");

    const QByteArray pngEnd("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    QTest::newRow("empty") << QByteArray() << false << false;
    QTest::newRow("one byte") << QByteArray("\xff") << false << false;
    QTest::newRow("minimal JPEG") << QByteArray("\xff\xd8\xff\xd9") << true << false;
    QTest::newRow("two bytes that are both ends") << QByteArray("\xff\xd8") << false << false;
    QTest::newRow("JPEG without end") << QByteArray("\xff\xd8\xff\xe0\0\x10") << false << false;
    QTest::newRow("real JPEG") << encode(twoColourImage(8, 8), "jpeg") << true << false;
    QTest::newRow("real PNG") << encode(twoColourImage(8, 8), "png") << false << true;
    QTest::newRow("signature and IEND only") << QByteArray("\x89PNG\r\n\x1a\n", 8) + pngEnd << false << true;
    QTest::newRow("truncated PNG") << encode(twoColourImage(8, 8), "png").chopped(12) << false << false;
    QTest::newRow("IEND alone") << pngEnd << false << false;
}

void TestPictureData::formatTests()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, jpeg);
    QFETCH(bool, png);
    QCOMPARE(PictureData::isValidJPEG(bytes), jpeg);
    QCOMPARE(PictureData::isValidPNG(bytes), png);
}

void TestPictureData::scalesDownKeepingFormat_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<uint>("limit");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");

    QTest::newRow("square JPEG") << encode(twoColourImage(1400, 1400), "jpeg") << 500u
                                 << QByteArray("jpeg") << QSize(500, 500);
    QTest::newRow("wide PNG") << encode(twoColourImage(1400, 700), "png") << 500u
                              << QByteArray("png") << QSize(500, 250);
    QTest::newRow("tall JPEG, rounded") << encode(twoColourImage(333, 1000), "jpeg") << 100u
                                        << QByteArray("jpeg") << QSize(33, 100);
    QTest::newRow("thin PNG keeps one pixel") << encode(twoColourImage(2, 2000), "png") << 100u
                                              << QByteArray("png") << QSize(1, 100);
    QTest::newRow("BMP becomes JPEG") << encode(twoColourImage(800, 400), "bmp") << 200u
                                      << QByteArray("jpeg") << QSize(200, 100);
}

void TestPictureData::scalesDownKeepingFormat()
{
    QFETCH(QByteArray, input);
    QFETCH(uint, limit);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);

    const QByteArray output = PictureData::scaleToMaxPixelSize(input, limit);
    const Read read = decode(output);
    QCOMPARE(read.format, format);
    QCOMPARE(read.image.size(), size);
    QCOMPARE(PictureData::isValidJPEG(output), format == "jpeg");
    QCOMPARE(PictureData::isValidPNG(output), format == "png");
}

void TestPictureData::smallerPictureIsReencodedAtItsSize()
{
    const QByteArray png = encode(twoColourImage(200, 100), "png", {{"Comment", "kept"}});
    const QByteArray output = PictureData::scaleToMaxPixelSize(png, 500);
    const Read read = decode(output);
    QCOMPARE(read.format, QByteArray("png"));
    QCOMPARE(read.image.size(), QSize(200, 100));
    QCOMPARE(read.image.pixelColor(10, 50), QColor(Qt::red));
    QCOMPARE(read.image.pixelColor(190, 50), QColor(Qt::blue));
}

void TestPictureData::keepsColourSpace_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("PNG") << QByteArray("png");
    QTest::newRow("JPEG") << QByteArray("jpeg");
}

void TestPictureData::keepsColourSpace()
{
    QFETCH(QByteArray, format);
    QImage image = twoColourImage(1000, 600);
    image.setColorSpace(QColorSpace::DisplayP3);
    const QByteArray input = encode(image, format.constData());
    QCOMPARE(decode(input).image.colorSpace(), QColorSpace(QColorSpace::DisplayP3));

    const Read read = decode(PictureData::scaleToMaxPixelSize(input, 300));
    QCOMPARE(read.image.size(), QSize(300, 180));
    QCOMPARE(read.image.colorSpace(), QColorSpace(QColorSpace::DisplayP3));
}

void TestPictureData::copiesTextMetadata()
{
    const QByteArray input = encode(twoColourImage(1000, 1000), "png",
                                    {{"Title", "Cover"}, {"Author", "Somebody"}});
    const Read read = decode(PictureData::scaleToMaxPixelSize(input, 100));
    QCOMPARE(read.image.size(), QSize(100, 100));
    QCOMPARE(read.text("Title"), "Cover");
    QCOMPARE(read.text("Author"), "Somebody");
}

void TestPictureData::appliesExifOrientation()
{
    // Stored 300 wide and 100 high with red on the left; shown upright it is 100 wide, 300 high,
    // with red at the top.
    const QByteArray input = withExifOrientation(encode(twoColourImage(300, 100), "jpeg"), 6);
    QVERIFY(PictureData::isValidJPEG(input));
    QCOMPARE(decode(input).image.size(), QSize(300, 100)); // a plain read ignores the orientation

    const Read read = decode(PictureData::scaleToMaxPixelSize(input, 150));
    QCOMPARE(read.image.size(), QSize(50, 150));
    const auto isRed = [](QColor c) { return c.red() > 200 && c.blue() < 60; };
    const auto isBlue = [](QColor c) { return c.blue() > 200 && c.red() < 60; };
    QVERIFY(isRed(read.image.pixelColor(25, 10)));
    QVERIFY(isBlue(read.image.pixelColor(25, 140)));
    // The output carries no orientation of its own any more.
    QBuffer buffer;
    QByteArray output = PictureData::scaleToMaxPixelSize(input, 150);
    buffer.setData(output);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QCOMPARE(reader.transformation(), QImageIOHandler::TransformationNone);
}

void TestPictureData::undecodableComesBackUnchanged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("minimal JPEG markers") << QByteArray("\xff\xd8\xff\xd9");
    QTest::newRow("text") << QByteArray("not a picture at all");
    QTest::newRow("truncated PNG header") << encode(twoColourImage(50, 50), "png").left(30);
}

void TestPictureData::undecodableComesBackUnchanged()
{
    QFETCH(QByteArray, bytes);
    const QByteArray output = PictureData::scaleToMaxPixelSize(bytes, 10);
    QCOMPARE(output, bytes);
}

void TestPictureData::scaleIfNeededFollowsSettings()
{
    // Off by default: the very same buffer comes back.
    const QByteArray off = PictureData::scaleIfNeeded(m_jpeg);
    QCOMPARE(off.constData(), m_jpeg.constData());

    UserDefaults::shared().setOverride("SCALE_IMAGES", true);
    QCOMPARE(decode(PictureData::scaleIfNeeded(m_jpeg)).image.size(), QSize(500, 500));
    const Read png = decode(PictureData::scaleIfNeeded(m_png));
    QCOMPARE(png.format, QByteArray("png"));
    QCOMPARE(png.image.size(), QSize(500, 250));

    UserDefaults::shared().setOverride("SCALE_MAX_PIXEL_SIZE", 100);
    QCOMPARE(decode(PictureData::scaleIfNeeded(m_jpeg)).image.size(), QSize(100, 100));
}

QTEST_GUILESS_MAIN(TestPictureData)
#include "test_picturedata.moc"
