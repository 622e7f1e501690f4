// The MP4 reader: generic fields and the items of the item list.

#include "fixtures.h"

#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/m4areader.h"

#include <QTemporaryDir>
#include <QTest>

#include <taglib/mp4coverart.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>

#include <functional>

namespace {

const TagLib::String LyricsKey("\xa9lyr", TagLib::String::Latin1);
const TagLib::String ComposerKey("\xa9wrt", TagLib::String::Latin1);

TagLib::StringList stringList(const QStringList &texts)
{
    TagLib::StringList list;
    for (const QString &text : texts)
        list.append(TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8));
    return list;
}

TagLib::MP4::CoverArt cover(const QByteArray &bytes)
{
    return TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::PNG,
                                 TagLib::ByteVector(bytes.constData(), unsigned(bytes.size())));
}

bool tagFile(const QString &path, const std::function<void(TagLib::MP4::Tag *)> &fill)
{
    TagLib::MP4::File file(path.toUtf8().constData());
    if (!file.tag())
        return false;
    fill(file.tag());
    return file.save();
}

std::unique_ptr<Song> readWith(const QString &path, bool leadingZeros = false)
{
    M4AReader reader;
    reader.setLeadingZeros(leadingZeros);
    return reader.parseFile(path);
}

} // namespace

