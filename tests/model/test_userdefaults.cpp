#include "model/userdefaults.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestUserDefaults : public QObject {
    Q_OBJECT

private slots:
    void init();
    void typedReads_data();
    void typedReads();
    void absentValues();
    void roundTripThroughIni_data();
    void roundTripThroughIni();
    void patternKeepsItsRecords();
    void overridesWinAndAreNeverStored();
    void registeredValuesAreFallbacksOnly();
    void removeFallsBackToRegistered();

private:
    QString iniText() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestUserDefaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath("quorl.ini");
}

QString TestUserDefaults::iniText() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void TestUserDefaults::typedReads_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("asBool");
    QTest::addColumn<qint64>("asInteger");
    QTest::addColumn<QString>("asString");

    QTest::newRow("true") << QVariant(true) << true << qint64(1) << "true";
    QTest::newRow("false") << QVariant(false) << false << qint64(0) << "false";
    QTest::newRow("integer") << QVariant(500) << true << qint64(500) << "500";
    QTest::newRow("zero") << QVariant(0) << false << qint64(0) << "0";
    QTest::newRow("text true") << QVariant("true") << true << qint64(0) << "true";
    QTest::newRow("text YES") << QVariant("YES") << true << qint64(0) << "YES";
    QTest::newRow("text number") << QVariant("12") << true << qint64(12) << "12";
    QTest::newRow("text other") << QVariant("maybe") << false << qint64(0) << "maybe";
}

void TestUserDefaults::typedReads()
{
    QFETCH(QVariant, value);
    QFETCH(bool, asBool);
    QFETCH(qint64, asInteger);
    QFETCH(QString, asString);

    UserDefaults defaults;
    defaults.openStore(m_path);
    defaults.setObject(value, "KEY");
    QCOMPARE(defaults.boolForKey("KEY"), asBool);
    QCOMPARE(defaults.integerForKey("KEY"), asInteger);
    QCOMPARE(defaults.stringForKey("KEY"), asString);

    // The same after the value went through the file.
    defaults.synchronize();
    UserDefaults reopened;
    reopened.openStore(m_path);
    QCOMPARE(reopened.boolForKey("KEY"), asBool);
    QCOMPARE(reopened.integerForKey("KEY"), asInteger);
    QCOMPARE(reopened.stringForKey("KEY"), asString);
}

void TestUserDefaults::absentValues()
{
    UserDefaults defaults;
    defaults.openStore(m_path);
    QVERIFY(!defaults.boolForKey("ABSENT"));
    QCOMPARE(defaults.integerForKey("ABSENT"), 0);
    QVERIFY(defaults.stringForKey("ABSENT").isEmpty());
    QVERIFY(defaults.arrayForKey("ABSENT").isEmpty());
    QVERIFY(!defaults.objectForKey("ABSENT").isValid());
}

void TestUserDefaults::roundTripThroughIni_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("several texts") << QVariant(QStringList{"a", "b, c", "d"}) << QStringList{"a", "b, c", "d"};
    QTest::newRow("one text") << QVariant(QStringList{"only"}) << QStringList{"only"};
    QTest::newRow("empty list") << QVariant(QStringList{}) << QStringList{};
    QTest::newRow("variant list") << QVariant(QVariantList{"x", 2}) << QStringList{"x", "2"};
}

void TestUserDefaults::roundTripThroughIni()
{
    QFETCH(QVariant, value);
    QFETCH(QStringList, expected);

    {
        UserDefaults defaults;
        defaults.openStore(m_path);
        defaults.setObject(value, "LIST");
        defaults.setBool(true, "FLAG_ON");
        defaults.setBool(false, "FLAG_OFF");
        defaults.synchronize();
    }
    UserDefaults reopened;
    reopened.openStore(m_path);
    QCOMPARE(reopened.stringArrayForKey("LIST"), expected);
    QCOMPARE(reopened.arrayForKey("LIST").size(), expected.size());
    QVERIFY(reopened.boolForKey("FLAG_ON"));
    QVERIFY(!reopened.boolForKey("FLAG_OFF"));
    QVERIFY(reopened.objectForKey("FLAG_OFF").isValid());
}

