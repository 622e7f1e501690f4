// End-to-end runs of quorl-cli: the JSON contract of "read", the exit codes, setting overrides,
// "covers --extract" and the handling of names that are not valid UTF-8.

#include "model/localized.h"

#include <QBuffer>
#include <QColor>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Values written into a fixture copy. Track and disc are number and count; 0 leaves them out.
struct Tags {
    QString title, artist, album, albumArtist, composer, genre, comment, lyrics;
    int track = 0, trackCount = 0, disc = 0, discCount = 0;
    unsigned year = 0;
    bool compilation = false;
    QList<QByteArray> pictures;
};

TagLib::String tagText(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

TagLib::ByteVector bytes(const QByteArray &data)
{
    return TagLib::ByteVector(data.constData(), unsigned(data.size()));
}

QString pairText(int number, int count)
{
    return count ? QStringLiteral("%1/%2").arg(number).arg(count) : QString::number(number);
}

bool isPng(const QByteArray &data)
{
    return data.startsWith("\x89PNG");
}

void addTextFrame(TagLib::ID3v2::Tag *tag, const char *id, const QString &text)
{
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(tagText(text));
    tag->addFrame(frame);
}

void fillId3(TagLib::ID3v2::Tag *tag, const Tags &tags)
{
    tag->setTitle(tagText(tags.title));
    tag->setArtist(tagText(tags.artist));
    tag->setAlbum(tagText(tags.album));
    tag->setGenre(tagText(tags.genre));
    tag->setComment(tagText(tags.comment));
    tag->setYear(tags.year);
    if (tags.track)
        addTextFrame(tag, "TRCK", pairText(tags.track, tags.trackCount));
    if (tags.disc)
        addTextFrame(tag, "TPOS", pairText(tags.disc, tags.discCount));
    if (!tags.albumArtist.isEmpty())
        addTextFrame(tag, "TPE2", tags.albumArtist);
    if (!tags.composer.isEmpty())
        addTextFrame(tag, "TCOM", tags.composer);
    if (tags.compilation)
        addTextFrame(tag, "TCMP", QStringLiteral("1"));
    if (!tags.lyrics.isEmpty()) {
        auto *lyrics = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
        lyrics->setText(tagText(tags.lyrics));
        tag->addFrame(lyrics);
    }
    for (const QByteArray &picture : tags.pictures) {
        auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setMimeType(isPng(picture) ? "image/png" : "image/jpeg");
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        frame->setPicture(bytes(picture));
        tag->addFrame(frame);
    }
}

void fillMp4(TagLib::MP4::Tag *tag, const Tags &tags)
{
    tag->setTitle(tagText(tags.title));
    tag->setArtist(tagText(tags.artist));
    tag->setAlbum(tagText(tags.album));
    tag->setGenre(tagText(tags.genre));
    tag->setComment(tagText(tags.comment));
    tag->setYear(tags.year);
    if (tags.track)
        tag->setItem("trkn", TagLib::MP4::Item(tags.track, tags.trackCount));
    if (tags.disc)
        tag->setItem("disk", TagLib::MP4::Item(tags.disc, tags.discCount));
    if (!tags.albumArtist.isEmpty())
        tag->setItem("aART", TagLib::StringList(tagText(tags.albumArtist)));
    if (!tags.composer.isEmpty())
        tag->setItem("\251wrt", TagLib::StringList(tagText(tags.composer)));
    if (!tags.lyrics.isEmpty())
        tag->setItem("\251lyr", TagLib::StringList(tagText(tags.lyrics)));
    if (tags.compilation)
        tag->setItem("cpil", TagLib::MP4::Item(true));
    TagLib::MP4::CoverArtList covers;
    for (const QByteArray &picture : tags.pictures)
        covers.append(TagLib::MP4::CoverArt(isPng(picture) ? TagLib::MP4::CoverArt::PNG
                                                           : TagLib::MP4::CoverArt::JPEG,
                                            bytes(picture)));
    if (!covers.isEmpty())
        tag->setItem("covr", covers);
}

void fillFlac(TagLib::FLAC::File *file, const Tags &tags)
{
    TagLib::Ogg::XiphComment *comment = file->xiphComment(true);
    comment->setTitle(tagText(tags.title));
    comment->setArtist(tagText(tags.artist));
    comment->setAlbum(tagText(tags.album));
    comment->setGenre(tagText(tags.genre));
    comment->setComment(tagText(tags.comment));
    comment->setYear(tags.year);
    const auto field = [comment](const char *key, const QString &value) {
        if (!value.isEmpty() && value != u"0")
            comment->addField(key, tagText(value));
    };
    field("TRACKNUMBER", QString::number(tags.track));
    field("TRACKTOTAL", QString::number(tags.trackCount));
    field("DISCNUMBER", QString::number(tags.disc));
    field("DISCTOTAL", QString::number(tags.discCount));
    field("ALBUMARTIST", tags.albumArtist);
    field("COMPOSER", tags.composer);
    field("LYRICS", tags.lyrics);
    field("COMPILATION", tags.compilation ? QStringLiteral("1") : QString());
    for (const QByteArray &data : tags.pictures) {
        auto *picture = new TagLib::FLAC::Picture;
        picture->setType(TagLib::FLAC::Picture::FrontCover);
        picture->setMimeType(isPng(data) ? "image/png" : "image/jpeg");
        picture->setData(bytes(data));
        file->addPicture(picture);
    }
}

bool writeTags(const QString &path, const Tags &tags)
{
    const QByteArray name = QFile::encodeName(path);
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"mp3") {
        TagLib::MPEG::File file(name.constData());
        fillId3(file.ID3v2Tag(true), tags);
        return file.save(TagLib::MPEG::File::ID3v2);
    }
    if (extension == u"m4a") {
        TagLib::MP4::File file(name.constData());
        fillMp4(file.tag(), tags);
        return file.save();
    }
    if (extension == u"flac") {
        TagLib::FLAC::File file(name.constData());
        fillFlac(&file, tags);
        return file.save();
    }
    if (extension == u"aiff") {
        TagLib::RIFF::AIFF::File file(name.constData());
        fillId3(file.tag(), tags);
        return file.save();
    }
    if (extension == u"wav") {
        TagLib::RIFF::WAV::File file(name.constData());
        fillId3(file.ID3v2Tag(), tags);
        return file.save();
    }
    return false;
}

