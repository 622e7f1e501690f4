#include "editor/editorcontroller.h"
#include "editor/folderlisting.h"
#include "editor/settingsregistry.h"
#include "editor/standardfolders.h"
#include "fakeuserinterface.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Confirmed = QStringLiteral("CONFIRMED_RENAME_RESTRICTION");

// The untagged fixture whose format matches the extension, or a few bytes that are no audio at
// all (such a file still gives a song).
QByteArray fixtureFor(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    QString fixture;
    if (extension == u"mp3" || extension == u"flac" || extension == u"wav")
        fixture = extension;
    else if (extension == u"m4a" || extension == u"m4b")
        fixture = QStringLiteral("m4a");
    else if (extension == u"aif" || extension == u"aiff")
        fixture = QStringLiteral("aiff");
    QFile file(QStringLiteral(QUORL_TEST_DATA_DIR "/silence.") + fixture);
    if (!fixture.isEmpty() && file.open(QIODevice::ReadOnly))
        return file.readAll();
    return QByteArrayLiteral("not audio");
}

} // namespace

class TestSongLoading : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void walksDepthFirstInCaseInsensitiveOrder();
    void keepsOnlyMusicExtensions_data();
    void keepsOnlyMusicExtensions();
    void neverReadsAPipeWithAMusicName();
    void loadsRealFilesAndSelectsThem();
    void addingAKnownFileAddsNothingAndClearsSelection();
    void fileCollectedTwiceInOneBatchIsReadOnce();
    void renameRestrictionAnswers_data();
    void renameRestrictionAnswers();
    void cancelAbandonsWholeBatch();
    void filesInStandardFoldersAreNotAsked_data();
    void filesInStandardFoldersAreNotAsked();
    void folderOnDesktopIsNotAsked();
    void homeOutsideKnownFoldersExcludesEveryNamedFile();
    void unsandboxedProcessNeverAsks();
    void addCommandUsesChooser();
    void reloadKeepsRenamabilityAndDropsVanishedFiles();
    void missingPathsAreSkipped();
    void linkLoopsTerminate();
    void unreadableFolderIsSkipped();
    void namesThatAreNotUtf8AreSkippedAndReported();
    void interruptedRenamesAreUndone_data();
    void interruptedRenamesAreUndone();
    void printableNames_data();
    void printableNames();

private:
    QString path(const QString &relative) const { return m_root->filePath(relative); }
    QString makeFile(const QString &relative) const;
    QStringList loadedPaths() const;

    QTemporaryDir m_store;
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<FakeUserInterface> m_ui;
    std::unique_ptr<EditorController> m_editor;
};

QString TestSongLoading::makeFile(const QString &relative) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(full));
    file.write(fixtureFor(relative));
    return full;
}

QStringList TestSongLoading::loadedPaths() const
{
    QStringList paths;
    for (const auto &song : m_editor->songs())
        paths.append(song->filePath().mid(m_root->path().size() + 1));
    return paths;
}

void TestSongLoading::initTestCase()
{
    QVERIFY(m_store.isValid());
    UserDefaults::shared().openStore(m_store.filePath(QStringLiteral("settings.ini")));
    SettingsRegistry::registerDefaults();
    QVERIFY(Localized::installStringTable());
}

void TestSongLoading::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    StandardFolders::setForTesting({path(QStringLiteral("Music")), path(QStringLiteral("Downloads"))});
    UserDefaults::shared().removeObjectForKey(Confirmed);
    m_ui = std::make_unique<FakeUserInterface>();
    m_editor = std::make_unique<EditorController>(m_ui.get());
}

void TestSongLoading::cleanup()
{
    m_editor.reset();
    m_ui.reset();
    m_root.reset();
    StandardFolders::reset();
}

