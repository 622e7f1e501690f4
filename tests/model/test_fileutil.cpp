#include "model/fileutil.h"
#include "model/userdefaults.h"

#include <QTemporaryDir>
#include <QTest>

class TestFileUtil : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void sanitizeFileName_data();
    void sanitizeFileName();
    void defaultIsRegisteredValue();
    void settingReadAtEachCall();

private:
    QTemporaryDir m_dir;
};

namespace {
const QString WindowsKey = QStringLiteral("ENSURE_VALID_WINDOWS_FILES");
}

void TestFileUtil::initTestCase()
{
    QVERIFY(m_dir.isValid());
    UserDefaults::shared().openStore(m_dir.filePath("settings.ini"));
    UserDefaults::shared().registerDefaults({{WindowsKey, true}});
}

void TestFileUtil::cleanup()
{
    UserDefaults::shared().clearOverrides();
}

void TestFileUtil::sanitizeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("sanitized");

    const QString sample = "  What?  Is: <this> |x| ^ ";
    QTest::newRow("windows on") << sample << true << "What Is- (this) -x-";
    QTest::newRow("windows off") << sample << false << "What? Is- <this> |x| ^";
    QTest::newRow("only hyphens") << "---" << true << "";
    QTest::newRow("slash") << "AC/DC.mp3" << false << "AC-DC.mp3";
    QTest::newRow("backslash and star") << "a\\b*c.mp3" << true << "a-b-c.mp3";
    QTest::newRow("backslash kept without windows") << "a\\b*c" << false << "a\\b*c";
    QTest::newRow("double quote") << "say \"hi\"" << true << "say 'hi'";
    QTest::newRow("hyphens at ends, not inner") << "-/a - b:-" << true << "a - b";
    QTest::newRow("blank uncovered by hyphen removal") << "- a -" << true << "a";
    QTest::newRow("hyphen inside blanks stays") << " -x- " << true << "x";
    QTest::newRow("tabs and unicode spaces collapse") << QString::fromUtf8("a\t\t b\u00A0\u2003c") << true
                                                      << "a b c";
    QTest::newRow("inner line break a blank") << "a\nb" << true << "a b";
    QTest::newRow("carriage return and line feed") << "a \r\n b" << true << "a b";
    QTest::newRow("NUL before the extension") << QString::fromUtf8("01. and\0.m4a", 12) << true << "01. and .m4a";
    QTest::newRow("NUL at the end") << QString::fromUtf8("01. and\0", 8) << true << "01. and";
    QTest::newRow("escape and DEL") << "a\x1b[1mb\x7f" << true << "a [1mb";
    QTest::newRow("C1 control and line separator") << QString::fromUtf8("a\u0085b\u2028c") << true << "a b c";
    QTest::newRow("control uncovers a hyphen") << "\x01-a-\x02" << true << "a";
    QTest::newRow("only controls") << "\x01\n\t\x7f" << true << "";
    QTest::newRow("line breaks at ends") << "\n a \n" << true << "a";
    QTest::newRow("question mark leaves double blank") << "a ? b" << true << "a b";
    QTest::newRow("caret at the end") << "a^" << true << "a";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("already sane") << "01 Title.mp3" << true << "01 Title.mp3";
}

void TestFileUtil::sanitizeFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, windows);
    QFETCH(QString, sanitized);

    UserDefaults::shared().setOverride(WindowsKey, windows);
    const QString result = FileUtil::sanitizeFileName(name);
    QCOMPARE(result, sanitized);
    QVERIFY(!result.isNull());
}

void TestFileUtil::defaultIsRegisteredValue()
{
    QCOMPARE(FileUtil::sanitizeFileName("a?"), "a");
}

void TestFileUtil::settingReadAtEachCall()
{
    UserDefaults::shared().setBool(false, WindowsKey);
    QCOMPARE(FileUtil::sanitizeFileName("a|b"), "a|b");
    UserDefaults::shared().setBool(true, WindowsKey);
    QCOMPARE(FileUtil::sanitizeFileName("a|b"), "a-b");
    UserDefaults::shared().removeObjectForKey(WindowsKey);
}

QTEST_GUILESS_MAIN(TestFileUtil)
#include "test_fileutil.moc"
