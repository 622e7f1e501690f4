#include "editor/editorcontroller.h"
#include "editor/settingsregistry.h"
#include "editor/songsorting.h"
#include "editor/standardfolders.h"
#include "fakeuserinterface.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Counts the announced changes of the list.
struct ChangeCounter : SongListObserver {
    int will = 0;
    int did = 0;
    void songsWillChange() override { ++will; }
    void songsDidChange() override { ++did; }
};

} // namespace

class TestSongList : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void moveSongs_data();
    void moveSongs();
    void removesSelectedRowsOnly_data();
    void removesSelectedRowsOnly();
    void clearEmptiesTheList();
    void sortsByPropertyInNaturalOrder_data();
    void sortsByPropertyInNaturalOrder();
    void sortIsStableAndUsesLaterKeysForTies();
    void compareValues_data();
    void compareValues();
    void statusLine_data();
    void statusLine();
    void selectedObjectsFollowTableOrder();

private:
    // Loads `count` songs named 0.mp3, 1.mp3, ... in that order.
    void loadSongs(int count);
    // The numbers in the file names of the list, in list order.
    QList<int> order() const;

    QTemporaryDir m_store;
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<FakeUserInterface> m_ui;
    std::unique_ptr<EditorController> m_editor;
    ChangeCounter m_changes;
};

void TestSongList::initTestCase()
{
    QVERIFY(m_store.isValid());
    UserDefaults::shared().openStore(m_store.filePath(QStringLiteral("settings.ini")));
    SettingsRegistry::registerDefaults();
    QVERIFY(Localized::installStringTable());
}

void TestSongList::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    StandardFolders::setForTesting({QStringLiteral("/"), QStringLiteral("/")});
    m_ui = std::make_unique<FakeUserInterface>();
    m_editor = std::make_unique<EditorController>(m_ui.get());
    m_changes = ChangeCounter();
    m_editor->addObserver(&m_changes);
}

void TestSongList::cleanup()
{
    m_editor.reset();
    m_ui.reset();
    m_root.reset();
    StandardFolders::reset();
}

void TestSongList::loadSongs(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        QFile file(m_root->filePath(QStringLiteral("%1.mp3").arg(i, 2, 10, QLatin1Char('0'))));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        paths.append(file.fileName());
    }
    m_editor->traverseFiles(paths, false);
    QCOMPARE(int(m_editor->songs().size()), count);
    m_changes = ChangeCounter();
    m_ui->sortOrderClears = 0;
}

QList<int> TestSongList::order() const
{
    QList<int> numbers;
    for (const auto &song : m_editor->songs())
        numbers.append(song->fileNameWithoutExtension().toInt());
    return numbers;
}

void TestSongList::moveSongs_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("target");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("5 and 2 to the top") << QList<int>{5, 2} << 0 << QList<int>{2, 5, 0, 1, 3, 4, 6, 7};
    QTest::newRow("1 and 0 down to 4") << QList<int>{1, 0} << 4 << QList<int>{2, 3, 0, 1, 4, 5, 6, 7};
    QTest::newRow("one row to the end") << QList<int>{3} << 8 << QList<int>{0, 1, 2, 4, 5, 6, 7, 3};
    QTest::newRow("last row onto itself") << QList<int>{7} << 7 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("last row to the end") << QList<int>{7} << 8 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("around the target") << QList<int>{6, 4, 1} << 3 << QList<int>{0, 2, 1, 4, 6, 3, 5, 7};
    QTest::newRow("first and last to the top") << QList<int>{7, 0} << 0 << QList<int>{0, 7, 1, 2, 3, 4, 5, 6};
    QTest::newRow("block into its own middle") << QList<int>{4, 3, 2} << 3 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("all to the end") << QList<int>{7, 6, 5, 4, 3, 2, 1, 0} << 8 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
}

void TestSongList::moveSongs()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, target);
    QFETCH(QList<int>, expected);
    loadSongs(8);
    m_ui->rows = {1};
    m_editor->moveSongs(rows, target);
    QCOMPARE(order(), expected);
    QCOMPARE(m_ui->sortOrderClears, 1);
    QCOMPARE(m_changes.will, 1);
    QCOMPARE(m_changes.did, 1);
    // The move leaves the selection to the table.
    QCOMPARE(m_ui->rows, QList<int>{1});
}

void TestSongList::removesSelectedRowsOnly_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<int>("announcements");
    QTest::newRow("nothing selected") << QList<int>{} << QList<int>{0, 1, 2, 3, 4} << 0;
    QTest::newRow("two rows") << QList<int>{1, 3} << QList<int>{0, 2, 4} << 1;
    QTest::newRow("unordered rows") << QList<int>{4, 0, 2} << QList<int>{1, 3} << 1;
    QTest::newRow("all rows") << QList<int>{0, 1, 2, 3, 4} << QList<int>{} << 1;
    QTest::newRow("rows past the end") << QList<int>{9} << QList<int>{0, 1, 2, 3, 4} << 0;
}

void TestSongList::removesSelectedRowsOnly()
{
    QFETCH(QList<int>, selected);
    QFETCH(QList<int>, expected);
    QFETCH(int, announcements);
    loadSongs(5);
    m_editor->songs().at(0)->setTitle(QStringLiteral("unsaved"));
    m_ui->rows = selected;
    m_editor->removeSongs();
    QCOMPARE(order(), expected);
    QCOMPARE(m_changes.did, announcements);
    QVERIFY(m_ui->questions.isEmpty());
    // Files are never touched.
    QCOMPARE(QDir(m_root->path()).entryList(QDir::Files).size(), 5);
}