void TestSongLoading::walksDepthFirstInCaseInsensitiveOrder()
{
    makeFile(QStringLiteral("Album/b.mp3"));
    makeFile(QStringLiteral("Album/c.MP3"));
    makeFile(QStringLiteral("Album/A/z.flac"));
    makeFile(QStringLiteral("Album/A/a.wav"));
    makeFile(QStringLiteral("Album/A/Sub/s.m4a"));
    makeFile(QStringLiteral("Album/A/.hidden.aiff"));
    const QStringList expected = {"Album/A/.hidden.aiff", "Album/A/a.wav", "Album/A/Sub/s.m4a",
                                  "Album/A/z.flac", "Album/b.mp3", "Album/c.MP3"};

    QStringList collected;
    QSet<QString> excludes;
    m_editor->traverseFile(path(QStringLiteral("Album")), &collected, &excludes);
    for (QString &file : collected)
        file = file.mid(m_root->path().size() + 1);
    QCOMPARE(collected, expected);
    QVERIFY(excludes.isEmpty());

    m_editor->traverseFiles({path(QStringLiteral("Album"))}, false);
    QCOMPARE(loadedPaths(), expected);
}

void TestSongLoading::keepsOnlyMusicExtensions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("kept");
    QTest::newRow("mp3") << "song.mp3" << true;
    QTest::newRow("MP3") << "song.MP3" << true;
    QTest::newRow("Flac") << "song.Flac" << true;
    QTest::newRow("m4a") << "song.m4a" << true;
    QTest::newRow("m4b") << "book.M4B" << true;
    QTest::newRow("aif") << "song.aif" << true;
    QTest::newRow("aiff") << "song.AIFF" << true;
    QTest::newRow("wav") << "song.wav" << true;
    QTest::newRow("two dots") << "a.b.mp3" << true;
    QTest::newRow("mp4") << "song.mp4" << false;
    QTest::newRow("ogg") << "song.ogg" << false;
    QTest::newRow("no extension") << "song" << false;
    QTest::newRow("name only") << "mp3" << false;
    QTest::newRow("music then text") << "song.mp3.txt" << false;
    QTest::newRow("trailing dot") << "song.mp3." << false;
}

void TestSongLoading::keepsOnlyMusicExtensions()
{
    QFETCH(QString, name);
    QFETCH(bool, kept);
    makeFile(QStringLiteral("Music/") + name);
    m_editor->traverseFiles({path(QStringLiteral("Music"))}, false);
    QCOMPARE(loadedPaths(), kept ? QStringList{QStringLiteral("Music/") + name} : QStringList());
    // A file named directly is filtered the same way.
    m_editor->clearSongs();
    m_editor->traverseFiles({path(QStringLiteral("Music/") + name)}, false);
    QCOMPARE(int(m_editor->songs().size()), kept ? 1 : 0);
    QVERIFY(m_ui->questions.isEmpty());
}

void TestSongLoading::neverReadsAPipeWithAMusicName()
{
    makeFile(QStringLiteral("Music/real.mp3"));
    const QByteArray pipe = QFile::encodeName(path(QStringLiteral("Music/pipe.mp3")));
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    // Reading the pipe would block for ever; it is not a file to load.
    m_editor->traverseFiles({path(QStringLiteral("Music"))}, false);
    QCOMPARE(loadedPaths(), QStringList{QStringLiteral("Music/real.mp3")});
}