QByteArray makePicture(int width, int height, QRgb colour, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

QByteArray md5Hex(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex();
}

// The keys of the first object inside the outer array, in the order the text gives them.
QStringList keysOfFirstObject(const QByteArray &json)
{
    QStringList keys;
    int depth = 0;
    bool inString = false;
    QByteArray current;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json.at(i);
        if (inString) {
            if (c == '\\') {
                current += json.mid(i, 2);
                ++i;
            } else if (c == '"') {
                inString = false;
                qsizetype next = i + 1;
                while (next < json.size() && json.at(next) == ' ')
                    ++next;
                if (depth == 2 && next < json.size() && json.at(next) == ':')
                    keys.append(QString::fromUtf8(current));
            } else {
                current += c;
            }
        } else if (c == '"') {
            inString = true;
            current.clear();
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if (c == ']' || c == '}') {
            if (--depth == 1)
                return keys;
        }
    }
    return keys;
}

// Removes a file by the bytes of its name when the scope ends: QDir cannot remove a name that
// is not valid UTF-8, so the temporary folder could not be cleaned up otherwise.
struct RawFileRemover {
    QByteArray name;
    ~RawFileRemover() { ::unlink(name.constData()); }
};

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

class TestCliRead : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void readsEveryFormatAsJson_data();
    void readsEveryFormatAsJson();
    void untaggedFileReadsEmpty();
    void escapesTextsInJson();
    void listsFolderInWalkOrder();
    void printsSongsAsText();

    void usageErrorsExitWithTwo_data();
    void usageErrorsExitWithTwo();
    void helpListsCommands();

    void overridesApplyToThisRunOnly_data();
    void overridesApplyToThisRunOnly();

    void coversExtractWritesEachPictureOnce();
    void coversExtractNeverReplacesOtherFile();
    void coversDryRunWritesNothing();

    void answersRenameRestrictionQuestion_data();
    void answersRenameRestrictionQuestion();

    void skipsFolderEntryThatIsNotUtf8();
    void skipsArgumentThatIsNotUtf8();
    void reportsMissingPath();
    void reportsFileLeftByInterruptedRename();

private:
    Run run(const QStringList &arguments, const QString &home = QString());
    Run runShell(const QString &script);
    QString copyFixture(const QString &extension, const QString &name, const Tags &tags = {});

    QTemporaryDir m_work;
    QString m_config;
    QString m_songs;
    QByteArray m_jpeg;
    QByteArray m_png;
};

