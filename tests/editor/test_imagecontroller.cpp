#include "editor/coverdragdrop.h"
#include "editor/imagecontroller.h"
#include "editor/leadimage.h"
#include "fixtures.h"
#include "loadededitor.h"
#include "model/picturedata.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Made at first use, once the application object exists (the JPEG encoder is a plugin).
const QByteArray &red()
{
    static const QByteArray bytes = samplePng(qRgb(255, 0, 0));
    return bytes;
}
const QByteArray &green()
{
    static const QByteArray bytes = samplePng(qRgb(0, 255, 0));
    return bytes;
}
const QByteArray &blue()
{
    static const QByteArray bytes = sampleJpeg(qRgb(0, 0, 255));
    return bytes;
}

QByteArray jpegOfSize(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 120, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(image);
    return bytes;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pictures of the list as the sample they were made of ("R", "G", "B", "?").
QString names(const std::optional<QList<Image>> &list)
{
    if (!list)
        return QStringLiteral("none");
    QString text;
    for (const Image &image : *list)
        text += image.data() == red() ? u'R' : image.data() == green() ? u'G' : image.data() == blue() ? u'B' : u'?';
    return text;
}

} // namespace

class TestImageController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(useEditorSettings(m_settings));
        QVERIFY(!red().isEmpty() && !green().isEmpty() && !blue().isEmpty());
    }

    void init()
    {
        UserDefaults::shared().removeObjectForKey(QStringLiteral("SCALE_IMAGES"));
        UserDefaults::shared().removeObjectForKey(QStringLiteral("SCALE_MAX_PIXEL_SIZE"));
        m_loaded = std::make_unique<LoadedEditor>();
        QVERIFY(m_loaded->load(3));
        m_controller = std::make_unique<ImageController>(&m_loaded->editor);
    }

    void cleanup()
    {
        m_controller.reset();
        m_loaded.reset();
    }

    void listHoldsDistinctPicturesOfSelectionInOrder()
    {
        song(0)->addImage(Image(green()));
        song(1)->addImage(Image(red()));
        song(1)->addImage(Image(green()));
        song(2)->addImage(Image(blue()));
        select({1, 0});
        QCOMPARE(names(m_controller->arrangedObjects()), u"GR"_qs);
        select({0, 1, 2});
        QCOMPARE(names(m_controller->arrangedObjects()), u"GRB"_qs);
        QCOMPARE(m_controller->statusMessage(), u"Picture 1 of 3"_qs);
        select({2});
        QCOMPARE(m_controller->statusMessage(), u"1 picture"_qs);
        QCOMPARE(m_controller->leadImage(), LeadImage::picture(blue()));
    }

    void emptySelectionHasNoListAndNoLeadImage()
    {
        song(0)->addImage(Image(red()));
        select({0});
        QCOMPARE(m_controller->leadImageCursor(), 0);
        select({});
        QVERIFY(!m_controller->arrangedObjects().has_value());
        QCOMPARE(m_controller->leadImageCursor(), NoneIndex);
        QVERIFY(m_controller->leadImage().isNone());
        QCOMPARE(m_controller->statusMessage(), u"No pictures"_qs);
        QVERIFY(m_controller->leadImageData().isEmpty());
    }

    void songsWithoutPicturesShowThePlaceholder()
    {
        select({0, 1});
        QCOMPARE(names(m_controller->arrangedObjects()), u""_qs);
        QCOMPARE(m_controller->leadImageCursor(), NoneIndex);
        QCOMPARE(m_controller->leadImage(), LeadImage::placeholder());
        QCOMPARE(m_controller->statusMessage(), u"No pictures"_qs);
    }

    void sharedCoverIsListedOnceAndRemovedFromAll()
    {
        // Equal bytes in separate buffers: equal digests make them one picture.
        song(0)->addImage(Image(QByteArray(red().constData(), red().size())));
        song(1)->addImage(Image(green()));
        song(1)->addImage(Image(red()));
        select({0, 1});
        QCOMPARE(names(m_controller->arrangedObjects()), u"RG"_qs);
        QCOMPARE(m_controller->leadImageData(), red());

        m_controller->removeLeadImage();
        QCOMPARE(song(0)->countOfImages(), 0);
        QCOMPARE(song(1)->countOfImages(), 1);
        QVERIFY(song(0)->isImagesModified() && song(1)->isImagesModified());
        QCOMPARE(names(m_controller->arrangedObjects()), u"G"_qs);
        QCOMPARE(m_controller->leadImageCursor(), 0);
        QCOMPARE(m_controller->leadImage(), LeadImage::picture(green()));
        QCOMPARE(m_controller->statusMessage(), u"1 picture"_qs);

        m_controller->removeLeadImage();
        QCOMPARE(m_controller->leadImageCursor(), NoneIndex);
        QCOMPARE(m_controller->leadImage(), LeadImage::placeholder());
        m_controller->removeLeadImage(); // cursor none: nothing happens
        QCOMPARE(names(m_controller->arrangedObjects()), u""_qs);
    }

    void removingLeadImageLeavesUnselectedSongs()
    {
        for (int row = 0; row < 3; ++row)
            song(row)->addImage(Image(blue()));
        select({0, 2});
        m_controller->removeLeadImage();
        QCOMPARE(song(0)->countOfImages(), 0);
        QCOMPARE(song(1)->countOfImages(), 1);
        QCOMPARE(song(2)->countOfImages(), 0);
    }

    void addingPictureAllSongsHaveChangesNothing()
    {
        for (int row : {0, 1}) {
            song(row)->addImage(Image(red()));
            song(row)->addImage(Image(green()));
            song(row)->resetModifications();
        }
        select({0, 1});
        QCOMPARE(m_controller->leadImageCursor(), 0);
        m_controller->addImageWithData(red());
        QVERIFY(!song(0)->isModified());
        QVERIFY(!song(1)->isModified());
        QCOMPARE(names(m_controller->arrangedObjects()), u"RG"_qs);
        QCOMPARE(m_controller->leadImageCursor(), 1);
        QCOMPARE(m_controller->leadImage(), LeadImage::picture(green()));
        QCOMPARE(m_controller->statusMessage(), u"Picture 2 of 2"_qs);
    }

    void addedPictureGoesToEverySelectedSongAndBecomesLead()
    {
        song(0)->addImage(Image(red()));
        select({0, 2});
        m_controller->addImageWithData(blue());
        QCOMPARE(names(m_controller->arrangedObjects()), u"RB"_qs);
        QCOMPARE(m_controller->leadImageCursor(), 1);
        QCOMPARE(m_controller->leadImageData(), blue());
        QCOMPARE(song(2)->countOfImages(), 1);
        QCOMPARE(song(1)->countOfImages(), 0);
        // One buffer for all songs.
        QCOMPARE(song(0)->images().at(1).data().constData(), song(2)->images().at(0).data().constData());
        // A late report of the same change does not move the cursor.
        m_controller->imagesDidChange();
        QCOMPARE(m_controller->leadImageCursor(), 1);
    }

    void addingWithoutSelectionDoesNothing()
    {
        select({});
        m_controller->addImageWithData(red());
        for (int row = 0; row < 3; ++row)
            QCOMPARE(song(row)->countOfImages(), 0);
        m_controller->addImage();
        QVERIFY(m_loaded->ui.choices.isEmpty());
    }

    void scaledPictureReachesEverySong()
    {
        UserDefaults::shared().setBool(true, QStringLiteral("SCALE_IMAGES"));
        UserDefaults::shared().setInteger(500, QStringLiteral("SCALE_MAX_PIXEL_SIZE"));
        const QByteArray large = jpegOfSize(1400, 1400);
        QCOMPARE(pixelSize(large), std::optional<QString>(u"1400 × 1400 px"_qs));
        select({0, 1, 2});
        m_controller->addImageWithData(large);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(song(row)->countOfImages(), 1);
            const QByteArray stored = song(row)->images().first().data();
            QVERIFY(PictureData::isValidJPEG(stored));
            QCOMPARE(QImage::fromData(stored).size(), QSize(500, 500));
        }
        QCOMPARE(LeadImage2ImageSizeTransformer::transformedValue(m_controller->leadImage()),
                 std::optional<QString>(u"500 × 500 px"_qs));
    }

    void unscaledPictureIsStoredAsGiven()
    {
        const QByteArray large = jpegOfSize(640, 480);
        select({1});
        m_controller->addImageWithData(large);
        QCOMPARE(song(1)->images().first().data(), large);
    }

    void cursorWrapsAround()
    {
        song(0)->addImage(Image(red()));
        song(0)->addImage(Image(green()));
        song(0)->addImage(Image(blue()));
        select({0});
        QSignalSpy leadChanges(m_controller.get(), &ImageController::leadImageChanged);
        QSignalSpy statusChanges(m_controller.get(), &ImageController::statusMessageChanged);
        m_controller->moveLeadImageBackward();
        QCOMPARE(m_controller->leadImageCursor(), 2);
        QCOMPARE(m_controller->statusMessage(), u"Picture 3 of 3"_qs);
        QCOMPARE(m_controller->leadImage(), LeadImage::picture(blue()));
        m_controller->moveLeadImageForward();
        QCOMPARE(m_controller->leadImageCursor(), 0);
        QCOMPARE(m_controller->statusMessage(), u"Picture 1 of 3"_qs);
        m_controller->moveLeadImageForward();
        QCOMPARE(m_controller->statusMessage(), u"Picture 2 of 3"_qs);
        QCOMPARE(m_controller->leadImage(), LeadImage::picture(green()));
        m_controller->moveLeadImageBackward();
        QCOMPARE(m_controller->leadImageCursor(), 0);
        QCOMPARE(leadChanges.count(), 4);
        QCOMPARE(statusChanges.count(), 4);
    }

    void cursorMovesNeedAPicture()
    {
        select({0});
        m_controller->moveLeadImageForward();
        m_controller->moveLeadImageBackward();
        QCOMPARE(m_controller->leadImageCursor(), NoneIndex);
    }

    void validatingTheCursor()
    {
        song(0)->addImage(Image(red()));
        song(0)->addImage(Image(green()));
        song(0)->addImage(Image(blue()));
        select({0});
        m_controller->moveLeadImageBackward();
        m_controller->validateLeadImageCursor(false);
        QCOMPARE(m_controller->leadImageCursor(), 2);
        m_controller->validateLeadImageCursor(true);
        QCOMPARE(m_controller->leadImageCursor(), 0);

        // Pictures gone behind the controller's back: the cursor follows the list.
        m_controller->moveLeadImageBackward();
        song(0)->removeAllImages();
        m_controller->imagesDidChange();
        QCOMPARE(m_controller->leadImageCursor(), NoneIndex);
        QCOMPARE(m_controller->leadImage(), LeadImage::placeholder());
    }

    void selectionChangeReturnsToFirstPicture()
    {
        song(0)->addImage(Image(red()));
        song(0)->addImage(Image(green()));
        song(1)->addImage(Image(red()));
        song(1)->addImage(Image(green()));
        select({0});
        m_controller->moveLeadImageForward();
        QCOMPARE(m_controller->leadImageCursor(), 1);
        // Same pictures, other song: still a new selection.
        select({1});
        QCOMPARE(m_controller->leadImageCursor(), 0);

        m_controller->moveLeadImageForward();
        song(1)->addImage(Image(blue()));
        m_controller->imagesDidChange();
        QCOMPARE(m_controller->leadImageCursor(), 0);
        QCOMPARE(m_controller->statusMessage(), u"Picture 1 of 3"_qs);
    }

    void removingAllPictures()
    {
        song(0)->addImage(Image(red()));
        song(1)->addImage(Image(green()));
        select({0, 1, 2});
        m_controller->moveLeadImageForward();
        m_controller->removeAllImages();
        for (int row = 0; row < 3; ++row)
            QCOMPARE(song(row)->countOfImages(), 0);
        QVERIFY(song(0)->isImagesModified() && song(1)->isImagesModified());
        QVERIFY(!song(2)->isImagesModified());
        QCOMPARE(m_controller->leadImageCursor(), NoneIndex);
        QCOMPARE(m_controller->leadImage(), LeadImage::placeholder());
        QCOMPARE(m_controller->statusMessage(), u"No pictures"_qs);
    }

    void applyingLeadImageFillsTheGaps()
    {
        song(0)->addImage(Image(red()));
        song(1)->addImage(Image(green()));
        select({0, 1, 2});
        m_controller->applyLeadImageToSelection();
        for (int row = 0; row < 3; ++row)
            QVERIFY(song(row)->images().contains(Image(red())));
        QCOMPARE(song(0)->countOfImages(), 1);
        QCOMPARE(names(m_controller->arrangedObjects()), u"RG"_qs);
        QCOMPARE(song(2)->images().first().data().constData(), song(0)->images().first().data().constData());

        select({});
        m_controller->applyLeadImageToSelection();
        select({2});
        song(2)->removeAllImages();
        m_controller->imagesDidChange();
        m_controller->applyLeadImageToSelection(); // cursor none
        QCOMPARE(song(2)->countOfImages(), 0);
    }

    void addingFromTheChooser()
    {
        QTemporaryDir dir;
        const QString png = writeFile(dir, u"a.png"_qs, green());
        const QString text = writeFile(dir, u"notes.jpg"_qs, "not a picture");
        const QString jpeg = writeFile(dir, u"b.jpeg"_qs, blue());
        m_loaded->ui.chooserResults.enqueue(QStringList{png, text, dir.filePath(u"gone.png"_qs), jpeg});
        select({0, 1});
        m_controller->addImage();

        QCOMPARE(m_loaded->ui.choices.size(), 1);
        const UserInterface::FileChoice choice = m_loaded->ui.choices.first();
        QCOMPARE(choice.promptKey, u"Add"_qs);
        QCOMPARE(choice.titleKey, u"Add"_qs);
        QCOMPARE(choice.messageKey, u"AddImageFilesToEmbed"_qs);
        QCOMPARE(choice.extensions, (QStringList{u"jpg"_qs, u"jpeg"_qs, u"png"_qs}));
        QVERIFY(!choice.allowFolders);
        QVERIFY(choice.allowMultiple);
        QVERIFY(choice.resolveAliases);
        QCOMPARE(names(m_controller->arrangedObjects()), u"GB"_qs);
        QCOMPARE(m_controller->leadImageCursor(), 1);

        m_controller->addImage(); // cancelled
        QCOMPARE(names(m_controller->arrangedObjects()), u"GB"_qs);
    }

    void fileDropRules_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("jpg") << QStringList{u"cover.jpg"_qs} << true;
        QTest::newRow("jpeg and png") << QStringList{u"a.jpeg"_qs, u"b.png"_qs} << true;
        QTest::newRow("upper-case extension") << QStringList{u"COVER.JPG"_qs} << false;
        QTest::newRow("mixed case") << QStringList{u"a.png"_qs, u"b.Png"_qs} << false;
        QTest::newRow("other type") << QStringList{u"a.jpg"_qs, u"b.gif"_qs} << false;
        QTest::newRow("no extension") << QStringList{u"cover"_qs} << false;
        QTest::newRow("folder") << QStringList{u"a.jpg"_qs, u"folder.jpg/"_qs} << false;
        QTest::newRow("missing files are not examined") << QStringList{u"!missing.gif"_qs, u"a.png"_qs} << true;
        QTest::newRow("nothing") << QStringList() << true;
    }
    void fileDropRules()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        QStringList paths;
        bool anyFile = false;
        for (const QString &name : names) {
            if (name.startsWith(u'!')) {
                paths.append(dir.filePath(name.mid(1)));
            } else if (name.endsWith(u'/')) {
                QVERIFY(QDir(dir.path()).mkdir(name.chopped(1)));
                paths.append(dir.filePath(name.chopped(1)));
            } else {
                paths.append(writeFile(dir, name, red()));
                anyFile = true;
            }
        }
        QCOMPARE(CoverDragDrop::isAcceptableFileDrop(paths), accepted);
        select({0});
        QCOMPARE(m_controller->dropFiles(paths), accepted);
        // Every file holds the same picture: an accepted drop adds it once.
        QCOMPARE(song(0)->countOfImages(), accepted && anyFile ? 1 : 0);
    }

    void droppedFilesMustHoldPictures()
    {
        QTemporaryDir dir;
        const QStringList paths{writeFile(dir, u"fake.png"_qs, "PNG? no"), writeFile(dir, u"real.jpg"_qs, blue())};
        select({});
        QVERIFY(!m_controller->canAcceptDrop());
        QVERIFY(!m_controller->dropFiles(paths));
        select({1});
        QVERIFY(m_controller->canAcceptDrop());
        QVERIFY(m_controller->dropFiles(paths));
        QCOMPARE(song(1)->countOfImages(), 1);
        QCOMPARE(song(1)->images().first().data(), blue());
    }

    void droppedPictureIsEncodedAsJpeg()
    {
        QImage picture(40, 30, QImage::Format_ARGB32);
        picture.fill(qRgb(10, 20, 30));
        select({0});
        QVERIFY(m_controller->dropPicture(picture));
        QCOMPARE(song(0)->countOfImages(), 1);
        const QByteArray stored = song(0)->images().first().data();
        QVERIFY(PictureData::isValidJPEG(stored));
        QCOMPARE(QImage::fromData(stored).size(), QSize(40, 30));
        QVERIFY(!m_controller->dropPicture(QImage()));
        select({});
        QVERIFY(!m_controller->dropPicture(picture));
    }

    void dragOutFileNames_data()
    {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("album");
        QTest::addColumn<QString>("name");
        QTest::newRow("artist and album") << u"Band"_qs << u"Record"_qs << u"Band - Record"_qs;
        QTest::newRow("album only") << u""_qs << u"Record"_qs << u"Record"_qs;
        QTest::newRow("artist only") << u"Band"_qs << u""_qs << u"Cover"_qs;
        QTest::newRow("neither") << u""_qs << u""_qs << u"Cover"_qs;
        QTest::newRow("slash cannot stand in a name") << u"AC/DC"_qs << u"Live"_qs << u"AC-DC - Live"_qs;
    }
    void dragOutFileNames()
    {
        QFETCH(QString, artist);
        QFETCH(QString, album);
        QFETCH(QString, name);
        song(1)->setArtist(artist);
        song(1)->setAlbum(album);
        song(1)->addImage(Image(red()));
        select({1, 2});
        QTemporaryDir folder;
        const Result<QString> written = m_controller->writeLeadImageIntoFolder(folder.path());
        QVERIFY(written.ok());
        QCOMPARE(written.value(), folder.filePath(name + u".png"_qs));
        QCOMPARE(readAll(written.value()), red());
        QCOMPARE(CoverDragDrop::fileBaseName(nullptr), u"Cover"_qs);
    }

    void dragOutNeverOverwrites()
    {
        QTemporaryDir folder;
        const QStringList names = CoverDragDrop::candidateFileNames(u"Band - Record"_qs, u"jpg"_qs);
        QCOMPARE(names.size(), 10);
        QCOMPARE(names.first(), u"Band - Record.jpg"_qs);
        QCOMPARE(names.at(1), u"Band - Record 2.jpg"_qs);
        QCOMPARE(names.last(), u"Band - Record 10.jpg"_qs);
        QVERIFY(!writeFile(folder, names.at(0), "first").isEmpty());
        QVERIFY(!writeFile(folder, names.at(1), "second").isEmpty());
        // A dangling link takes its name too.
        QVERIFY(QFile::link(folder.filePath(u"nowhere"_qs), folder.filePath(names.at(2))));

        song(0)->setArtist(u"Band"_qs);
        song(0)->setAlbum(u"Record"_qs);
        song(0)->addImage(Image(blue()));
        select({0});
        const Result<QString> written = m_controller->writeLeadImageIntoFolder(folder.path());
        QVERIFY(written.ok());
        QCOMPARE(written.value(), folder.filePath(names.at(3)));
        QCOMPARE(readAll(written.value()), blue());
        QCOMPARE(readAll(folder.filePath(names.at(0))), QByteArray("first"));
        QCOMPARE(readAll(folder.filePath(names.at(1))), QByteArray("second"));
        QVERIFY(QFileInfo(folder.filePath(names.at(2))).isSymLink());

        for (int i = 4; i < 10; ++i)
            QVERIFY(!writeFile(folder, names.at(i), "taken").isEmpty());
        const QStringList before = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        QVERIFY(!m_controller->writeLeadImageIntoFolder(folder.path()).ok());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), before);
        QCOMPARE(readAll(folder.filePath(names.at(3))), blue());
    }

    void dragOutNeedsALeadImage()
    {
        QTemporaryDir folder;
        select({0});
        QVERIFY(!m_controller->writeLeadImageIntoFolder(folder.path()).ok());
        QVERIFY(QDir(folder.path()).isEmpty());
        QVERIFY(!CoverDragDrop::writeIntoFolder(folder.filePath(u"missing"_qs), u"Cover"_qs, blue()).ok());
    }

    void pixelSizeOfPictures()
    {
        QCOMPARE(pixelSize(red()), std::optional<QString>(u"8 × 8 px"_qs));
        QCOMPARE(pixelSize(jpegOfSize(64, 20)), std::optional<QString>(u"64 × 20 px"_qs));
        QVERIFY(!pixelSize(QByteArray("not a picture")).has_value());
        QVERIFY(!pixelSize(QByteArray()).has_value());
        QVERIFY(!LeadImage2ImageSizeTransformer::transformedValue(LeadImage::placeholder()).has_value());
        QVERIFY(!LeadImage2ImageSizeTransformer::transformedValue(LeadImage::none()).has_value());
    }

private:
    Song *song(int row) const { return m_loaded->song(row); }
    void select(const QList<int> &rows)
    {
        m_loaded->select(rows);
        m_controller->selectionDidChange();
    }

    QTemporaryDir m_settings;
    std::unique_ptr<LoadedEditor> m_loaded;
    std::unique_ptr<ImageController> m_controller;
};

QTEST_GUILESS_MAIN(TestImageController)
#include "test_imagecontroller.moc"
