// The stream that loading and saving hand to TagLib: it remembers the file's length only until
// the file is changed through it, so TagLib's edits always see the real length.

#include "tags/lengthcachingstream.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>

namespace {

QString makeFile(const QTemporaryDir &dir, qsizetype size)
{
    const QString path = dir.filePath(QStringLiteral("data.bin"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(size, 'x')) != size)
        return {};
    return path;
}

} // namespace

class TestLengthCachingStream : public QObject {
    Q_OBJECT

private slots:
    void changesEndTheRemembering_data();
    void changesEndTheRemembering();
    void knownLengthIsTheOneGiven();
};

void TestLengthCachingStream::changesEndTheRemembering_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<long>("expected");
    // The file holds 1000 bytes.
    QTest::newRow("write past the end") << "write" << 1200L;
    QTest::newRow("insert") << "insert" << 1100L;
    QTest::newRow("insert replacing") << "insert replacing" << 1050L;
    QTest::newRow("remove") << "remove" << 700L;
    QTest::newRow("truncate") << "truncate" << 400L;
}

void TestLengthCachingStream::changesEndTheRemembering()
{
    QFETCH(QString, change);
    QFETCH(long, expected);
    QTemporaryDir dir;
    const QString path = makeFile(dir, 1000);
    QVERIFY(!path.isEmpty());
    const QByteArray name = QFile::encodeName(path);
    LengthCachingStream stream(name.constData());
    QVERIFY(stream.isOpen());
    QVERIFY(!stream.readOnly());
    QCOMPARE(stream.length(), 1000L);
    QCOMPARE(stream.readBlock(10), TagLib::ByteVector(10, 'x'));

    if (change == u"write") {
        stream.seek(1000);
        stream.writeBlock(TagLib::ByteVector(200, 'w'));
    } else if (change == u"insert") {
        stream.insert(TagLib::ByteVector(100, 'i'), 500);
    } else if (change == u"insert replacing") {
        stream.insert(TagLib::ByteVector(100, 'i'), 500, 50);
    } else if (change == u"remove") {
        stream.removeBlock(100, 300);
    } else {
        stream.truncate(400);
    }
    QCOMPARE(stream.length(), expected);
    // Still asked of the file afterwards: a change made past the stream shows too.
    QFile other(path);
    QVERIFY(other.open(QIODevice::Append));
    QCOMPARE(other.write("tail"), qint64(4));
    other.close();
    QCOMPARE(stream.length(), expected + 4);
}

void TestLengthCachingStream::knownLengthIsTheOneGiven()
{
    QTemporaryDir dir;
    const QString path = makeFile(dir, 1000);
    QVERIFY(!path.isEmpty());
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(descriptor >= 0);
    LengthCachingStream stream(descriptor, true, 1000);
    QVERIFY(stream.isOpen());
    QVERIFY(stream.readOnly());
    // A reader changes nothing: the length is the one given, without asking the file.
    QFile other(path);
    QVERIFY(other.open(QIODevice::Append));
    QCOMPARE(other.write("tail"), qint64(4));
    other.close();
    QCOMPARE(stream.length(), 1000L);
    stream.seek(990);
    QCOMPARE(stream.readBlock(20).size(), 14u);
}

QTEST_GUILESS_MAIN(TestLengthCachingStream)
#include "test_lengthcachingstream.moc"