void TestCliRead::initTestCase()
{
    QVERIFY(m_work.isValid());
    QVERIFY(QFileInfo::exists(QStringLiteral(QUORL_CLI_PATH)));
    m_jpeg = makePicture(48, 32, qRgb(200, 40, 40), "JPG");
    m_png = makePicture(20, 24, qRgb(10, 90, 200), "PNG");
    QVERIFY(m_jpeg.startsWith("\xff\xd8"));
    QVERIFY(isPng(m_png));
}

void TestCliRead::init()
{
    // A fresh settings folder and song folder for every test function.
    static int round = 0;
    ++round;
    m_config = m_work.filePath(QStringLiteral("config%1").arg(round));
    m_songs = m_work.filePath(QStringLiteral("songs%1").arg(round));
    QVERIFY(QDir().mkpath(m_config));
    QVERIFY(QDir().mkpath(m_songs));
}

Run TestCliRead::run(const QStringList &arguments, const QString &home)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config);
    if (!home.isNull())
        environment.insert(QStringLiteral("HOME"), home);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_work.path());
    process.start(QStringLiteral(QUORL_CLI_PATH), arguments);
    process.closeWriteChannel();
    Run result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// Runs a shell script with the tool's path in $CLI, for arguments that must keep raw bytes.
Run TestCliRead::runShell(const QString &script)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config);
    environment.insert(QStringLiteral("CLI"), QStringLiteral(QUORL_CLI_PATH));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_songs);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    process.closeWriteChannel();
    Run result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString TestCliRead::copyFixture(const QString &extension, const QString &name, const Tags &tags)
{
    const QString source = QStringLiteral(QUORL_TEST_DATA_DIR "/silence.") + extension;
    const QString target = m_songs + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(source, target))
        return QString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    // Tags without a title stand for an untagged copy.
    if (!tags.title.isNull() && !writeTags(target, tags))
        return QString();
    return target;
}

void TestCliRead::readsEveryFormatAsJson_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("pngCover");
    QTest::newRow("mp3") << QStringLiteral("mp3") << false;
    QTest::newRow("m4a") << QStringLiteral("m4a") << true;
    QTest::newRow("flac") << QStringLiteral("flac") << true;
    QTest::newRow("aiff") << QStringLiteral("aiff") << false;
    QTest::newRow("wav") << QStringLiteral("wav") << false;
}

