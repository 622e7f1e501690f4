#include "editor/editorcontroller.h"
#include "editor/imagecontroller.h"
#include "fixtures.h"
#include "model/image.h"
#include "model/localized.h"
#include "model/song.h"
#include "savetesting.h"
#include "ui/coverpanel.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"
#include "windowtesting.h"

#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace WindowTesting;

// The cover panel: pictures dropped as files or as pictures, the buttons, the lines under the
// picture, dragging the picture out, and the files after a save.
class TestCoverPanel : public QObject {
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }

    void dropsOfPictures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("PNG file") << "cover.png" << true;
        QTest::newRow("text file") << "notes.txt" << false;
        QTest::newRow("picture") << "picture" << true;
        QTest::newRow("PNG file, nothing selected") << "none selected" << false;
    }

    void dropsOfPictures()
    {
        QFETCH(QString, kind);
        QFETCH(bool, accepted);
        QVERIFY(openWindow());
        std::unique_ptr<QMimeData> data;
        if (kind == QLatin1String("picture")) {
            data = std::make_unique<QMimeData>();
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            data->setImageData(picture);
        } else {
            const bool text = kind.endsWith(QLatin1String(".txt"));
            const QString path
                = writeFile(m_test->dir(), text ? kind : "cover.png", text ? "text" : samplePng(qRgb(0, 0, 255)));
            QVERIFY(!path.isEmpty());
            data.reset(fileDragData({path}));
        }
        if (kind == QLatin1String("none selected")) {
            window().table()->setSelectedRows({});
            window().refreshNow();
        }
        QCOMPARE(drop(panel()->pictureView(), data.get(), Qt::CopyAction), accepted);
        window().refreshNow();
        for (int row = 0; row < 2; ++row)
            QCOMPARE(song(window(), row)->countOfImages(), accepted ? 1 : 0);
        if (!accepted)
            return;
        QCOMPARE(panel()->statusText(), Localized::text("1Image"));
        QVERIFY(!panel()->pictureView()->picture().isNull());
        QVERIFY(panel()->sizeText().endsWith(QStringLiteral(" px")));
        // Saved into both files.
        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(waitForSave(window()));
        for (int row = 0; row < 2; ++row) {
            const std::unique_ptr<Song> onDisk = reread(*song(window(), row));
            QCOMPARE(onDisk->countOfImages(), 1);
            QCOMPARE(onDisk->images().first(), song(window(), row)->images().first());
        }
    }

    void buttonsStepRemoveAndApply()
    {
        QVERIFY(openWindow());
        const Image red(samplePng(qRgb(255, 0, 0)));
        const Image green(samplePng(qRgb(0, 255, 0)));
        const Image blue(samplePng(qRgb(0, 0, 255)));
        song(window(), 0)->addImage(red);
        song(window(), 0)->addImage(green);
        song(window(), 1)->addImage(blue);
        window().refreshNow();
        QCOMPARE(panel()->statusText(), Localized::text("NImages").arg(1).arg(3));
        QTest::mouseClick(panel()->previousButton(), Qt::LeftButton);
        QCOMPARE(panel()->statusText(), Localized::text("NImages").arg(3).arg(3));
        QTest::mouseClick(panel()->nextButton(), Qt::LeftButton);
        QTest::mouseClick(panel()->nextButton(), Qt::LeftButton);
        QCOMPARE(panel()->statusText(), Localized::text("NImages").arg(2).arg(3));
        // The green picture goes to the second song too.
        QTest::mouseClick(panel()->applyButton(), Qt::LeftButton);
        QCOMPARE(song(window(), 1)->images(), (QList<Image>{blue, green}));
        // A change of the pictures brings the panel back to the first one.
        QCOMPARE(panel()->statusText(), Localized::text("NImages").arg(1).arg(3));
        // The green one, removed from every selected song.
        QTest::mouseClick(panel()->nextButton(), Qt::LeftButton);
        QTest::mouseClick(panel()->removeButton(), Qt::LeftButton);
        QCOMPARE(song(window(), 0)->images(), QList<Image>{red});
        QCOMPARE(song(window(), 1)->images(), QList<Image>{blue});
        QTest::keySequence(&window(), QKeySequence::Save);
        QVERIFY(waitForSave(window()));
        for (int row : {0, 1})
            QCOMPARE(reread(*song(window(), row))->images(), song(window(), row)->images());
    }

    void placeholderWithoutPictures()
    {
        QVERIFY(openWindow());
        QVERIFY(panel()->pictureView()->showsPlaceholder());
        QCOMPARE(panel()->statusText(), Localized::text("NoImages"));
        QVERIFY(panel()->addButton()->isEnabled());
        QVERIFY(!panel()->removeButton()->isEnabled());
        window().table()->setSelectedRows({});
        window().refreshNow();
        QVERIFY(!panel()->pictureView()->showsPlaceholder());
        QVERIFY(!panel()->addButton()->isEnabled());
    }

    void draggedOutPictureIsANamedFile()
    {
        QVERIFY(openWindow());
        const QByteArray png = samplePng(qRgb(9, 9, 9));
        song(window(), 0)->addImage(Image(png));
        window().refreshNow();
        const std::unique_ptr<QMimeData> data(panel()->pictureView()->makeDragData());
        QVERIFY(data);
        QCOMPARE(data->urls().size(), 1);
        const QString path = data->urls().first().toLocalFile();
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Ann - Blue.png"));
        QCOMPARE(fileBytes(path), png);
        QVERIFY(data->hasImage());
    }

private:
    bool openWindow()
    {
        return m_test->open({{"one.mp3", "One", "Ann", "Blue", {}, "silence.mp3"},
                             {"two.flac", "Two", "Ann", "Blue", {}, "silence.flac"}});
    }

    MainWindow &window() const { return **m_test; }
    CoverPanel *panel() const { return window().coverPanel(); }

    std::optional<TestWindow> m_test;
};

QTEST_MAIN(TestCoverPanel)
#include "test_coverpanel.moc"
