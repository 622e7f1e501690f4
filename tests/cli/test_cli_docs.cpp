// The completion scripts and the manual page that the build writes with quorl-cli: bash offers
// what the tool takes for a few typed prefixes, zsh and man read their files without a complaint,
// and each file names every option of the help.

#include "clitesting.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

class TestCliDocs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(prepareCliTests(m_work));
        m_config = m_work.filePath(QStringLiteral("config"));
        for (const char *program : {"bash", "zsh", "man"})
            QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty(),
                     "scripts/install-deps.sh installs what these tests run");
        m_bashScript = written({"--print-completion", "bash"}, QStringLiteral("quorl-cli.bash"));
        QVERIFY(!m_bashScript.isEmpty());
        QVERIFY(!makeSong(m_work.filePath(QStringLiteral("files")), "mp3", "song.mp3").isEmpty());
    }

    void bashCompletes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("command") << "quorl-cli ex" << QStringList{"extract", "export"};
        QTest::newRow("command and global options") << "quorl-cli --json read --fo" << QStringList{"--format", "--force"};
        QTest::newRow("setting key") << "quorl-cli -D COMPOSITION_T" << QStringList{"COMPOSITION_TARGET="};
        QTest::newRow("setting value is free") << "quorl-cli -D COMPOSITION_TARGET=" << QStringList();
        QTest::newRow("sort keys after a comma") << "quorl-cli --sort=year,-ti" << QStringList{"year,-title"};
        QTest::newRow("JSON fields") << "quorl-cli read --fields disc,is"
                                     << QStringList{"disc,isCompilation", "disc,isRenamable", "disc,isModified"};
        QTest::newRow("schemes of the command") << "quorl-cli compose --scheme " << QStringList{"title-track", "custom"};
        QTest::newRow("lookup action") << "quorl-cli discogs a" << QStringList{"apply"};
        QTest::newRow("pattern is free") << "quorl-cli name --pattern " << QStringList();
        QTest::newRow("files") << "quorl-cli read {}/so" << QStringList{"{}/song.mp3"};
    }

    void bashCompletes()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, offered);
        const QString folder = m_work.filePath(QStringLiteral("files"));
        line.replace(QStringLiteral("{}"), folder);
        offered.replaceInStrings(QStringLiteral("{}"), folder);
        // As bash calls the completion: the line and the cursor at its end.
        const QString script = QStringLiteral(R"(source "$1"
complete -p quorl-cli >/dev/null || exit 3
COMP_LINE=$2; COMP_POINT=${#COMP_LINE}
_quorl_cli 2>/dev/null
printf '%s\n' "${COMPREPLY[@]}")");
        const CliRun output = runProgram(QStringLiteral("bash"), {"-c", script, "bash", m_bashScript, line}, {});
        QVERIFY2(output.exitCode == 0, output.err.constData());
        QStringList words = QString::fromUtf8(output.out).split(u'\n', Qt::SkipEmptyParts);
        words.sort();
        offered.sort();
        QCOMPARE(words, offered);
    }

    void filesCoverTheHelp_data()
    {
        QTest::addColumn<QStringList>("print");
        QTest::addColumn<QStringList>("reader"); // run on the file, which must take it without a word
        QTest::newRow("bash") << QStringList{"--print-completion", "bash"} << QStringList{"bash", "-n"};
        QTest::newRow("zsh") << QStringList{"--print-completion", "zsh"} << QStringList{"zsh", "-n"};
        QTest::newRow("manual") << QStringList{"--print-man"} << QStringList{"man", "--warnings", "-l"};
    }

    void filesCoverTheHelp()
    {
        QFETCH(QStringList, print);
        QFETCH(QStringList, reader);
        const QString path = written(print, QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(!path.isEmpty());
        const CliRun read = runProgram(reader.first(), reader.mid(1) + QStringList{path},
                                       {"MANWIDTH=80", "MANPAGER=cat", "LC_ALL=C.UTF-8"});
        QVERIFY2(read.exitCode == 0 && read.err.isEmpty(), read.err.constData());
        // The rendered page, or the script itself.
        const QByteArray text = reader.first() == u"man" ? read.out : fileBytes(path);

        // Every option of the general help and of each command's help, and each command.
        static const QRegularExpression option(QStringLiteral("^  (?:(-\\w), )?(--?[\\w-]+)"),
                                               QRegularExpression::MultilineOption);
        QStringList helps{QString::fromUtf8(runCli({"--help"}, m_config).out)};
        const QStringList commands = {"read",   "edit",       "name",   "extract", "compose", "number",
                                      "case",   "all-in-one", "export", "import",  "covers",  "discogs"};
        for (const QString &command : commands) {
            QVERIFY2(text.contains(command.toUtf8()), qPrintable(command));
            helps.append(QString::fromUtf8(runCli({command, QStringLiteral("--help")}, m_config).out));
        }
        for (const QString &help : std::as_const(helps)) {
            for (auto it = option.globalMatch(help); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                for (const QString &word : match.capturedTexts().mid(1))
                    QVERIFY2(word.isEmpty() || text.contains(word.toUtf8()), qPrintable(word));
            }
        }
    }

private:
    QString written(const QStringList &arguments, const QString &name)
    {
        const CliRun result = runCli(arguments, m_config);
        if (result.exitCode != 0 || !result.err.isEmpty())
            return QString();
        return writeFile(m_work, name, result.out);
    }

    QTemporaryDir m_work;
    QString m_config;
    QString m_bashScript;
};

QTEST_GUILESS_MAIN(TestCliDocs)
#include "test_cli_docs.moc"