void TestCliRead::readsEveryFormatAsJson()
{
    QFETCH(QString, extension);
    QFETCH(bool, pngCover);
    Tags tags;
    tags.title = QStringLiteral("Blue Hour");
    tags.artist = QStringLiteral("Nina Åberg");
    tags.album = QStringLiteral("Coastlines");
    tags.albumArtist = QStringLiteral("Various Artists");
    tags.composer = QStringLiteral("J. Moreau");
    tags.genre = QStringLiteral("Jazz");
    tags.comment = QStringLiteral("live take");
    tags.lyrics = QStringLiteral("first line\nsecond line");
    tags.track = 3;
    tags.trackCount = 12;
    tags.disc = 1;
    tags.discCount = 2;
    tags.year = 1999;
    tags.compilation = true;
    tags.pictures = {pngCover ? m_png : m_jpeg};
    const QString path = copyFixture(extension, QStringLiteral("Blue Hour.") + extension, tags);
    QVERIFY(!path.isEmpty());

    const Run result = run({QStringLiteral("-D"), QStringLiteral("NUMBERING_LEADING_ZERO=false"),
                            QStringLiteral("read"), QStringLiteral("--json"), path});
    QCOMPARE(result.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(document.isArray());
    QCOMPARE(document.array().size(), 1);

    const QStringList expectedKeys = {
        "filePath", "fileName", "track", "title", "artist", "albumArtist", "composer", "album",
        "disc", "genre", "year", "comment", "lyrics", "isCompilation", "bitrate", "length",
        "isRenamable", "isModified", "images"};
    QCOMPARE(keysOfFirstObject(result.out), expectedKeys);

    const QJsonObject song = document.array().at(0).toObject();
    QCOMPARE(song.value("filePath").toString(), path);
    QCOMPARE(song.value("fileName").toString(), QStringLiteral("Blue Hour.") + extension);
    QCOMPARE(song.value("track").toString(), QStringLiteral("3/12"));
    QCOMPARE(song.value("disc").toString(), QStringLiteral("1/2"));
    QCOMPARE(song.value("title").toString(), tags.title);
    QCOMPARE(song.value("artist").toString(), tags.artist);
    QCOMPARE(song.value("albumArtist").toString(), tags.albumArtist);
    QCOMPARE(song.value("composer").toString(), tags.composer);
    QCOMPARE(song.value("album").toString(), tags.album);
    QCOMPARE(song.value("genre").toString(), tags.genre);
    QCOMPARE(song.value("lyrics").toString(), tags.lyrics);
    // Numbers are JSON numbers, not texts.
    QVERIFY(song.value("year").isDouble());
    QCOMPARE(song.value("year").toInteger(), 1999);
    QCOMPARE(song.value("isCompilation").toInteger(), 1);
    QVERIFY(song.value("bitrate").isDouble());
    QVERIFY(song.value("bitrate").toInteger() > 0);
    QCOMPARE(song.value("length").toInteger(), 1);
    QCOMPARE(song.value("isRenamable").toBool(false), true);
    QCOMPARE(song.value("isModified").toBool(true), false);
    QCOMPARE(song.value("comment").toString(), tags.comment);

    const QJsonArray images = song.value("images").toArray();
    QCOMPARE(images.size(), 1);
    const QJsonObject image = images.at(0).toObject();
    const QByteArray &picture = pngCover ? m_png : m_jpeg;
    QCOMPARE(image.value("md5").toString().toLatin1(), md5Hex(picture));
    QCOMPARE(image.value("bytes").toInteger(), picture.size());
    QCOMPARE(image.value("mime").toString(), pngCover ? QStringLiteral("image/png") : QStringLiteral("image/jpeg"));
    QCOMPARE(image.value("width").toInteger(), pngCover ? 20 : 48);
    QCOMPARE(image.value("height").toInteger(), pngCover ? 24 : 32);
}

void TestCliRead::untaggedFileReadsEmpty()
{
    const QString path = copyFixture(QStringLiteral("flac"), QStringLiteral("plain.flac"));
    QVERIFY(!path.isEmpty());
    const Run result = run({QStringLiteral("--json"), QStringLiteral("read"), path});
    QCOMPARE(result.exitCode, 0);
    const QJsonObject song = QJsonDocument::fromJson(result.out).array().at(0).toObject();
    QCOMPARE(song.value("fileName").toString(), QStringLiteral("plain.flac"));
    for (const char *key : {"track", "title", "artist", "albumArtist", "composer", "album", "disc",
                            "genre", "comment", "lyrics"})
        QCOMPARE(song.value(key).toString(QStringLiteral("absent")), QString());
    QCOMPARE(song.value("year").toInteger(-1), 0);
    QCOMPARE(song.value("isCompilation").toInteger(-1), 0);
    QVERIFY(song.value("images").isArray());
    QVERIFY(song.value("images").toArray().isEmpty());
}

void TestCliRead::escapesTextsInJson()
{
    Tags tags;
    tags.title = QStringLiteral("Say \"hi\" \\ back\tnow \u2713 ") + QString::fromUtf8("\xF0\x9F\x8E\xB5");
    tags.artist = QStringLiteral("bell\x01" "char");
    tags.lyrics = QStringLiteral("one\r\ntwo");
    const QString path = copyFixture(QStringLiteral("mp3"), QStringLiteral("quote \"mark\".mp3"), tags);
    QVERIFY(!path.isEmpty());
    const Run result = run({QStringLiteral("read"), QStringLiteral("--json"), path});
    QCOMPARE(result.exitCode, 0);
    QJsonParseError error;
    const QJsonArray songs = QJsonDocument::fromJson(result.out, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject song = songs.at(0).toObject();
    QCOMPARE(song.value("title").toString(), tags.title.trimmed());
    QCOMPARE(song.value("artist").toString(), tags.artist);
    QCOMPARE(song.value("lyrics").toString(), tags.lyrics);
    QCOMPARE(song.value("fileName").toString(), QStringLiteral("quote \"mark\".mp3"));
    QVERIFY(result.out.contains("\\u0001"));
}

void TestCliRead::listsFolderInWalkOrder()
{
    Tags tags;
    tags.title = QStringLiteral("x");
    QVERIFY(!copyFixture(QStringLiteral("mp3"), QStringLiteral("album/b.mp3"), tags).isEmpty());
    QVERIFY(!copyFixture(QStringLiteral("flac"), QStringLiteral("album/A/x.flac"), tags).isEmpty());
    QVERIFY(!copyFixture(QStringLiteral("wav"), QStringLiteral("album/c.WAV"), tags).isEmpty());
    QVERIFY(!copyFixture(QStringLiteral("m4a"), QStringLiteral("album/d.mp4")).isEmpty());
    QFile notes(m_songs + QStringLiteral("/album/notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    const QString loose = copyFixture(QStringLiteral("aiff"), QStringLiteral("loose.aiff"), tags);

    // A relative folder path is made absolute; the folder is walked depth first in
    // case-insensitive name order; the file given after it comes last.
    const Run result = run({QStringLiteral("read"), QStringLiteral("--json"),
                            QFileInfo(m_songs).fileName() + QStringLiteral("/album"), loose});
    QCOMPARE(result.exitCode, 0);
    QStringList paths;
    for (const QJsonValue &song : QJsonDocument::fromJson(result.out).array())
        paths.append(song.toObject().value("filePath").toString());
    QCOMPARE(paths, QStringList({m_songs + QStringLiteral("/album/A/x.flac"),
                                 m_songs + QStringLiteral("/album/b.mp3"),
                                 m_songs + QStringLiteral("/album/c.WAV"), loose}));
}

void TestCliRead::printsSongsAsText()
{
    Tags tags;
    tags.title = QStringLiteral("Night Train");
    tags.artist = QStringLiteral("The Rails");
    tags.track = 7;
    tags.pictures = {m_jpeg};
    const QString path = copyFixture(QStringLiteral("mp3"), QStringLiteral("07.mp3"), tags);
    const Run result = run({QStringLiteral("read"), path});
    QCOMPARE(result.exitCode, 0);
    const QString text = QString::fromUtf8(result.out);
    QVERIFY2(text.startsWith(path + QLatin1Char('\n')), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Night Train")));
    QVERIFY(text.contains(QStringLiteral("The Rails")));
    QVERIFY(text.contains(QStringLiteral("image/jpeg")));
    QVERIFY(!text.trimmed().startsWith(u'['));
}

void TestCliRead::usageErrorsExitWithTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString song = QStringLiteral(QUORL_TEST_DATA_DIR "/silence.mp3");
    QTest::newRow("no command") << QStringList{QStringLiteral("--json")};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate"), song};
    QTest::newRow("unknown global option") << QStringList{QStringLiteral("--loud"), QStringLiteral("read"), song};
    QTest::newRow("unknown command option") << QStringList{QStringLiteral("read"), QStringLiteral("--extract"), QStringLiteral("x"), song};
    QTest::newRow("unknown short option") << QStringList{QStringLiteral("read"), QStringLiteral("-q"), song};
    QTest::newRow("flag with a value") << QStringList{QStringLiteral("--json=1"), QStringLiteral("read"), song};
    QTest::newRow("missing option value") << QStringList{QStringLiteral("covers"), song, QStringLiteral("--extract")};
    QTest::newRow("no paths") << QStringList{QStringLiteral("read")};
    QTest::newRow("unknown setting") << QStringList{QStringLiteral("-D"), QStringLiteral("NO_SUCH_SETTING=1"), QStringLiteral("read"), song};
    QTest::newRow("setting without value") << QStringList{QStringLiteral("-DNUMBERING_LEADING_ZERO"), QStringLiteral("read"), song};
    QTest::newRow("bad boolean") << QStringList{QStringLiteral("-D"), QStringLiteral("NUMBERING_LEADING_ZERO=maybe"), QStringLiteral("read"), song};
    QTest::newRow("bad integer") << QStringList{QStringLiteral("-D"), QStringLiteral("SCALE_MAX_PIXEL_SIZE=big"), QStringLiteral("read"), song};
    QTest::newRow("-D without argument") << QStringList{QStringLiteral("read"), song, QStringLiteral("-D")};
}

void TestCliRead::usageErrorsExitWithTwo()
{
    QFETCH(QStringList, arguments);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.err.isEmpty());
}

void TestCliRead::helpListsCommands()
{
    const Run general = run({QStringLiteral("--help")});
    QCOMPARE(general.exitCode, 0);
    QVERIFY(general.out.contains("read"));
    QVERIFY(general.out.contains("covers"));
    QVERIFY(general.out.contains("--dry-run"));
    const Run covers = run({QStringLiteral("covers"), QStringLiteral("--help")});
    QCOMPARE(covers.exitCode, 0);
    QVERIFY(covers.out.contains("--extract"));
}

void TestCliRead::overridesApplyToThisRunOnly_data()
{
    QTest::addColumn<QString>("stored");   // value in the settings file, or null for none
    QTest::addColumn<QString>("override"); // -D value, or null for none
    QTest::addColumn<QString>("track");
    QTest::newRow("default") << QString() << QString() << QStringLiteral("03/12");
    QTest::newRow("override off") << QString() << QStringLiteral("false") << QStringLiteral("3/12");
    QTest::newRow("override 0") << QString() << QStringLiteral("0") << QStringLiteral("3/12");
    QTest::newRow("stored off") << QStringLiteral("false") << QString() << QStringLiteral("3/12");
    QTest::newRow("override wins") << QStringLiteral("false") << QStringLiteral("yes") << QStringLiteral("03/12");
}

void TestCliRead::overridesApplyToThisRunOnly()
{
    QFETCH(QString, stored);
    QFETCH(QString, override);
    QFETCH(QString, track);
    Tags tags;
    tags.title = QStringLiteral("t");
    tags.track = 3;
    tags.trackCount = 12;
    const QString path = copyFixture(QStringLiteral("m4a"), QStringLiteral("t.m4a"), tags);
    QVERIFY(!path.isEmpty());
    const QString ini = m_config + QStringLiteral("/quorl/quorl.ini");
    QVERIFY(QDir().mkpath(m_config + QStringLiteral("/quorl")));
    QFile file(ini);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (!stored.isNull())
        file.write("[General]\nNUMBERING_LEADING_ZERO=" + stored.toUtf8() + "\n");
    file.close();

    QStringList arguments;
    if (!override.isNull())
        arguments << QStringLiteral("-D") << QStringLiteral("NUMBERING_LEADING_ZERO=") + override;
    arguments << QStringLiteral("read") << QStringLiteral("--json") << path;
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 0);
    const QJsonObject song = QJsonDocument::fromJson(result.out).array().at(0).toObject();
    QCOMPARE(song.value("track").toString(), track);

    // Nothing of the override reaches the store.
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QCOMPARE(after.contains("NUMBERING_LEADING_ZERO"), !stored.isNull());
    QVERIFY(!after.contains("yes"));
}

void TestCliRead::coversExtractWritesEachPictureOnce()
{
    Tags first;
    first.title = QStringLiteral("one");
    first.pictures = {m_jpeg};
    Tags second = first;
    second.title = QStringLiteral("two");
    second.pictures = {m_png, m_jpeg};
    QVERIFY(!copyFixture(QStringLiteral("mp3"), QStringLiteral("a/1.mp3"), first).isEmpty());
    QVERIFY(!copyFixture(QStringLiteral("flac"), QStringLiteral("a/2.flac"), second).isEmpty());
    QVERIFY(!copyFixture(QStringLiteral("m4a"), QStringLiteral("a/3.m4a"), first).isEmpty());
    QVERIFY(!copyFixture(QStringLiteral("wav"), QStringLiteral("a/4.wav")).isEmpty());
    const QString folder = m_work.filePath(QStringLiteral("pictures/new"));

    for (int pass = 0; pass < 2; ++pass) {
        // The second pass finds the same files in place and succeeds without writing.
        const Run result = run({QStringLiteral("covers"), QStringLiteral("--extract"), folder,
                                m_songs + QStringLiteral("/a")});
        QCOMPARE(result.exitCode, 0);
        const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        QStringList expected = {QString::fromLatin1(md5Hex(m_jpeg) + ".jpg"),
                                QString::fromLatin1(md5Hex(m_png) + ".png")};
        expected.sort();
        QCOMPARE(files, expected);
        QFile jpeg(folder + QLatin1Char('/') + expected.filter(QStringLiteral(".jpg")).first());
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        QCOMPARE(jpeg.readAll(), m_jpeg);
        QFile png(folder + QLatin1Char('/') + expected.filter(QStringLiteral(".png")).first());
        QVERIFY(png.open(QIODevice::ReadOnly));
        QCOMPARE(png.readAll(), m_png);
        // Four songs are listed, the picture-less one included.
        QCOMPARE(result.out.count(m_songs.toUtf8() + "/a/"), 4);
    }

    const Run json = run({QStringLiteral("--json"), QStringLiteral("covers"), m_songs + QStringLiteral("/a")});
    QCOMPARE(json.exitCode, 0);
    const QJsonArray songs = QJsonDocument::fromJson(json.out).array();
    QCOMPARE(songs.size(), 4);
    const QJsonArray pictures = songs.at(1).toObject().value("images").toArray();
    QCOMPARE(pictures.size(), 2);
    QCOMPARE(pictures.at(0).toObject().value("md5").toString().toLatin1(), md5Hex(m_png));
    QCOMPARE(pictures.at(1).toObject().value("mime").toString(), QStringLiteral("image/jpeg"));
}

void TestCliRead::coversExtractNeverReplacesOtherFile()
{
    Tags tags;
    tags.title = QStringLiteral("one");
    tags.pictures = {m_jpeg, m_png};
    const QString path = copyFixture(QStringLiteral("aiff"), QStringLiteral("1.aiff"), tags);
    const QString folder = m_work.filePath(QStringLiteral("occupied"));
    QVERIFY(QDir().mkpath(folder));
    const QString taken = folder + QLatin1Char('/') + QString::fromLatin1(md5Hex(m_jpeg)) + QStringLiteral(".jpg");
    QFile other(taken);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("something else");
    other.close();

    const Run result = run({QStringLiteral("covers"), QStringLiteral("--extract"), folder, path});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.contains(md5Hex(m_jpeg)));
    QVERIFY(other.open(QIODevice::ReadOnly));
    QCOMPARE(other.readAll(), QByteArray("something else"));
    // The other picture is still written.
    QVERIFY(QFileInfo::exists(folder + QLatin1Char('/') + QString::fromLatin1(md5Hex(m_png)) + QStringLiteral(".png")));
}

void TestCliRead::coversDryRunWritesNothing()
{
    Tags tags;
    tags.title = QStringLiteral("one");
    tags.pictures = {m_jpeg};
    const QString path = copyFixture(QStringLiteral("mp3"), QStringLiteral("1.mp3"), tags);
    const QString folder = m_work.filePath(QStringLiteral("dry"));
    const Run result = run({QStringLiteral("--dry-run"), QStringLiteral("covers"), QStringLiteral("--extract"), folder, path});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(result.out.contains(md5Hex(m_jpeg)));
}

void TestCliRead::answersRenameRestrictionQuestion_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("giveFolder");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("songCount");
    QTest::addColumn<bool>("renamable");
    // Standard input is a pipe here, so without --yes the question gets its cancelling button.
    QTest::newRow("cancelled") << QStringList() << false << 1 << 0 << false;
    QTest::newRow("--yes") << QStringList{QStringLiteral("--yes")} << false << 0 << 1 << false;
    QTest::newRow("confirmed before") << QStringList{QStringLiteral("-D"), QStringLiteral("CONFIRMED_RENAME_RESTRICTION=true")}
                                      << false << 0 << 1 << false;
    QTest::newRow("folder asks nothing") << QStringList() << true << 0 << 1 << true;
}

