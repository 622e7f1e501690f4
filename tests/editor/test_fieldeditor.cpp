#include "editor/fieldeditor.h"
#include "editor/settingsregistry.h"
#include "fixtures.h"
#include "loadededitor.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString GenreHistory = QStringLiteral("GENRE_HISTORY");
const QString BindAlbumArtist = QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST");
const QString BindCompilation = QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS");

// Records which song announced which field, in order.
class Recorder : public SongObserver {
public:
    struct Event {
        Song *song;
        SongField field;
    };
    QList<Event> events;
    void songFieldChanged(Song &song, SongField field) override { events.append({&song, field}); }
    QList<Song *> songsFor(SongField field) const
    {
        QList<Song *> songs;
        for (const Event &event : events) {
            if (event.field == field)
                songs.append(event.song);
        }
        return songs;
    }
};

using ClearCommand = void (FieldEditor::*)();

struct ClearCase {
    const char *name;
    ClearCommand command;
    QString key;
    QVariant before;
    QVariant cleared;
    SongField flag;
};

QList<ClearCase> clearCases()
{
    return {
        {"title", &FieldEditor::clearTitle, u"title"_qs, u"Song"_qs, u""_qs, SongField::Title},
        {"artist", &FieldEditor::clearArtist, u"artist"_qs, u"Band"_qs, u""_qs, SongField::Artist},
        {"album artist", &FieldEditor::clearAlbumArtist, u"albumArtist"_qs, u"Band"_qs, u""_qs,
         SongField::AlbumArtist},
        {"composer", &FieldEditor::clearComposer, u"composer"_qs, u"Writer"_qs, u""_qs, SongField::Composer},
        {"album", &FieldEditor::clearAlbum, u"album"_qs, u"Record"_qs, u""_qs, SongField::Album},
        {"track", &FieldEditor::clearTrackNumber, u"track"_qs, u"3/12"_qs, u""_qs, SongField::Track},
        {"disc", &FieldEditor::clearDisc, u"disc"_qs, u"1/2"_qs, u""_qs, SongField::Disc},
        {"year", &FieldEditor::clearYear, u"year"_qs, qint64(1999), qint64(0), SongField::Year},
        {"comment", &FieldEditor::clearComment, u"comment"_qs, u"Note"_qs, u""_qs, SongField::Comment},
    };
}

QStringList tenGenres()
{
    QStringList genres;
    for (int i = 1; i <= 10; ++i)
        genres.append(QStringLiteral("G%1").arg(i));
    return genres;
}

} // namespace

