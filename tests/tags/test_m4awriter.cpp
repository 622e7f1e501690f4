#include "fixtures.h"
#include "savetesting.h"

#include "editor/settingsregistry.h"
#include "model/image.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/tagsreader.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

#include <taglib/mp4coverart.h>
#include <taglib/mp4file.h>
#include <taglib/mp4item.h>
#include <taglib/mp4tag.h>

namespace {

TagLib::String key(const QByteArray &latin1)
{
    return TagLib::String(latin1.constData(), TagLib::String::Latin1);
}

QString toQ(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

const QByteArray CustomKey = "----:com.apple.iTunes:CUSTOM";

// An item as text: string lists joined by "|", number pairs as "n/c", booleans as
// "true"/"false"; "" when the tag has no such item.
QString describe(const TagLib::MP4::Tag *tag, const QByteArray &name)
{
    if (!tag->contains(key(name)))
        return {};
    const TagLib::MP4::Item item = tag->item(key(name));
    if (name == "trkn" || name == "disk")
        return QStringLiteral("%1/%2").arg(item.toIntPair().first).arg(item.toIntPair().second);
    if (name == "cpil")
        return item.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (name == "tmpo")
        return QString::number(item.toInt());
    QStringList texts;
    for (const TagLib::String &text : item.toStringList())
        texts.append(toQ(text));
    return texts.join(u'|');
}

// The items prefill() writes, by song property ("" for items the system never reads).
const QList<std::tuple<QString, QByteArray, QString>> &prefilledItems()
{
    static const QList<std::tuple<QString, QByteArray, QString>> items = {
        {QStringLiteral("title"), "\251nam", QStringLiteral("Old title")},
        {QStringLiteral("artist"), "\251ART", QStringLiteral("Old artist")},
        {QStringLiteral("album"), "\251alb", QStringLiteral("Old album")},
        {QStringLiteral("genre"), "\251gen", QStringLiteral("Old genre")},
        {QStringLiteral("year"), "\251day", QStringLiteral("1970")},
        {QStringLiteral("comment"), "\251cmt", QStringLiteral("Old comment")},
        {QStringLiteral("track"), "trkn", QStringLiteral("3/9")},
        {QStringLiteral("disc"), "disk", QStringLiteral("2/5")},
        {QStringLiteral("lyrics"), "\251lyr", QStringLiteral("Old lyrics")},
        {QStringLiteral("isCompilation"), "cpil", QStringLiteral("true")},
        {QStringLiteral("albumArtist"), "aART", QStringLiteral("Old album artist")},
        {QStringLiteral("composer"), "\251wrt", QStringLiteral("Old composer")},
        {QString(), "\251too", QStringLiteral("Old encoder")},
        {QString(), CustomKey, QStringLiteral("Kept custom")},
        {QString(), "tmpo", QStringLiteral("120")},
    };
    return items;
}

// The encoder delay and padding of an AAC encoder, which describe the audio.
const char *const GaplessKey = "----:com.apple.iTunes:iTunSMPB";
const char *const GaplessValue = " 00000000 00000840 000001A4 0000000000003E1C";

bool prefill(const QString &path)
{
    TagLib::MP4::File file(path.toUtf8().constData());
    TagLib::MP4::Tag *tag = file.tag();
    if (!tag)
        return false;
    for (const auto &[field, name, text] : prefilledItems()) {
        if (name == "trkn" || name == "disk")
            tag->setItem(key(name), TagLib::MP4::Item(text.section(u'/', 0, 0).toInt(), text.section(u'/', 1).toInt()));
        else if (name == "cpil")
            tag->setItem(key(name), TagLib::MP4::Item(true));
        else if (name == "tmpo")
            tag->setItem(key(name), TagLib::MP4::Item(text.toInt()));
        else
            tag->setItem(key(name), TagLib::MP4::Item(TagLib::StringList(TagLib::String(text.toStdString(), TagLib::String::UTF8))));
    }
    const QByteArray png = samplePng(qRgb(9, 9, 9));
    TagLib::MP4::CoverArtList covers;
    covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::PNG, TagLib::ByteVector(png.constData(), unsigned(png.size()))));
    tag->setItem("covr", TagLib::MP4::Item(covers));
    tag->setItem(GaplessKey, TagLib::MP4::Item(TagLib::StringList(GaplessValue)));
    return file.save();
}

} // namespace

class TestM4AWriter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void writesMappedItems_data();
    void writesMappedItems();
    void writesCoversWithFormat();
    void clearedPicturesLeaveAnEmptyCoverItem();
    void trackKeepsNumbersNotZeros_data();
    void trackKeepsNumbersNotZeros();
    void forcedSaveDropsUnknownItems();