void TestUserDefaults::patternKeepsItsRecords()
{
    const QVariantMap token{{"tokenField", "[Artist]"}};
    {
        UserDefaults defaults;
        defaults.openStore(m_path);
        defaults.setObject(QVariantList{token, " - ", QVariantMap{{"tokenField", "[Title]"}}}, "PATTERN");
        defaults.synchronize();
    }
    UserDefaults reopened;
    reopened.openStore(m_path);
    const QVariantList pattern = reopened.arrayForKey("PATTERN");
    QCOMPARE(pattern.size(), 3);
    QCOMPARE(pattern.at(0).toMap(), token);
    QCOMPARE(pattern.at(1).toString(), " - ");
    QCOMPARE(pattern.at(2).toMap().value("tokenField").toString(), "[Title]");
}

void TestUserDefaults::overridesWinAndAreNeverStored()
{
    UserDefaults defaults;
    defaults.openStore(m_path);
    defaults.registerDefaults({{"SCALE_MAX_PIXEL_SIZE", 500}});
    defaults.setInteger(800, "SCALE_MAX_PIXEL_SIZE");
    defaults.setOverride("SCALE_MAX_PIXEL_SIZE", 300);
    defaults.setOverride("ONLY_OVERRIDDEN", true);
    QCOMPARE(defaults.integerForKey("SCALE_MAX_PIXEL_SIZE"), 300);
    QVERIFY(defaults.boolForKey("ONLY_OVERRIDDEN"));
    defaults.synchronize();
    QVERIFY(!iniText().contains("300"));
    QVERIFY(!iniText().contains("ONLY_OVERRIDDEN"));

    defaults.clearOverrides();
    QCOMPARE(defaults.integerForKey("SCALE_MAX_PIXEL_SIZE"), 800);

    // Opening a store drops the overrides.
    defaults.setOverride("SCALE_MAX_PIXEL_SIZE", 1);
    defaults.openStore(m_path);
    QCOMPARE(defaults.integerForKey("SCALE_MAX_PIXEL_SIZE"), 800);
}

void TestUserDefaults::registeredValuesAreFallbacksOnly()
{
    UserDefaults defaults;
    defaults.openStore(m_path);
    defaults.registerDefaults({{"SCALE_IMAGES", false}, {"NAMING_PATTERN", QStringList{"a", "b"}}});
    QVERIFY(defaults.isRegistered("SCALE_IMAGES"));
    QCOMPARE(defaults.registeredKeys(), QStringList({"NAMING_PATTERN", "SCALE_IMAGES"}));
    QCOMPARE(defaults.stringArrayForKey("NAMING_PATTERN"), QStringList({"a", "b"}));
    QVERIFY(!defaults.boolForKey("SCALE_IMAGES"));

    defaults.setBool(true, "OTHER");
    defaults.synchronize();
    QVERIFY(iniText().contains("OTHER"));
    QVERIFY(!iniText().contains("SCALE_IMAGES"));
    QVERIFY(!iniText().contains("NAMING_PATTERN"));

    // A stored value wins over the registered one.
    defaults.setBool(true, "SCALE_IMAGES");
    QVERIFY(defaults.boolForKey("SCALE_IMAGES"));
    QCOMPARE(defaults.registeredValue("SCALE_IMAGES"), QVariant(false));
}

void TestUserDefaults::removeFallsBackToRegistered()
{
    UserDefaults defaults;
    defaults.openStore(m_path);
    defaults.registerDefaults({{"CAPITALIZATION_TITLE_CASE", true}});
    defaults.setBool(false, "CAPITALIZATION_TITLE_CASE");
    QVERIFY(!defaults.boolForKey("CAPITALIZATION_TITLE_CASE"));
    defaults.removeObjectForKey("CAPITALIZATION_TITLE_CASE");
    QVERIFY(defaults.boolForKey("CAPITALIZATION_TITLE_CASE"));
}

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "test_userdefaults.moc"
