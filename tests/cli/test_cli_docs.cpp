// The completion scripts and the manual page that the build writes with quorl-cli: bash offers
// what the tool takes for a few typed prefixes, zsh reads its script, and man renders the page
// without a warning, listing every command and option of the help.

#include "clitesting.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

class TestCliDocs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void bashCompletes_data();
    void bashCompletes();
    void zshReadsItsScript();
    void manualRendersWithoutWarnings();

private:
    QString written(const QStringList &arguments, const QString &name);

    QTemporaryDir m_work;
    QString m_config;
    QString m_bashScript;
};

namespace {

// The option words of a help text ("--json", "-o").
QStringList helpOptions(const QByteArray &help)
{
    static const QRegularExpression option(QStringLiteral("^  (?:(-\\w), )?(--?[\\w-]+)"),
                                           QRegularExpression::MultilineOption);
    QStringList words;
    for (auto it = option.globalMatch(QString::fromUtf8(help)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        words << match.captured(2);
        if (!match.captured(1).isEmpty())
            words << match.captured(1);
    }
    return words;
}

} // namespace

void TestCliDocs::initTestCase()
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

QString TestCliDocs::written(const QStringList &arguments, const QString &name)
{
    const CliRun result = runCli(arguments, m_config);
    if (result.exitCode != 0 || !result.err.isEmpty())
        return QString();
    return writeFile(m_work, name, result.out);
}

void TestCliDocs::bashCompletes_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("commands") << "quorl-cli " << QStringList{"read", "edit", "name", "extract", "compose", "number",
                                                              "case", "all-in-one", "export", "import", "covers",
                                                              "discogs"};
    QTest::newRow("command prefix") << "quorl-cli ex" << QStringList{"extract", "export"};
    QTest::newRow("global option") << "quorl-cli --dr" << QStringList{"--dry-run"};
    QTest::newRow("command and global options") << "quorl-cli --json read --fo" << QStringList{"--format", "--force"};
    QTest::newRow("setting key") << "quorl-cli -D COMPOSITION_T" << QStringList{"COMPOSITION_TARGET="};
    QTest::newRow("setting value is free") << "quorl-cli -D COMPOSITION_TARGET=" << QStringList();
    QTest::newRow("sort keys after a comma") << "quorl-cli --sort=year,-ti" << QStringList{"year,-title"};
    QTest::newRow("JSON fields") << "quorl-cli read --fields disc,is"
                                 << QStringList{"disc,isCompilation", "disc,isRenamable", "disc,isModified"};
    QTest::newRow("clear fields") << "quorl-cli edit --clear com" << QStringList{"composer", "comment", "compilation"};
    QTest::newRow("schemes of the command") << "quorl-cli compose --scheme " << QStringList{"title-track", "custom"};
    QTest::newRow("source") << "quorl-cli extract --source t" << QStringList{"title"};
    QTest::newRow("lookup action") << "quorl-cli discogs a" << QStringList{"apply"};
    QTest::newRow("pattern is free") << "quorl-cli name --pattern " << QStringList();
    QTest::newRow("files") << "quorl-cli read {}/so" << QStringList{"{}/song.mp3"};
}

void TestCliDocs::bashCompletes()
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

void TestCliDocs::zshReadsItsScript()
{
    const QString path = written({"--print-completion", "zsh"}, QStringLiteral("_quorl-cli"));
    QVERIFY(!path.isEmpty());
    QVERIFY(fileBytes(path).startsWith("#compdef quorl-cli\n"));
    const CliRun syntax = runProgram(QStringLiteral("zsh"), {"-n", path}, {});
    QVERIFY2(syntax.exitCode == 0 && syntax.err.isEmpty(), syntax.err.constData());
    // Every option of the help is in the script.
    const QByteArray script = fileBytes(path);
    for (const QString &option : helpOptions(runCli({"--help"}, m_config).out))
        QVERIFY2(script.contains(option.toUtf8()), qPrintable(option));
}

void TestCliDocs::manualRendersWithoutWarnings()
{
    const QString path = written({"--print-man"}, QStringLiteral("quorl-cli.1"));
    QVERIFY(!path.isEmpty());
    const CliRun page = runProgram(QStringLiteral("man"), {"--warnings", "-l", path},
                                   {"MANWIDTH=80", "LC_ALL=C.UTF-8", "MANPAGER=cat", "PAGER=cat"});
    QVERIFY2(page.exitCode == 0, page.err.constData());
    QVERIFY2(page.err.isEmpty(), page.err.constData());
    const QString text = QString::fromUtf8(page.out);
    // Every command with every option its help lists, and the exit codes.
    const CliRun help = runCli({"--help"}, m_config);
    QStringList expected = helpOptions(help.out);
    const QStringList commands = {"read",   "edit",       "name",   "extract", "compose", "number",
                                  "case",   "all-in-one", "export", "import",  "covers",  "discogs"};
    for (const QString &command : commands) {
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("^   %1 ").arg(command),
                                                  QRegularExpression::MultilineOption)),
                 qPrintable(command));
        expected += helpOptions(runCli({command, QStringLiteral("--help")}, m_config).out);
    }
    for (const QString &option : std::as_const(expected))
        QVERIFY2(text.contains(option), qPrintable(option));
    for (const char *code : {"130", "143"})
        QVERIFY(text.contains(QLatin1String(code)));
}

QTEST_GUILESS_MAIN(TestCliDocs)
#include "test_cli_docs.moc"