void TestSongLoading::loadsRealFilesAndSelectsThem()
{
    makeFile(QStringLiteral("Music/1.mp3"));
    makeFile(QStringLiteral("Music/2.m4a"));
    makeFile(QStringLiteral("Music/3.flac"));
    makeFile(QStringLiteral("Music/4.aiff"));
    makeFile(QStringLiteral("Music/5.wav"));
    // A truncated file has no readable tags but still gives a song.
    makeFile(QStringLiteral("Music/6.mp3"));
    QVERIFY(QFile::resize(path(QStringLiteral("Music/6.mp3")), 3));
    m_editor->traverseFiles({path(QStringLiteral("Music"))}, false);

    QCOMPARE(loadedPaths(), (QStringList{"Music/1.mp3", "Music/2.m4a", "Music/3.flac", "Music/4.aiff",
                                         "Music/5.wav", "Music/6.mp3"}));
    for (const auto &song : m_editor->songs()) {
        QCOMPARE(song->fileName(), QFileInfo(song->filePath()).fileName());
        QVERIFY(!song->isModified());
        QVERIFY(song->isRenamable());
    }
    QCOMPARE(m_ui->rows, (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(m_ui->sortOrderClears, 1);
    QCOMPARE(m_ui->progressTexts, (QStringList{Localized::text("Reading"), QString()}));
    QVERIFY(m_editor->skippedPaths().isEmpty());

    // A second batch appends and selects only the new songs.
    makeFile(QStringLiteral("Music/7.mp3"));
    m_editor->traverseFiles({path(QStringLiteral("Music"))}, false);
    QCOMPARE(int(m_editor->songs().size()), 7);
    QCOMPARE(m_ui->rows, QList<int>{6});
}

void TestSongLoading::addingAKnownFileAddsNothingAndClearsSelection()
{
    const QString file = makeFile(QStringLiteral("Music/a.mp3"));
    m_editor->traverseFiles({file}, false);
    QCOMPARE(m_ui->rows, QList<int>{0});
    m_editor->traverseFiles({file}, false);
    QCOMPARE(int(m_editor->songs().size()), 1);
    QVERIFY(m_ui->rows.isEmpty());
    // Nothing appended: the table keeps its sort order.
    QCOMPARE(m_ui->sortOrderClears, 1);
    // The same file through another spelling of its path is the same song.
    m_editor->traverseFiles({path(QStringLiteral("Music/../Music/./a.mp3"))}, false);
    QCOMPARE(int(m_editor->songs().size()), 1);
}

void TestSongLoading::fileCollectedTwiceInOneBatchIsReadOnce()
{
    const QString file = makeFile(QStringLiteral("Music/Album/a.mp3"));
    m_editor->traverseFiles({path(QStringLiteral("Music/Album")), file, path(QStringLiteral("Music"))}, false);
    QCOMPARE(loadedPaths(), QStringList{QStringLiteral("Music/Album/a.mp3")});
}

void TestSongLoading::renameRestrictionAnswers_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("askedAgain");
    QTest::newRow("OK") << 0 << true << true;
    QTest::newRow("Cancel") << 1 << false << true;
    QTest::newRow("DontShowAgain") << 2 << true << false;
}

void TestSongLoading::renameRestrictionAnswers()
{
    QFETCH(int, button);
    QFETCH(bool, loaded);
    QFETCH(bool, askedAgain);
    const QString first = makeFile(QStringLiteral("Desktop/first.mp3"));
    const QString second = makeFile(QStringLiteral("Desktop/second.mp3"));

    m_ui->answerNext(button);
    m_editor->traverseFiles({first}, false);
    QCOMPARE(m_ui->questions.size(), 1);
    const UserInterface::Question &question = m_ui->questions.first();
    QCOMPARE(question.messageKey, QStringLiteral("AddingIndividualFiles"));
    QCOMPARE(question.informativeKey, QStringLiteral("CantRenameIndividuallyAddedFilesOutsideStandardFolders"));
    QCOMPARE(question.buttonKeys, (QStringList{"OK", "Cancel", "DontShowAgain"}));
    QCOMPARE(int(m_editor->songs().size()), loaded ? 1 : 0);
    if (loaded)
        QVERIFY(!m_editor->songs().front()->isRenamable());
    QCOMPARE(UserDefaults::shared().boolForKey(Confirmed), button == 2);
    QCOMPARE(m_ui->progressTexts.last(), QString());

    m_ui->answerNext(0);
    m_editor->traverseFiles({second}, false);
    QCOMPARE(m_ui->questions.size(), askedAgain ? 2 : 1);
    QVERIFY(!m_editor->songs().back()->isRenamable());
}

void TestSongLoading::cancelAbandonsWholeBatch()
{
    makeFile(QStringLiteral("Music/kept.mp3"));
    m_editor->traverseFiles({path(QStringLiteral("Music/kept.mp3"))}, false);
    makeFile(QStringLiteral("Desktop/Album/a.mp3"));
    const QString single = makeFile(QStringLiteral("Desktop/single.flac"));

    int announcements = 0;
    struct Counter : SongListObserver {
        int *count;
        void songsDidChange() override { ++*count; }
    } counter;
    counter.count = &announcements;
    m_editor->addObserver(&counter);

    m_ui->answerNext(1);
    m_ui->rows = {0};
    m_editor->traverseFiles({path(QStringLiteral("Desktop/Album")), single}, false);
    QCOMPARE(loadedPaths(), QStringList{QStringLiteral("Music/kept.mp3")});
    QCOMPARE(announcements, 0);
    QCOMPARE(m_ui->rows, QList<int>{0});
    QCOMPARE(m_ui->progressTexts.last(), QString());
    m_editor->removeObserver(&counter);
}

void TestSongLoading::filesInStandardFoldersAreNotAsked_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("music") << "Music/a.mp3";
    QTest::newRow("below music") << "Music/Artist/Album/a.mp3";
    QTest::newRow("downloads") << "Downloads/a.flac";
    QTest::newRow("below downloads") << "Downloads/x/a.wav";
}