class TestFieldEditor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid());
        useTemporarySettings(m_settings);
        SettingsRegistry::registerDefaults();
    }

    void init()
    {
        for (const QString &key : {GenreHistory, BindAlbumArtist, BindCompilation})
            UserDefaults::shared().removeObjectForKey(key);
        m_loaded = std::make_unique<LoadedEditor>();
        QVERIFY(m_loaded->load(3));
        m_editor = std::make_unique<FieldEditor>(&m_loaded->editor);
        for (int row = 0; row < 3; ++row)
            m_loaded->song(row)->addObserver(&m_recorder);
        m_recorder.events.clear();
    }

    void cleanup()
    {
        m_editor.reset();
        m_loaded.reset();
    }

    void committedValueGoesToSelectedSongsInTableOrder()
    {
        // Rows given out of order: the songs are still set in table order.
        m_loaded->select({2, 0});
        m_editor->setValueForKey(u"title", u"  New Title "_qs);
        QCOMPARE(m_recorder.songsFor(SongField::Title),
                 (QList<Song *>{m_loaded->song(0), m_loaded->song(2)}));
        QCOMPARE(m_loaded->song(0)->title(), u"New Title"_qs);
        QCOMPARE(m_loaded->song(2)->title(), u"New Title"_qs);
        QCOMPARE(m_loaded->song(1)->title(), u""_qs);
        QVERIFY(!m_loaded->song(1)->isModified());
    }

    void committedValueGoesThroughTheSetters_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("invalid track stored as empty")
            << int(SongField::Track) << QVariant(u"abc"_qs) << QVariant(u""_qs);
        QTest::newRow("track pair") << int(SongField::Track) << QVariant(u"03/12"_qs) << QVariant(u"03/12"_qs);
        QTest::newRow("disc") << int(SongField::Disc) << QVariant(u"1/2"_qs) << QVariant(u"1/2"_qs);
        QTest::newRow("year as text") << int(SongField::Year) << QVariant(u"1999abc"_qs) << QVariant(qint64(1999));
        QTest::newRow("year as number") << int(SongField::Year) << QVariant(2004) << QVariant(qint64(2004));
        QTest::newRow("compilation") << int(SongField::IsCompilation) << QVariant(1) << QVariant(qint64(1));
        QTest::newRow("genre") << int(SongField::Genre) << QVariant(u" Ska "_qs) << QVariant(u"Ska"_qs);
        QTest::newRow("album artist") << int(SongField::AlbumArtist) << QVariant(u"V.A."_qs)
                                      << QVariant(u"V.A."_qs);
    }
    void committedValueGoesThroughTheSetters()
    {
        QFETCH(int, field);
        QFETCH(QVariant, value);
        QFETCH(QVariant, stored);
        m_loaded->select({0, 1});
        m_editor->setValue(SongField(field), value);
        for (int row : {0, 1}) {
            QCOMPARE(m_loaded->song(row)->valueForKey(Song::keyForField(SongField(field))), stored);
            QVERIFY(m_loaded->song(row)->isModified());
        }
        QVERIFY(!m_loaded->song(2)->isModified());
    }

    void nullValueChangesNothing()
    {
        m_editor->setValueForKey(u"title", QVariant());
        m_editor->setValueForKey(u"year", QVariant());
        for (int row = 0; row < 3; ++row)
            QVERIFY(!m_loaded->song(row)->isModified());
        QVERIFY(m_recorder.events.isEmpty());
    }

    void clearCommands_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < clearCases().size(); ++i)
            QTest::newRow(clearCases().at(i).name) << i;
    }
    void clearCommands()
    {
        QFETCH(int, index);
        const ClearCase c = clearCases().at(index);
        for (int row = 0; row < 3; ++row)
            m_loaded->song(row)->setValueForKey(c.key, c.before);
        for (int row = 0; row < 3; ++row)
            m_loaded->song(row)->resetModifications();

        m_loaded->select({});
        (m_editor.get()->*c.command)();
        for (int row = 0; row < 3; ++row)
            QVERIFY(!m_loaded->song(row)->isModified());

        m_loaded->select({0, 2});
        (m_editor.get()->*c.command)();
        for (int row : {0, 2}) {
            QCOMPARE(m_loaded->song(row)->valueForKey(c.key), c.cleared);
            QVERIFY(m_loaded->song(row)->isModified(c.flag));
        }
        QCOMPARE(m_loaded->song(1)->valueForKey(c.key), c.before);
        QVERIFY(!m_loaded->song(1)->isModified());
    }

    void clearGenreEmptiesTheGenres()
    {
        UserDefaults::shared().setObject(QStringList{u"Pop"_qs}, GenreHistory);
        m_loaded->song(0)->setGenre(u"Pop"_qs);
        m_loaded->song(1)->setGenre(u"Rock"_qs);
        m_loaded->select({0, 1});
        m_editor->clearGenre();
        QCOMPARE(m_loaded->song(0)->genre(), u""_qs);
        QCOMPARE(m_loaded->song(1)->genre(), u""_qs);
        QCOMPARE(FieldEditor::genreHistory(), QStringList{u"Pop"_qs});
    }

    void clearGenreWithOptionEmptiesOnlyTheHistory()
    {
        UserDefaults::shared().setObject(QStringList{u"Pop"_qs, u"Rock"_qs}, GenreHistory);
        for (int row = 0; row < 3; ++row) {
            m_loaded->song(row)->setGenre(u"Jazz"_qs);
            m_loaded->song(row)->resetModifications();
        }
        m_recorder.events.clear();
        m_loaded->select({1, 2});
        m_editor->clearGenre(true);

        QCOMPARE(FieldEditor::genreHistory(), QStringList());
        // The first selected song announces its genre, unchanged, so the choices are rebuilt.
        QCOMPARE(m_recorder.songsFor(SongField::Genre), QList<Song *>{m_loaded->song(1)});
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(m_loaded->song(row)->genre(), u"Jazz"_qs);
            QVERIFY(!m_loaded->song(row)->isModified());
        }

        UserDefaults::shared().setObject(QStringList{u"Pop"_qs}, GenreHistory);
        m_recorder.events.clear();
        m_loaded->select({});
        m_editor->clearGenre(true);
        QCOMPARE(FieldEditor::genreHistory(), QStringList());
        QVERIFY(m_recorder.events.isEmpty());
    }

    void clearingArtistsFollowsTheBindings()
    {
        UserDefaults::shared().setBool(true, BindAlbumArtist);
        UserDefaults::shared().setBool(true, BindCompilation);
        m_loaded->select({0, 1});
        m_editor->setValue(SongField::Artist, u"Various Artists"_qs);
        QCOMPARE(m_loaded->song(0)->albumArtist(), u"Various Artists"_qs);
        QCOMPARE(m_loaded->song(1)->isCompilation(), 1);

        m_editor->clearArtist();
        for (int row : {0, 1}) {
            QCOMPARE(m_loaded->song(row)->artist(), u""_qs);
            QCOMPARE(m_loaded->song(row)->albumArtist(), u""_qs);
            QCOMPARE(m_loaded->song(row)->isCompilation(), 0);
        }
    }

    void clearingAlbumArtistResetsCompilationWhenBound()
    {
        UserDefaults::shared().setBool(true, BindCompilation);
        m_loaded->select({0});
        m_editor->setValue(SongField::AlbumArtist, u"various"_qs);
        QCOMPARE(m_loaded->song(0)->isCompilation(), 1);
        m_editor->clearAlbumArtist();
        QCOMPARE(m_loaded->song(0)->isCompilation(), 0);
    }

    void recordingGenres_data()
    {
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QStringList>("recorded");
        QTest::newRow("known moves to front") << QStringList{u"Pop"_qs, u"Rock"_qs, u"Jazz"_qs} << u"Rock"_qs
                                              << QStringList{u"Rock"_qs, u"Pop"_qs, u"Jazz"_qs};
        QTest::newRow("known at front stays") << QStringList{u"Pop"_qs, u"Rock"_qs} << u"Pop"_qs
                                              << QStringList{u"Pop"_qs, u"Rock"_qs};
        QTest::newRow("known at the end") << QStringList{u"Pop"_qs, u"Rock"_qs, u"Jazz"_qs} << u"Jazz"_qs
                                          << QStringList{u"Jazz"_qs, u"Pop"_qs, u"Rock"_qs};
        QTest::newRow("new into empty") << QStringList() << u"Ska"_qs << QStringList{u"Ska"_qs};
        QTest::newRow("new goes in front") << QStringList{u"Pop"_qs} << u"Ska"_qs
                                           << QStringList{u"Ska"_qs, u"Pop"_qs};
        QTest::newRow("case-sensitive") << QStringList{u"Rock"_qs} << u"rock"_qs
                                        << QStringList{u"rock"_qs, u"Rock"_qs};
        QTest::newRow("empty is not recorded") << QStringList{u"Pop"_qs, u"Rock"_qs} << u""_qs
                                               << QStringList{u"Pop"_qs, u"Rock"_qs};
        QStringList dropped = tenGenres();
        dropped.removeLast();
        dropped.prepend(u"New"_qs);
        QTest::newRow("new into ten drops the oldest") << tenGenres() << u"New"_qs << dropped;
        QStringList moved = tenGenres();
        moved.move(9, 0);
        QTest::newRow("known in ten drops nothing") << tenGenres() << u"G10"_qs << moved;
    }
    void recordingGenres()
    {
        QFETCH(QStringList, history);
        QFETCH(QString, genre);
        QFETCH(QStringList, recorded);
        QCOMPARE(FieldEditor::recordGenre(genre, history), recorded);

        UserDefaults::shared().setObject(history, GenreHistory);
        m_editor->setGenre(genre);
        QCOMPARE(FieldEditor::genreHistory(), recorded);
        m_editor->comboBoxSelectionDidChange(genre);
        QCOMPARE(FieldEditor::genreHistory(), FieldEditor::recordGenre(genre, recorded));
    }

    void genreHistorySurvivesReopeningTheStore()
    {
        m_editor->setGenre(u"Pop"_qs);
        m_editor->setGenre(u"Rock"_qs);
        UserDefaults::shared().synchronize();
        UserDefaults::shared().openStore(m_settings.filePath(QStringLiteral("settings.ini")));
        QCOMPARE(FieldEditor::genreHistory(), (QStringList{u"Rock"_qs, u"Pop"_qs}));
    }

    void togglingTheLinkCopiesArtists()
    {
        for (int row = 0; row < 3; ++row)
            m_loaded->song(row)->setArtist(QStringLiteral("Artist %1").arg(row));
        m_loaded->song(1)->setAlbumArtist(u"Someone"_qs);
        m_loaded->select({0, 1});

        m_editor->toggleArtistsLink();
        QVERIFY(UserDefaults::shared().boolForKey(BindAlbumArtist));
        QCOMPARE(m_loaded->song(0)->albumArtist(), u"Artist 0"_qs);
        QCOMPARE(m_loaded->song(1)->albumArtist(), u"Artist 1"_qs);
        QCOMPARE(m_loaded->song(2)->albumArtist(), u""_qs);

        m_loaded->song(0)->setAlbumArtist(u"Other"_qs);
        m_editor->toggleArtistsLink();
        QVERIFY(!UserDefaults::shared().boolForKey(BindAlbumArtist));
        QCOMPARE(m_loaded->song(0)->albumArtist(), u"Other"_qs);
        QCOMPARE(m_loaded->song(1)->albumArtist(), u"Artist 1"_qs);
    }

    void applyingArtistNeedsTheLink()
    {
        m_loaded->song(0)->setArtist(u"Band"_qs);
        m_loaded->select({0});
        m_editor->applyArtistToAlbumArtist();
        QCOMPARE(m_loaded->song(0)->albumArtist(), u""_qs);
        UserDefaults::shared().setBool(true, BindAlbumArtist);
        m_editor->applyArtistToAlbumArtist();
        QCOMPARE(m_loaded->song(0)->albumArtist(), u"Band"_qs);
    }

    void returnInArtistFieldCopiesArtists_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::addColumn<int>("control");
        QTest::addColumn<bool>("isReturn");
        QTest::addColumn<bool>("copies");
        QTest::newRow("return in artist, linked") << true << int(SongField::Artist) << true << true;
        QTest::newRow("return in artist, not linked") << false << int(SongField::Artist) << true << false;
        QTest::newRow("return in album artist") << true << int(SongField::AlbumArtist) << true << false;
        QTest::newRow("other command in artist") << true << int(SongField::Artist) << false << false;
    }
    void returnInArtistFieldCopiesArtists()
    {
        QFETCH(bool, linked);
        QFETCH(int, control);
        QFETCH(bool, isReturn);
        QFETCH(bool, copies);
        m_loaded->song(0)->setArtist(u"Band"_qs);
        m_loaded->song(1)->setArtist(u"Duo"_qs);
        UserDefaults::shared().setBool(linked, BindAlbumArtist);
        m_loaded->select({0, 1});
        const auto command = isReturn ? FieldEditor::TextCommand::InsertNewline : FieldEditor::TextCommand::Other;
        QVERIFY(!m_editor->doCommandBySelector(SongField(control), command));
        QCOMPARE(m_loaded->song(0)->albumArtist(), copies ? u"Band"_qs : u""_qs);
        QCOMPARE(m_loaded->song(1)->albumArtist(), copies ? u"Duo"_qs : u""_qs);
    }

private:
    QTemporaryDir m_settings;
    std::unique_ptr<LoadedEditor> m_loaded;
    std::unique_ptr<FieldEditor> m_editor;
    Recorder m_recorder;
};

QTEST_GUILESS_MAIN(TestFieldEditor)
#include "test_fieldeditor.moc"
