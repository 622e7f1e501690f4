#include "editor/editorcontroller.h"
#include "fakeuserinterface.h"
#include "fixtures.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/namingcontroller.h"
#include "tools/renamepreview.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Every entry of the folder with its size, to tell that nothing moved or changed.
QStringList listing(const QString &folder)
{
    QStringList entries;
    const QFileInfoList infos = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                                           QDir::Name);
    for (const QFileInfo &info : infos)
        entries.append(info.fileName() + u' ' + QString::number(info.size()));
    return entries;
}

// A row as the tables write it: "new name status", with the row that takes the name first
// after a collision.
QString shown(const RenamePreview::Row &row)
{
    QString text = row.newName + u' ' + RenamePreview::statusName(row.status);
    if (row.status == RenamePreview::Status::Collision)
        text += u' ' + QString::number(row.takenByRow);
    return text;
}

} // namespace

class TestRenamePreview : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(useEditorSettings(m_settings));
    }

    void init()
    {
        UserDefaults::shared().openStore(m_settings.filePath(QStringLiteral("settings-%1.ini").arg(++m_store)));
        m_dir = std::make_unique<QTemporaryDir>();
        m_editor.reset();
        m_ui = std::make_unique<FakeUserInterface>();
        m_editor = std::make_unique<EditorController>(m_ui.get());
    }

    void rows_data()
    {
        QTest::addColumn<bool>("allInOne"); // else naming by {Title}
        QTest::addColumn<QStringList>("names");  // of the loaded songs, whose artist is "some band"
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("others"); // files in the folder that are not loaded
        QTest::addColumn<QString>("pending");    // a name given to the first song before, not saved
        QTest::addColumn<QStringList>("rows");

        const QStringList one{"1.mp3"};
        const QStringList two{"1.mp3", "2.mp3"};
        const QStringList none;
        QTest::newRow("same name") << false << one << QStringList{"1"} << none << QString()
                                   << QStringList{"1.mp3 unchanged"};
        QTest::newRow("two songs to one name") << false << two << QStringList{"Same", "Same"} << none << QString()
                                               << QStringList{"Same.mp3 ok", "Same.mp3 collision 0"};
        QTest::newRow("three to one, one keeps it")
            << false << QStringList{"1.mp3", "2.mp3", "Same.mp3"} << QStringList{"Same", "Same", "Same"} << none
            << QString() << QStringList{"Same.mp3 exists", "Same.mp3 exists", "Same.mp3 unchanged"};
        QTest::newRow("letter case of its own name") << false << QStringList{"blue.mp3"} << QStringList{"Blue"} << none
                                                     << QString() << QStringList{"Blue.mp3 case-only"};
        QTest::newRow("letter case onto another file") << false << QStringList{"blue.mp3"} << QStringList{"Blue"}
                                                       << QStringList{"Blue.mp3"} << QString()
                                                       << QStringList{"Blue.mp3 exists"};
        QTest::newRow("sanitizes to nothing") << false << one << QStringList{"---"} << none << QString()
                                              << QStringList{"1.mp3 invalid"};
        // Naming keeps the hyphen that is left in the middle; the save's sanitizing takes it too.
        QTest::newRow("sanitizes to nothing at the save") << false << one << QStringList{"-- / --"} << none
                                                          << QString() << QStringList{"-.mp3 invalid"};
        const QString accents(130, u'é');
        QTest::newRow("too long in bytes, not in letters") << false << one << QStringList{accents} << none << QString()
                                                           << QStringList{accents + ".mp3 too-long"};
        QTest::newRow("missing value") << false << two << QStringList{"", "Blue"} << none << QString()
                                       << QStringList{"1.mp3 not-named", "Blue.mp3 ok"};
        // A name given before and not saved is renamed by the save all the same, and first.
        QTest::newRow("missing value, name given before") << false << two << QStringList{"", "Blue"} << none
                                                          << QStringLiteral("Blue.mp3")
                                                          << QStringList{"Blue.mp3 not-named", "Blue.mp3 collision 0"};
        QTest::newRow("all in one") << true << two << QStringList{"the sound of the city", ""} << none << QString()
                                    << QStringList{"01 - Some Band - The Sound of the City.mp3 ok", "2.mp3 not-named"};
        // The numbers tell the songs apart; the first name is taken on disk.
        QTest::newRow("all in one, one title twice")
            << true << two << QStringList{"same", "same"} << QStringList{"01 - Some Band - Same.mp3"} << QString()
            << QStringList{"01 - Some Band - Same.mp3 exists", "02 - Some Band - Same.mp3 ok"};
    }

    void rows()
    {
        QFETCH(bool, allInOne);
        QFETCH(QStringList, names);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, others);
        QFETCH(QString, pending);
        QFETCH(QStringList, rows);
        QVERIFY(loadSongs(names, others));
        if (!pending.isEmpty())
            songs().at(0)->setFileName(pending);
        for (qsizetype i = 0; i < titles.size(); ++i) {
            songs().at(i)->setTitle(titles.at(i));
            songs().at(i)->setArtist(QStringLiteral("some band"));
        }
        if (!allInOne) {
            UserDefaults::shared().setBool(true, NamingController::CustomKey);
            UserDefaults::shared().setBool(false, NamingController::TrackArtistAndTitleKey);
            PatternUtil::storePattern(patternFromText(QStringLiteral("{Title}")), NamingController::CustomSchemeKey);
        }
        const QStringList filesBefore = listing(m_dir->path());
        const QStringList before = states();

        const QList<RenamePreview::Row> preview = allInOne ? RenamePreview::forAllInOne(songs())
                                                           : RenamePreview::forNaming(songs());
        QStringList shownRows;
        for (qsizetype i = 0; i < preview.size(); ++i) {
            QCOMPARE(preview.at(i).song, songs().at(i));
            QCOMPARE(preview.at(i).oldName, names.at(i));
            shownRows.append(shown(preview.at(i)));
        }
        QCOMPARE(shownRows, rows);

        // The preview changed nothing, neither in the songs nor on disk, and asked nothing.
        QCOMPARE(listing(m_dir->path()), filesBefore);
        QCOMPARE(states(), before);
        QCOMPARE(m_ui->questions.size(), 0);
    }

    void songsThatMayNotBeRenamed()
    {
        QVERIFY(loadSongs({"1.mp3", "2.mp3"}, {}));
        songs().at(0)->setIsRenamable(false);
        for (Song *song : songs()) {
            song->setArtist(QStringLiteral("A"));
            song->setTitle(QStringLiteral("T"));
            song->setTrack(QStringLiteral("1"));
        }
        // Flagged also where the naming tool skips such songs without a word.
        for (const bool confirmed : {false, true}) {
            UserDefaults::shared().setBool(confirmed, QStringLiteral("CONFIRMED_RENAME_RESTRICTION"));
            const QList<RenamePreview::Row> rows = RenamePreview::forNaming(songs());
            QCOMPARE(shown(rows.at(0)), QStringLiteral("1.mp3 not-renamable"));
            QCOMPARE(shown(rows.at(1)), QStringLiteral("1 - A - T.mp3 ok"));
            QVERIFY(RenamePreview::isFlagged(rows.at(0).status));
            QVERIFY(!RenamePreview::isRefused(rows.at(0).status));
        }
    }

private:
    // Copies of the MP3 fixture under the names (loaded, in order) and others (not loaded).
    bool loadSongs(const QStringList &names, const QStringList &others)
    {
        QStringList paths;
        for (const QString &name : names + others) {
            const QString path = copyFixture(*m_dir, QStringLiteral("silence.mp3"), name);
            if (path.isEmpty())
                return false;
            paths.append(path);
        }
        m_editor->traverseFiles(paths.first(names.size()), true);
        m_ui->rows.clear();
        for (int row = 0; row < int(names.size()); ++row)
            m_ui->rows.append(row);
        return m_editor->songs().size() == size_t(names.size());
    }
    QList<Song *> songs() const { return m_editor->selectedObjects(); }
    // What the preview must leave alone in the songs.
    QStringList states() const
    {
        QStringList states;
        for (const Song *song : songs())
            states.append(QStringList{song->fileName(), song->title(), song->track(), QString::number(song->isModified())}.join(u'|'));
        return states;
    }

    QTemporaryDir m_settings;
    int m_store = 0;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeUserInterface> m_ui;
    std::unique_ptr<EditorController> m_editor;
};

QTEST_GUILESS_MAIN(TestRenamePreview)
#include "test_renamepreview.moc"