void TestSongLoading::filesInStandardFoldersAreNotAsked()
{
    QFETCH(QString, file);
    m_editor->traverseFiles({makeFile(file)}, false);
    QVERIFY(m_ui->questions.isEmpty());
    QCOMPARE(int(m_editor->songs().size()), 1);
    QVERIFY(m_editor->songs().front()->isRenamable());
}

void TestSongLoading::folderOnDesktopIsNotAsked()
{
    makeFile(QStringLiteral("Desktop/Album/a.mp3"));
    makeFile(QStringLiteral("Desktop/Album/CD2/b.mp3"));
    m_editor->traverseFiles({path(QStringLiteral("Desktop/Album"))}, false);
    QVERIFY(m_ui->questions.isEmpty());
    QCOMPARE(int(m_editor->songs().size()), 2);
    for (const auto &song : m_editor->songs())
        QVERIFY(song->isRenamable());
}

void TestSongLoading::homeOutsideKnownFoldersExcludesEveryNamedFile()
{
    StandardFolders::Environment environment;
    environment.homePath = m_root->path();
    StandardFolders::setForTesting(StandardFolders::compute(environment));
    const QString inMusic = makeFile(QStringLiteral("Music/a.mp3"));
    makeFile(QStringLiteral("Music/Album/b.mp3"));

    m_ui->answerNext(0);
    m_editor->traverseFiles({inMusic, path(QStringLiteral("Music/Album"))}, false);
    QCOMPARE(m_ui->questions.size(), 1);
    QCOMPARE(loadedPaths(), (QStringList{"Music/a.mp3", "Music/Album/b.mp3"}));
    QVERIFY(!m_editor->songs().at(0)->isRenamable());
    QVERIFY(m_editor->songs().at(1)->isRenamable());
}

void TestSongLoading::unsandboxedProcessNeverAsks()
{
    StandardFolders::Environment environment;
    environment.homePath = QStringLiteral("/home/bob");
    environment.unsandboxed = true;
    StandardFolders::setForTesting(StandardFolders::compute(environment));
    m_editor->traverseFiles({makeFile(QStringLiteral("Desktop/a.mp3"))}, false);
    QVERIFY(m_ui->questions.isEmpty());
    QVERIFY(m_editor->songs().front()->isRenamable());
}