void TestCliRead::answersRenameRestrictionQuestion()
{
    QFETCH(QStringList, options);
    QFETCH(bool, giveFolder);
    QFETCH(int, exitCode);
    QFETCH(int, songCount);
    QFETCH(bool, renamable);
    Tags tags;
    tags.title = QStringLiteral("desk");
    const QString path = copyFixture(QStringLiteral("mp3"), QStringLiteral("desk/1.mp3"), tags);
    QVERIFY(!path.isEmpty());
    // With a home under /Users, a file named directly outside its Music and Downloads folders
    // may not be renamed, and loading asks first.
    const Run result = run(options + QStringList{QStringLiteral("read"), QStringLiteral("--json"),
                                                 giveFolder ? QFileInfo(path).path() : path},
                           QStringLiteral("/Users/tester"));
    QCOMPARE(result.exitCode, exitCode);
    const QJsonArray songs = QJsonDocument::fromJson(result.out).array();
    QCOMPARE(songs.size(), songCount);
    if (songCount > 0)
        QCOMPARE(songs.at(0).toObject().value("isRenamable").toBool(!renamable), renamable);
    // No answer is stored: --yes presses "OK", never "DontShowAgain".
    QFile store(m_config + QStringLiteral("/quorl/quorl.ini"));
    QVERIFY(!store.open(QIODevice::ReadOnly) || !store.readAll().contains("CONFIRMED_RENAME_RESTRICTION"));
}

