#include "fixtures.h"
#include "id3fields.h"
#include "savetesting.h"

#include "model/image.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "editor/settingsregistry.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/wavfile.h>

namespace {

QString toQ(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

QByteArray toBytes(const TagLib::ByteVector &bytes)
{
    return QByteArray(bytes.data(), int(bytes.size()));
}

// The frames prefillID3Tag() writes for the mapped fields, by song property.
const QList<std::pair<QString, std::pair<QByteArray, QString>>> &prefilledFrames()
{
    static const QList<std::pair<QString, std::pair<QByteArray, QString>>> frames = {
        {QStringLiteral("title"), {"TIT2", QStringLiteral("Old title")}},
        {QStringLiteral("artist"), {"TPE1", QStringLiteral("Old artist")}},
        {QStringLiteral("album"), {"TALB", QStringLiteral("Old album")}},
        {QStringLiteral("genre"), {"TCON", QStringLiteral("Old genre")}},
        {QStringLiteral("year"), {"TDRC", QStringLiteral("1970")}},
        {QStringLiteral("track"), {"TRCK", QStringLiteral("3/9")}},
        {QStringLiteral("disc"), {"TPOS", QStringLiteral("2/5")}},
        {QStringLiteral("albumArtist"), {"TPE2", QStringLiteral("Old album artist")}},
        {QStringLiteral("composer"), {"TCOM", QStringLiteral("Old composer")}},
        {QStringLiteral("isCompilation"), {"TCMP", QStringLiteral("1")}},
        {QStringLiteral("comment"), {"COMM", QStringLiteral("Old comment")}},
        {QStringLiteral("lyrics"), {"USLT", QStringLiteral("Old lyrics")}},
    };
    return frames;
}

QByteArray largePng(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class TestMP3Writer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void writesMappedFrames_data();
    void writesMappedFrames();
    void writesPicturesInListOrder();
    void replacesID3v1AndAPETags_data();
    void replacesID3v1AndAPETags();
    void scalesPicturesWhenOldTagsAreReplaced();
    void writesChosenID3v2Version_data();
    void writesChosenID3v2Version();
    void forcedSaveRebuildsTheTag();
    void unflaggedFieldsAreNotTouched();
    void savesOnlyMpegFiles_data();
    void savesOnlyMpegFiles();

private:
    QString prefilledCopy(const QString &name);

    QTemporaryDir m_dir;
};

void TestMP3Writer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir);
    SettingsRegistry::registerDefaults();
}

void TestMP3Writer::init()
{
    UserDefaults::shared().clearOverrides();
}

QString TestMP3Writer::prefilledCopy(const QString &name)
{
    const QString path = copyFixture(m_dir, QStringLiteral("silence.mp3"), name);
    if (path.isEmpty())
        return path;
    TagLib::MPEG::File file(path.toUtf8().constData());
    prefillID3Tag(file.ID3v2Tag(true));
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers) ? path : QString();
}

void TestMP3Writer::writesMappedFrames_data()
{
    addID3FieldColumns();
    addID3FieldRows();
}

void TestMP3Writer::writesMappedFrames()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QByteArray, frameId);
    QFETCH(QString, frameText);
    QFETCH(QString, readBack);

    const QString path = prefilledCopy(QStringLiteral("fields.mp3"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->setValueForKey(field, value.isNull() ? QStringLiteral("") : value);
    QVERIFY(song->isModified());

    const SaveReport report = writeSong(song.get());
    QCOMPARE(report.errorText, QString());
    QVERIFY(!song->isModified());

    {
        TagLib::MPEG::File file(path.toUtf8().constData());
        TagLib::ID3v2::Tag *tag = file.ID3v2Tag();
        QVERIFY(tag);
        const QString mismatch = id3FieldMismatch(tag, frameId, frameText);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        // Every other mapped frame keeps its old value, and frames never read survive.
        for (const auto &[otherField, frame] : prefilledFrames()) {
            if (otherField == field)
                continue;
            const QString other = id3FieldMismatch(tag, frame.first, frame.second);
            QVERIFY2(other.isEmpty(), qPrintable(otherField + QStringLiteral(": ") + other));
        }
        const QString kept = id3KeptFramesMismatch(tag);
        QVERIFY2(kept.isEmpty(), qPrintable(kept));
        QVERIFY(!file.hasID3v1Tag());
    }

    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->valueForKey(field).toString(), readBack);
}

