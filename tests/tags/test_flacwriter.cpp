#include "fixtures.h"
#include "savetesting.h"

#include "editor/settingsregistry.h"
#include "model/image.h"
#include "model/song.h"

#include <QTemporaryDir>
#include <QTest>

#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/xiphcomment.h>

namespace {

QString toQ(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

TagLib::String fromQ(const QString &text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

// All values of a key joined by "|"; "" when the key is absent.
QString values(const TagLib::Ogg::XiphComment *comment, const QString &key)
{
    const TagLib::Ogg::FieldListMap &fields = comment->fieldListMap();
    const auto it = fields.find(fromQ(key));
    if (it == fields.end())
        return {};
    QStringList texts;
    for (const TagLib::String &text : it->second)
        texts.append(toQ(text));
    return texts.join(u'|');
}

const QStringList AlbumArtistKeys = {QStringLiteral("ALBUMARTIST"), QStringLiteral("ALBUM ARTIST"),
                                     QStringLiteral("ALBUM_ARTIST"), QStringLiteral("ENSEMBLE")};

// The keys prefill() writes, by song property ("" for keys the system never reads).
const QList<std::tuple<QString, QString, QString>> &prefilledKeys()
{
    static const QList<std::tuple<QString, QString, QString>> keys = {
        {QStringLiteral("title"), QStringLiteral("TITLE"), QStringLiteral("Old title")},
        {QStringLiteral("artist"), QStringLiteral("ARTIST"), QStringLiteral("Old artist")},
        {QStringLiteral("album"), QStringLiteral("ALBUM"), QStringLiteral("Old album")},
        {QStringLiteral("genre"), QStringLiteral("GENRE"), QStringLiteral("Old genre")},
        {QStringLiteral("year"), QStringLiteral("DATE"), QStringLiteral("1970")},
        {QStringLiteral("comment"), QStringLiteral("COMMENT"), QStringLiteral("Old comment")},
        {QStringLiteral("track"), QStringLiteral("TRACKNUMBER"), QStringLiteral("3")},
        {QStringLiteral("track"), QStringLiteral("TRACKTOTAL"), QStringLiteral("9")},
        {QStringLiteral("disc"), QStringLiteral("DISCNUMBER"), QStringLiteral("2")},
        {QStringLiteral("disc"), QStringLiteral("DISCTOTAL"), QStringLiteral("5")},
        {QStringLiteral("lyrics"), QStringLiteral("LYRICS"), QStringLiteral("Old lyrics")},
        {QStringLiteral("isCompilation"), QStringLiteral("COMPILATION"), QStringLiteral("1")},
        {QStringLiteral("albumArtist"), QStringLiteral("ALBUMARTIST"), QStringLiteral("Old album artist")},
        {QStringLiteral("albumArtist"), QStringLiteral("ALBUM ARTIST"), QStringLiteral("Old album artist")},
        {QStringLiteral("albumArtist"), QStringLiteral("ALBUM_ARTIST"), QStringLiteral("Old album artist")},
        {QStringLiteral("albumArtist"), QStringLiteral("ENSEMBLE"), QStringLiteral("Old album artist")},
        {QStringLiteral("composer"), QStringLiteral("COMPOSER"), QStringLiteral("Old composer")},
        {QString(), QStringLiteral("REPLAYGAIN_TRACK_GAIN"), QStringLiteral("-6.50 dB")},
        {QString(), QStringLiteral("CUSTOM"), QStringLiteral("Kept|Twice")},
    };
    return keys;
}

bool prefill(const QString &path)
{
    TagLib::FLAC::File file(path.toUtf8().constData());
    TagLib::Ogg::XiphComment *comment = file.xiphComment(true);
    for (const auto &[field, key, text] : prefilledKeys()) {
        for (const QString &value : text.split(u'|'))
            comment->addField(fromQ(key), fromQ(value), false);
    }
    const QByteArray png = samplePng(qRgb(9, 9, 9));
    auto *picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::BackCover);
    picture->setMimeType("image/png");
    picture->setData(TagLib::ByteVector(png.constData(), unsigned(png.size())));
    file.addPicture(picture);
    return file.save();
}

} // namespace

class TestFLACWriter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void writesMappedKeys_data();
    void writesMappedKeys();
    void writesPictureBlocks();
    void forcedSaveDropsUnknownKeysAndPictures();

private:
    QString prefilledCopy(const QString &name);

