#include "model/localized.h"
#include "model/picturedata.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

// The display size of decoded pictures: making it the pixel size, and the size text.
class TestPixelSize : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void makePixelSizedShowsEveryPixel_data();
    void makePixelSizedShowsEveryPixel();
    void pixelSizeNamesThePixels_data();
    void pixelSizeNamesThePixels();
    void highResolutionFileBecomesPixelSized();

private:
    static QImage picture(const QSize &size, qreal ratio);

    QTemporaryDir m_dir;
};

void TestPixelSize::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(Localized::installStringTable());
}

QImage TestPixelSize::picture(const QSize &size, qreal ratio)
{
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::green);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setDevicePixelRatio(ratio);
    return image;
}

void TestPixelSize::makePixelSizedShowsEveryPixel_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSizeF>("displayedBefore");

    QTest::newRow("ratio 2") << QSize(600, 400) << 2.0 << QSizeF(300, 200);
    QTest::newRow("ratio 1") << QSize(600, 400) << 1.0 << QSizeF(600, 400);
    QTest::newRow("ratio 3, odd sizes") << QSize(301, 199) << 3.0 << QSizeF(301 / 3.0, 199 / 3.0);
    QTest::newRow("ratio 0.5") << QSize(10, 20) << 0.5 << QSizeF(20, 40);
    QTest::newRow("one pixel") << QSize(1, 1) << 2.0 << QSizeF(0.5, 0.5);
    QTest::newRow("null") << QSize() << 1.0 << QSizeF(0, 0);
}

void TestPixelSize::makePixelSizedShowsEveryPixel()
{
    QFETCH(QSize, pixels);
    QFETCH(qreal, ratio);
    QFETCH(QSizeF, displayedBefore);

    QImage image = picture(pixels, ratio);
    QCOMPARE(image.deviceIndependentSize(), displayedBefore);
    PictureData::makePixelSized(image);

    if (pixels.isEmpty()) {
        QVERIFY(image.isNull());
        return;
    }
    QCOMPARE(image.devicePixelRatio(), 1.0);
    QCOMPARE(image.deviceIndependentSize(), QSizeF(pixels));
    // The pixels themselves are untouched.
    QCOMPARE(image.size(), pixels);
    QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(pixels.width() - 1, pixels.height() - 1), pixels == QSize(1, 1) ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
}

void TestPixelSize::pixelSizeNamesThePixels_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QString>("text");

    QTest::newRow("ratio 2 counts pixels") << QSize(600, 400) << 2.0 << QStringLiteral("600 × 400 px");
    QTest::newRow("ratio 1") << QSize(600, 400) << 1.0 << QStringLiteral("600 × 400 px");
    QTest::newRow("tall") << QSize(3, 1200) << 1.0 << QStringLiteral("3 × 1200 px");
    QTest::newRow("null") << QSize() << 1.0 << QString();
}

void TestPixelSize::pixelSizeNamesThePixels()
{
    QFETCH(QSize, pixels);
    QFETCH(qreal, ratio);
    QFETCH(QString, text);

    const std::optional<QString> size = PictureData::pixelSize(picture(pixels, ratio));
    QCOMPARE(size.has_value(), !text.isNull());
    if (size)
        QCOMPARE(*size, text);
}

void TestPixelSize::highResolutionFileBecomesPixelSized()
{
    // A file named for a high-resolution screen decodes with ratio 2.
    const QString path = m_dir.filePath(QStringLiteral("cover@2x.png"));
    QVERIFY(picture(QSize(64, 48), 1.0).save(path, "PNG"));
    QImage image = QImageReader(path).read();
    QCOMPARE(image.devicePixelRatio(), 2.0);
    QCOMPARE(image.deviceIndependentSize(), QSizeF(32, 24));

    PictureData::makePixelSized(image);
    QCOMPARE(image.deviceIndependentSize(), QSizeF(64, 48));
    QCOMPARE(PictureData::pixelSize(image), std::optional<QString>(QStringLiteral("64 × 48 px")));
}

QTEST_GUILESS_MAIN(TestPixelSize)
#include "test_pixelsize.moc"
