#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString packagingFile(const QString &suffix)
{
    return QStringLiteral(QUORL_PACKAGING_DIR "/" QUORL_APP_ID) + suffix;
}

} // namespace

// What the desktop reads of Quorl: the desktop entry, the AppStream metadata, and the texts the
// window shows.
class TestDesktopFiles : public QObject {
    Q_OBJECT

private slots:
    void validatorsAcceptTheFiles_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList{packagingFile(".desktop")};
        QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net", "--pedantic", packagingFile(".metainfo.xml")};
    }

    void validatorsAcceptTheFiles()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty())
            QSKIP(qPrintable(program + QStringLiteral(" is not installed")));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(path, arguments);
        QVERIFY(process.waitForFinished(60000));
        const QString output = QString::fromUtf8(process.readAll());
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, qPrintable(output));
        // Warnings count as failures too: desktop-file-validate prints them and still exits 0.
        QVERIFY2(!output.contains(QLatin1String("warning"), Qt::CaseInsensitive), qPrintable(output));
    }

    void desktopEntryOpensTheFiveFormats_data()
    {
        QTest::addColumn<QString>("fileName");
        for (const char *name : {"song.mp3", "song.m4a", "song.m4b", "song.flac", "song.aiff", "song.aif", "song.wav"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void desktopEntryOpensTheFiveFormats()
    {
        QFETCH(QString, fileName);
        QFile entry(packagingFile(QStringLiteral(".desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList listed;
        for (const QString &line : QString::fromUtf8(entry.readAll()).split(u'\n')) {
            if (line.startsWith(QLatin1String("MimeType=")))
                listed = line.mid(9).split(u';', Qt::SkipEmptyParts);
        }
        QVERIFY(!listed.isEmpty());
        const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
        QVERIFY2(type.isValid() && !type.isDefault(), qPrintable(fileName));
        const QStringList names = QStringList{type.name()} + type.aliases();
        const bool offered = std::any_of(names.begin(), names.end(), [&](const QString &name) { return listed.contains(name); });
        QVERIFY2(offered, qPrintable(type.name()));
    }

    void everyWindowTextIsInTheStringTable()
    {
        QFile tableFile(QStringLiteral(QUORL_PACKAGING_DIR "/../translations/quorl_en.ts"));
        QVERIFY(tableFile.open(QIODevice::ReadOnly));
        static const QRegularExpression entry(QStringLiteral("<message id=\"([^\"]+)\">"));
        QSet<QString> table;
        for (const QRegularExpressionMatch &match : entry.globalMatch(QString::fromUtf8(tableFile.readAll())))
            table.insert(match.captured(1));
        // Keys are plain literals in UpperCamelCase; settings keys and names are not.
        static const QRegularExpression key(QStringLiteral(
            "(?<!QStringLiteral\\()(?<!QLatin1String\\()\"([A-Z0-9][A-Za-z0-9]*[a-z][A-Za-z0-9]*)\""));
        QStringList missing;
        int keys = 0;
        for (const QString &folder : {QStringLiteral(QUORL_PACKAGING_DIR "/../src/ui"), QStringLiteral(QUORL_PACKAGING_DIR "/../app")}) {
            const QDir dir(folder);
            for (const QString &name : dir.entryList({QStringLiteral("*.cpp"), QStringLiteral("*.h")})) {
                QFile file(dir.filePath(name));
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QString source = QString::fromUtf8(file.readAll());
                for (const QRegularExpressionMatch &match : key.globalMatch(source)) {
                    ++keys;
                    if (!table.contains(match.captured(1)))
                        missing.append(match.captured(1));
                }
            }
        }
        QVERIFY(keys > 50);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));
    }
};

QTEST_MAIN(TestDesktopFiles)
#include "test_desktopfiles.moc"