private:
    QString prefilledCopy(const QString &name);

    QTemporaryDir m_dir;
};

void TestM4AWriter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir);
    SettingsRegistry::registerDefaults();
}

QString TestM4AWriter::prefilledCopy(const QString &name)
{
    const QString path = copyFixture(m_dir, QStringLiteral("silence.m4a"), name);
    return !path.isEmpty() && prefill(path) ? path : QString();
}

void TestM4AWriter::writesMappedItems_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("item");
    QTest::addColumn<QString>("itemText");
    QTest::addColumn<QString>("readBack");

    const QString unicode = QStringLiteral("Ünïcödé ☃ 𝄞 日本");
    const QString empty = QStringLiteral("");
    QTest::newRow("title") << "title" << unicode << QByteArray("\251nam") << unicode << unicode;
    QTest::newRow("title trimmed") << "title" << " Spaced\t" << QByteArray("\251nam") << "Spaced" << "Spaced";
    QTest::newRow("title removed") << "title" << empty << QByteArray("\251nam") << QString() << empty;
    QTest::newRow("artist") << "artist" << "An Artist" << QByteArray("\251ART") << "An Artist" << "An Artist";
    QTest::newRow("album") << "album" << "An Album" << QByteArray("\251alb") << "An Album" << "An Album";
    QTest::newRow("genre") << "genre" << "Jazz" << QByteArray("\251gen") << "Jazz" << "Jazz";
    QTest::newRow("year") << "year" << "1999" << QByteArray("\251day") << "1999" << "1999";
    QTest::newRow("year removed") << "year" << "0" << QByteArray("\251day") << QString() << "0";
    QTest::newRow("comment") << "comment" << "One\nTwo" << QByteArray("\251cmt") << "One\nTwo" << "One\nTwo";
    QTest::newRow("comment removed") << "comment" << empty << QByteArray("\251cmt") << QString() << empty;
    QTest::newRow("track n/N") << "track" << "03/12" << QByteArray("trkn") << "3/12" << "3/12";
    QTest::newRow("track /N") << "track" << "/12" << QByteArray("trkn") << "0/12" << "/12";
    QTest::newRow("track n/") << "track" << "7/" << QByteArray("trkn") << "7/0" << "7";
    QTest::newRow("track removed") << "track" << empty << QByteArray("trkn") << QString() << empty;
    QTest::newRow("track /") << "track" << "/" << QByteArray("trkn") << QString() << empty;
    QTest::newRow("disc n/N") << "disc" << "1/2" << QByteArray("disk") << "1/2" << "1/2";
    QTest::newRow("disc removed") << "disc" << empty << QByteArray("disk") << QString() << empty;
    QTest::newRow("lyrics") << "lyrics" << "La\nla " + unicode << QByteArray("\251lyr") << "La\nla " + unicode << "La\nla " + unicode;
    QTest::newRow("lyrics removed") << "lyrics" << empty << QByteArray("\251lyr") << QString() << empty;
    QTest::newRow("compilation 0") << "isCompilation" << "0" << QByteArray("cpil") << QString() << "0";
    QTest::newRow("album artist") << "albumArtist" << "Band" << QByteArray("aART") << "Band" << "Band";
    QTest::newRow("album artist removed") << "albumArtist" << empty << QByteArray("aART") << QString() << empty;
    QTest::newRow("composer") << "composer" << unicode << QByteArray("\251wrt") << unicode << unicode;
    QTest::newRow("composer removed") << "composer" << empty << QByteArray("\251wrt") << QString() << empty;
}

void TestM4AWriter::writesMappedItems()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QByteArray, item);
    QFETCH(QString, itemText);
    QFETCH(QString, readBack);

    const QString path = prefilledCopy(QStringLiteral("items.m4a"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->setValueForKey(field, value.isNull() ? QStringLiteral("") : value);
    QVERIFY(song->isModified());
    QCOMPARE(writeSong(song.get()).errorText, QString());
    QVERIFY(!song->isModified());

    {
        TagLib::MP4::File file(path.toUtf8().constData());
        const TagLib::MP4::Tag *tag = file.tag();
        QVERIFY(tag);
        QCOMPARE(describe(tag, item), itemText);
        for (const auto &[otherField, name, text] : prefilledItems()) {
            if (otherField != field)
                QCOMPARE(describe(tag, name), text);
        }
        QCOMPARE(tag->item("covr").toCoverArtList().size(), 1u);
    }
    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->valueForKey(field).toString(), readBack);
}

