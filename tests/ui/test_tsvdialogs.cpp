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

// Answers the next window-modal file dialog with a path, or cancels it when the path is empty.
// Records whether it was a save dialog and the name it proposed.
class FileDialogAnswerer {
public:
    explicit FileDialogAnswerer(const QString &path)
        : m_path(path)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    int shown = 0;
    bool savesFile = false;
    QString proposedName;

private:
    void poll()
    {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        ++shown;
        savesFile = dialog->acceptMode() == QFileDialog::AcceptSave;
        proposedName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        if (m_path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed as a person would: selecting a file the dialog has not listed yet selects nothing.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        name->setText(m_path);
        QMetaObject::invokeMethod(dialog, "accept");
    }

    QString m_path;
    QTimer m_timer;
};

const QString Header = QStringLiteral("Track\tTitle\tArtist\tAlbum Artist\tComposer\tAlbum\tDisc\tGenre\tYear\tComment\tFile Name\n");

} // namespace

// The song-list commands of the File menu, through their dialogs on prepared files.
class TestTsvDialogs : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exportsTheSelection_data();
    void exportsTheSelection();
    void importsIntoTheSelection_data();
    void importsIntoTheSelection();

private:
    MainWindow &window() const { return **m_test; }

    std::optional<TestWindow> m_test;
};

void TestTsvDialogs::init()
{
    m_test.emplace();
    QVERIFY(m_test->open({{"a.mp3", "Alpha", "Ann", {}, {}, "silence.mp3"},
                          {"b.mp3", "Beta", "Bob", "Best Of", {}, "silence.mp3"},
                          {"c.flac", "Gamma", "Cy", {}, {}, "silence.flac"}}));
}

void TestTsvDialogs::cleanup()
{
    m_test.reset();
}

void TestTsvDialogs::exportsTheSelection_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("chosen");
    // The file's text, or empty when none may be written.
    QTest::addColumn<QString>("written");
    QTest::newRow("all songs") << QList<int>{0, 1, 2} << true
                               << Header + "\tAlpha\tAnn\t\t\t\t\t\t\t\ta.mp3\n"
                                           "\tBeta\tBob\t\t\tBest Of\t\t\t\t\tb.mp3\n"
                                           "\tGamma\tCy\t\t\t\t\t\t\t\tc.flac\n";
    QTest::newRow("the last song") << QList<int>{2} << true << Header + "\tGamma\tCy\t\t\t\t\t\t\t\tc.flac\n";
    QTest::newRow("cancelled") << QList<int>{0, 1, 2} << false << QString();
}

void TestTsvDialogs::exportsTheSelection()
{
    QFETCH(QList<int>, rows);
    QFETCH(bool, chosen);
    QFETCH(QString, written);
    SongTableView *table = window().table();
    table->clearSelection();
    for (int row : rows)
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString path = m_test->dir().filePath(QStringLiteral("list.tsv"));
    FileDialogAnswerer answerer(chosen ? path : QString());
    QAction *command = window().tsvDialogs()->exportAction();
    QVERIFY(command->isEnabled());
    command->trigger();
    QCOMPARE(answerer.shown, 1);
    QVERIFY(answerer.savesFile);
    QCOMPARE(answerer.proposedName, QStringLiteral("songs.tsv"));
    QFile file(path);
    QCOMPARE(file.exists(), chosen);
    if (chosen) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), written);
    }
    table->clearSelection();
    QVERIFY(!command->isEnabled());
}

void TestTsvDialogs::importsIntoTheSelection_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("titles");
    const QStringList unchanged{"Alpha", "Beta", "Gamma"};
    QTest::newRow("titles and artists") << QByteArray("Title\tArtist\nOne\tA\nTwo\tB\nThree\tC\n") << QStringList()
                                        << QStringList() << QStringList{"One", "Two", "Three"};
    QTest::newRow("columns in any order") << QByteArray("Comment\tTitle\tUnknown\nx\tOne\ty\nx\tTwo\ty\nx\tThree\ty\n")
                                          << QStringList() << QStringList() << QStringList{"One", "Two", "Three"};
    QTest::newRow("a track that is no number")
        << QByteArray("Track\tTitle\nx\tOne\n2\tTwo\n3\tThree\n") << QStringList{"ShowDetails", "OK"}
        << QStringList{"CouldNotImport", "ErrorDetails"} << unchanged;
    QTest::newRow("a line with another number of tabs")
        << QByteArray("Track\tTitle\n1\tOne\n2\tTwo\tX\n3\tThree\n") << QStringList{"OK"}
        << QStringList{"CouldNotImport"} << unchanged;
    QTest::newRow("fewer records than songs") << QByteArray("Title\nOne\n") << QStringList{"OK"}
                                              << QStringList{"CouldNotImport"} << unchanged;
    QTest::newRow("cancelled") << QByteArray() << QStringList() << QStringList() << unchanged;
}

void TestTsvDialogs::importsIntoTheSelection()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, asked);
    QFETCH(QStringList, titles);
    const QString path = list.isEmpty() ? QString() : writeFile(m_test->dir(), QStringLiteral("list.tsv"), list);
    FileDialogAnswerer chooser(path);
    DialogAnswerer reports;
    for (const QString &answer : answers)
        reports.answer(answer);
    window().tsvDialogs()->importAction()->trigger();
    QCOMPARE(chooser.shown, 1);
    QVERIFY(!chooser.savesFile);
    QStringList expected;
    for (const QString &key : asked)
        expected.append(Localized::text(key));
    QCOMPARE(reports.asked, expected);

    // The window stays usable, and only an accepted list changes what is saved.
    QAction *save = window().action(MainWindow::Command::Save);
    QVERIFY(save->isEnabled());
    save->trigger();
    QVERIFY(waitForSave(window()));
    for (int row = 0; row < titles.size(); ++row) {
        QCOMPARE(song(window(), row)->title(), titles[row]);
        QCOMPARE(reread(*song(window(), row))->title(), titles[row]);
    }
}

QTEST_MAIN(TestTsvDialogs)
#include "test_tsvdialogs.moc"
