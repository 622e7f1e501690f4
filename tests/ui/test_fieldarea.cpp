#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "ui/fieldarea.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"
#include "windowtesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace WindowTesting;

Q_DECLARE_METATYPE(SongField)

// The field area beside the table: what it shows of the selection, and what typing, choosing
// and the Clear buttons do to the songs and, after a save, to the files.
class TestFieldArea : public QObject {
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }

    void showsTheSharedValueOrAPlaceholder()
    {
        QVERIFY(openWindow());
        QCOMPARE(fields()->lineEditFor(SongField::Album)->text(), QStringLiteral("Same"));
        QLineEdit *artist = fields()->lineEditFor(SongField::Artist);
        QCOMPARE(artist->text(), QString());
        QCOMPARE(artist->placeholderText(), Localized::text("FieldMultipleValues"));
        QWidget *artists = fields()->editorFor(SongField::Artist);
        QCOMPARE(fields()->choicesFor(SongField::Artist), (QStringList{"Ann", "Bob"}));
        // The file name is for one song at a time.
        QVERIFY(!fields()->editorFor(SongField::FileName)->isEnabled());
        window().table()->setSelectedRows({1});
        window().refreshNow();
        QCOMPARE(artist->text(), QStringLiteral("Bob"));
        QVERIFY(fields()->editorFor(SongField::FileName)->isEnabled());
        window().table()->setSelectedRows({});
        window().refreshNow();
        QCOMPARE(artist->placeholderText(), Localized::text("FieldNoSelection"));
        QVERIFY(!artists->isEnabled());
    }

    void typedValueGoesToEverySelectedSongAndFile_data()
    {
        QTest::addColumn<SongField>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("title") << SongField::Title << "Same Title" << "Same Title";
        QTest::newRow("album, trimmed") << SongField::Album << "  Other  " << "Other";
        QTest::newRow("disc") << SongField::Disc << "1/2" << "1/2";
        QTest::newRow("year") << SongField::Year << "1999" << "1999";
        QTest::newRow("comment") << SongField::Comment << "Ünïcode ✓" << "Ünïcode ✓";
    }

    void typedValueGoesToEverySelectedSongAndFile()
    {
        QFETCH(SongField, field);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QVERIFY(openWindow());
        type(field, typed);
        const QString key = Song::keyForField(field);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(song(window(), row)->valueForKey(key).toString(), stored);
        QCOMPARE(fields()->lineEditFor(field)->text(), stored);
        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(waitForSave(window()));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(reread(*song(window(), row))->valueForKey(key).toString(), stored);
    }

    void leavingAFieldUntypedChangesNothing()
    {
        QVERIFY(openWindow());
        // Through the artist field (whose songs disagree) and out again without typing.
        QLineEdit *artist = fields()->lineEditFor(SongField::Artist);
        artist->setFocus();
        QTest::keyClick(artist, Qt::Key_Tab);
        QTest::keyClick(fields()->lineEditFor(SongField::Title), Qt::Key_Return);
        window().table()->setFocus();
        for (int row = 0; row < 3; ++row)
            QVERIFY(!song(window(), row)->isModified());
        QCOMPARE(song(window(), 1)->artist(), QStringLiteral("Bob"));
    }

    void clearButtonsEmptyTheField_data()
    {
        QTest::addColumn<SongField>("field");
        QTest::newRow("title") << SongField::Title;
        QTest::newRow("track") << SongField::Track;
    }

    void clearButtonsEmptyTheField()
    {
        QFETCH(SongField, field);
        QVERIFY(openWindow());
        window().table()->setSelectedRows({0, 2});
        window().refreshNow();
        QTest::mouseClick(fields()->clearButtonFor(field), Qt::LeftButton);
        const QString key = Song::keyForField(field);
        for (int row : {0, 2})
            QCOMPARE(song(window(), row)->valueForKey(key).toString(), QString());
        // The song not selected keeps its value.
        QVERIFY(!song(window(), 1)->valueForKey(key).toString().isEmpty());
    }

    void genresCommittedFeedTheChoices()
    {
        QVERIFY(openWindow());
        type(SongField::Genre, QStringLiteral("Jazz"));
        type(SongField::Genre, QStringLiteral("Blues"));
        QCOMPARE(fields()->choicesFor(SongField::Genre), (QStringList{"Blues", "Jazz"}));
        auto *genres = qobject_cast<QComboBox *>(fields()->editorFor(SongField::Genre));
        // Choosing one from the list sets it and puts it first in the history.
        genres->showPopup();
        QTest::keyClick(genres->view(), Qt::Key_Down);
        QTest::keyClick(genres->view(), Qt::Key_Return);
        QCOMPARE(song(window(), 0)->genre(), QStringLiteral("Jazz"));
        QCOMPARE(fields()->choicesFor(SongField::Genre), (QStringList{"Jazz", "Blues"}));
    }

    void artistLinkCopiesArtistsToAlbumArtists()
    {
        QVERIFY(openWindow());
        QToolButton *link = fields()->artistLinkButton();
        QVERIFY(!link->isChecked());
        QTest::mouseClick(link, Qt::LeftButton);
        QVERIFY(link->isChecked());
        QCOMPARE(song(window(), 0)->albumArtist(), QStringLiteral("Ann"));
        QCOMPARE(song(window(), 1)->albumArtist(), QStringLiteral("Bob"));
        // Unlinked, a new artist leaves the album artist.
        QTest::mouseClick(link, Qt::LeftButton);
        QVERIFY(!link->isChecked());
        type(SongField::Artist, QStringLiteral("Eve"));
        QCOMPARE(song(window(), 2)->albumArtist(), QStringLiteral("Ann"));
    }

    void compilationBoxSetsEverySong()
    {
        QVERIFY(openWindow());
        song(window(), 0)->setIsCompilation(qint64(1));
        window().refreshNow();
        auto *box = qobject_cast<QCheckBox *>(fields()->editorFor(SongField::IsCompilation));
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QCOMPARE(box->checkState(), Qt::Checked);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(song(window(), row)->isCompilation(), qint64(1));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(song(window(), row)->isCompilation(), qint64(0));
    }

    void fileNameRenamesTheOneSelectedSong()
    {
        QVERIFY(openWindow());
        window().table()->setSelectedRows({0});
        window().refreshNow();
        const QString oldPath = song(window(), 0)->filePath();
        type(SongField::FileName, QStringLiteral("renamed.mp3"));
        QCOMPARE(song(window(), 0)->fileName(), QStringLiteral("renamed.mp3"));
        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(waitForSave(window()));
        QVERIFY(!QFileInfo::exists(oldPath));
        QCOMPARE(song(window(), 0)->filePath(), m_test->dir().filePath(QStringLiteral("renamed.mp3")));
        QVERIFY(QFileInfo::exists(song(window(), 0)->filePath()));
    }

private:
    bool openWindow()
    {
        return m_test->open({{"one.mp3", "One", "Ann", "Same", "1", "silence.mp3"},
                             {"two.flac", "Two", "Bob", "Same", "2", "silence.flac"},
                             {"three.m4a", "Three", "Ann", "Same", "3", "silence.m4a"}});
    }

    MainWindow &window() const { return **m_test; }
    FieldArea *fields() const { return window().fieldArea(); }
    void type(SongField field, const QString &text)
    {
        QLineEdit *line = fields()->lineEditFor(field);
        line->setFocus();
        line->selectAll();
        // Any character, as an input method would type it.
        for (const QChar character : text)
            QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(character), Qt::NoModifier);
        QTest::keyClick(line, Qt::Key_Return);
        window().refreshNow();
    }

    std::optional<TestWindow> m_test;
};

QTEST_MAIN(TestFieldArea)
#include "test_fieldarea.moc"
