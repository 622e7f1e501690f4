// The walk of a folder by entry types: files are taken by name alone, links and untyped entries
// are looked up, and the result is the one a lookup of every entry would give.

#include "editor/editorcontroller.h"
#include "editor/folderlisting.h"
#include "editor/settingsregistry.h"
#include "editor/standardfolders.h"
#include "fakeuserinterface.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using FolderListing::EntryType;

class TestFolderWalk : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listingTypesEntries_data();
    void listingTypesEntries();
    void listingRefusesALinkWhenAskedTo();
    void walkTreatsEveryEntryTypeAsALookupWould_data();
    void walkTreatsEveryEntryTypeAsALookupWould();
    void folderLinkedTwiceIsWalkedOnce();

private:
    QString path(const QString &relative) const { return m_root->filePath(relative); }
    void makeFile(const QString &relative) const;
    // Makes the entry of the given kind at Music/<name>; the link targets lie outside Music.
    void makeEntry(const QString &kind, const QString &name) const;
    QStringList walked(const QString &folder);

    QTemporaryDir m_store;
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<FakeUserInterface> m_ui;
    std::unique_ptr<EditorController> m_editor;
};

void TestFolderWalk::makeFile(const QString &relative) const
{
    const QString full = path(relative);
    QDir().mkpath(full.section(u'/', 0, -2));
    QFile file(full);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not audio");
}

void TestFolderWalk::makeEntry(const QString &kind, const QString &name) const
{
    const QString entry = path(QStringLiteral("Music/") + name);
    QDir().mkpath(path(QStringLiteral("Music")));
    if (kind == u"file") {
        makeFile(QStringLiteral("Music/") + name);
    } else if (kind == u"folder") {
        makeFile(QStringLiteral("Music/") + name + QStringLiteral("/inside.flac"));
    } else if (kind == u"pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(entry).constData(), 0600), 0);
    } else if (kind == u"link to file") {
        makeFile(QStringLiteral("Elsewhere/target.wav"));
        QVERIFY(QFile::link(path(QStringLiteral("Elsewhere/target.wav")), entry));
    } else if (kind == u"link to folder") {
        makeFile(QStringLiteral("Elsewhere/Album/inside.flac"));
        QVERIFY(QFile::link(path(QStringLiteral("Elsewhere/Album")), entry));
    } else if (kind == u"link to pipe") {
        QDir().mkpath(path(QStringLiteral("Elsewhere")));
        QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("Elsewhere/pipe"))).constData(), 0600), 0);
        QVERIFY(QFile::link(path(QStringLiteral("Elsewhere/pipe")), entry));
    } else if (kind == u"dangling link") {
        QVERIFY(QFile::link(path(QStringLiteral("Elsewhere/nothing.mp3")), entry));
    } else {
        QFAIL("unknown kind");
    }
}

QStringList TestFolderWalk::walked(const QString &folder)
{
    QStringList collected;
    m_editor->traverseFile(path(folder), &collected, nullptr);
    for (QString &file : collected)
        file = file.mid(m_root->path().size() + 1);
    return collected;
}

void TestFolderWalk::initTestCase()
{
    QVERIFY(m_store.isValid());
    UserDefaults::shared().openStore(m_store.filePath(QStringLiteral("settings.ini")));
    SettingsRegistry::registerDefaults();
}

void TestFolderWalk::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    StandardFolders::setForTesting({path(QStringLiteral("Music")), path(QStringLiteral("Downloads"))});
    m_ui = std::make_unique<FakeUserInterface>();
    m_editor = std::make_unique<EditorController>(m_ui.get());
}

void TestFolderWalk::cleanup()
{
    m_editor.reset();
    m_ui.reset();
    m_root.reset();
    StandardFolders::reset();
}

void TestFolderWalk::listingTypesEntries_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<EntryType>>("possible");
    // A file system may leave the type out; the entry is then looked up, which is never wrong.
    QTest::newRow("file") << "file" << QList<EntryType>{EntryType::File, EntryType::Unknown};
    QTest::newRow("folder") << "folder" << QList<EntryType>{EntryType::Folder, EntryType::Unknown};
    QTest::newRow("pipe") << "pipe" << QList<EntryType>{EntryType::Other, EntryType::Unknown};
    // A link is never taken for what it leads to without a lookup.
    QTest::newRow("link to file") << "link to file" << QList<EntryType>{EntryType::Unknown};
    QTest::newRow("link to folder") << "link to folder" << QList<EntryType>{EntryType::Unknown};
    QTest::newRow("dangling link") << "dangling link" << QList<EntryType>{EntryType::Unknown};
}

