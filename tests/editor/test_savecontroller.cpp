#include "fixtures.h"
#include "loadededitor.h"
#include "savetesting.h"

#include "editor/savecontroller.h"
#include "model/fileidentity.h"
#include "model/image.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/tagswriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

void makeReadOnly(const QString &path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

QByteArray pngOfSide(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(qRgb(30, 60, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class TestSaveController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void savesModifiedSongsUnderProgressText();
    void nothingModifiedTouchesNoFileAndAsksNothing();
    void reportsFailuresOnceInTwoSteps_data();
    void reportsFailuresOnceInTwoSteps();
    void forcedSaveReloadsWhileScalingPictures_data();
    void forcedSaveReloadsWhileScalingPictures();
    void dryRunKeepsFilesAndEdits();
    void asksAboutUnsavedChanges_data();
    void asksAboutUnsavedChanges();

private:
    QTemporaryDir m_settingsDir;
};

void TestSaveController::initTestCase()
{
    QVERIFY(useEditorSettings(m_settingsDir));
}

void TestSaveController::init()
{
    UserDefaults::shared().clearOverrides();
}

void TestSaveController::savesModifiedSongsUnderProgressText()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(2));
    loaded.song(1)->setTitle(QStringLiteral("Saved"));
    TagsWriter writer;
    SaveController controller(loaded.editor, writer);
    loaded.ui.progressTexts.clear();

    const SaveReport report = controller.saveSongs();
    QVERIFY(!report.hasErrors());
    QCOMPARE(report.savedCount, 1);
    QCOMPARE(loaded.ui.progressTexts, (QStringList{Localized::text("SavingFiles"), QString()}));
    QVERIFY(loaded.ui.questions.isEmpty());
    QVERIFY(!loaded.song(1)->isModified());
    QCOMPARE(readSong(loaded.song(1)->filePath())->title(), QStringLiteral("Saved"));
}

void TestSaveController::nothingModifiedTouchesNoFileAndAsksNothing()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(3));
    QList<QByteArray> identities;
    for (int row = 0; row < 3; ++row)
        identities.append(FileIdentity::ofPath(loaded.song(row)->filePath()));
    TagsWriter writer;
    SaveController controller(loaded.editor, writer);

    const SaveReport report = controller.saveSongs();
    QCOMPARE(report.savedCount, 0);
    QVERIFY(!report.hasErrors());
    QVERIFY(loaded.ui.questions.isEmpty());
    for (int row = 0; row < 3; ++row)
        QCOMPARE(FileIdentity::ofPath(loaded.song(row)->filePath()), identities.at(row));
}

void TestSaveController::reportsFailuresOnceInTwoSteps_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("one, OK") << 1 << 0 << QString();
    QTest::newRow("one, details") << 1 << 1 << QString();
    QTest::newRow("eleven, details") << 11 << 1 << Localized::text("ThereIsOneMoreEntry").arg(1);
    QTest::newRow("twelve, details") << 12 << 1 << Localized::text("ThereAreMoreEntries").arg(2);
}

void TestSaveController::reportsFailuresOnceInTwoSteps()
{
    QFETCH(int, failures);
    QFETCH(int, button);
    QFETCH(QString, lastLine);

    LoadedEditor loaded;
    QVERIFY(loaded.load(failures + 1));
    for (int row = 0; row < failures; ++row) {
        loaded.song(row)->setTitle(QStringLiteral("x"));
        makeReadOnly(loaded.song(row)->filePath());
    }
    loaded.song(failures)->setTitle(QStringLiteral("Saved"));
    loaded.ui.answerNext(button);
    if (button == 1)
        loaded.ui.answerNext(0);
    TagsWriter writer;
    SaveController controller(loaded.editor, writer);

    const SaveReport report = controller.saveSongs();
    QCOMPARE(report.errorCount, quint64(failures));
    QCOMPARE(report.errorText.count(u'\n'), qMin(failures, 10));
    if (!lastLine.isEmpty())
        QVERIFY(report.errorText.endsWith(lastLine));
    QCOMPARE(loaded.ui.unexpectedQuestions, 0);
    QCOMPARE(loaded.ui.questions.size(), button == 1 ? 2 : 1);
    const UserInterface::Question &first = loaded.ui.questions.at(0);
    QCOMPARE(first.messageKey, QStringLiteral("CouldNotSaveOneOrMoreFiles"));
    QCOMPARE(first.informativeKey, QStringLiteral("MakeSurePermissionsCorrect"));
    QCOMPARE(first.buttonKeys, (QStringList{"OK", "ShowDetails"}));
    if (button == 1) {
        const UserInterface::Question &details = loaded.ui.questions.at(1);
        QCOMPARE(details.messageKey, QStringLiteral("ErrorDetails"));
        QCOMPARE(details.informativeKey, QString());
        QCOMPARE(details.informativeText, report.errorText);
        QCOMPARE(details.buttonKeys, QStringList{"OK"});
    }
    // The pass went on past the failures.
    QVERIFY(!loaded.song(failures)->isModified());
    QVERIFY(loaded.song(0)->isModified());
}

