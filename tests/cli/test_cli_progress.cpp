#include "clitesting.h"

#include "model/localized.h"

#include <QTemporaryDir>
#include <QTest>

static constexpr int SongCount = 150;

// The count of a long load or save on standard error: one line rewritten in place on a
// terminal, erased at the end; nothing when standard error is no terminal or with --quiet.
class TestCliProgress : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(prepareCliTests(m_dir) && Localized::installStringTable()); }

    void init()
    {
        // A fresh folder of songs each time: the saves change them.
        QVERIFY(nextCliFolders(m_dir, &m_config, &m_songs));
        for (int i = 0; i < SongCount; ++i)
            QVERIFY(!makeSong(m_songs, "mp3", QStringLiteral("%1.mp3").arg(i, 3, 10, QLatin1Char('0'))).isEmpty());
    }

    void terminal_data()
    {
        QTest::addColumn<bool>("quiet");
        QTest::newRow("counts") << false;
        QTest::newRow("--quiet shows nothing") << true;
    }

    void terminal()
    {
        QFETCH(bool, quiet);
        const QStringList options = quiet ? QStringList{"--quiet"} : QStringList();
        const TerminalRun run
            = runOnTerminal(options + QStringList{"--yes", "edit", "--title", "Counted", m_songs}, m_config);
        QVERIFY2(run.exitCode == 0, run.terminal.constData());
        QVERIFY(run.out.contains(Localized::text("CliSaveSummaryXY").arg(SongCount).arg(0).toUtf8()));
        if (quiet) {
            QCOMPARE(run.terminal, QByteArray());
            return;
        }
        const QString terminal = QString::fromUtf8(run.terminal);
        // Each text starts at the beginning of the line and clears what is left of it.
        const QString reading = u'\r' + Localized::text("Reading") + QStringLiteral("\x1b[K");
        QVERIFY2(terminal.contains(reading), qPrintable(terminal));
        // The first count of the save is drawn at once, however fast the save.
        const QString savingCount
            = Localized::text("SavingXOfY").arg(QStringLiteral("\\d+"), QString::number(SongCount));
        QVERIFY2(terminal.contains(QRegularExpression(QStringLiteral("\r") + savingCount + QStringLiteral("\x1b\\[K"))),
                 qPrintable(terminal));
        // Nothing but the counter went there, and it was erased at the end.
        QVERIFY2(terminal.endsWith(QStringLiteral("\r\x1b[K")), qPrintable(terminal));
        QVERIFY(!terminal.contains(u'\n'));
    }

    void nothingWhenStandardErrorIsNoTerminal_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("read") << QStringList{"read"};
        QTest::newRow("edit") << QStringList{"--yes", "edit", "--title", "Piped"};
    }

    void nothingWhenStandardErrorIsNoTerminal()
    {
        QFETCH(QStringList, arguments);
        const CliRun run = runCli(arguments + QStringList{m_songs}, m_config);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QVERIFY(!run.out.isEmpty());
    }

private:
    QTemporaryDir m_dir;
    QString m_config;
    QString m_songs;
};

QTEST_GUILESS_MAIN(TestCliProgress)
#include "test_cli_progress.moc"