void TestSongLoading::addCommandUsesChooser()
{
    m_editor->addSongs(); // cancelled
    QCOMPARE(m_ui->choices.size(), 1);
    const UserInterface::FileChoice &choice = m_ui->choices.first();
    QCOMPARE(choice.promptKey, QStringLiteral("Add"));
    QCOMPARE(choice.messageKey, QStringLiteral("AddMusicFilesToEdit"));
    QCOMPARE(choice.titleKey, QStringLiteral("Add"));
    QCOMPARE(choice.extensions, (QStringList{"mp3", "m4a", "m4b", "flac", "aif", "aiff", "wav"}));
    QVERIFY(choice.allowFolders && choice.allowMultiple && !choice.resolveAliases);
    QVERIFY(m_editor->songs().empty());
    QVERIFY(m_ui->progressTexts.isEmpty());

    const QString file = makeFile(QStringLiteral("Desktop/a.mp3"));
    m_ui->chooserResults.enqueue(QStringList{file});
    m_ui->answerNext(0);
    m_editor->addSongs();
    QCOMPARE(m_ui->questions.size(), 1);
    QCOMPARE(int(m_editor->songs().size()), 1);

    // Files opened by the system go the same way, question included.
    m_ui->answerNext(1);
    m_editor->openFiles({makeFile(QStringLiteral("Desktop/b.mp3"))});
    QCOMPARE(m_ui->questions.size(), 2);
    QCOMPARE(int(m_editor->songs().size()), 1);
}

void TestSongLoading::reloadKeepsRenamabilityAndDropsVanishedFiles()
{
    makeFile(QStringLiteral("Music/a.mp3"));
    makeFile(QStringLiteral("Music/b.flac"));
    const QString single = makeFile(QStringLiteral("Desktop/c.wav"));
    m_editor->traverseFiles({path(QStringLiteral("Music"))}, false);
    m_ui->answerNext(0);
    m_editor->traverseFiles({single}, false);
    QCOMPARE(int(m_editor->songs().size()), 3);
    m_editor->songs().at(0)->setTitle(QStringLiteral("Unsaved"));
    QVERIFY(QFile::remove(path(QStringLiteral("Music/b.flac"))));

    int willChange = 0;
    int didChange = 0;
    struct Counter : SongListObserver {
        int *will;
        int *did;
        void songsWillChange() override { ++*will; }
        void songsDidChange() override { ++*did; }
    } counter;
    counter.will = &willChange;
    counter.did = &didChange;
    m_editor->addObserver(&counter);
    m_ui->rows = {};
    m_editor->reloadSongs();
    m_editor->removeObserver(&counter);

    QCOMPARE(m_ui->questions.size(), 1); // only the question of the add
    QCOMPARE(loadedPaths(), (QStringList{"Music/a.mp3", "Desktop/c.wav"}));
    QVERIFY(m_editor->songs().at(0)->isRenamable());
    QVERIFY(!m_editor->songs().at(1)->isRenamable());
    QCOMPARE(m_editor->songs().at(0)->title(), QString());
    QVERIFY(!m_editor->songs().at(0)->isModified());
    QCOMPARE(m_ui->rows, (QList<int>{0, 1}));
    QCOMPARE(willChange, 1);
    QCOMPARE(didChange, 1);
}

void TestSongLoading::missingPathsAreSkipped()
{
    makeFile(QStringLiteral("Music/a.mp3"));
    QFile::link(path(QStringLiteral("Music/nowhere.mp3")), path(QStringLiteral("Music/dangling.mp3")));
    m_editor->traverseFiles({path(QStringLiteral("Gone")), path(QStringLiteral("Gone/x.mp3")),
                             path(QStringLiteral("Music")), QString()},
                            false);
    QCOMPARE(loadedPaths(), QStringList{QStringLiteral("Music/a.mp3")});
    QVERIFY(m_ui->questions.isEmpty());
}

