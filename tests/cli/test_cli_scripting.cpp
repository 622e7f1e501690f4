// End-to-end runs of what scripts lean on: the dry run's rows checked against the real run that
// follows, --sort, read --format and --fields, control characters kept off the terminal, paths
// that cannot be loaded, the name on disk after a rename, and renames that leave the contents.

#include "clitesting.h"

#include "model/userdefaults.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestCliScripting : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(prepareCliTests(m_work)); }

    void init() { QVERIFY(nextCliFolders(m_work, &m_config, &m_songs)); }

    void previewRowsMatchTheRealRun_data()
    {
        QTest::addColumn<QStringList>("titles"); // of the songs 1.mp3, 2.mp3, ... named by {Title}
        QTest::addColumn<QStringList>("others"); // files in the folder that are not loaded
        QTest::addColumn<QStringList>("renames"); // per song "to status"
        QTest::addColumn<QStringList>("namesAfter");
        using L = QStringList;
        QTest::newRow("renamed") << L{"Blue"} << L() << L{"Blue.mp3 ok"} << L{"Blue.mp3"};
        QTest::newRow("name unchanged") << L{"1"} << L() << L{"1.mp3 unchanged"} << L{"1.mp3"};
        QTest::newRow("two songs want one name")
            << L{"Same", "Same"} << L() << L{"Same.mp3 ok", "Same.mp3 collision"} << L{"2.mp3", "Same.mp3"};
        QTest::newRow("another file has the name") << L{"Taken"} << L{"Taken.mp3"} << L{"Taken.mp3 exists"}
                                                   << L{"1.mp3", "Taken.mp3"};
        QTest::newRow("a name the song before gives up") << L{"x", "1"} << L() << L{"x.mp3 ok", "1.mp3 ok"}
                                                         << L{"1.mp3", "x.mp3"};
        QTest::newRow("a name the song after still holds") << L{"2", "y"} << L() << L{"2.mp3 exists", "y.mp3 ok"}
                                                           << L{"1.mp3", "y.mp3"};
        QTest::newRow("nothing but dots") << L{"..."} << L() << L{"....mp3 invalid"} << L{"1.mp3"};
        const QString tooLong(300, u'a');
        QTest::newRow("too long") << L{tooLong} << L() << L{tooLong + ".mp3 too-long"} << L{"1.mp3"};
        QTest::newRow("made usable") << L{"X: y?"} << L() << L{"X- y.mp3 ok"} << L{"X- y.mp3"};
        QTest::newRow("a value missing") << L{"", "Blue"} << L() << L{"1.mp3 not-named", "Blue.mp3 ok"}
                                         << L{"1.mp3", "Blue.mp3"};
    }

    void previewRowsMatchTheRealRun()
    {
        QFETCH(QStringList, titles);
        QFETCH(QStringList, others);
        QFETCH(QStringList, renames);
        QFETCH(QStringList, namesAfter);
        QStringList paths;
        for (qsizetype i = 0; i < titles.size(); ++i)
            paths.append(makeSong(m_songs, "mp3", QStringLiteral("%1.mp3").arg(i + 1), {{"title", titles.at(i)}}));
        for (const QString &other : others)
            QVERIFY(!makeSong(m_songs, "mp3", other).isEmpty());
        QVERIFY(!paths.contains(QString()));
        const QStringList command = QStringList{"name", "--pattern", "{Title}"} + paths;
        const QStringList filesBefore = fileNames(m_songs);
        QList<QByteArray> bytesBefore;
        std::transform(paths.begin(), paths.end(), std::back_inserter(bytesBefore), fileBytes);

        const CliRun preview = run(QStringList{"--dry-run", "--json"} + command);
        const QJsonArray rows = preview.songs();
        QCOMPARE(rows.size(), titles.size());
        QStringList shown;
        for (const QJsonValue &row : rows) {
            const QJsonObject rename = row.toObject().value("rename").toObject();
            shown.append(rename.value("to").toString() + u' ' + rename.value("status").toString());
        }
        QCOMPARE(shown, renames);
        const bool allDone = std::all_of(renames.begin(), renames.end(), [](const QString &row) {
            return row.endsWith(" ok") || row.endsWith(" unchanged") || row.endsWith(" case-only");
        });
        QCOMPARE(preview.exitCode, allDone ? 0 : 1);
        // The preview moved and wrote nothing.
        QCOMPARE(fileNames(m_songs), filesBefore);
        for (qsizetype i = 0; i < paths.size(); ++i)
            QCOMPARE(fileBytes(paths.at(i)), bytesBefore.at(i));

        // The real run does what the preview said, and names each file as it is on disk.
        const CliRun real = run(QStringList{"--json"} + command);
        QCOMPARE(real.exitCode, preview.exitCode);
        QCOMPARE(fileNames(m_songs), namesAfter);
        for (const QJsonValue &song : real.songs())
            QVERIFY(namesAfter.contains(song.toObject().value("fileName").toString()));
    }

    void previewShowsOldAndNewValues()
    {
        const QString path = makeSong(m_songs, "flac", "a.flac", {{"title", "Old"}, {"year", 1999}, {"track", "3"}});
        const QByteArray before = fileBytes(path);
        const CliRun result = run({"--dry-run", "edit", "--title", "New\x1b[2J", "--clear", "year", "--file-name",
                                   "b.flac", path});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QCOMPARE(fileBytes(path), before);
        const QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0), path);
        QCOMPARE(lines.at(1), QStringLiteral("  Title: \"Old\" → \"New\\e[2J\""));
        QCOMPARE(lines.at(2), QStringLiteral("  Year: 1999 → 0"));
        QCOMPARE(lines.at(3), QStringLiteral("  File name: \"a.flac\" → \"b.flac\" (ok)"));
        // The counts stay the last line.
        QVERIFY2(lines.at(4).contains("Files to save: 1") && lines.at(4).contains("Files to rename: 1"),
                 qPrintable(lines.at(4)));
    }

    void sortOrdersTheSongs_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("tracks"); // of 1.mp3, 2.mp3, 10.mp3 after "number"
        QTest::newRow("walk order") << QString() << QStringList{"01/03", "03/03", "02/03"};
        QTest::newRow("file names in natural order") << "fileName" << QStringList{"01/03", "02/03", "03/03"};
        QTest::newRow("year, then title descending") << "year,-title" << QStringList{"03/03", "01/03", "02/03"};
    }

    void sortOrdersTheSongs()
    {
        QFETCH(QString, order);
        QFETCH(QStringList, tracks);
        const QStringList paths = {
            makeSong(m_songs, "mp3", "1.mp3", {{"year", 2001}, {"title", "a"}}),
            makeSong(m_songs, "mp3", "2.mp3", {{"year", 2000}, {"title", "b"}}),
            makeSong(m_songs, "mp3", "10.mp3", {{"year", 2000}, {"title", "a"}}),
        };
        QVERIFY(!paths.contains(QString()));
        const QStringList sort = order.isEmpty() ? QStringList() : QStringList{"--sort", order};
        const CliRun result = run(sort + QStringList{"number", m_songs});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        for (qsizetype i = 0; i < paths.size(); ++i)
            QCOMPARE(readSong(paths.at(i))->track(), tracks.at(i));
    }

    void formatAndFields_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out"); // {} stands for the song folder
        QTest::newRow("format") << QStringList{"--format", "{Track}. {Artist} - {Title}"} << 0
                                << QByteArray("3. Nina - Blue\\tHour\n7. Ola - Salt\n");
        QTest::newRow("file path and braces") << QStringList{"--format={{{File Path}}}"} << 0
                                              << QByteArray("{{}/a.mp3}\n{{}/b.flac}\n");
        QTest::newRow("fields") << QStringList{"--fields", "title,fileName"} << 0
                                << QByteArray("[\n  {\"fileName\": \"a.mp3\", \"title\": \"Blue\\tHour\"},\n"
                                              "  {\"fileName\": \"b.flac\", \"title\": \"Salt\"}\n]\n");
        QTest::newRow("empty format") << QStringList{"--format", ""} << 2 << QByteArray();
        QTest::newRow("unknown field") << QStringList{"--fields", "title,colour"} << 2 << QByteArray();
        QTest::newRow("unknown sort key") << QStringList{"--sort", "colour"} << 2 << QByteArray();
        QTest::newRow("format and JSON") << QStringList{"--json", "--format", "{Title}"} << 2 << QByteArray();
    }

    void formatAndFields()
    {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QVERIFY(!makeSong(m_songs, "mp3", "a.mp3", {{"title", "Blue\tHour"}, {"artist", "Nina"}, {"track", "3/9"}})
                     .isEmpty());
        QVERIFY(!makeSong(m_songs, "flac", "b.flac", {{"title", "Salt"}, {"artist", "Ola"}, {"track", "7"}}).isEmpty());
        const CliRun result = run(QStringList{"read"} + options + QStringList{m_songs});
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, out.replace("{}", m_songs.toUtf8()));
        QCOMPARE(result.err.isEmpty(), exitCode == 0);
    }

    void controlCharactersAreEscaped()
    {
        const QString title = QStringLiteral("A\x1b]0;owned\x07 B\u0085C");
        const QString path = makeSong(m_songs, "m4a", "a\x1b[31m.m4a", {{"title", title}, {"comment", "x\ry"}});
        QVERIFY(!path.isEmpty());
        const CliRun text = run({"read", path});
        QCOMPARE(text.exitCode, 0);
        QVERIFY2(text.out.contains("/a\\e[31m.m4a\n"), text.out.constData());
        QVERIFY2(text.out.contains(QStringLiteral("A\\e]0;owned\\x07 B\\x85C").toUtf8()), text.out.constData());
        QVERIFY2(text.out.contains("x\\ry"), text.out.constData());
        QVERIFY(!text.out.contains('\x1b') && !text.out.contains('\x07') && !text.out.contains("\xc2\x85"));
        // So do the picture listing and the reports on standard error.
        const CliRun covers = run({"covers", path});
        QVERIFY2(covers.out.startsWith(path.toUtf8().replace("\x1b", "\\e")), covers.out.constData());
        const CliRun report = run({"name", "--pattern", "{Composer}", path});
        QCOMPARE(report.exitCode, 1);
        QVERIFY2(report.err.contains("a\\e[31m.m4a") && !report.err.contains('\x1b'), report.err.constData());
        // JSON carries the texts exactly.
        const CliRun json = run({"--json", "read", path});
        QCOMPARE(json.songs().at(0).toObject().value("title").toString(), title);
        QCOMPARE(json.songs().at(0).toObject().value("filePath").toString(), path);
    }

    void pathsThatCannotBeLoaded_data()
    {
        QTest::addColumn<QString>("name");   // created in the song folder, "" for nothing
        QTest::addColumn<QString>("kind");   // "file", "link", "locked" or ""
        QTest::addColumn<QString>("reported");
        QTest::newRow("nothing there") << "gone.mp3" << "" << "no such file";
        QTest::newRow("not a music file") << "passwd" << "file" << "not a music file";
        QTest::newRow("link to nothing") << "dangling.mp3" << "link" << "a link to nothing";
        QTest::newRow("folder that cannot be listed") << "locked" << "locked" << "cannot be listed";
    }

    void pathsThatCannotBeLoaded()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, reported);
        if (kind == u"locked" && ::geteuid() == 0)
            QSKIP("the superuser lists every folder");
        const QString good = makeSong(m_songs, "mp3", "good.mp3", {{"title", "Old"}});
        const QString bad = QDir(m_songs).filePath(name);
        if (kind == u"file")
            QVERIFY(QFile::copy(QStringLiteral("/etc/passwd"), bad));
        else if (kind == u"locked")
            QVERIFY(QDir().mkpath(bad + "/inner"));
        else if (kind == u"link")
            QVERIFY(QFile::link(QDir(m_songs).filePath("nowhere.mp3"), bad));
        if (kind == u"locked")
            QVERIFY(QFile::setPermissions(bad, QFileDevice::Permissions()));
        const QByteArray badBefore = kind == u"file" ? fileBytes(bad) : QByteArray();

        const CliRun result = run({"edit", "--title", "New", bad, good});
        if (kind == u"locked")
            QFile::setPermissions(bad, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(reported.toUtf8()) && result.err.contains(bad.toUtf8()), result.err.constData());
        // The other path is handled all the same.
        QCOMPARE(readSong(good)->title(), QStringLiteral("New"));
        if (kind == u"file")
            QCOMPARE(fileBytes(bad), badBefore);
    }

    void renameAloneKeepsTheContents_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("ID3v2.3 tag") << "mp3" << false;
        QTest::newRow("read-only FLAC") << "flac" << true;
        QTest::newRow("M4A") << "m4a" << false;
    }

    void renameAloneKeepsTheContents()
    {
        QFETCH(QString, extension);
        QFETCH(bool, readOnly);
        // Tagged as ID3v2.3, where a save with the tool's settings would write version 2.4.
        UserDefaults::shared().setBool(true, QStringLiteral("WRITE_ID3_V23_TAGS"));
        const QString path = makeSong(m_songs, extension, "a." + extension, {{"title", "Kept"}, {"artist", "Nina"}});
        UserDefaults::shared().setBool(false, QStringLiteral("WRITE_ID3_V23_TAGS"));
        QVERIFY(!path.isEmpty());
        if (extension == u"mp3")
            QCOMPARE(fileBytes(path).mid(3, 1), QByteArray("\x03"));
        if (readOnly)
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        const QByteArray before = fileBytes(path);

        const CliRun result = run({"edit", "--file-name", "b." + extension, path});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QCOMPARE(fileNames(m_songs), QStringList{"b." + extension});
        QCOMPARE(fileBytes(QDir(m_songs).filePath("b." + extension)), before);
        QVERIFY2(result.out.contains("Files saved: 0. Files renamed: 1."), result.out.constData());
    }

private:
    CliRun run(const QStringList &arguments) { return runCli(arguments, m_config); }

    QTemporaryDir m_work;
    QString m_config;
    QString m_songs;
};

QTEST_GUILESS_MAIN(TestCliScripting)
#include "test_cli_scripting.moc"
