#include "editor/editorcontroller.h"
#include "editor/songtablemodel.h"
#include "editor/standardfolders.h"
#include "editor/transformers.h"
#include "fakeuserinterface.h"
#include "fixtures.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

const QString BindAlbumArtist = QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST");

// Songs as loading leaves them, titled by their number: "/music/00.mp3" titled "00", ...
SongList makeSongs(int first, int count)
{
    SongList songs;
    for (int i = first; i < first + count; ++i) {
        auto song = std::make_unique<Song>();
        const QString number = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        song->setFilePath(QStringLiteral("/music/%1.mp3").arg(number));
        song->setFileName(number + QStringLiteral(".mp3"));
        song->setTitle(number);
        song->resetModifications();
        songs.push_back(std::move(song));
    }
    return songs;
}

QStringList titlesOf(const SongTableModel &model)
{
    QStringList all;
    for (int row = 0; row < model.rowCount(); ++row)
        all.append(model.index(row, int(SongColumn::Title)).data().toString());
    return all;
}

// The titles of the rows as a view learns them: read once, then kept up to date from the row
// signals alone. Equal to the model's own rows only if every signal told the truth.
class RowMirror : public QObject {
public:
    explicit RowMirror(SongTableModel *model)
        : m_model(model)
    {
        titles = titlesOf(*model);
        connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
            for (int row = first; row <= last; ++row)
                titles.insert(row, m_model->index(row, int(SongColumn::Title)).data().toString());
        });
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex &, int first, int last) {
            titles.remove(first, last - first + 1);
        });
        connect(model, &QAbstractItemModel::rowsMoved, this,
                [this](const QModelIndex &, int first, int last, const QModelIndex &, int destination) {
                    const QStringList moved = titles.mid(first, last - first + 1);
                    titles.remove(first, moved.size());
                    const int at = destination > last ? destination - int(moved.size()) : destination;
                    for (qsizetype i = 0; i < moved.size(); ++i)
                        titles.insert(at + i, moved.at(i));
                });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { titles = titlesOf(*m_model); });
    }
    QStringList titles;

private:
    SongTableModel *m_model;
};

QStringList numbers(std::initializer_list<int> values)
{
    QStringList texts;
    for (int value : values)
        texts.append(QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')));
    return texts;
}

} // namespace

