#include "fixtures.h"
#include "id3fields.h"
#include "savetesting.h"

#include "model/image.h"
#include "model/song.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

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

// A chunk: name, the size its header declares and the data that follows.
QByteArray chunk(const QByteArray &name, quint32 declaredSize, const QByteArray &data, bool bigEndian)
{
    QByteArray size(4, '\0');
    if (bigEndian)
        qToBigEndian(declaredSize, size.data());
    else
        qToLittleEndian(declaredSize, size.data());
    return name + size + data;
}

// The fixture's bytes with the tail appended; with inForm the form's size grows to hold it.
QByteArray fixtureWithTail(const QString &fixture, const QByteArray &tail, bool inForm)
{
    QByteArray bytes = fileBytes(fixturePath(fixture)) + tail;
    const bool bigEndian = fixture.endsWith(QStringLiteral(".aiff"));
    if (inForm && bytes.size() >= 12)
        bytes.replace(4, 4, chunk({}, quint32(bytes.size() - 8), {}, bigEndian));
    return bytes;
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
    void savesOnlyFilesReadToTheEnd_data();
    void savesOnlyFilesReadToTheEnd();

private:
    QString prefilledCopy(const QString &fixture, const QString &name);

    QTemporaryDir m_dir;
};

void TestRIFFWriter::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
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

void TestRIFFWriter::savesOnlyFilesReadToTheEnd_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("saved");
    const QByteArray badName = QByteArray::fromHex("cacacaca");
    const QByteArray junk(40, char(0xca));
    for (const QString &extension : {QStringLiteral("aiff"), QStringLiteral("wav")}) {
        const QString fixture = QStringLiteral("silence.") + extension;
        const bool big = extension == u"aiff";
        const auto row = [&extension](const char *what) -> QTestData & {
            return QTest::addRow("%s: %s", qPrintable(extension), what) << extension;
        };
        row("intact") << fixtureWithTail(fixture, {}, true) << true;
        // Bytes behind the form are not part of it; TagLib writes the tag into the form.
        row("junk behind the form") << fixtureWithTail(fixture, junk, false) << true;
        // TagLib stops reading at these chunks; its save would end the form before them.
        row("chunk with a bad name") << fixtureWithTail(fixture, chunk(badName, 16, junk.left(16), big), true) << false;
        row("chunk longer than the file") << fixtureWithTail(fixture, chunk("APPL", 100000, junk, big), true) << false;
        // With the tag chunks the only ones, TagLib's save removes them and writes nothing.
        QByteArray tagOnly = chunk("ID3 ", 10, QByteArray::fromHex("49443304000000000000"), big);
        if (!big)
            tagOnly += chunk("LIST", 4, "INFO", big);
        row("tag chunks only") << chunk(big ? "FORM" : "RIFF", quint32(4 + tagOnly.size()), (big ? "AIFF" : "WAVE") + tagOnly, big)
                               << false;
    }
    // The audio chunk claims more bytes than the file has left, as in a truncated file.
    QByteArray truncated = fileBytes(fixturePath(QStringLiteral("silence.wav")));
    truncated.replace(40, 4, chunk({}, 0x7fffffff, {}, false));
    QTest::newRow("wav: data chunk longer than the file") << "wav" << truncated << false;
}

void TestRIFFWriter::savesOnlyFilesReadToTheEnd()
{
    QFETCH(QString, extension);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    const TitleSave save = saveNewTitle(dir, QStringLiteral("chunks.") + extension, bytes,
                                        QStringLiteral("New title"), samplePng(qRgb(9, 8, 7)));
    QVERIFY(save.song);
    const QString &path = save.path;
    if (!saved) {
        const QString fault = refusalFault(save, bytes);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        return;
    }
    QVERIFY2(!save.report.hasErrors(), qPrintable(save.report.errorText));
    const auto reread = readSong(path);
    QVERIFY(reread);
    QCOMPARE(reread->title(), QStringLiteral("New title"));
    QCOMPARE(reread->countOfImages(), 1);
    // Whatever lay behind the form still does, and the form holds the rest of the file.
    const QByteArray after = fileBytes(path);
    const QByteArray behind = bytes.mid(8 + (extension == u"aiff" ? qFromBigEndian<quint32>(bytes.constData() + 4)
                                                                   : qFromLittleEndian<quint32>(bytes.constData() + 4)));
    QVERIFY(after.endsWith(behind));
    const quint32 formSize = extension == u"aiff" ? qFromBigEndian<quint32>(after.constData() + 4)
                                                  : qFromLittleEndian<quint32>(after.constData() + 4);
    QCOMPARE(qsizetype(formSize) + 8 + behind.size(), after.size());
}

QTEST_GUILESS_MAIN(TestRIFFWriter)
#include "test_riffwriter.moc"
