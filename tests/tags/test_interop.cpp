#include "fixtures.h"
#include "savetesting.h"

#include "editor/settingsregistry.h"
#include "model/image.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Files written by the writers, read back by an independent tag library (python3-mutagen, run
// through tests/tags/interop_check.py) and decoded by an independent decoder (ffmpeg).
namespace {

const QString Unicode = QStringLiteral("Ünïcödé ☃ 𝄞 日本");

QString md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString scriptPath()
{
    return QDir(QStringLiteral(QUORL_TEST_DATA_DIR)).filePath(QStringLiteral("../tags/interop_check.py"));
}

// The first Python that has mutagen, or "" if none does.
QString findPython()
{
    for (const QString &candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess process;
        process.start(candidate, {QStringLiteral("-c"), QStringLiteral("import mutagen")});
        if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return candidate;
    }
    return {};
}

QStringList texts(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &item : value.toArray())
        list.append(item.toString());
    return list;
}

// Fills every field of the song with values that need more than Latin-1.
void fillSong(Song *song, const QByteArray &jpeg, const QByteArray &png)
{
    song->setTitle(Unicode + QStringLiteral(" title"));
    song->setArtist(Unicode + QStringLiteral(" artist"));
    song->setAlbum(Unicode + QStringLiteral(" album"));
    song->setGenre(QStringLiteral("Jazz"));
    song->setYear(1999);
    song->setTrack(QStringLiteral("03/12"));
    song->setDisc(QStringLiteral("1/2"));
    song->setAlbumArtist(Unicode + QStringLiteral(" band"));
    song->setComposer(Unicode + QStringLiteral(" composer"));
    song->setComment(Unicode + QStringLiteral("\ncomment"));
    song->setLyrics(Unicode + QStringLiteral("\nlyrics"));
    song->setIsCompilation(1);
    song->addImage(Image(jpeg));
    song->addImage(Image(png));
}

} // namespace

class TestInterop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void id3FramesReadElsewhere_data();
    void id3FramesReadElsewhere();
    void mp4ItemsReadElsewhere();
    void flacCommentsReadElsewhere();
    void decodedAudioUnchanged_data();
    void decodedAudioUnchanged();

private:
    QJsonObject readElsewhere(const QString &path);
    QString writtenCopy(const QString &fixture, const QString &name);

    QTemporaryDir m_dir;
    QString m_python;
    const QByteArray m_jpeg = sampleJpeg(qRgb(250, 10, 10));
    const QByteArray m_png = samplePng(qRgb(10, 250, 10));
};

void TestInterop::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir);
    SettingsRegistry::registerDefaults();
    m_python = findPython();
    if (m_python.isEmpty())
        QSKIP("python3-mutagen is not installed (scripts/install-deps.sh installs it)");
    QVERIFY(QFile::exists(scriptPath()));
}

void TestInterop::init()
{
    UserDefaults::shared().clearOverrides();
}

QJsonObject TestInterop::readElsewhere(const QString &path)
{
    QProcess process;
    process.start(m_python, {scriptPath(), path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning() << process.readAllStandardError();
        return {};
    }
    const QJsonDocument document = QJsonDocument::fromJson(process.readAllStandardOutput());
    const QJsonObject object = document.array().at(0).toObject();
    if (object.contains(QStringLiteral("error")))
        qWarning() << object.value(QStringLiteral("error")).toString();
    return object;
}

// A copy of the fixture with every field written by the writers.
QString TestInterop::writtenCopy(const QString &fixture, const QString &name)
{
    const QString path = copyFixture(m_dir, fixture, name);
    if (path.isEmpty())
        return path;
    auto song = readSong(path);
    if (!song)
        return {};
    fillSong(song.get(), m_jpeg, m_png);
    return writeSong(song.get()).hasErrors() ? QString() : path;
}

void TestInterop::id3FramesReadElsewhere_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("writeID3v23");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("encoding"); // 3 UTF-8, 1 UTF-16 with BOM
    QTest::newRow("mp3 ID3v2.4") << "silence.mp3" << false << 4 << 3;
    QTest::newRow("mp3 ID3v2.3") << "silence.mp3" << true << 3 << 1;
    QTest::newRow("aiff") << "silence.aiff" << false << 4 << 3;
    QTest::newRow("wav") << "silence.wav" << false << 4 << 3;
}