void TestCliRead::skipsFolderEntryThatIsNotUtf8()
{
    Tags tags;
    tags.title = QStringLiteral("good");
    QVERIFY(!copyFixture(QStringLiteral("mp3"), QStringLiteral("f/good.mp3"), tags).isEmpty());
    QFile source(QStringLiteral(QUORL_TEST_DATA_DIR "/silence.mp3"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray audio = source.readAll();
    // The name is made from bytes: QString cannot hold 0xFF as a file name byte.
    const QByteArray badName = QFile::encodeName(m_songs) + "/f/bad\xff.mp3";
    const RawFileRemover remover{badName};
    const int descriptor = ::open(badName.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    QVERIFY(descriptor >= 0);
    QCOMPARE(::write(descriptor, audio.constData(), size_t(audio.size())), ssize_t(audio.size()));
    ::close(descriptor);

    const Run result = run({QStringLiteral("read"), QStringLiteral("--json"), m_songs + QStringLiteral("/f")});
    QCOMPARE(result.exitCode, 1);
    const QJsonArray songs = QJsonDocument::fromJson(result.out).array();
    QCOMPARE(songs.size(), 1);
    QCOMPARE(songs.at(0).toObject().value("title").toString(), QStringLiteral("good"));
    QVERIFY2(result.err.contains("bad\\xFF.mp3"), result.err.constData());
}

void TestCliRead::skipsArgumentThatIsNotUtf8()
{
    Tags tags;
    tags.title = QStringLiteral("good");
    QVERIFY(!copyFixture(QStringLiteral("flac"), QStringLiteral("good.flac"), tags).isEmpty());
    const QByteArray badName = QFile::encodeName(m_songs) + "/bad\xfe.flac";
    const RawFileRemover remover{badName};
    QVERIFY(QFile::copy(QStringLiteral(QUORL_TEST_DATA_DIR "/silence.flac"), m_songs + QStringLiteral("/tmp.flac")));
    QCOMPARE(::rename(QFile::encodeName(m_songs + QStringLiteral("/tmp.flac")).constData(), badName.constData()), 0);

    // printf turns the octal escape into the raw byte 0xFE.
    const Run result = runShell(QStringLiteral("\"$CLI\" read --json \"$(printf 'bad\\376.flac')\" good.flac"));
    QCOMPARE(result.exitCode, 1);
    const QJsonArray songs = QJsonDocument::fromJson(result.out).array();
    QCOMPARE(songs.size(), 1);
    QCOMPARE(songs.at(0).toObject().value("fileName").toString(), QStringLiteral("good.flac"));
    QVERIFY2(result.err.contains("bad\\xFE.flac"), result.err.constData());
}

void TestCliRead::reportsMissingPath()
{
    Tags tags;
    tags.title = QStringLiteral("here");
    const QString path = copyFixture(QStringLiteral("wav"), QStringLiteral("here.wav"), tags);
    const QString missing = m_songs + QStringLiteral("/gone.mp3");
    const Run result = run({QStringLiteral("read"), QStringLiteral("--json"), missing, path});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(QJsonDocument::fromJson(result.out).array().size(), 1);
    QVERIFY(result.err.contains(missing.toUtf8()));
}

void TestCliRead::reportsFileLeftByInterruptedRename()
{
    // One parked file gets its name back; the other's name is taken and it stays.
    Tags tags;
    tags.title = QStringLiteral("parked");
    QVERIFY(!copyFixture(QStringLiteral("flac"), QStringLiteral("f/.quorl-rename-Ab12Cd/back.flac"), tags).isEmpty());
    QVERIFY(!copyFixture(QStringLiteral("mp3"), QStringLiteral("f/.quorl-rename-Xy34Zw/taken.mp3"), tags).isEmpty());
    tags.title = QStringLiteral("taker");
    QVERIFY(!copyFixture(QStringLiteral("mp3"), QStringLiteral("f/taken.mp3"), tags).isEmpty());

    const Run result = run({QStringLiteral("read"), QStringLiteral("--json"), m_songs + QStringLiteral("/f")});
    QCOMPARE(result.exitCode, 1);
    const QJsonArray songs = QJsonDocument::fromJson(result.out).array();
    QCOMPARE(songs.size(), 2);
    QCOMPARE(songs.at(0).toObject().value("filePath").toString(), m_songs + QStringLiteral("/f/back.flac"));
    QCOMPARE(songs.at(0).toObject().value("title").toString(), QStringLiteral("parked"));
    QCOMPARE(songs.at(1).toObject().value("title").toString(), QStringLiteral("taker"));
    const QString parked = m_songs + QStringLiteral("/f/.quorl-rename-Xy34Zw/taken.mp3");
    QVERIFY(QFile::exists(parked));
    QVERIFY(Localized::installStringTable());
    const QString report = Localized::text("InterruptedRenameLeftFileXY").arg(parked, QStringLiteral("taken.mp3"));
    QVERIFY2(QString::fromUtf8(result.err).contains(report), result.err.constData());
}

QTEST_GUILESS_MAIN(TestCliRead)
#include "test_cli_read.moc"
