// The stream that loading hands to TagLib: it answers with the length it was given.

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
    void knownLengthIsTheOneGiven();
};

void TestLengthCachingStream::knownLengthIsTheOneGiven()
{
    QTemporaryDir dir;
    const QString path = makeFile(dir, 1000);
    QVERIFY(!path.isEmpty());
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(descriptor >= 0);
    LengthCachingStream stream(descriptor, 1000);
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