void TestInterop::id3FramesReadElsewhere()
{
    QFETCH(QString, fixture);
    QFETCH(bool, writeID3v23);
    QFETCH(int, version);
    QFETCH(int, encoding);

    UserDefaults::shared().setOverride(QStringLiteral("WRITE_ID3_V23_TAGS"), writeID3v23);
    const QString path = writtenCopy(fixture, QStringLiteral("interop.") + fixture.section(u'.', 1));
    QVERIFY(!path.isEmpty());
    const QJsonObject read = readElsewhere(path);
    QVERIFY(!read.isEmpty() && !read.contains(QStringLiteral("error")));
    QCOMPARE(read.value(QStringLiteral("id3version")).toArray(), (QJsonArray{2, version}));

    const QJsonObject frames = read.value(QStringLiteral("frames")).toObject();
    const auto one = [&frames](const char *id) {
        const QJsonArray list = frames.value(QString::fromLatin1(id)).toArray();
        return list.size() == 1 ? list.at(0).toObject() : QJsonObject();
    };
    const QList<std::pair<const char *, QString>> textFrames = {
        {"TIT2", Unicode + QStringLiteral(" title")},
        {"TPE1", Unicode + QStringLiteral(" artist")},
        {"TALB", Unicode + QStringLiteral(" album")},
        {"TCON", QStringLiteral("Jazz")},
        {version == 4 ? "TDRC" : "TYER", QStringLiteral("1999")},
        {"TRCK", QStringLiteral("03/12")},
        {"TPOS", QStringLiteral("1/2")},
        {"TPE2", Unicode + QStringLiteral(" band")},
        {"TCOM", Unicode + QStringLiteral(" composer")},
        {"TCMP", QStringLiteral("1")},
    };
    for (const auto &[id, text] : textFrames) {
        const QJsonObject frame = one(id);
        QVERIFY2(!frame.isEmpty(), id);
        QCOMPARE(texts(frame.value(QStringLiteral("text"))), QStringList{text});
        // Frames holding only ASCII may be stored in Latin-1 by the library; the others must
        // be in the encoding of the version.
        if (text.contains(Unicode))
            QCOMPARE(frame.value(QStringLiteral("encoding")).toInt(), encoding);
    }
    for (const auto &[id, text] : {std::pair{"COMM", Unicode + QStringLiteral("\ncomment")},
                                   std::pair{"USLT", Unicode + QStringLiteral("\nlyrics")}}) {
        const QJsonObject frame = one(id);
        QVERIFY2(!frame.isEmpty(), id);
        QCOMPARE(frame.value(QStringLiteral("lang")).toString(), QStringLiteral("eng"));
        QCOMPARE(frame.value(QStringLiteral("desc")).toString(), QString());
        const QJsonValue value = frame.value(QStringLiteral("text"));
        QCOMPARE(value.isArray() ? texts(value).join(u'\n') : value.toString(), text);
        QCOMPARE(frame.value(QStringLiteral("encoding")).toInt(), encoding);
    }
    const QJsonArray pictures = frames.value(QStringLiteral("APIC")).toArray();
    QCOMPARE(pictures.size(), 2);
    const QList<std::pair<QString, QByteArray>> wanted = {{QStringLiteral("image/jpeg"), m_jpeg},
                                                          {QStringLiteral("image/png"), m_png}};
    for (int i = 0; i < 2; ++i) {
        const QJsonObject picture = pictures.at(i).toObject();
        QCOMPARE(picture.value(QStringLiteral("mime")).toString(), wanted.at(i).first);
        QCOMPARE(picture.value(QStringLiteral("type")).toInt(), 3);
        // The reader keeps pictures with equal descriptions apart by adding blanks to the later
        // ones; in the file all of them are empty.
        QCOMPARE(picture.value(QStringLiteral("desc")).toString().trimmed(), QString());
        QCOMPARE(picture.value(QStringLiteral("md5")).toString(), md5Hex(wanted.at(i).second));
    }
}

void TestInterop::mp4ItemsReadElsewhere()
{
    const QString path = writtenCopy(QStringLiteral("silence.m4a"), QStringLiteral("interop.m4a"));
    QVERIFY(!path.isEmpty());
    QJsonObject items = readElsewhere(path).value(QStringLiteral("items")).toObject();
    QCOMPARE(items.value(QStringLiteral("trkn")).toArray(), (QJsonArray{QJsonArray{3, 12}}));
    QCOMPARE(items.value(QStringLiteral("disk")).toArray(), (QJsonArray{QJsonArray{1, 2}}));
    QCOMPARE(items.value(QStringLiteral("cpil")).toBool(), true);
    const QList<std::pair<QString, QString>> textItems = {
        {QStringLiteral("©nam"), Unicode + QStringLiteral(" title")},
        {QStringLiteral("©ART"), Unicode + QStringLiteral(" artist")},
        {QStringLiteral("©alb"), Unicode + QStringLiteral(" album")},
        {QStringLiteral("©gen"), QStringLiteral("Jazz")},
        {QStringLiteral("©day"), QStringLiteral("1999")},
        {QStringLiteral("©cmt"), Unicode + QStringLiteral("\ncomment")},
        {QStringLiteral("©lyr"), Unicode + QStringLiteral("\nlyrics")},
        {QStringLiteral("aART"), Unicode + QStringLiteral(" band")},
        {QStringLiteral("©wrt"), Unicode + QStringLiteral(" composer")},
    };
    for (const auto &[key, text] : textItems)
        QCOMPARE(texts(items.value(key)), QStringList{text});
    const QJsonArray covers = items.value(QStringLiteral("covr")).toArray();
    QCOMPARE(covers.size(), 2);
    QCOMPARE(covers.at(0).toObject().value(QStringLiteral("format")).toInt(), 13);
    QCOMPARE(covers.at(0).toObject().value(QStringLiteral("md5")).toString(), md5Hex(m_jpeg));
    QCOMPARE(covers.at(1).toObject().value(QStringLiteral("format")).toInt(), 14);
    QCOMPARE(covers.at(1).toObject().value(QStringLiteral("md5")).toString(), md5Hex(m_png));

    // Clearing the pictures and the track leaves an empty "covr" item and no "trkn".
    auto song = readSong(path);
    song->removeAllImages();
    song->setTrack(QStringLiteral(""));
    song->setIsCompilation(0);
    QVERIFY(!writeSong(song.get()).hasErrors());
    items = readElsewhere(path).value(QStringLiteral("items")).toObject();
    QVERIFY(items.contains(QStringLiteral("covr")));
    QCOMPARE(items.value(QStringLiteral("covr")).toArray().size(), 0);
    QVERIFY(!items.contains(QStringLiteral("trkn")));
    QVERIFY(!items.contains(QStringLiteral("cpil")));
}