void TestSongLoading::linkLoopsTerminate()
{
    makeFile(QStringLiteral("Library/A/x.mp3"));
    makeFile(QStringLiteral("Library/y.mp3"));
    QVERIFY(QFile::link(path(QStringLiteral("Library")), path(QStringLiteral("Library/A/up"))));
    QVERIFY(QFile::link(path(QStringLiteral("Library/A")), path(QStringLiteral("Library/A/self"))));
    QVERIFY(QFile::link(QStringLiteral(".."), path(QStringLiteral("Library/A/parent"))));
    m_editor->traverseFiles({path(QStringLiteral("Library"))}, false);
    QCOMPARE(loadedPaths(), (QStringList{"Library/A/x.mp3", "Library/y.mp3"}));

    // A walk started again from inside the loop also ends.
    QStringList collected;
    m_editor->traverseFile(path(QStringLiteral("Library/A/up")), &collected, nullptr);
    QCOMPARE(collected.size(), 2);
}

void TestSongLoading::unreadableFolderIsSkipped()
{
    makeFile(QStringLiteral("Music/a.mp3"));
    makeFile(QStringLiteral("Music/Locked/b.mp3"));
    makeFile(QStringLiteral("Music/z.mp3"));
    const QByteArray locked = QFile::encodeName(path(QStringLiteral("Music/Locked")));
    QCOMPARE(::chmod(locked.constData(), 0), 0);
    const bool blocked = ::access(locked.constData(), R_OK) != 0;
    if (!blocked) {
        ::chmod(locked.constData(), 0700);
        QSKIP("Permissions do not block this user (root)");
    }
    m_editor->traverseFiles({path(QStringLiteral("Music"))}, false);
    ::chmod(locked.constData(), 0700);
    QCOMPARE(loadedPaths(), (QStringList{"Music/a.mp3", "Music/z.mp3"}));
}