    QTemporaryDir m_dir;
};

void TestFLACWriter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir);
    SettingsRegistry::registerDefaults();
}

QString TestFLACWriter::prefilledCopy(const QString &name)
{
    const QString path = copyFixture(m_dir, QStringLiteral("silence.flac"), name);
    return !path.isEmpty() && prefill(path) ? path : QString();
}

void TestFLACWriter::writesMappedKeys_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("keyValues"); // "" for a key that must be absent
    QTest::addColumn<QString>("readBack");

    const QString unicode = QStringLiteral("Ünïcödé ☃ 𝄞 日本");
    const QString empty = QStringLiteral("");
    const auto one = [](const char *key) { return QStringList{QString::fromLatin1(key)}; };
    const auto same = [](const QString &value) { return QStringList(4, value); };
    QTest::newRow("title") << "title" << unicode << one("TITLE") << QStringList{unicode} << unicode;
    QTest::newRow("title removed") << "title" << empty << one("TITLE") << QStringList{QString()} << empty;
    QTest::newRow("artist") << "artist" << "An Artist" << one("ARTIST") << QStringList{"An Artist"} << "An Artist";
    QTest::newRow("album") << "album" << "An Album" << one("ALBUM") << QStringList{"An Album"} << "An Album";
    QTest::newRow("genre") << "genre" << "Jazz" << one("GENRE") << QStringList{"Jazz"} << "Jazz";
    QTest::newRow("year") << "year" << "1999" << one("DATE") << QStringList{"1999"} << "1999";
    QTest::newRow("year removed") << "year" << "0" << one("DATE") << QStringList{QString()} << "0";
    QTest::newRow("comment") << "comment" << "One\nTwo" << one("COMMENT") << QStringList{"One\nTwo"} << "One\nTwo";
    QTest::newRow("comment removed") << "comment" << empty << one("COMMENT") << QStringList{QString()} << empty;
    QTest::newRow("track n/N zeros") << "track" << "07/12" << QStringList{"TRACKNUMBER", "TRACKTOTAL"}
                                     << QStringList{"07", "12"} << "07/12";
    QTest::newRow("track n drops total") << "track" << "7" << QStringList{"TRACKNUMBER", "TRACKTOTAL"}
                                         << QStringList{"7", QString()} << "7";
    QTest::newRow("track /N") << "track" << "/12" << QStringList{"TRACKNUMBER", "TRACKTOTAL"}
                              << QStringList{QString(), "12"} << "/12";
    QTest::newRow("track removed") << "track" << empty << QStringList{"TRACKNUMBER", "TRACKTOTAL"}
                                   << QStringList{QString(), QString()} << empty;
    QTest::newRow("disc n/N") << "disc" << "1/2" << QStringList{"DISCNUMBER", "DISCTOTAL"}
                              << QStringList{"1", "2"} << "1/2";
    QTest::newRow("disc removed") << "disc" << empty << QStringList{"DISCNUMBER", "DISCTOTAL"}
                                  << QStringList{QString(), QString()} << empty;
    QTest::newRow("lyrics") << "lyrics" << "La\nla " + unicode << one("LYRICS") << QStringList{"La\nla " + unicode}
                            << "La\nla " + unicode;
    QTest::newRow("lyrics removed") << "lyrics" << empty << one("LYRICS") << QStringList{QString()} << empty;
    QTest::newRow("compilation 0") << "isCompilation" << "0" << one("COMPILATION") << QStringList{QString()} << "0";
    QTest::newRow("album artist") << "albumArtist" << "X" << AlbumArtistKeys << same(QStringLiteral("X")) << "X";
    QTest::newRow("album artist removed") << "albumArtist" << empty << AlbumArtistKeys << same(QString()) << empty;
    QTest::newRow("composer") << "composer" << unicode << one("COMPOSER") << QStringList{unicode} << unicode;
    QTest::newRow("composer removed") << "composer" << empty << one("COMPOSER") << QStringList{QString()} << empty;
}

