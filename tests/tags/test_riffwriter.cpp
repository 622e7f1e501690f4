#include "fixtures.h"
#include "id3fields.h"
#include "savetesting.h"

#include "editor/settingsregistry.h"
#include "model/image.h"
#include "model/song.h"

#include <QTemporaryDir>
#include <QTest>

#include <taglib/aifffile.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/wavfile.h>

namespace {

QString toQ(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

// The fixture of a row named "aiff: ..." or "wav: ...".
QString fixtureOfRow()
{
    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    return QStringLiteral("silence.") + tag.section(u':', 0, 0);
}

// Opens an AIFF or WAV file and hands its ID3v2 tag (and, for WAV, its INFO tag) to check.
template <typename Check>
bool withTags(const QString &path, Check check)
{
    if (path.endsWith(QStringLiteral(".aiff"))) {
        TagLib::RIFF::AIFF::File file(path.toUtf8().constData());
        return check(file.tag(), static_cast<TagLib::RIFF::Info::Tag *>(nullptr), file);
    }
    TagLib::RIFF::WAV::File file(path.toUtf8().constData());
    return check(file.ID3v2Tag(), file.InfoTag(), file);
}

} // namespace

class TestRIFFWriter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void writesMappedFrames_data();
    void writesMappedFrames();
    void writesPictures_data();
    void writesPictures();
    void forcedSaveClearsTheTag_data();
    void forcedSaveClearsTheTag();

private:
    QString prefilledCopy(const QString &fixture, const QString &name);

    QTemporaryDir m_dir;
};

void TestRIFFWriter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir);
    SettingsRegistry::registerDefaults();
}

// A copy whose ID3v2 tag holds every mapped frame and frames never read; a WAV copy also has an
// INFO chunk with a title and a software name.
QString TestRIFFWriter::prefilledCopy(const QString &fixture, const QString &name)
{
    const QString path = copyFixture(m_dir, fixture, name);
    if (path.isEmpty())
        return path;
    bool saved = false;
    if (fixture.endsWith(QStringLiteral(".aiff"))) {
        TagLib::RIFF::AIFF::File file(path.toUtf8().constData());
        prefillID3Tag(file.tag());
        saved = file.save();
    } else {
        TagLib::RIFF::WAV::File file(path.toUtf8().constData());
        prefillID3Tag(file.ID3v2Tag());
        file.InfoTag()->setTitle("Info title");
        file.InfoTag()->setFieldText("ISFT", "Info software");
        saved = file.save();
    }
    return saved ? path : QString();
}

void TestRIFFWriter::writesMappedFrames_data()
{
    addID3FieldColumns();
    addID3FieldRows(QStringLiteral("aiff"));
    addID3FieldRows(QStringLiteral("wav"));
}

void TestRIFFWriter::writesMappedFrames()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QByteArray, frameId);
    QFETCH(QString, frameText);
    QFETCH(QString, readBack);

    const QString fixture = fixtureOfRow();
    const QString path = prefilledCopy(fixture, QStringLiteral("fields.") + fixture.section(u'.', 1));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->setValueForKey(field, value.isNull() ? QStringLiteral("") : value);
    QVERIFY(song->isModified());
    QCOMPARE(writeSong(song.get()).errorText, QString());
    QVERIFY(!song->isModified());

    QString mismatch;
    QVERIFY(withTags(path, [&](TagLib::ID3v2::Tag *tag, TagLib::RIFF::Info::Tag *info, auto &) {
        mismatch = id3FieldMismatch(tag, frameId, frameText);
        if (mismatch.isEmpty())
            mismatch = id3KeptFramesMismatch(tag);
        // Not forced: the INFO chunk is left as it was.
        if (mismatch.isEmpty() && info && toQ(info->title()) != QStringLiteral("Info title"))
            mismatch = QStringLiteral("INFO title lost");
        return true;
    }));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->valueForKey(field).toString(), readBack);
}

void TestRIFFWriter::writesPictures_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("aiff") << "silence.aiff";
    QTest::newRow("wav") << "silence.wav";
}

void TestRIFFWriter::writesPictures()
{
    QFETCH(QString, fixture);
    const QString path = copyFixture(m_dir, fixture, QStringLiteral("pictures.") + fixture.section(u'.', 1));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    song->addImage(Image(sampleJpeg(qRgb(200, 0, 0))));
    song->addImage(Image(samplePng(qRgb(0, 200, 0))));
    QCOMPARE(writeSong(song.get()).errorText, QString());

    auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->countOfImages(), 2);
    QVERIFY(reread->objectInImagesAtIndex(0) == song->objectInImagesAtIndex(0));
    QVERIFY(reread->objectInImagesAtIndex(1) == song->objectInImagesAtIndex(1));
}

void TestRIFFWriter::forcedSaveClearsTheTag_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("aiff") << "silence.aiff";
    QTest::newRow("wav") << "silence.wav";
}

void TestRIFFWriter::forcedSaveClearsTheTag()
{
    QFETCH(QString, fixture);
    const QString path = prefilledCopy(fixture, QStringLiteral("forced.") + fixture.section(u'.', 1));
    QVERIFY(!path.isEmpty());
    auto song = readSong(path);
    QVERIFY(song);
    QCOMPARE(song->title(), QStringLiteral("Old title"));
    QVERIFY(writeSong(song.get(), true).errorText.isEmpty());

    QString problem;
    QVERIFY(withTags(path, [&](TagLib::ID3v2::Tag *tag, TagLib::RIFF::Info::Tag *info, auto &) {
        if (!tag || !tag->frameList("TXXX").isEmpty() || tag->frameList("COMM").size() != 1)
            problem = QStringLiteral("unread frames survived the forced save");
        else if (!id3FieldMismatch(tag, "TIT2", QStringLiteral("Old title")).isEmpty()
                 || !id3FieldMismatch(tag, "TRCK", QStringLiteral("3/9")).isEmpty()
                 || !id3FieldMismatch(tag, "TCMP", QStringLiteral("1")).isEmpty())
            problem = QStringLiteral("the song's values were not written back");
        // The INFO fields TagLib knows as properties go; others (here the software) stay.
        else if (info && (!info->title().isEmpty() || toQ(info->fieldText("ISFT")) != QStringLiteral("Info software")))
            problem = QStringLiteral("the INFO chunk holds \"") + toQ(info->title()) + QStringLiteral("\", \"") + toQ(info->fieldText("ISFT")) + u'"';
        return true;
    }));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_GUILESS_MAIN(TestRIFFWriter)
#include "test_riffwriter.moc"
