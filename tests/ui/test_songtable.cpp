#include "editor/editorcontroller.h"
#include "editor/songtablecolumns.h"
#include "editor/songtablemodel.h"
#include "fixtures.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"
#include "windowtesting.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

using namespace WindowTesting;

namespace {

const int TitleColumn = int(SongColumn::Title);

// Shows how the table draws a cell.
class CellLook : public SongCellDelegate {
public:
    using SongCellDelegate::SongCellDelegate;
    QStyleOptionViewItem of(const QModelIndex &index) const
    {
        QStyleOptionViewItem option;
        initStyleOption(&option, index);
        return option;
    }
};

// A double click as a person makes it: press and release, then the second press and release.
void doubleClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

// Songs made from "silence.mp3", named after their titles.
QList<SongFile> titled(const QStringList &titles)
{
    QList<SongFile> files;
    for (const QString &title : titles)
        files.append({title + QStringLiteral(".mp3"), title, {}, {}, {}, QStringLiteral("silence.mp3")});
    return files;
}

} // namespace

// The song table as a person uses it: dropping files and folders, dragging rows, sorting by a
// header click, editing cells with the mouse and the keyboard, the columns the settings show.
class TestSongTable : public QObject {
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }

    void dropsOfFilesAndFolders_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("loaded");
        QTest::newRow("folder and text file") << QStringList{"album", "notes.txt"} << true
                                              << QStringList{"one.mp3", "two.flac"};
        QTest::newRow("music file") << QStringList{"loose.mp3"} << true << QStringList{"loose.mp3"};
        QTest::newRow("text file only") << QStringList{"notes.txt"} << false << QStringList{};
    }

    void dropsOfFilesAndFolders()
    {
        QFETCH(QStringList, dropped);
        QFETCH(bool, accepted);
        QFETCH(QStringList, loaded);
        QVERIFY(openWindow({}));
        const QTemporaryDir &dir = m_test->dir();
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("album")));
        QVERIFY(!copyFixture(dir, "silence.mp3", "album/one.mp3").isEmpty());
        QVERIFY(!copyFixture(dir, "silence.flac", "album/two.flac").isEmpty());
        QVERIFY(!copyFixture(dir, "silence.mp3", "loose.mp3").isEmpty());
        QVERIFY(!writeFile(dir, "album/readme.txt", "text").isEmpty());
        QVERIFY(!writeFile(dir, "notes.txt", "text").isEmpty());
        QStringList paths;
        for (const QString &name : dropped)
            paths.append(m_test->dir().filePath(name));
        const std::unique_ptr<QMimeData> data(fileDragData(paths));
        QCOMPARE(drop(m_table->viewport(), data.get()), accepted);
        QTRY_VERIFY(!window().editor().isLoading());
        QStringList names;
        for (const auto &song : window().editor().songs())
            names.append(song->fileName());
        QCOMPARE(names, loaded);
        // The songs dropped are the selection.
        QCOMPARE(m_table->selectedRows().size(), loaded.size());
    }

    void draggedRowsMoveInTheirOrder()
    {
        QVERIFY(openWindow(titled({"s0", "s1", "s2", "s3", "s4", "s5"})));
        m_table->setSelectedRows({2, 5});
        const std::unique_ptr<QMimeData> data(m_table->model()->mimeData(m_table->selectionModel()->selectedIndexes()));
        QVERIFY(data);
        QCOMPARE(data->data(SongTableModel::RowsMimeType), QByteArray("5\n2"));
        const QRect first = m_table->visualRect(m_table->model()->index(0, TitleColumn));
        QVERIFY(drop(m_table->viewport(), data.get(), Qt::LinkAction, first.topLeft() + QPoint(4, 1)));
        QCOMPARE(titles(), (QStringList{"s2", "s5", "s0", "s1", "s3", "s4"}));
    }

    void headerClickSortsInNaturalOrder_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("title") << TitleColumn << 1 << QStringList{"Apple", "banana", "Cherry"};
        QTest::newRow("title, descending") << TitleColumn << 2 << QStringList{"Cherry", "banana", "Apple"};
    }

    void headerClickSortsInNaturalOrder()
    {
        QFETCH(int, column);
        QFETCH(int, clicks);
        QFETCH(QStringList, order);
        QVERIFY(openWindow(titled({"banana", "Cherry", "Apple"})));
        QHeaderView *header = m_table->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 8, header->height() / 2);
        for (int click = 0; click < clicks; ++click)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(titles(), order);
        // What the table shows is the list's order.
        QCOMPARE(m_table->model()->index(0, TitleColumn).data().toString(), order.first());
    }

    void singleClickEditsAfterTheSetting_data()
    {
        QTest::addColumn<bool>("singleClickToEdit");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }

    void singleClickEditsAfterTheSetting()
    {
        QFETCH(bool, singleClickToEdit);
        UserDefaults::shared().setBool(singleClickToEdit, QStringLiteral("SINGLE_CLICK_TO_EDIT"));
        QVERIFY(openWindow(titled({"A", "B"})));
        m_table->setSelectedRows({0});
        QTest::mouseClick(m_table->viewport(), Qt::LeftButton, {}, cellCenter(1, TitleColumn));
        QCOMPARE(m_table->selectedRows(), QList<int>{1});
        QTest::qWait(50);
        QCOMPARE(m_table->isEditing(), singleClickToEdit);
        if (!singleClickToEdit) {
            // A double click edits either way.
            doubleClick(m_table->viewport(), cellCenter(1, TitleColumn));
            QTRY_VERIFY(m_table->isEditing());
        }
        QCOMPARE(m_table->currentIndex(), m_table->model()->index(1, TitleColumn));
    }

    void keysInTheCellEditor_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("title"); // of the song edited, the second and last
        QTest::newRow("alt+return commits and edits the next row, wrapping") << int(Qt::Key_Return)
                                                                             << int(Qt::AltModifier) << "Typed";
        QTest::newRow("escape leaves the cell unchanged") << int(Qt::Key_Escape) << int(Qt::NoModifier) << "B";
    }

    void keysInTheCellEditor()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, title);
        QVERIFY(openWindow(titled({"A", "B"})));
        m_table->setSelectedRows({1});
        doubleClick(m_table->viewport(), cellCenter(1, TitleColumn));
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Typed"));
        QTest::keyClick(editor, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(song(window(), 1)->title(), title);
        QCOMPARE(song(window(), 1)->isModified(), title != u"B");
        if (key == Qt::Key_Escape) {
            QTRY_VERIFY(m_table->hasFocus());
            QVERIFY(!m_table->isEditing());
            return;
        }
        // The edit goes on in the first row, same column, which is now the selection.
        QTRY_VERIFY(m_table->isEditing());
        QCOMPARE(m_table->currentIndex(), m_table->model()->index(0, TitleColumn));
        QCOMPARE(m_table->selectedRows(), QList<int>{0});
        auto *next = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(next);
        QCOMPARE(next->text(), QStringLiteral("A"));
    }

    void tabDoesNothingWithSeveralRowsSelected()
    {
        QVERIFY(openWindow(titled({"A", "B", "C"})));
        const QModelIndex cell = m_table->model()->index(0, TitleColumn);
        m_table->setCurrentIndex(cell);
        m_table->setSelectedRows({0, 1, 2});
        m_table->edit(cell);
        QTRY_VERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(m_table->isEditing());
        QCOMPARE(m_table->currentIndex(), cell);
        QCOMPARE(m_table->selectedRows(), (QList<int>{0, 1, 2}));
    }

    void columnsFollowTheirSettings()
    {
        QVERIFY(openWindow({}));
        // The header's menu writes the setting; the column follows.
        const std::unique_ptr<QMenu> menu(m_table->createColumnsMenu(nullptr));
        QAction *genre = menu->actions().at(int(SongColumn::Genre));
        QVERIFY(!genre->isChecked());
        genre->trigger();
        QVERIFY(!UserDefaults::shared().boolForKey(QStringLiteral("COLUMN_HIDE_GENRE")));
        QVERIFY(!m_table->isColumnHidden(int(SongColumn::Genre)));
        UserDefaults::shared().setBool(true, QStringLiteral("COLUMN_HIDE_TITLE"));
        QVERIFY(m_table->isColumnHidden(TitleColumn));
    }

    void modifiedSongsAreBold()
    {
        QVERIFY(openWindow(titled({"A", "B"})));
        song(window(), 1)->setArtist(QStringLiteral("Changed"));
        CellLook look(m_table);
        QVERIFY(!look.of(m_table->model()->index(0, TitleColumn)).font.bold());
        QVERIFY(look.of(m_table->model()->index(1, TitleColumn)).font.bold());
    }

private:
    bool openWindow(const QList<SongFile> &files)
    {
        const bool opened = m_test->open(files);
        m_table = opened ? window().table() : nullptr;
        return opened;
    }

    QPoint cellCenter(int row, int column) const
    {
        return m_table->visualRect(m_table->model()->index(row, column)).center();
    }

    QStringList titles() const
    {
        QStringList list;
        for (const auto &song : window().editor().songs())
            list.append(song->title());
        return list;
    }

    MainWindow &window() const { return **m_test; }

    std::optional<TestWindow> m_test;
    SongTableView *m_table = nullptr;
};

QTEST_MAIN(TestSongTable)
#include "test_songtable.moc"