class TestM4AReader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_counter = 0;

    QString freshCopy(const QString &extension = QStringLiteral("m4a"))
    {
        return copyFixture(m_dir, QStringLiteral("silence.m4a"),
                           QStringLiteral("copy%1.%2").arg(++m_counter).arg(extension));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        useTemporarySettings(m_dir);
    }

    void init()
    {
        UserDefaults::shared().setBool(false, QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST"));
        UserDefaults::shared().setBool(false, QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS"));
    }

    void readsEveryMappedItem()
    {
        const QString path = freshCopy();
        const QByteArray red = samplePng(qRgb(255, 0, 0));
        const QByteArray green = samplePng(qRgb(0, 255, 0));
        QVERIFY(tagFile(path, [&](TagLib::MP4::Tag *tag) {
            tag->setTitle(TagLib::String("Tïtle", TagLib::String::UTF8));
            tag->setArtist("Artist");
            tag->setAlbum("Album");
            tag->setGenre("Jazz");
            tag->setYear(2001);
            tag->setComment("Comment");
            tag->setItem("trkn", TagLib::MP4::Item(3, 12));
            tag->setItem("disk", TagLib::MP4::Item(1, 2));
            tag->setItem(LyricsKey, stringList({QStringLiteral("Line one\nLine two")}));
            TagLib::MP4::CoverArtList covers;
            covers.append(cover(red));
            covers.append(cover(green));
            covers.append(cover(red));
            tag->setItem("covr", covers);
            tag->setItem("cpil", TagLib::MP4::Item(true));
            tag->setItem("aART", stringList({QStringLiteral("Album Artist")}));
            tag->setItem(ComposerKey, stringList({QStringLiteral("Composer")}));
        }));

        const auto song = readWith(path);
        QCOMPARE(song->title(), QStringLiteral("Tïtle"));
        QCOMPARE(song->artist(), QStringLiteral("Artist"));
        QCOMPARE(song->album(), QStringLiteral("Album"));
        QCOMPARE(song->genre(), QStringLiteral("Jazz"));
        QCOMPARE(song->year(), qint64(2001));
        QCOMPARE(song->comment(), QStringLiteral("Comment"));
        QCOMPARE(song->track(), QStringLiteral("3/12"));
        QCOMPARE(song->disc(), QStringLiteral("1/2"));
        QCOMPARE(song->lyrics(), QStringLiteral("Line one\nLine two"));
        QCOMPARE(song->countOfImages(), 2);
        QCOMPARE(song->images().at(0).data(), red);
        QCOMPARE(song->images().at(1).data(), green);
        QCOMPARE(song->isCompilation(), qint64(1));
        QCOMPARE(song->albumArtist(), QStringLiteral("Album Artist"));
        QCOMPARE(song->composer(), QStringLiteral("Composer"));
        QVERIFY(song->bitrate() > 0);
        QCOMPARE(song->length(), 1);
    }

    void untaggedFileGivesEmptyFields()
    {
        const auto song = readWith(freshCopy(), true);
        QVERIFY(song->title().isEmpty() && song->track().isEmpty() && song->disc().isEmpty());
        QVERIFY(song->lyrics().isEmpty() && song->albumArtist().isEmpty() && song->composer().isEmpty());
        QCOMPARE(song->isCompilation(), qint64(0));
        QCOMPARE(song->countOfImages(), 0);
        QCOMPARE(song->length(), 1);
    }

    // Integer pairs become texts, with or without leading zeros; the same rule serves trkn and
    // disk.
    void formatsNumberPairs_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("leadingZeros");
        QTest::addColumn<QString>("expected");
        QTest::newRow("3/12 plain") << 3 << 12 << false << "3/12";
        QTest::newRow("3/12 zeros") << 3 << 12 << true << "03/12";
        QTest::newRow("3/5 plain") << 3 << 5 << false << "3/5";
        QTest::newRow("3/5 zeros") << 3 << 5 << true << "03/05";
        QTest::newRow("1/1 zeros") << 1 << 1 << true << "01/01";
        QTest::newRow("7/150 plain") << 7 << 150 << false << "7/150";
        QTest::newRow("7/150 zeros") << 7 << 150 << true << "007/150";
        QTest::newRow("3/1000 zeros") << 3 << 1000 << true << "0003/1000";
        QTest::newRow("3/12000 zeros") << 3 << 12000 << true << "00003/12000";
        QTest::newRow("12/12 zeros") << 12 << 12 << true << "12/12";
        QTest::newRow("0/12 plain") << 0 << 12 << false << "/12";
        QTest::newRow("0/12 zeros") << 0 << 12 << true << "/12";
        QTest::newRow("5/0 plain") << 5 << 0 << false << "5";
        QTest::newRow("5/0 zeros") << 5 << 0 << true << "5";
        QTest::newRow("0/0 zeros") << 0 << 0 << true << "";
    }

    void formatsNumberPairs()
    {
        QFETCH(int, number);
        QFETCH(int, count);
        QFETCH(bool, leadingZeros);
        QFETCH(QString, expected);
        const QString path = freshCopy();
        QVERIFY(tagFile(path, [&](TagLib::MP4::Tag *tag) {
            tag->setItem("trkn", TagLib::MP4::Item(number, count));
            tag->setItem("disk", TagLib::MP4::Item(number, count));
        }));
        const auto song = readWith(path, leadingZeros);
        QCOMPARE(song->track(), expected);
        QCOMPARE(song->disc(), expected);
    }

    // Items holding several strings are joined with one blank.
    void joinsStringLists_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("field");
        QTest::newRow("aART") << "aART" << "albumArtist";
        QTest::newRow("\xc2\xa9wrt") << "\xc2\xa9wrt" << "composer";
        QTest::newRow("\xc2\xa9lyr") << "\xc2\xa9lyr" << "lyrics";
    }

    void joinsStringLists()
    {
        QFETCH(QString, key);
        QFETCH(QString, field);
        const QString path = freshCopy();
        QVERIFY(tagFile(path, [&](TagLib::MP4::Tag *tag) {
            tag->setItem(TagLib::String(key.toLatin1().constData(), TagLib::String::Latin1),
                         stringList({QStringLiteral("A"), QStringLiteral("B")}));
        }));
        QCOMPARE(readWith(path)->valueForKey(field).toString(), QStringLiteral("A B"));
    }

    void m4bWithoutTrackItemHasNoTrack()
    {
        const QString path = freshCopy(QStringLiteral("m4b"));
        QVERIFY(tagFile(path, [](TagLib::MP4::Tag *tag) {
            tag->setTitle("Chapter");
            tag->setItem("disk", TagLib::MP4::Item(2, 3));
        }));
        const auto song = readWith(path, true);
        QCOMPARE(song->title(), QStringLiteral("Chapter"));
        QCOMPARE(song->track(), QString());
        QCOMPARE(song->disc(), QStringLiteral("02/03"));
    }

    // The album artist is read after the compilation item, so with the binding on it decides.
    void compilationFollowsAlbumArtistWhenBound_data()
    {
        QTest::addColumn<bool>("bind");
        QTest::addColumn<bool>("cpil");
        QTest::addColumn<QString>("albumArtist");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("false, bound, Various") << true << false << "Various" << qint64(1);
        QTest::newRow("true, bound, someone") << true << true << "Someone" << qint64(0);
        QTest::newRow("false, not bound, Various") << false << false << "Various" << qint64(0);
        QTest::newRow("true, not bound, someone") << false << true << "Someone" << qint64(1);
        QTest::newRow("true, bound, no album artist") << true << true << "" << qint64(1);
    }

    void compilationFollowsAlbumArtistWhenBound()
    {
        QFETCH(bool, bind);
        QFETCH(bool, cpil);
        QFETCH(QString, albumArtist);
        QFETCH(qint64, expected);
        UserDefaults::shared().setBool(bind, QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS"));
        const QString path = freshCopy();
        QVERIFY(tagFile(path, [&](TagLib::MP4::Tag *tag) {
            tag->setItem("cpil", TagLib::MP4::Item(cpil));
            if (!albumArtist.isEmpty())
                tag->setItem("aART", stringList({albumArtist}));
        }));
        QCOMPARE(readWith(path)->isCompilation(), expected);
    }
};

QTEST_GUILESS_MAIN(TestM4AReader)
#include "test_m4areader.moc"