void TestSaveController::forcedSaveReloadsWhileScalingPictures_data()
{
    QTest::addColumn<bool>("scaleImages");
    QTest::newRow("scaling off") << false;
    QTest::newRow("scaling on") << true;
}

void TestSaveController::forcedSaveReloadsWhileScalingPictures()
{
    QFETCH(bool, scaleImages);
    UserDefaults::shared().setOverride(QStringLiteral("SCALE_IMAGES"), scaleImages);
    UserDefaults::shared().setOverride(QStringLiteral("SCALE_MAX_PIXEL_SIZE"), 16);

    LoadedEditor loaded;
    QVERIFY(loaded.load(2));
    const QByteArray big = pngOfSide(64);
    loaded.song(0)->addImage(Image(big));
    loaded.song(1)->setComment(QStringLiteral("Unflagged"));
    loaded.song(1)->resetModifications();
    TagsWriter writer;
    SaveController controller(loaded.editor, writer);

    const SaveReport report = controller.saveSongsForced();
    QCOMPARE(report.savedCount, 2);
    QVERIFY(loaded.ui.questions.isEmpty());
    QCOMPARE(loaded.editor.songs().size(), size_t(2));
    // Forced: the unflagged comment was written too.
    QCOMPARE(readSong(loaded.song(1)->filePath())->comment(), QStringLiteral("Unflagged"));
    // With scaling on the list was read anew and shows the scaled picture the file now holds;
    // without, the song keeps its own picture, which is also what the file holds.
    const QImage shown = QImage::fromData(loaded.song(0)->objectInImagesAtIndex(0).data());
    QCOMPARE(shown.width(), scaleImages ? 16 : 64);
    QVERIFY(!loaded.song(0)->isModified());
}

void TestSaveController::dryRunKeepsFilesAndEdits()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(2));
    loaded.song(0)->setTitle(QStringLiteral("Not written"));
    loaded.song(1)->setFileName(QStringLiteral("renamed.mp3"));
    const QString path0 = loaded.song(0)->filePath();
    const QString path1 = loaded.song(1)->filePath();
    const QByteArray identity0 = FileIdentity::ofPath(path0);
    TagsWriter writer;
    writer.setDryRun(true);
    SaveController controller(loaded.editor, writer);

    const SaveReport report = controller.saveSongs();
    QVERIFY(!report.hasErrors());
    // The song that only changes its name would be renamed, not saved.
    QCOMPARE(report.savedCount, 1);
    QCOMPARE(report.renamedCount, 1);
    QCOMPARE(FileIdentity::ofPath(path0), identity0);
    QVERIFY(QFile::exists(path1));
    QCOMPARE(loaded.song(1)->filePath(), path1);
    QVERIFY(loaded.song(0)->isModified() && loaded.song(1)->isModified());
}

void TestSaveController::asksAboutUnsavedChanges_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("unsaveable");
    QTest::addColumn<bool>("terminates");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("asked");

    const QString unsaved = QStringLiteral("UnsavedChanges");
    const QString report = QStringLiteral("CouldNotSaveOneOrMoreFiles");
    QTest::newRow("nothing modified") << false << QList<int>{} << false << true << false << QStringList();
    QTest::newRow("save") << true << QList<int>{0} << false << true << true << QStringList{unsaved};
    QTest::newRow("cancel") << true << QList<int>{1} << false << false << false << QStringList{unsaved};
    QTest::newRow("don't save") << true << QList<int>{2} << false << true << false << QStringList{unsaved};
    QTest::newRow("save fails, report first")
        << true << QList<int>{0, 0} << true << true << false << QStringList{unsaved, report};
}

void TestSaveController::asksAboutUnsavedChanges()
{
    QFETCH(bool, modified);
    QFETCH(QList<int>, answers);
    QFETCH(bool, unsaveable);
    QFETCH(bool, terminates);
    QFETCH(bool, saved);
    QFETCH(QStringList, asked);

    LoadedEditor loaded;
    QVERIFY(loaded.load(1));
    Song *song = loaded.song(0);
    if (modified)
        song->setArtist(QStringLiteral("Edited"));
    if (unsaveable)
        makeReadOnly(song->filePath());
    for (int answer : answers)
        loaded.ui.answerNext(answer);
    const QByteArray identity = FileIdentity::ofPath(song->filePath());
    TagsWriter writer;
    SaveController controller(loaded.editor, writer);

    QCOMPARE(controller.applicationShouldTerminate(), terminates);
    QCOMPARE(loaded.ui.askedMessageKeys(), asked);
    QCOMPARE(loaded.ui.unexpectedQuestions, 0);
    if (!asked.isEmpty()) {
        const UserInterface::Question &question = loaded.ui.questions.at(0);
        QCOMPARE(question.informativeKey, QStringLiteral("DoYouWantToSaveChanges"));
        QCOMPARE(question.buttonKeys, (QStringList{"Save", "Cancel", "DontSave"}));
    }
    QCOMPARE(song->isModified(), modified && !saved);
    QCOMPARE(FileIdentity::ofPath(song->filePath()) != identity, saved);
    QCOMPARE(readSong(song->filePath())->artist(), saved ? QStringLiteral("Edited") : QString());
}

QTEST_GUILESS_MAIN(TestSaveController)
#include "test_savecontroller.moc"