void TestMP3Writer::writesPicturesInListOrder()
{
    const QString path = copyFixture(m_dir, QStringLiteral("silence.mp3"), QStringLiteral("pictures.mp3"));
    QVERIFY(!path.isEmpty());
    {
        TagLib::MPEG::File file(path.toUtf8().constData());
        auto *old = new TagLib::ID3v2::AttachedPictureFrame;
        old->setType(TagLib::ID3v2::AttachedPictureFrame::BackCover);
        old->setMimeType("image/png");
        const QByteArray oldBytes = samplePng(qRgb(1, 2, 3));
        old->setPicture(TagLib::ByteVector(oldBytes.constData(), unsigned(oldBytes.size())));
        file.ID3v2Tag(true)->addFrame(old);
        QVERIFY(file.save());
    }
    auto song = readSong(path);
    QVERIFY(song);
    QCOMPARE(song->countOfImages(), 1);
    song->removeAllImages();
    // A JPEG, a PNG, and bytes that begin like a JPEG but do not end like one.
    const QByteArray jpeg = sampleJpeg(qRgb(200, 0, 0));
    const QByteArray png = samplePng(qRgb(0, 200, 0));
    const QByteArray notJpeg = QByteArray::fromHex("ffd8ffe000104a464946") + QByteArray(20, 'x');
    for (const QByteArray &bytes : {jpeg, png, notJpeg})
        song->addImage(Image(bytes));
    QCOMPARE(writeSong(song.get()).errorText, QString());

    {
        TagLib::MPEG::File file(path.toUtf8().constData());
        const TagLib::ID3v2::FrameList frames = file.ID3v2Tag()->frameList("APIC");
        QCOMPARE(frames.size(), 3u);
        const QList<std::pair<QByteArray, QString>> wanted = {
            {jpeg, QStringLiteral("image/jpeg")},
            {png, QStringLiteral("image/png")},
            {notJpeg, QStringLiteral("image/png")},
        };
        int index = 0;
        for (TagLib::ID3v2::Frame *frame : frames) {
            auto *picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame *>(frame);
            QVERIFY(picture);
            QCOMPARE(toBytes(picture->picture()), wanted.at(index).first);
            QCOMPARE(toQ(picture->mimeType()), wanted.at(index).second);
            QCOMPARE(picture->type(), TagLib::ID3v2::AttachedPictureFrame::FrontCover);
            QVERIFY(picture->description().isEmpty());
            ++index;
        }
    }

    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->countOfImages(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY(reread->objectInImagesAtIndex(i) == song->objectInImagesAtIndex(i));
}

void TestMP3Writer::replacesID3v1AndAPETags_data()
{
    QTest::addColumn<bool>("writeID3v1");
    QTest::addColumn<bool>("withAPE");
    QTest::newRow("ID3v1, setting off") << false << false;
    QTest::newRow("ID3v1 and APE, setting off") << false << true;
    QTest::newRow("ID3v1 and APE, setting on") << true << true;
}

void TestMP3Writer::replacesID3v1AndAPETags()
{
    QFETCH(bool, writeID3v1);
    QFETCH(bool, withAPE);

    const QString path = copyFixture(m_dir, QStringLiteral("silence.mp3"), QStringLiteral("v1.mp3"));
    QVERIFY(!path.isEmpty());
    {
        // The ID3v2 tag holds the title and a frame never read; the artist, year and track stand
        // only in the ID3v1 tag.
        TagLib::MPEG::File file(path.toUtf8().constData());
        TagLib::ID3v2::Tag *v2 = file.ID3v2Tag(true);
        v2->setTitle("V2 title");
        auto *custom = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
        custom->setDescription("CUSTOM");
        custom->setText("Kept custom");
        v2->addFrame(custom);
        TagLib::ID3v1::Tag *v1 = file.ID3v1Tag(true);
        v1->setTitle("V1 title");
        v1->setArtist("V1 artist");
        v1->setYear(1980);
        v1->setTrack(5);
        int tags = TagLib::MPEG::File::ID3v2 | TagLib::MPEG::File::ID3v1;
        if (withAPE) {
            file.APETag(true)->setGenre("APE genre");
            tags |= TagLib::MPEG::File::APE;
        }
        QVERIFY(file.save(tags, TagLib::File::StripNone));
    }
    {
        TagLib::MPEG::File file(path.toUtf8().constData());
        QVERIFY(file.hasID3v1Tag());
        QCOMPARE(file.hasAPETag(), withAPE);
    }

    auto song = readSong(path);
    QVERIFY(song);
    QCOMPARE(song->artist(), QStringLiteral("V1 artist"));
    song->setTitle(QStringLiteral("New title"));
    UserDefaults::shared().setOverride(QStringLiteral("WRITE_ID3_V1_TAGS"), writeID3v1);
    QCOMPARE(writeSong(song.get()).errorText, QString());

    TagLib::MPEG::File file(path.toUtf8().constData());
    QVERIFY(!file.hasAPETag());
    QCOMPARE(file.hasID3v1Tag(), writeID3v1);
    // Written as if forced: what the old tags held is in the ID3v2 tag now.
    TagLib::ID3v2::Tag *v2 = file.ID3v2Tag();
    QVERIFY(v2);
    QCOMPARE(id3FieldMismatch(v2, "TIT2", QStringLiteral("New title")), QString());
    QCOMPARE(id3FieldMismatch(v2, "TPE1", QStringLiteral("V1 artist")), QString());
    QCOMPARE(id3FieldMismatch(v2, "TDRC", QStringLiteral("1980")), QString());
    QCOMPARE(id3FieldMismatch(v2, "TRCK", QStringLiteral("5")), QString());
    // The ID3v2 tag itself was not stripped.
    auto *custom = TagLib::ID3v2::UserTextIdentificationFrame::find(v2, "CUSTOM");
    QVERIFY(custom);
    if (writeID3v1) {
        TagLib::ID3v1::Tag *v1 = file.ID3v1Tag();
        QVERIFY(v1);
        QCOMPARE(toQ(v1->title()), QStringLiteral("New title"));
        QCOMPARE(toQ(v1->artist()), QStringLiteral("V1 artist"));
        QCOMPARE(v1->track(), 5u);
    }
}

void TestMP3Writer::scalesPicturesWhenOldTagsAreReplaced()
{
    const QString path = copyFixture(m_dir, QStringLiteral("silence.mp3"), QStringLiteral("scale.mp3"));
    QVERIFY(!path.isEmpty());
    const QByteArray big = largePng(64);
    {
        TagLib::MPEG::File file(path.toUtf8().constData());
        auto *picture = new TagLib::ID3v2::AttachedPictureFrame;
        picture->setMimeType("image/png");
        picture->setPicture(TagLib::ByteVector(big.constData(), unsigned(big.size())));
        file.ID3v2Tag(true)->addFrame(picture);
        file.ID3v1Tag(true)->setTitle("V1 title");
        QVERIFY(file.save(TagLib::MPEG::File::ID3v2 | TagLib::MPEG::File::ID3v1, TagLib::File::StripNone));
    }
    auto song = readSong(path);
    QVERIFY(song);
    QCOMPARE(song->countOfImages(), 1);
    UserDefaults::shared().setOverride(QStringLiteral("SCALE_IMAGES"), true);
    UserDefaults::shared().setOverride(QStringLiteral("SCALE_MAX_PIXEL_SIZE"), 16);
    song->setTitle(QStringLiteral("Only the title"));
    QCOMPARE(writeSong(song.get()).errorText, QString());

    TagLib::MPEG::File file(path.toUtf8().constData());
    const TagLib::ID3v2::FrameList frames = file.ID3v2Tag()->frameList("APIC");
    QCOMPARE(frames.size(), 1u);
    const QByteArray written = toBytes(static_cast<TagLib::ID3v2::AttachedPictureFrame *>(frames.front())->picture());
    const QImage image = QImage::fromData(written);
    QVERIFY(!image.isNull());
    QCOMPARE(image.width(), 16);
    QCOMPARE(toQ(static_cast<TagLib::ID3v2::AttachedPictureFrame *>(frames.front())->mimeType()), QStringLiteral("image/png"));
}

void TestMP3Writer::writesChosenID3v2Version_data()
{
    QTest::addColumn<bool>("writeID3v23");
    QTest::addColumn<int>("majorVersion");
    QTest::newRow("2.4") << false << 4;
    QTest::newRow("2.3") << true << 3;
}

void TestMP3Writer::writesChosenID3v2Version()
{
    QFETCH(bool, writeID3v23);
    QFETCH(int, majorVersion);

    const QString path = copyFixture(m_dir, QStringLiteral("silence.mp3"), QStringLiteral("version.mp3"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    const QString unicode = QStringLiteral("Ünïcödé ☃ 𝄞 日本");
    song->setTitle(unicode);
    song->setComment(unicode + QStringLiteral(" comment"));
    song->setLyrics(unicode + QStringLiteral(" lyrics"));
    song->setYear(2001);
    song->setTrack(QStringLiteral("04/10"));
    song->setIsCompilation(1);
    UserDefaults::shared().setOverride(QStringLiteral("WRITE_ID3_V23_TAGS"), writeID3v23);
    QCOMPARE(writeSong(song.get()).errorText, QString());

    const QByteArray bytes = fileBytes(path);
    QVERIFY(bytes.startsWith("ID3"));
    QCOMPARE(int(bytes.at(3)), majorVersion);

    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->title(), unicode);
    QCOMPARE(reread->comment(), unicode + QStringLiteral(" comment"));
    QCOMPARE(reread->lyrics(), unicode + QStringLiteral(" lyrics"));
    QCOMPARE(reread->year(), 2001);
    QCOMPARE(reread->track(), QStringLiteral("04/10"));
    QCOMPARE(reread->isCompilation(), 1);
}

void TestMP3Writer::forcedSaveRebuildsTheTag()
{
    const QString path = prefilledCopy(QStringLiteral("forced.mp3"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    QVERIFY(writeSong(song.get(), true).errorText.isEmpty());

    TagLib::MPEG::File file(path.toUtf8().constData());
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag();
    QVERIFY(tag);
    QVERIFY(!id3KeptFramesMismatch(tag).isEmpty());
    QVERIFY(tag->frameList("TXXX").isEmpty());
    QVERIFY(tag->frameList("PRIV").isEmpty());
    QCOMPARE(tag->frameList("COMM").size(), 1u);
    QCOMPARE(tag->frameList("USLT").size(), 1u);
    for (const auto &[field, frame] : prefilledFrames()) {
        const QString mismatch = id3FieldMismatch(tag, frame.first, frame.second);
        QVERIFY2(mismatch.isEmpty(), qPrintable(field + QStringLiteral(": ") + mismatch));
    }
}

void TestMP3Writer::unflaggedFieldsAreNotTouched()
{
    // A song whose fields differ from the file but carry no flag: only the flagged title goes in.
    const QString path = prefilledCopy(QStringLiteral("flags.mp3"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->setArtist(QStringLiteral("Not saved"));
    song->setTrack(QStringLiteral("1/1"));
    song->resetModifications();
    song->setTitle(QStringLiteral("Saved title"));
    QVERIFY(writeSong(song.get()).errorText.isEmpty());

    TagLib::MPEG::File file(path.toUtf8().constData());
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag();
    QCOMPARE(id3FieldMismatch(tag, "TIT2", QStringLiteral("Saved title")), QString());
    QCOMPARE(id3FieldMismatch(tag, "TPE1", QStringLiteral("Old artist")), QString());
    QCOMPARE(id3FieldMismatch(tag, "TRCK", QStringLiteral("3/9")), QString());
    QCOMPARE(id3KeptFramesMismatch(tag), QString());
}

// Any file opens as MPEG; a save must not put a tag in front of another kind of file.
void TestMP3Writer::savesOnlyMpegFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("saved");
    const QByteArray mp3 = fileBytes(fixturePath(QStringLiteral("silence.mp3")));
    QVERIFY(!mp3.isEmpty());
    QTest::newRow("MP3") << mp3 << true;
    QTest::newRow("MP3 behind junk") << QByteArray(2000, '\0') + mp3 << true;
    // An empty ID3v2.4 tag and nothing else: the tag is there to be rewritten.
    QTest::newRow("ID3v2 tag only") << QByteArray::fromHex("49443304000000000000") << true;
    for (const char *other : {"m4a", "flac", "aiff", "wav"}) {
        const QByteArray bytes = fileBytes(fixturePath(QStringLiteral("silence.") + QLatin1String(other)));
        QVERIFY(!bytes.isEmpty());
        QTest::addRow("%s named .mp3", other) << bytes << false;
    }
    // A WAV file whose ID3 chunk TagLib would otherwise take for the file's own tag.
    QTemporaryDir dir;
    const QString wav = copyFixture(dir, QStringLiteral("silence.wav"), QStringLiteral("tagged.wav"));
    {
        TagLib::RIFF::WAV::File file(wav.toUtf8().constData());
        file.ID3v2Tag()->setTitle("In the chunk");
        QVERIFY(file.save());
    }
    QTest::newRow("tagged wav named .mp3") << fileBytes(wav) << false;
    QTest::newRow("text") << QByteArray("These are not the droids you are looking for.\n").repeated(20) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestMP3Writer::savesOnlyMpegFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    const TitleSave save = saveNewTitle(dir, QStringLiteral("song.mp3"), bytes, QStringLiteral("New title"));
    QVERIFY(save.song);
    if (!saved) {
        const QString fault = refusalFault(save, bytes);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        return;
    }
    QVERIFY2(!save.report.hasErrors(), qPrintable(save.report.errorText));
    const auto reread = readSong(save.path);
    QVERIFY(reread);
    QCOMPARE(reread->title(), QStringLiteral("New title"));
}

QTEST_GUILESS_MAIN(TestMP3Writer)
#include "test_mp3writer.moc"