void TestFLACWriter::writesMappedKeys()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, keyValues);
    QFETCH(QString, readBack);

    const QString path = prefilledCopy(QStringLiteral("keys.flac"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->setValueForKey(field, value.isNull() ? QStringLiteral("") : value);
    QVERIFY(song->isModified());
    QCOMPARE(writeSong(song.get()).errorText, QString());
    QVERIFY(!song->isModified());

    {
        TagLib::FLAC::File file(path.toUtf8().constData());
        const TagLib::Ogg::XiphComment *comment = file.xiphComment();
        QVERIFY(comment);
        for (qsizetype i = 0; i < keys.size(); ++i)
            QCOMPARE(values(comment, keys.at(i)), keyValues.at(i));
        for (const auto &[otherField, key, text] : prefilledKeys()) {
            if (otherField != field)
                QCOMPARE(values(comment, key), text);
        }
        QCOMPARE(file.pictureList().size(), 1u);
    }
    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->valueForKey(field).toString(), readBack);
}

void TestFLACWriter::writesPictureBlocks()
{
    const QString path = prefilledCopy(QStringLiteral("pictures.flac"));
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
        TagLib::FLAC::File file(path.toUtf8().constData());
        const TagLib::List<TagLib::FLAC::Picture *> pictures = file.pictureList();
        QCOMPARE(pictures.size(), 3u);
        const QList<std::pair<QByteArray, QString>> wanted = {
            {jpeg, QStringLiteral("image/jpeg")},
            {png, QStringLiteral("image/png")},
            {notJpeg, QStringLiteral("image/png")},
        };
        int index = 0;
        for (const TagLib::FLAC::Picture *picture : pictures) {
            QCOMPARE(QByteArray(picture->data().data(), int(picture->data().size())), wanted.at(index).first);
            QCOMPARE(toQ(picture->mimeType()), wanted.at(index).second);
            ++index;
        }
        // The unread keys are not touched by a picture change.
        QCOMPARE(values(file.xiphComment(), QStringLiteral("REPLAYGAIN_TRACK_GAIN")), QStringLiteral("-6.50 dB"));
    }
    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->countOfImages(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY(reread->objectInImagesAtIndex(i) == song->objectInImagesAtIndex(i));

    reread->removeAllImages();
    QCOMPARE(writeSong(reread.get()).errorText, QString());
    TagLib::FLAC::File file(path.toUtf8().constData());
    QVERIFY(file.pictureList().isEmpty());
}

void TestFLACWriter::forcedSaveDropsUnknownKeysAndPictures()
{
    const QString path = prefilledCopy(QStringLiteral("forced.flac"));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    QVERIFY(writeSong(song.get(), true).errorText.isEmpty());

    TagLib::FLAC::File file(path.toUtf8().constData());
    const TagLib::Ogg::XiphComment *comment = file.xiphComment();
    QVERIFY(comment);
    for (const auto &[field, key, text] : prefilledKeys())
        QCOMPARE(values(comment, key), field.isEmpty() ? QString() : text);
    // The picture comes back from the song, as the one block it wrote.
    QCOMPARE(file.pictureList().size(), 1u);
    QCOMPARE(file.pictureList().front()->type(), TagLib::FLAC::Picture::Other);
}

QTEST_GUILESS_MAIN(TestFLACWriter)
#include "test_flacwriter.moc"