void TestInterop::flacCommentsReadElsewhere()
{
    const QString path = writtenCopy(QStringLiteral("silence.flac"), QStringLiteral("interop.flac"));
    QVERIFY(!path.isEmpty());
    const QJsonObject read = readElsewhere(path);
    const QJsonObject comments = read.value(QStringLiteral("comments")).toObject();
    const QList<std::pair<QString, QString>> wanted = {
        {QStringLiteral("TITLE"), Unicode + QStringLiteral(" title")},
        {QStringLiteral("ARTIST"), Unicode + QStringLiteral(" artist")},
        {QStringLiteral("ALBUM"), Unicode + QStringLiteral(" album")},
        {QStringLiteral("GENRE"), QStringLiteral("Jazz")},
        {QStringLiteral("DATE"), QStringLiteral("1999")},
        {QStringLiteral("COMMENT"), Unicode + QStringLiteral("\ncomment")},
        {QStringLiteral("TRACKNUMBER"), QStringLiteral("03")},
        {QStringLiteral("TRACKTOTAL"), QStringLiteral("12")},
        {QStringLiteral("DISCNUMBER"), QStringLiteral("1")},
        {QStringLiteral("DISCTOTAL"), QStringLiteral("2")},
        {QStringLiteral("LYRICS"), Unicode + QStringLiteral("\nlyrics")},
        {QStringLiteral("COMPILATION"), QStringLiteral("1")},
        {QStringLiteral("ALBUMARTIST"), Unicode + QStringLiteral(" band")},
        {QStringLiteral("ALBUM ARTIST"), Unicode + QStringLiteral(" band")},
        {QStringLiteral("ALBUM_ARTIST"), Unicode + QStringLiteral(" band")},
        {QStringLiteral("ENSEMBLE"), Unicode + QStringLiteral(" band")},
        {QStringLiteral("COMPOSER"), Unicode + QStringLiteral(" composer")},
    };
    for (const auto &[key, text] : wanted)
        QCOMPARE(texts(comments.value(key)), QStringList{text});
    QCOMPARE(comments.size(), wanted.size());

    const QJsonArray pictures = read.value(QStringLiteral("pictures")).toArray();
    QCOMPARE(pictures.size(), 2);
    QCOMPARE(pictures.at(0).toObject().value(QStringLiteral("mime")).toString(), QStringLiteral("image/jpeg"));
    QCOMPARE(pictures.at(0).toObject().value(QStringLiteral("md5")).toString(), md5Hex(m_jpeg));
    QCOMPARE(pictures.at(1).toObject().value(QStringLiteral("mime")).toString(), QStringLiteral("image/png"));
    QCOMPARE(pictures.at(1).toObject().value(QStringLiteral("md5")).toString(), md5Hex(m_png));
}

void TestInterop::decodedAudioUnchanged_data()
{
    QTest::addColumn<QString>("fixture");
    for (const char *fixture : {"silence.mp3", "silence.m4a", "silence.flac", "silence.aiff", "silence.wav"})
        QTest::newRow(fixture) << QString::fromLatin1(fixture);
}

void TestInterop::decodedAudioUnchanged()
{
    QFETCH(QString, fixture);
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        QSKIP("ffmpeg is not installed");
    const auto decodedMD5 = [&ffmpeg](const QString &path) {
        QProcess process;
        process.start(ffmpeg, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                               QStringLiteral("-map"), QStringLiteral("0:a"), QStringLiteral("-f"),
                               QStringLiteral("md5"), QStringLiteral("-")});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return QByteArray();
        return process.readAllStandardOutput().trimmed();
    };
    const QByteArray original = decodedMD5(fixturePath(fixture));
    QVERIFY(original.startsWith("MD5="));
    const QString path = writtenCopy(fixture, QStringLiteral("decoded.") + fixture.section(u'.', 1));
    QVERIFY(!path.isEmpty());
    QCOMPARE(decodedMD5(path), original);
}

QTEST_GUILESS_MAIN(TestInterop)
#include "test_interop.moc"