class TestSongTableModel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(useEditorSettings(m_store));
    }
    void init()
    {
        UserDefaults::shared().removeObjectForKey(BindAlbumArtist);
        StandardFolders::setForTesting({QStringLiteral("/"), QStringLiteral("/")});
        m_ui = std::make_unique<FakeUserInterface>();
        m_editor = std::make_unique<EditorController>(m_ui.get());
        m_editor->appendSongs(makeSongs(0, 8));
        m_model = std::make_unique<SongTableModel>(m_editor.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void cleanup()
    {
        m_tester.reset();
        m_model.reset();
        m_editor.reset();
        m_ui.reset();
        StandardFolders::reset();
    }

    void headersComeFromTheStringTable_data()
    {
        QTest::addColumn<SongColumn>("column");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("editable");
        QTest::newRow("track") << SongColumn::Track << "Track" << true;
        QTest::newRow("album artist") << SongColumn::AlbumArtist << "Album Artist" << true;
        QTest::newRow("bit rate") << SongColumn::Bitrate << "Bit Rate" << false;
        QTest::newRow("file name") << SongColumn::FileName << "File Name" << true;
    }
    void headersComeFromTheStringTable()
    {
        QFETCH(SongColumn, column);
        QFETCH(QString, title);
        QFETCH(bool, editable);
        QCOMPARE(m_model->columnCount(), 14);
        QCOMPARE(m_model->headerData(int(column), Qt::Horizontal).toString(), title);
        const Qt::ItemFlags flags = m_model->flags(m_model->index(0, int(column)));
        QCOMPARE(flags.testFlag(Qt::ItemIsEditable), editable);
        QCOMPARE(flags.testFlag(Qt::ItemIsUserCheckable), column == SongColumn::Compilation);
        QVERIFY(flags.testFlag(Qt::ItemIsDragEnabled));
    }
    void editsGoThroughTheSetters_data()
    {
        QTest::addColumn<SongColumn>("column");
        QTest::addColumn<int>("role");
        QTest::addColumn<QVariant>("edit");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("flagged");

        const int edit = Qt::EditRole;
        QTest::newRow("title trimmed") << SongColumn::Title << edit << QVariant(" New ") << true << "New" << true;
        QTest::newRow("same title") << SongColumn::Title << edit << QVariant("02") << false << "02" << false;
        QTest::newRow("title plus a blank") << SongColumn::Title << edit << QVariant("02 ") << true << "02" << true;
        QTest::newRow("invalid track clears") << SongColumn::Track << edit << QVariant("abc") << true << "" << true;
        QTest::newRow("year from text") << SongColumn::Year << edit << QVariant("1999abc") << true << "1999" << true;
        QTest::newRow("year cleared") << SongColumn::Year << edit << QVariant("") << false << "" << false;
        QTest::newRow("compilation checked") << SongColumn::Compilation << int(Qt::CheckStateRole)
                                             << QVariant(int(Qt::Checked)) << true << "" << true;
        QTest::newRow("name of the same type") << SongColumn::FileName << edit << QVariant("new.MP3") << true
                                               << "new.MP3" << true;
        QTest::newRow("name of another type") << SongColumn::FileName << edit << QVariant("new.flac") << false
                                              << "02.mp3" << false;
        QTest::newRow("bit rate is read-only") << SongColumn::Bitrate << edit << QVariant(128) << false << "" << false;
        QTest::newRow("length is read-only") << SongColumn::Length << edit << QVariant(3600) << false << "0:00" << false;
        QTest::newRow("display role is no edit") << SongColumn::Title << int(Qt::DisplayRole) << QVariant("X")
                                                 << false << "02" << false;
    }
    void editsGoThroughTheSetters()
    {
        QFETCH(SongColumn, column);
        QFETCH(int, role);
        QFETCH(QVariant, edit);
        QFETCH(bool, changed);
        QFETCH(QString, shown);
        QFETCH(bool, flagged);

        const QModelIndex cell = m_model->index(2, int(column));
        QSignalSpy cellChanges(m_model.get(), &QAbstractItemModel::dataChanged);
        QCOMPARE(m_model->setData(cell, edit, role), changed);
        QCOMPARE(cell.data().toString(), shown);
        QCOMPARE(cell.data(SongTableModel::IsFieldModifiedRole).toBool(), flagged);
        QCOMPARE(cell.data(SongTableModel::IsModifiedRole).toBool(), flagged);
        // The other songs are untouched.
        QVERIFY(!m_model->index(1, int(column)).data(SongTableModel::IsModifiedRole).toBool());
        bool cellTold = false;
        for (const QList<QVariant> &signal : std::as_const(cellChanges)) {
            QCOMPARE(signal.at(0).value<QModelIndex>().row(), 2);
            cellTold = cellTold
                || (signal.at(0).value<QModelIndex>() == cell && signal.at(1).value<QModelIndex>() == cell
                    && signal.at(2).value<QList<int>>().contains(Qt::DisplayRole));
        }
        QCOMPARE(cellTold, changed);
        if (column == SongColumn::Compilation)
            QCOMPARE(cell.data(Qt::CheckStateRole).toInt(), changed ? int(Qt::Checked) : int(Qt::Unchecked));
    }
    void boundFieldsReachTheirCells()
    {
        UserDefaults::shared().setBool(true, BindAlbumArtist);
        QSignalSpy changes(m_model.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(m_model->setData(m_model->index(4, int(SongColumn::Artist)), QStringLiteral("Band")));
        const QModelIndex albumArtist = m_model->index(4, int(SongColumn::AlbumArtist));
        QCOMPARE(albumArtist.data().toString(), QStringLiteral("Band"));
        QVERIFY(albumArtist.data(SongTableModel::IsFieldModifiedRole).toBool());
        const bool told = std::any_of(changes.begin(), changes.end(), [&](const QList<QVariant> &signal) {
            return signal.at(0).value<QModelIndex>() == albumArtist
                && signal.at(2).value<QList<int>>().contains(Qt::DisplayRole);
        });
        QVERIFY(told);
    }
    void modifiedStateFollowsEditsAndReset()
    {
        Song *song = m_model->song(5);
        QSignalSpy changes(m_model.get(), &QAbstractItemModel::dataChanged);
        song->setGenre(QStringLiteral("Jazz"));
        for (int column = 0; column < SongColumnCount; ++column) {
            const QModelIndex cell = m_model->index(5, column);
            QVERIFY(cell.data(SongTableModel::IsModifiedRole).toBool());
            QCOMPARE(cell.data(SongTableModel::IsFieldModifiedRole).toBool(), column == int(SongColumn::Genre));
        }
        changes.clear();
        song->resetModifications();
        // One notice for the whole row, in the modified roles.
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.first().at(0).value<QModelIndex>(), m_model->index(5, 0));
        QCOMPARE(changes.first().at(1).value<QModelIndex>(), m_model->index(5, SongColumnCount - 1));
        QVERIFY(changes.first().at(2).value<QList<int>>().contains(SongTableModel::IsModifiedRole));
        QVERIFY(!m_model->index(5, int(SongColumn::Genre)).data(SongTableModel::IsModifiedRole).toBool());

        // A song that may not be renamed shows its file name greyed.
        changes.clear();
        song->setIsRenamable(false);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(m_model->index(5, int(SongColumn::FileName)).data(SongTableModel::TextColorRole).toInt(),
                 int(TextColor::Disabled));
    }
    void movesArriveAsRowMoves_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("target");
        // The order a move makes is the song list's; here the row signals must tell it truly.
        QTest::newRow("5 and 2 to the top") << QList<int>{5, 2} << 0;
        QTest::newRow("1 and 0 down to 4") << QList<int>{1, 0} << 4;
        QTest::newRow("around the target") << QList<int>{6, 4, 1} << 3;
        QTest::newRow("runs on both sides") << QList<int>{7, 6, 2, 1} << 4;
        QTest::newRow("past the end") << QList<int>{0} << 20;
        // Random moves, one row per seed.
        for (quint32 seed = 1; seed <= 40; ++seed) {
            QRandomGenerator random(seed);
            QList<int> rows;
            for (int row = 0; row < 8; ++row) {
                if (random.bounded(3) == 0)
                    rows.prepend(row);
            }
            QTest::addRow("seed %u", seed) << rows << int(random.bounded(9));
        }
    }
    void movesArriveAsRowMoves()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, target);
        RowMirror mirror(m_model.get());
        QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy layouts(m_model.get(), &QAbstractItemModel::layoutChanged);
        const QPersistentModelIndex first(m_model->index(0, int(SongColumn::Title)));
        m_editor->moveSongs(rows, target);
        QCOMPARE(mirror.titles, titles());
        QCOMPARE(resets.size(), 0);
        QCOMPARE(layouts.size(), 0);
        QCOMPARE(first.data().toString(), QStringLiteral("00"));
        // Edits after the move reach the song's new row.
        Song *moved = m_model->song(0);
        QSignalSpy changes(m_model.get(), &QAbstractItemModel::dataChanged);
        moved->setAlbum(QStringLiteral("Moved"));
        QCOMPARE(changes.first().at(0).value<QModelIndex>().row(), 0);
    }
    void sortKeepsPersistentRows_data()
    {
        QTest::addColumn<SongColumn>("column");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("tracks in natural order") << SongColumn::Track << QStringList{"10", "2/12", "1", "", "3"}
                                                 << Qt::AscendingOrder << numbers({3, 2, 1, 4, 0});
        QTest::newRow("years descending") << SongColumn::Year << QStringList{"1999", "", "2001", "1000", "2000"}
                                          << Qt::DescendingOrder << numbers({2, 4, 0, 3, 1});
    }
    void sortKeepsPersistentRows()
    {
        QFETCH(SongColumn, column);
        QFETCH(QStringList, values);
        QFETCH(Qt::SortOrder, order);
        QFETCH(QStringList, expected);
        m_ui->rows = {5, 6, 7};
        m_editor->removeSongs();
        for (int row = 0; row < values.size(); ++row)
            QVERIFY(m_model->setData(m_model->index(row, int(column)), values.at(row)) || values.at(row).isEmpty());
        QList<QPersistentModelIndex> persistent;
        QList<Song *> songs;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            persistent.append(m_model->index(row, int(SongColumn::FileName)));
            songs.append(m_model->song(row));
        }
        QSignalSpy layouts(m_model.get(), &QAbstractItemModel::layoutChanged);
        m_model->sort(int(column), order);
        QCOMPARE(layouts.size(), 1);
        // The songs' numbers are kept in their file names.
        QStringList shown;
        for (int row = 0; row < m_model->rowCount(); ++row)
            shown.append(m_model->index(row, int(SongColumn::FileName)).data().toString().section(u'.', 0, 0));
        QCOMPARE(shown, expected);
        for (int i = 0; i < persistent.size(); ++i)
            QCOMPARE(m_model->song(persistent.at(i).row()), songs.at(i));
        QCOMPARE(m_ui->sortOrderClears, 0);
    }
    void insertsRemovesAndClearsArriveAsRows()
    {
        RowMirror mirror(m_model.get());
        QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy resets(m_model.get(), &QAbstractItemModel::modelReset);

        m_editor->appendSongs(makeSongs(8, 3));
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.first().at(1).toInt(), 8);
        QCOMPARE(inserted.first().at(2).toInt(), 10);
        Song *added = m_model->song(9);
        QCOMPARE(added->observerCount(), 1);
        added->setTitle(QStringLiteral("nine"));
        QCOMPARE(m_model->index(9, int(SongColumn::Title)).data().toString(), QStringLiteral("nine"));
        mirror.titles[9] = QStringLiteral("nine");

        // Two runs of selected rows go as two removals, the higher first.
        m_ui->rows = {1, 2, 4, 10};
        m_editor->removeSongs();
        QCOMPARE(removed.size(), 3);
        QCOMPARE(removed.at(0).at(1).toInt(), 10);
        QCOMPARE(removed.at(1).at(1).toInt(), 4);
        QCOMPARE(removed.at(2).at(1).toInt(), 1);
        QCOMPARE(removed.at(2).at(2).toInt(), 2);
        QCOMPARE(mirror.titles, titles());
        QCOMPARE(titles(), (QStringList{"00", "03", "05", "06", "07", "08", "nine"}));
        QCOMPARE(resets.size(), 0);

        m_editor->clearSongs();
        QCOMPARE(resets.size(), 1);
        QCOMPARE(m_model->rowCount(), 0);
        QVERIFY(mirror.titles.isEmpty());
    }
    void rowsDragAndDrop()
    {
        const QModelIndexList cells{m_model->index(2, 0), m_model->index(5, 0), m_model->index(5, 3)};
        std::unique_ptr<QMimeData> data(m_model->mimeData(cells));
        QVERIFY(data);
        QCOMPARE(m_model->mimeTypes().contains(SongTableModel::RowsMimeType), true);
        QCOMPARE(data->data(QStringLiteral("SongSelection")), QByteArray("5\n2"));
        QCOMPARE(SongTableModel::rowsFromMimeData(data.get()), (QList<int>{5, 2}));
        QVERIFY(!m_model->mimeData({}));

        QMimeData broken;
        broken.setData(SongTableModel::RowsMimeType, "5\nx");
        QVERIFY(!SongTableModel::rowsFromMimeData(&broken));
        QVERIFY(!m_model->canDropMimeData(&broken, Qt::LinkAction, 0, 0, QModelIndex()));

        // Dropped between rows: the rows move there; dropped on a row: before that row.
        QVERIFY(m_model->canDropMimeData(data.get(), Qt::LinkAction, 0, 0, QModelIndex()));
        QVERIFY(m_model->dropMimeData(data.get(), Qt::LinkAction, 0, 0, QModelIndex()));
        QCOMPARE(titles(), numbers({2, 5, 0, 1, 3, 4, 6, 7}));
        data.reset(m_model->mimeData({m_model->index(0, 0)}));
        QVERIFY(m_model->dropMimeData(data.get(), Qt::LinkAction, -1, -1, m_model->index(4, 0)));
        QCOMPARE(titles(), numbers({5, 0, 1, 2, 3, 4, 6, 7}));
        QCOMPARE(m_ui->sortOrderClears, 2);
    }
    void droppedFiles_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("added");
        QTest::newRow("folder and text file") << QStringList{"album", "notes.txt"} << true << 2;
        QTest::newRow("text file only") << QStringList{"notes.txt"} << false << 0;
        QTest::newRow("file gone") << QStringList{"gone.mp3"} << false << 0;
    }
    void droppedFiles()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, accepted);
        QFETCH(int, added);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("album")));
        QVERIFY(!copyFixture(dir, QStringLiteral("silence.mp3"), QStringLiteral("album/a.mp3")).isEmpty());
        QVERIFY(!copyFixture(dir, QStringLiteral("silence.flac"), QStringLiteral("album/b.flac")).isEmpty());
        QVERIFY(!writeFile(dir, QStringLiteral("notes.txt"), "text").isEmpty());
        QList<QUrl> urls;
        for (const QString &name : std::as_const(names))
            urls.append(QUrl::fromLocalFile(dir.filePath(name)));
        QMimeData data;
        data.setUrls(urls);

        QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
        QCOMPARE(m_model->canDropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex()), accepted);
        QCOMPARE(m_model->dropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex()), accepted);
        QCOMPARE(m_model->rowCount(), 8 + added);
        QCOMPARE(inserted.size(), added > 0 ? 1 : 0);
        QVERIFY(m_ui->questions.isEmpty());
    }
    void columnVisibilityFollowsSettings()
    {
        UserDefaults &defaults = UserDefaults::shared();
        const QString key = QStringLiteral("COLUMN_HIDE_ALBUM");
        defaults.removeObjectForKey(key);
        QVERIFY(SongTableModel::isColumnHidden(SongColumn::Album));
        QSignalSpy hidden(m_model.get(), &SongTableModel::columnHiddenChanged);

        defaults.setBool(false, key);
        QCOMPARE(hidden.size(), 1);
        QCOMPARE(hidden.at(0).at(0).toInt(), int(SongColumn::Album));
        QCOMPARE(hidden.at(0).at(1).toBool(), false);
        // The same value again, or another key, changes nothing.
        defaults.setBool(false, key);
        defaults.setBool(true, QStringLiteral("SINGLE_CLICK_TO_EDIT"));
        QCOMPARE(hidden.size(), 1);
        // Back to the registered default.
        defaults.removeObjectForKey(key);
        QCOMPARE(hidden.size(), 2);
        QCOMPARE(hidden.at(1).at(1).toBool(), true);
    }

private:
    QStringList titles() const { return titlesOf(*m_model); }

    QTemporaryDir m_store;
    std::unique_ptr<FakeUserInterface> m_ui;
    std::unique_ptr<EditorController> m_editor;
    std::unique_ptr<SongTableModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

QTEST_GUILESS_MAIN(TestSongTableModel)
#include "test_songtablemodel.moc"
