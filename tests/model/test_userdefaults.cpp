#include "model/userdefaults.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestUserDefaults : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath("quorl.ini");
    }

    void typedReads_data()
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

    void typedReads()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, asBool);
        QFETCH(qint64, asInteger);
        QFETCH(QString, asString);

        UserDefaults defaults;
        defaults.openStore(m_path);
        defaults.setObject(value, "KEY");
        defaults.synchronize();
        UserDefaults reopened;
        reopened.openStore(m_path);
        // The same before and after the value went through the file.
        for (const UserDefaults *read : {&defaults, &reopened}) {
            QCOMPARE(read->boolForKey("KEY"), asBool);
            QCOMPARE(read->integerForKey("KEY"), asInteger);
            QCOMPARE(read->stringForKey("KEY"), asString);
        }
    }

    void absentValues()
    {
        UserDefaults defaults;
        defaults.openStore(m_path);
        QVERIFY(!defaults.boolForKey("ABSENT"));
        QCOMPARE(defaults.integerForKey("ABSENT"), 0);
        QVERIFY(defaults.stringForKey("ABSENT").isEmpty());
        QVERIFY(defaults.arrayForKey("ABSENT").isEmpty());
        QVERIFY(!defaults.objectForKey("ABSENT").isValid());
    }

    void roundTripThroughIni_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("several texts") << QVariant(QStringList{"a", "b, c", "d"}) << QStringList{"a", "b, c", "d"};
        QTest::newRow("one text") << QVariant(QStringList{"only"}) << QStringList{"only"};
        QTest::newRow("empty list") << QVariant(QStringList{}) << QStringList{};
        QTest::newRow("variant list") << QVariant(QVariantList{"x", 2}) << QStringList{"x", "2"};
    }

    void roundTripThroughIni()
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

    void patternKeepsItsRecords()
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

    void overridesWinAndAreNeverStored()
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

    void registeredValuesAreFallbacksOnly()
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

        // A stored value wins over the registered one, which comes back once it is removed.
        defaults.setBool(true, "SCALE_IMAGES");
        QVERIFY(defaults.boolForKey("SCALE_IMAGES"));
        QCOMPARE(defaults.registeredValue("SCALE_IMAGES"), QVariant(false));
        defaults.removeObjectForKey("SCALE_IMAGES");
        QVERIFY(!defaults.boolForKey("SCALE_IMAGES"));
    }

    void changesAreSignalled_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("new key") << "set NEW 5" << QStringList{"NEW=5"};
        QTest::newRow("same value") << "set STORED 1" << QStringList{};
        QTest::newRow("other value") << "set STORED 2" << QStringList{"STORED=2"};
        QTest::newRow("registered value stored") << "set REG true" << QStringList{};
        QTest::newRow("stored value removed") << "remove STORED" << QStringList{"STORED="};
        QTest::newRow("absent key removed") << "remove NONE" << QStringList{};
        QTest::newRow("override") << "override STORED 9" << QStringList{"STORED=9"};
        QTest::newRow("overrides cleared") << "override REG false, clear" << QStringList{"REG=false", "REG=true"};
        QTest::newRow("registration") << "register NEW 3, register STORED 7" << QStringList{"NEW=3"};
        QTest::newRow("another store") << "open" << QStringList{"OTHER=x"};
    }

    void changesAreSignalled()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, heard);
        UserDefaults defaults;
        defaults.openStore(m_path);
        defaults.registerDefaults({{"REG", true}});
        defaults.setInteger(1, "STORED");
        QStringList log;
        // The receiver reads the store: the signal comes after the change and outside its lock.
        connect(&defaults, &UserDefaults::valueChanged, this,
                [&](const QString &key) { log.append(key + u'=' + defaults.stringForKey(key)); });

        for (const QString &step : operation.split(QStringLiteral(", "))) {
            const QStringList words = step.split(u' ');
            const QString verb = words.at(0);
            if (verb == u"set")
                defaults.setObject(words.at(2) == u"true" ? QVariant(true) : QVariant(words.at(2).toInt()), words.at(1));
            else if (verb == u"remove")
                defaults.removeObjectForKey(words.at(1));
            else if (verb == u"override")
                defaults.setOverride(words.at(1), words.at(2) == u"false" ? QVariant(false) : QVariant(words.at(2).toInt()));
            else if (verb == u"clear")
                defaults.clearOverrides();
            else if (verb == u"register")
                defaults.registerDefaults({{words.at(1), words.at(2).toInt()}});
            else if (verb == u"open") {
                const QString other = m_dir->filePath("other.ini");
                QFile file(other);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("[General]\nSTORED=1\nOTHER=x\n");
                file.close();
                defaults.openStore(other);
            } else {
                QFAIL(qPrintable(step));
            }
        }
        QCOMPARE(log, heard);
    }

private:
    QString iniText() const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(file.readAll());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestUserDefaults)
#include "test_userdefaults.moc"