void TestFolderWalk::listingTypesEntries()
{
    QFETCH(QString, kind);
    QFETCH(QList<EntryType>, possible);
    makeEntry(kind, QStringLiteral("entry.mp3"));
    const FolderListing::Listing listing = FolderListing::list(path(QStringLiteral("Music")));
    QCOMPARE(listing.names, QStringList{QStringLiteral("entry.mp3")});
    QCOMPARE(listing.types.size(), 1);
    QVERIFY2(possible.contains(listing.types.first()), qPrintable(kind));
}

void TestFolderWalk::listingRefusesALinkWhenAskedTo()
{
    makeEntry(QStringLiteral("link to folder"), QStringLiteral("Linked"));
    const QString linked = path(QStringLiteral("Music/Linked"));
    QCOMPARE(FolderListing::list(linked).names, QStringList{QStringLiteral("inside.flac")});
    QVERIFY(FolderListing::list(linked, false).names.isEmpty());
    QCOMPARE(FolderListing::list(path(QStringLiteral("Elsewhere/Album")), false).names,
             QStringList{QStringLiteral("inside.flac")});
}

void TestFolderWalk::walkTreatsEveryEntryTypeAsALookupWould_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("music file") << "file" << "a.mp3" << QStringList{"Music/a.mp3"};
    QTest::newRow("other file") << "file" << "a.txt" << QStringList{};
    QTest::newRow("folder with a music name") << "folder" << "b.mp3" << QStringList{"Music/b.mp3/inside.flac"};
    QTest::newRow("pipe with a music name") << "pipe" << "c.mp3" << QStringList{};
    QTest::newRow("link to a music file") << "link to file" << "d.wav" << QStringList{"Music/d.wav"};
    QTest::newRow("music link to a file") << "link to file" << "d.mp3" << QStringList{"Music/d.mp3"};
    QTest::newRow("link to a file, other name") << "link to file" << "d" << QStringList{};
    QTest::newRow("link to a folder") << "link to folder" << "E" << QStringList{"Music/E/inside.flac"};
    QTest::newRow("link to a pipe") << "link to pipe" << "f.mp3" << QStringList{};
    QTest::newRow("dangling link") << "dangling link" << "g.mp3" << QStringList{};
}

void TestFolderWalk::walkTreatsEveryEntryTypeAsALookupWould()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    makeEntry(kind, name);
    makeFile(QStringLiteral("Music/0 first.mp3"));
    makeFile(QStringLiteral("Music/z last.mp3"));
    expected.prepend(QStringLiteral("Music/0 first.mp3"));
    expected.append(QStringLiteral("Music/z last.mp3"));
    QCOMPARE(walked(QStringLiteral("Music")), expected);
}

void TestFolderWalk::folderLinkedTwiceIsWalkedOnce()
{
    makeFile(QStringLiteral("Music/Real/x.mp3"));
    QVERIFY(QFile::link(path(QStringLiteral("Music/Real")), path(QStringLiteral("Music/A link"))));
    QVERIFY(QFile::link(path(QStringLiteral("Music/Real")), path(QStringLiteral("Music/Z link"))));
    // The first way in by name order is the one taken; the folder itself comes after the link.
    QCOMPARE(walked(QStringLiteral("Music")), QStringList{QStringLiteral("Music/A link/x.mp3")});
    // Named directly, the folder is walked, and then not again through its links.
    QStringList both;
    m_editor->traverseFiles({path(QStringLiteral("Music/Real")), path(QStringLiteral("Music"))}, true);
    for (const auto &song : m_editor->songs())
        both.append(song->filePath().mid(m_root->path().size() + 1));
    QCOMPARE(both, QStringList{QStringLiteral("Music/Real/x.mp3")});
}

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "test_folderwalk.moc"