void TestSongList::clearEmptiesTheList()
{
    loadSongs(3);
    m_editor->clearSongs();
    QVERIFY(m_editor->songs().empty());
    QCOMPARE(m_changes.will, 1);
    QCOMPARE(m_changes.did, 1);
}

void TestSongList::sortsByPropertyInNaturalOrder_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("titles natural, any case")
        << "title" << QStringList{"Track 10", "track 2", "Track 1", "alpha"} << true << QList<int>{3, 2, 1, 0};
    QTest::newRow("titles descending")
        << "title" << QStringList{"Track 10", "track 2", "Track 1", "alpha"} << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("years by value") << "year" << QStringList{"2000", "999", "10000", "0"} << true << QList<int>{3, 1, 0, 2};
    QTest::newRow("tracks as pairs") << "track" << QStringList{"10/12", "2/12", "1/12", ""} << true << QList<int>{3, 2, 1, 0};
    QTest::newRow("compilation flag") << "isCompilation" << QStringList{"1", "0", "1", "0"} << false << QList<int>{0, 2, 1, 3};
    QTest::newRow("unknown key keeps order") << "noSuchKey" << QStringList{"b", "a", "c", "d"} << true << QList<int>{0, 1, 2, 3};
}

void TestSongList::sortsByPropertyInNaturalOrder()
{
    QFETCH(QString, key);
    QFETCH(QStringList, values);
    QFETCH(bool, ascending);
    QFETCH(QList<int>, expected);
    loadSongs(int(values.size()));
    const QString setKey = key == u"noSuchKey" ? QStringLiteral("title") : key;
    for (qsizetype i = 0; i < values.size(); ++i)
        m_editor->songs().at(size_t(i))->setValueForKey(setKey, values.at(i));
    m_editor->sortUsingDescriptors({SortDescriptor{key, ascending}});
    QCOMPARE(order(), expected);
    // Sorting in place is not announced and keeps the table's sort order.
    QCOMPARE(m_changes.did, 0);
    QCOMPARE(m_ui->sortOrderClears, 0);
}

void TestSongList::sortIsStableAndUsesLaterKeysForTies()
{
    loadSongs(6);
    const QStringList artists = {"B", "a", "b", "A", "a", "B"};
    const QStringList titles = {"x", "z", "x", "y", "y", "w"};
    for (int i = 0; i < 6; ++i) {
        m_editor->songs().at(size_t(i))->setArtist(artists.at(i));
        m_editor->songs().at(size_t(i))->setTitle(titles.at(i));
    }
    m_editor->sortUsingDescriptors({SortDescriptor{QStringLiteral("artist"), true}});
    QCOMPARE(order(), (QList<int>{1, 3, 4, 0, 2, 5}));
    m_editor->sortUsingDescriptors({SortDescriptor{QStringLiteral("artist"), false},
                                    SortDescriptor{QStringLiteral("title"), true}});
    QCOMPARE(order(), (QList<int>{5, 0, 2, 3, 4, 1}));
}

void TestSongList::compareValues_data()
{
    QTest::addColumn<QVariant>("a");
    QTest::addColumn<QVariant>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("digits by value") << QVariant("track2") << QVariant("track10") << -1;
    QTest::newRow("case ignored") << QVariant("ABC") << QVariant("abc") << 0;
    QTest::newRow("leading zeros") << QVariant("a01") << QVariant("A1") << 0;
    QTest::newRow("letters") << QVariant("abd") << QVariant("ABC") << 1;
    QTest::newRow("numbers") << QVariant(qint64(10)) << QVariant(qint64(9)) << 1;
    QTest::newRow("int and long") << QVariant(int(3)) << QVariant(qint64(3)) << 0;
    QTest::newRow("bool") << QVariant(false) << QVariant(true) << -1;
    QTest::newRow("absent first") << QVariant() << QVariant("") << -1;
}

void TestSongList::compareValues()
{
    QFETCH(QVariant, a);
    QFETCH(QVariant, b);
    QFETCH(int, expected);
    QCOMPARE(SongSorting::compareValues(a, b), expected);
    QCOMPARE(SongSorting::compareValues(b, a), -expected);
}

void TestSongList::statusLine_data()
{
    QTest::addColumn<int>("songs");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << 0 << QList<int>{} << "No songs loaded";
    QTest::newRow("one, none selected") << 1 << QList<int>{} << "1 song loaded, 0 selected";
    QTest::newRow("one selected") << 1 << QList<int>{0} << "1 song loaded, 1 selected";
    QTest::newRow("three, two selected") << 3 << QList<int>{0, 2} << "3 songs loaded, 2 selected";
    QTest::newRow("twelve, all selected") << 12 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
                                          << "12 songs loaded, 12 selected";
}

void TestSongList::statusLine()
{
    QFETCH(int, songs);
    QFETCH(QList<int>, selected);
    QFETCH(QString, expected);
    if (songs > 0)
        loadSongs(songs);
    m_ui->rows = selected;
    QCOMPARE(m_editor->statusMessage(), expected);
}

void TestSongList::selectedObjectsFollowTableOrder()
{
    loadSongs(4);
    m_ui->rows = {3, 1, 7};
    const QList<Song *> selected = m_editor->selectedObjects();
    QCOMPARE(selected.size(), 2);
    QCOMPARE(selected.at(0), m_editor->songs().at(1).get());
    QCOMPARE(selected.at(1), m_editor->songs().at(3).get());
    QCOMPARE(m_editor->arrangedObjects().size(), 4);
}

QTEST_GUILESS_MAIN(TestSongList)
#include "test_songlist.moc"
