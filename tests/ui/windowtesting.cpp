#include "windowtesting.h"

#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "editor/settingsregistry.h"
#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "quorlversion.h"
#include "savetesting.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace WindowTesting {

void setUp(const QTemporaryDir &settingsFolder)
{
    Localized::installStringTable();
    useTemporarySettings(settingsFolder);
    SettingsRegistry::registerDefaultsOnce();
    UserDefaults::shared().setObject(QStringLiteral(QUORL_VERSION), QStringLiteral("LAST_CAMPAIGN_VERSION"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quorl"));
}

QStringList makeSongs(const QTemporaryDir &dir, const QList<SongFile> &files)
{
    QStringList paths;
    for (const SongFile &file : files) {
        const QString path = copyFixture(dir, file.fixture, file.name);
        std::unique_ptr<Song> song = path.isEmpty() ? nullptr : readSong(path);
        if (!song)
            return {};
        if (!file.title.isEmpty())
            song->setTitle(file.title);
        if (!file.artist.isEmpty())
            song->setArtist(file.artist);
        if (!file.album.isEmpty())
            song->setAlbum(file.album);
        if (!file.track.isEmpty())
            song->setTrack(file.track);
        if (song->isModified() && writeSong(song.get()).hasErrors())
            return {};
        paths.append(path);
    }
    return paths;
}

bool load(MainWindow &window, const QStringList &paths)
{
    window.openFiles(paths);
    if (!QTest::qWaitFor([&] { return !window.editor().isLoading(); }, 20000))
        return false;
    window.refreshNow();
    return true;
}

bool waitForSave(MainWindow &window)
{
    if (!QTest::qWaitFor([&] { return !window.saver().isSaving(); }, 20000))
        return false;
    window.refreshNow();
    return true;
}

void select(const MainWindow &window, const QList<int> &rows)
{
    SongTableView *table = window.table();
    table->clearSelection();
    for (int row : rows)
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

Song *song(const MainWindow &window, int row)
{
    const SongList &songs = window.editor().songs();
    return row >= 0 && size_t(row) < songs.size() ? songs[size_t(row)].get() : nullptr;
}

std::unique_ptr<Song> reread(const Song &song)
{
    return readSong(song.filePath());
}

QMimeData *fileDragData(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

bool drop(QWidget *target, const QMimeData *data, Qt::DropActions actions, QPoint at)
{
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent dropped(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}

TestWindow::TestWindow()
    : m_dir(std::make_unique<QTemporaryDir>())
{
    setUp(*m_dir);
}

TestWindow::~TestWindow()
{
    window.reset();
}

bool TestWindow::open(const QList<SongFile> &files)
{
    paths = makeSongs(*m_dir, files);
    if (paths.size() != files.size())
        return false;
    window = std::make_unique<MainWindow>();
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        return false;
    if (!paths.isEmpty() && !load(*window, paths))
        return false;
    SongTableView *table = window->table();
    return QTest::qWaitFor([table] { return table->hasFocus(); });
}

} // namespace WindowTesting

DialogAnswerer::DialogAnswerer()
{
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

DialogAnswerer::~DialogAnswerer() = default;

void DialogAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    if (m_answers.isEmpty()) {
        // Not expected: recorded, and left the way Escape leaves it, so the test goes on.
        asked.append(box->text());
        ++unanswered;
        box->reject();
        return;
    }
    const QString wanted = Localized::text(m_answers.dequeue());
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == wanted) {
            asked.append(box->text());
            button->click();
            return;
        }
    }
    asked.append(QStringLiteral("(no button %1 in: %2)").arg(wanted, box->text()));
    box->reject();
}