void TestM4AWriter::writesCoversWithFormat()
{
    const QString path = prefilledCopy(QStringLiteral("covers.m4a"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->removeAllImages();
    const QByteArray jpeg = sampleJpeg(qRgb(200, 0, 0));
    const QByteArray png = samplePng(qRgb(0, 200, 0));
    const QByteArray notJpeg = QByteArray::fromHex("ffd8ffe0") + QByteArray(20, 'x');
    for (const QByteArray &bytes : {jpeg, png, notJpeg})
        song->addImage(Image(bytes));
    QCOMPARE(writeSong(song.get()).errorText, QString());

    {
        TagLib::MP4::File file(path.toUtf8().constData());
        const TagLib::MP4::CoverArtList covers = file.tag()->item("covr").toCoverArtList();
        QCOMPARE(covers.size(), 3u);
        const QList<std::pair<QByteArray, TagLib::MP4::CoverArt::Format>> wanted = {
            {jpeg, TagLib::MP4::CoverArt::JPEG},
            {png, TagLib::MP4::CoverArt::PNG},
            {notJpeg, TagLib::MP4::CoverArt::PNG},
        };
        int index = 0;
        for (const TagLib::MP4::CoverArt &cover : covers) {
            QCOMPARE(QByteArray(cover.data().data(), int(cover.data().size())), wanted.at(index).first);
            QCOMPARE(cover.format(), wanted.at(index).second);
            ++index;
        }
    }
    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->countOfImages(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY(reread->objectInImagesAtIndex(i) == song->objectInImagesAtIndex(i));
}

void TestM4AWriter::clearedPicturesLeaveAnEmptyCoverItem()
{
    const QString path = prefilledCopy(QStringLiteral("nocovers.m4a"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    QCOMPARE(song->countOfImages(), 1);
    song->removeAllImages();
    QCOMPARE(writeSong(song.get()).errorText, QString());

    // TagLib does not hand out an empty item when reading, so look at the atoms: the item list
    // still holds a "covr" atom, and it is empty (8 bytes: size and name).
    const QByteArray bytes = fileBytes(path);
    const qsizetype at = bytes.indexOf("covr");
    QVERIFY(at >= 4);
    QCOMPARE(qFromBigEndian<quint32>(bytes.constData() + at - 4), 8u);
    QCOMPARE(bytes.indexOf("covr", at + 1), -1);
    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->countOfImages(), 0);
}

void TestM4AWriter::trackKeepsNumbersNotZeros_data()
{
    QTest::addColumn<bool>("leadingZeros");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("leading zeros off") << false << "3/12";
    QTest::newRow("leading zeros on") << true << "03/12";
}

void TestM4AWriter::trackKeepsNumbersNotZeros()
{
    QFETCH(bool, leadingZeros);
    QFETCH(QString, readBack);

    const QString path = copyFixture(m_dir, QStringLiteral("silence.m4a"), QStringLiteral("zeros.m4a"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->setTrack(QStringLiteral("03/12"));
    song->setDisc(QStringLiteral("1/1"));
    QCOMPARE(writeSong(song.get()).errorText, QString());

    TagsReader reader;
    reader.setThreadCount(1);
    reader.setLeadingZeros(leadingZeros);
    SongList songs;
    reader.parseFiles({path}, &songs);
    QCOMPARE(songs.size(), size_t(1));
    QCOMPARE(songs.front()->track(), readBack);
    QCOMPARE(songs.front()->disc(), leadingZeros ? QStringLiteral("01/01") : QStringLiteral("1/1"));
}

void TestM4AWriter::forcedSaveDropsUnknownItems()
{
    const QString path = prefilledCopy(QStringLiteral("forced.m4a"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    QVERIFY(writeSong(song.get(), true).errorText.isEmpty());

    TagLib::MP4::File file(path.toUtf8().constData());
    const TagLib::MP4::Tag *tag = file.tag();
    QVERIFY(tag);
    for (const auto &[field, name, text] : prefilledItems())
        QCOMPARE(describe(tag, name), field.isEmpty() ? QString() : text);
    QCOMPARE(tag->item("covr").toCoverArtList().size(), 1u);
    // Without it the decoded audio would grow by the encoder's delay and padding.
    QCOMPARE(tag->item(GaplessKey).toStringList(), TagLib::StringList(GaplessValue));
}

QTEST_GUILESS_MAIN(TestM4AWriter)
#include "test_m4awriter.moc"
