#pragma once

#include <QList>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class MainWindow;
class QMimeData;
class QTemporaryDir;
class QWidget;
class Song;

// What the window tests share: settings in a temporary folder, songs made from the fixture
// files, a loaded window, the dialogs answered as a person would.
namespace WindowTesting {

// Once per test: the string table, settings in the folder, the registered defaults; the review
// prompt counts as answered.
void setUp(const QTemporaryDir &settingsFolder);

// One file to make: a copy of a fixture ("silence.mp3") under a new name, tagged with the
// values given (empty ones stay unset) and saved.
struct SongFile {
    QString name;
    QString title;
    QString artist;
    QString album;
    QString track;
    QString fixture = QStringLiteral("silence.mp3");
};
// The paths made, in order; empty when one could not be made.
QStringList makeSongs(const QTemporaryDir &dir, const QList<SongFile> &files);

// Opens the paths in the window and waits until they are read; false on a timeout.
bool load(MainWindow &window, const QStringList &paths);
// Waits until the window's save has ended and its refresh has run.
bool waitForSave(MainWindow &window);

// Selects the rows of the song table (table order), and no others.
void select(const MainWindow &window, const QList<int> &rows);
// The songs of the window's list, in table order.
Song *song(const MainWindow &window, int row);
// The song read anew from its file.
std::unique_ptr<Song> reread(const Song &song);

// Drops the data on the widget as a file manager would, after a drag over it; true if taken.
bool drop(QWidget *target, const QMimeData *data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction,
          QPoint at = QPoint(10, 10));
// A file manager's drag data: the paths as file links.
QMimeData *fileDragData(const QStringList &paths);

// A test's own settings and song folder, and the window over its songs.
class TestWindow {
public:
    // The folder is made and the settings point into it.
    TestWindow();
    ~TestWindow();

    // Makes the songs, shows the window, waits until it is active, the songs are read and the
    // table has the focus it takes at start.
    bool open(const QList<SongFile> &files);

    const QTemporaryDir &dir() const { return *m_dir; }
    MainWindow &operator*() const { return *window; }
    MainWindow *operator->() const { return window.get(); }

    std::unique_ptr<MainWindow> window;
    QStringList paths;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

} // namespace WindowTesting

// Answers the window-modal message boxes as they come, in order: each answer is the key of the
// button to press. Records the message (first line) of every box answered.
class DialogAnswerer {
public:
    DialogAnswerer();
    ~DialogAnswerer();

    void answer(const QString &buttonKey) { m_answers.enqueue(buttonKey); }
    // Each box gets its answer in turn; a box that comes with no answer left is counted and
    // dismissed as by Escape.
    QStringList asked;
    int unanswered = 0;

private:
    void poll();

    QQueue<QString> m_answers;
    QTimer m_timer;
};