void TestSongLoading::namesThatAreNotUtf8AreSkippedAndReported()
{
    makeFile(QStringLiteral("Music/good.mp3"));
    makeFile(QStringLiteral("Music/Ünïcode.flac"));
    const QByteArray folder = QFile::encodeName(path(QStringLiteral("Music")));
    const QList<QByteArray> badNames = {QByteArray("bad\xff.mp3"), QByteArray("over\xc0\xaf.mp3"),
                                        QByteArray("surrogate\xed\xa0\x80.mp3")};
    for (const QByteArray &name : badNames) {
        const int fd = ::open((folder + '/' + name).constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    const QByteArray badFolder = folder + "/Latin\xe9";
    QCOMPARE(::mkdir(badFolder.constData(), 0755), 0);
    const int fd = ::open((badFolder + "/inside.mp3").constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);

    m_editor->traverseFiles({path(QStringLiteral("Music"))}, false);
    QCOMPARE(loadedPaths(), (QStringList{"Music/good.mp3", "Music/Ünïcode.flac"}));
    QStringList skipped = m_editor->skippedPaths();
    skipped.sort();
    const QString base = path(QStringLiteral("Music/"));
    QCOMPARE(skipped, (QStringList{base + "Latin\\xE9", base + "bad\\xFF.mp3", base + "over\\xC0\\xAF.mp3",
                                   base + "surrogate\\xED\\xA0\\x80.mp3"}));

    // The report belongs to one batch.
    m_editor->traverseFiles({path(QStringLiteral("Music/good.mp3"))}, false);
    QVERIFY(m_editor->skippedPaths().isEmpty());

    // QTemporaryDir cannot name these entries to remove them.
    for (const QByteArray &name : badNames)
        ::unlink((folder + '/' + name).constData());
    ::unlink((badFolder + "/inside.mp3").constData());
    ::rmdir(badFolder.constData());
}

void TestSongLoading::interruptedRenamesAreUndone_data()
{
    // Entries made below Music (a trailing "/" makes a folder), then what loading leaves there,
    // the songs it loads and the parked files it reports.
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QStringList>("stranded");
    QTest::newRow("parked files of every type get their names back")
        << QStringList{".quorl-rename-Ab12Cd/Song.mp3", ".quorl-rename-Xy34Zw/Song.m4a", ".quorl-rename-Q1w2E3/b.flac",
                       ".quorl-rename-R4t5Y6/c.aiff", ".quorl-rename-U7i8O9/d.wav", "a.mp3"}
        << QStringList{"Song.m4a", "Song.mp3", "a.mp3", "b.flac", "c.aiff", "d.wav"}
        << QStringList{"a.mp3", "b.flac", "c.aiff", "d.wav", "Song.m4a", "Song.mp3"} << QStringList();
    QTest::newRow("name taken since")
        << QStringList{".quorl-rename-Ab12Cd/Song.mp3", "Song.mp3"}
        << QStringList{".quorl-rename-Ab12Cd", ".quorl-rename-Ab12Cd/Song.mp3", "Song.mp3"}
        << QStringList{"Song.mp3"} << QStringList{".quorl-rename-Ab12Cd/Song.mp3"};
    QTest::newRow("empty parking folder removed")
        << QStringList{".quorl-rename-Ab12Cd/", "Song.mp3"} << QStringList{"Song.mp3"} << QStringList{"Song.mp3"}
        << QStringList();
    QTest::newRow("file named like a parking folder left alone")
        << QStringList{".quorl-rename-Ab12Cd", "Song.mp3"} << QStringList{".quorl-rename-Ab12Cd", "Song.mp3"}
        << QStringList{"Song.mp3"} << QStringList();
    QTest::newRow("folder named almost like one walked as usual")
        << QStringList{".quorl-rename-Ab12/Song.mp3"} << QStringList{".quorl-rename-Ab12", ".quorl-rename-Ab12/Song.mp3"}
        << QStringList{".quorl-rename-Ab12/Song.mp3"} << QStringList();
    QTest::newRow("in a subfolder")
        << QStringList{"Disc 1/.quorl-rename-Ab12Cd/x.wav"} << QStringList{"Disc 1", "Disc 1/x.wav"}
        << QStringList{"Disc 1/x.wav"} << QStringList();
}

void TestSongLoading::interruptedRenamesAreUndone()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, left);
    QFETCH(QStringList, loaded);
    QFETCH(QStringList, stranded);

    const QString music = path(QStringLiteral("Music"));
    QVERIFY(QDir().mkpath(music));
    for (const QString &entry : std::as_const(made)) {
        if (entry.endsWith(u'/'))
            QVERIFY(QDir().mkpath(music + u'/' + entry));
        else
            makeFile(QStringLiteral("Music/") + entry);
    }

    m_editor->traverseFiles({music}, false);
    QStringList entries;
    QDirIterator it(music, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(it.next().mid(music.size() + 1));
    entries.sort();
    QCOMPARE(entries, left);
    QStringList loadedNames = loadedPaths();
    for (QString &name : loadedNames)
        name = name.mid(QStringLiteral("Music/").size());
    QCOMPARE(loadedNames, loaded);
    QStringList reported = m_editor->strandedPaths();
    for (QString &name : reported)
        name = name.mid(music.size() + 1);
    QCOMPARE(reported, stranded);
}

void TestSongLoading::printableNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("printable");
    QTest::newRow("ascii") << QByteArray("a.mp3") << "a.mp3";
    QTest::newRow("umlaut") << QByteArray("\xc3\xbc.mp3") << QStringLiteral("ü.mp3");
    QTest::newRow("emoji") << QByteArray("\xf0\x9f\x8e\xb5") << QStringLiteral("🎵");
    QTest::newRow("latin1") << QByteArray("caf\xe9") << "caf\\xE9";
    QTest::newRow("cut sequence") << QByteArray("\xe2\x82") << "\\xE2\\x82";
    QTest::newRow("stray continuation") << QByteArray("\x80x") << "\\x80x";
}

void TestSongLoading::printableNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, printable);
    QCOMPARE(FolderListing::printableName(name), printable);
}

QTEST_GUILESS_MAIN(TestSongLoading)
#include "test_songloading.moc"
