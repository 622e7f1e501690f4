// The FLAC reader: Xiph comment fields and picture blocks.

#include "fixtures.h"

#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/flacreader.h"

#include <QTemporaryDir>
#include <QTest>

#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/xiphcomment.h>

namespace {

TagLib::String tl(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

// Adds "KEY=value" fields in order (a key may repeat) and one picture block per entry.
bool tagFile(const QString &path, const QStringList &fields, const QList<QByteArray> &pictures = {})
{
    TagLib::FLAC::File file(path.toUtf8().constData());
    TagLib::Ogg::XiphComment *comment = file.xiphComment(true);
    for (const QString &field : fields) {
        const qsizetype equals = field.indexOf(u'=');
        comment->addField(tl(field.left(equals)), tl(field.mid(equals + 1)), false);
    }
    for (const QByteArray &bytes : pictures) {
        auto *picture = new TagLib::FLAC::Picture;
        picture->setType(TagLib::FLAC::Picture::FrontCover);
        picture->setMimeType("image/png");
        picture->setData(TagLib::ByteVector(bytes.constData(), unsigned(bytes.size())));
        file.addPicture(picture);
    }
    return file.save();
}

} // namespace

class TestFLACReader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_counter = 0;

    QString freshCopy()
    {
        return copyFixture(m_dir, QStringLiteral("silence.flac"), QStringLiteral("copy%1.flac").arg(++m_counter));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        useTemporarySettings(m_dir);
        UserDefaults::shared().setBool(false, QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST"));
        UserDefaults::shared().setBool(false, QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS"));
    }

    void readsEveryMappedField()
    {
        const QString path = freshCopy();
        const QByteArray red = samplePng(qRgb(255, 0, 0));
        const QByteArray blue = samplePng(qRgb(0, 0, 255));
        QVERIFY(tagFile(path,
                        {"TITLE=Tītle", "ARTIST=Artist", "ALBUM=Album", "GENRE=Jazz", "DATE=1999",
                         "COMMENT=Comment", "TRACKNUMBER=05", "TRACKTOTAL=12", "LYRICS=Line one\nLine two",
                         "COMPILATION=1", "ALBUMARTIST=Album Artist", "COMPOSER=Composer", "DISCNUMBER=1",
                         "DISCTOTAL=2"},
                        {red, blue}));
        const auto song = FLACReader().parseFile(path);
        QCOMPARE(song->title(), QStringLiteral("Tītle"));
        QCOMPARE(song->artist(), QStringLiteral("Artist"));
        QCOMPARE(song->album(), QStringLiteral("Album"));
        QCOMPARE(song->genre(), QStringLiteral("Jazz"));
        QCOMPARE(song->year(), qint64(1999));
        QCOMPARE(song->comment(), QStringLiteral("Comment"));
        QCOMPARE(song->track(), QStringLiteral("05/12"));
        QCOMPARE(song->lyrics(), QStringLiteral("Line one\nLine two"));
        QCOMPARE(song->countOfImages(), 2);
        QCOMPARE(song->images().at(0).data(), red);
        QCOMPARE(song->images().at(1).data(), blue);
        QCOMPARE(song->isCompilation(), qint64(1));
        QCOMPARE(song->albumArtist(), QStringLiteral("Album Artist"));
        QCOMPARE(song->composer(), QStringLiteral("Composer"));
        QCOMPARE(song->disc(), QStringLiteral("1/2"));
        QVERIFY(song->bitrate() > 0);
        QCOMPARE(song->length(), 1);
    }

    // How number, total, album-artist and compilation keys combine.
    void combinesKeys_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number and total") << QStringList{"TRACKNUMBER=05", "TRACKTOTAL=12"} << "track" << "05/12";
        QTest::newRow("total only") << QStringList{"TRACKTOTAL=12"} << "track" << "/12";
        QTest::newRow("pair and total") << QStringList{"TRACKNUMBER=3/12", "TRACKTOTAL=12"} << "track" << "";
        QTest::newRow("pair alone") << QStringList{"TRACKNUMBER=3/12"} << "track" << "3/12";
        QTest::newRow("invalid number") << QStringList{"TRACKNUMBER=x"} << "track" << "";
        QTest::newRow("invalid number, total") << QStringList{"TRACKNUMBER=x", "TRACKTOTAL=9"} << "track" << "/9";
        QTest::newRow("first of two values") << QStringList{"TRACKNUMBER=7", "TRACKNUMBER=9"} << "track" << "7";
        QTest::newRow("invalid total") << QStringList{"TRACKNUMBER=4", "TRACKTOTAL=many"} << "track" << "";
        QTest::newRow("disc and total") << QStringList{"DISCNUMBER=1", "DISCTOTAL=2"} << "disc" << "1/2";
        QTest::newRow("disc total only") << QStringList{"DISCTOTAL=2"} << "disc" << "/2";
        QTest::newRow("disc alone") << QStringList{"DISCNUMBER=02"} << "disc" << "02";
        QTest::newRow("album artist before ensemble")
            << QStringList{"ENSEMBLE=Y", "ALBUM ARTIST=X"} << "albumArtist" << "X";
        QTest::newRow("ALBUMARTIST first")
            << QStringList{"ALBUM_ARTIST=Z", "ALBUM ARTIST=X", "ALBUMARTIST=W"} << "albumArtist" << "W";
        QTest::newRow("underscore before ensemble")
            << QStringList{"ENSEMBLE=Y", "ALBUM_ARTIST=Z"} << "albumArtist" << "Z";
        QTest::newRow("ensemble alone") << QStringList{"ENSEMBLE=Y"} << "albumArtist" << "Y";
        QTest::newRow("compilation 1") << QStringList{"COMPILATION=1"} << "isCompilation" << "1";
        QTest::newRow("compilation 0") << QStringList{"COMPILATION=0"} << "isCompilation" << "0";
        QTest::newRow("compilation absent") << QStringList{"TITLE=T"} << "isCompilation" << "0";
        QTest::newRow("compilation text") << QStringList{"COMPILATION=yes"} << "isCompilation" << "0";
        QTest::newRow("lower-case key") << QStringList{"composer=C"} << "composer" << "C";
    }

    void combinesKeys()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, property);
        QFETCH(QString, expected);
        const QString path = freshCopy();
        QVERIFY(tagFile(path, fields));
        QCOMPARE(FLACReader().parseFile(path)->valueForKey(property).toString(), expected);
    }

    void dropsRepeatedPictures()
    {
        const QString path = freshCopy();
        const QByteArray red = samplePng(qRgb(255, 0, 0));
        const QByteArray blue = samplePng(qRgb(0, 0, 255));
        QVERIFY(tagFile(path, {}, {red, red, blue, red}));
        const auto song = FLACReader().parseFile(path);
        QCOMPARE(song->countOfImages(), 2);
        QCOMPARE(song->images().at(0).data(), red);
        QCOMPARE(song->images().at(1).data(), blue);
    }

    void untaggedFileGivesEmptyFields()
    {
        const auto song = FLACReader().parseFile(freshCopy());
        QVERIFY(song->title().isEmpty() && song->track().isEmpty() && song->disc().isEmpty());
        QVERIFY(song->albumArtist().isEmpty() && song->comment().isEmpty());
        QCOMPARE(song->countOfImages(), 0);
        QCOMPARE(song->length(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFLACReader)
#include "test_flacreader.moc"
