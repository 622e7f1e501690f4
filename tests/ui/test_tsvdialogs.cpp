#include "editor/editorcontroller.h"
#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"
#include "ui/tsvdialogs.h"
#include "windowtesting.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace WindowTesting;

namespace {

// Answers the window-modal file dialogs by typing the path, or cancels them when it is empty.
// Records whether the last was a save dialog and the name it proposed.
class FileDialogAnswerer {
public:
    explicit FileDialogAnswerer(const QString &path)
        : m_path(path)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(20);
    }

    int shown = 0;
    bool savesFile = false;
    QString proposedName;

private:
    void poll()
    {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *name = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!name || !dialog->isVisible())
            return;
        ++shown;
        savesFile = dialog->acceptMode() == QFileDialog::AcceptSave;
        proposedName = name->text();
        if (m_path.isEmpty())
            return dialog->reject();
        name->setText(m_path);
        QMetaObject::invokeMethod(dialog, "accept");
    }

    QString m_path;
    QTimer m_timer;
};

bool open(TestWindow &test, const QList<int> &selected)
{
    if (!test.open({{"a.mp3", "Alpha", "Ann", {}, {}, "silence.mp3"},
                    {"b.mp3", "Beta", "Bob", "Best Of", {}, "silence.mp3"},
                    {"c.flac", "Gamma", "Cy", {}, {}, "silence.flac"}}))
        return false;
    select(*test, selected);
    return true;
}

} // namespace

// The song-list commands of the File menu, through their dialogs on prepared files.
class TestTsvDialogs : public QObject {
    Q_OBJECT

private slots:
    void exportsTheSelection_data()
    {
        QTest::addColumn<QList<int>>("selected");
        // The file's text, or empty when the dialog is cancelled and nothing may be written.
        QTest::addColumn<QString>("written");
        const QString header("Track\tTitle\tArtist\tAlbum Artist\tComposer\tAlbum\tDisc\tGenre\tYear\tComment\t"
                             "File Name\n");
        QTest::newRow("the last two songs") << QList<int>{1, 2}
                                            << header + "\tBeta\tBob\t\t\tBest Of\t\t\t\t\tb.mp3\n"
                                                        "\tGamma\tCy\t\t\t\t\t\t\t\tc.flac\n";
        QTest::newRow("cancelled") << QList<int>{0, 1, 2} << QString();
    }

    void exportsTheSelection()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QString, written);
        TestWindow test;
        QVERIFY(open(test, selected));
        const QString path = test.dir().filePath(QStringLiteral("list.tsv"));
        FileDialogAnswerer answerer(written.isEmpty() ? QString() : path);
        QAction *command = test->tsvDialogs()->exportAction();
        command->trigger();
        QCOMPARE(answerer.shown, 1);
        QVERIFY(answerer.savesFile);
        QCOMPARE(answerer.proposedName, QStringLiteral("songs.tsv"));
        QFile file(path);
        QCOMPARE(file.exists(), !written.isEmpty());
        if (file.open(QIODevice::ReadOnly))
            QCOMPARE(QString::fromUtf8(file.readAll()), written);
        test->table()->clearSelection();
        QVERIFY(!command->isEnabled());
    }

    // The list's reading is tested in the tools; here the dialogs around it.
    void importsIntoTheSelection_data()
    {
        QTest::addColumn<QByteArray>("list");
        // The buttons pressed in the reports, and the reports' messages.
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("titles");
        const QStringList unchanged{"Alpha", "Beta", "Gamma"};
        QTest::newRow("titles and artists") << QByteArray("Title\tArtist\nOne\tA\nTwo\tB\nThree\tC\n")
                                            << QStringList() << QStringList() << QStringList{"One", "Two", "Three"};
        QTest::newRow("a track that is no number, details shown")
            << QByteArray("Track\tTitle\nx\tOne\n2\tTwo\n3\tThree\n") << QStringList{"ShowDetails", "OK"}
            << QStringList{"CouldNotImport", "ErrorDetails"} << unchanged;
        QTest::newRow("cancelled") << QByteArray() << QStringList() << QStringList() << unchanged;
    }

    void importsIntoTheSelection()
    {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, titles);
        TestWindow test;
        QVERIFY(open(test, {0, 1, 2}));
        FileDialogAnswerer chooser(list.isEmpty() ? QString() : writeFile(test.dir(), QStringLiteral("list.tsv"), list));
        DialogAnswerer reports;
        for (const QString &answer : answers)
            reports.answer(answer);
        test->tsvDialogs()->importAction()->trigger();
        QCOMPARE(chooser.shown, 1);
        QVERIFY(!chooser.savesFile);
        QStringList expected;
        for (const QString &key : asked)
            expected.append(Localized::text(key));
        QCOMPARE(reports.asked, expected);

        // The window stays usable, and only an accepted list changes what is saved.
        QAction *save = test->action(MainWindow::Command::Save);
        QVERIFY(save->isEnabled());
        save->trigger();
        QVERIFY(waitForSave(*test));
        for (int row = 0; row < titles.size(); ++row)
            QCOMPARE(reread(*song(*test, row))->title(), titles[row]);
    }
};

QTEST_MAIN(TestTsvDialogs)
#include "test_tsvdialogs.moc"
