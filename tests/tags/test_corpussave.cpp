// Edits and saves a copy of every file with a music extension in the shared corpus of real-world
// files, many of them damaged on purpose, and checks that nothing is lost: a file the save pass
// reports as saved reads back with every value that was set, keeps its audio bytes and does not
// grow when saved again; a file it refuses is left byte for byte as it was. Each file is handled
// in a child process (this executable with "--one FILE") under a time limit, so a crash, a
// sanitizer report or a hang names its file.

#include "audiostream.h"
#include "corpusfiles.h"
#include "fixtures.h"
#include "savetesting.h"

#include "editor/settingsregistry.h"
#include "model/image.h"
#include "model/localized.h"
#include "model/song.h"
#include "tags/tagsreader.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

#include <cstdio>

namespace {

constexpr int FileTimeLimitMs = 60000;

// The values an edit sets, one "name: value" line each; pictures by size and MD5 in their order.
QString tagValues(const Song &song)
{
    QStringList lines;
    lines << QStringLiteral("track: ") + song.track() << QStringLiteral("title: ") + song.title()
          << QStringLiteral("artist: ") + song.artist() << QStringLiteral("albumArtist: ") + song.albumArtist()
          << QStringLiteral("composer: ") + song.composer() << QStringLiteral("album: ") + song.album()
          << QStringLiteral("disc: ") + song.disc() << QStringLiteral("genre: ") + song.genre()
          << QStringLiteral("year: %1").arg(song.year()) << QStringLiteral("comment: ") + song.comment()
          << QStringLiteral("lyrics: ") + song.lyrics()
          << QStringLiteral("isCompilation: %1").arg(song.isCompilation());
    for (const Image &image : song.images()) {
        lines << QStringLiteral("image: %1 bytes, md5 %2")
                     .arg(image.data().size())
                     .arg(QLatin1String(QCryptographicHash::hash(image.data(), QCryptographicHash::Md5).toHex()));
    }
    return lines.join(u'\n');
}

// Sets every text field, both number pairs, the year, the compilation flag, the comment and the
// lyrics. The suffix is trimmed away by the setters: a blank suffix flags the fields again
// without changing their values.
void editValues(Song &song, const QString &suffix)
{
    song.setTitle(QStringLiteral("Titre d'essai ✓") + suffix);
    song.setArtist(QStringLiteral("Artiste Ä") + suffix);
    song.setAlbumArtist(QStringLiteral("Album Artist ß") + suffix);
    song.setComposer(QStringLiteral("Komponist ø") + suffix);
    song.setAlbum(QStringLiteral("Album ☆") + suffix);
    song.setGenre(QStringLiteral("Ambient") + suffix);
    song.setComment(QStringLiteral("A comment, with a comma") + suffix);
    song.setLyrics(QStringLiteral("First line\nSecond line ♪") + suffix);
    song.noCheck_setTrack(QStringLiteral("3/12"));
    song.noCheck_setDisc(QStringLiteral("1/2"));
    song.setYear(1999);
    song.setIsCompilation(1);
}

// The values TagLib finds in the file under keys that an edit does not set, one "KEY=value" line
// each: what a save that is not forced must keep. (A comment held as "DESCRIPTION" and a year as
// "YEAR" are where the edit's comment and year go.)
QStringList valuesNotEdited(const QString &path)
{
    static const QStringList edited = {
        QStringLiteral("TITLE"), QStringLiteral("ARTIST"), QStringLiteral("ALBUMARTIST"),
        QStringLiteral("ALBUM ARTIST"), QStringLiteral("ALBUM_ARTIST"), QStringLiteral("ENSEMBLE"),
        QStringLiteral("COMPOSER"), QStringLiteral("ALBUM"), QStringLiteral("GENRE"),
        QStringLiteral("DATE"), QStringLiteral("YEAR"), QStringLiteral("COMMENT"),
        QStringLiteral("DESCRIPTION"), QStringLiteral("LYRICS"), QStringLiteral("TRACKNUMBER"),
        QStringLiteral("TRACKTOTAL"), QStringLiteral("DISCNUMBER"), QStringLiteral("DISCTOTAL"),
        QStringLiteral("COMPILATION")};
    QStringList lines;
    const TagLib::FileRef file(QFile::encodeName(path).constData(), false);
    if (file.isNull())
        return lines;
    for (const auto &[key, values] : file.file()->properties()) {
        const QString name = QString::fromStdString(key.to8Bit(true));
        if (edited.contains(name))
            continue;
        for (const TagLib::String &value : values)
            lines << name + u'=' + QString::fromStdString(value.to8Bit(true));
    }
    return lines;
}

// Why the child failed, as one text; empty when every check held.
class Failure {
public:
    bool check(bool condition, const QString &what)
    {
        if (!condition && m_text.isEmpty())
            m_text = what;
        return condition;
    }
    bool compare(const QString &actual, const QString &expected, const QString &what)
    {
        return check(actual == expected,
                     QStringLiteral("%1\n--- expected:\n%2\n--- actual:\n%3").arg(what, expected, actual));
    }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// After a save the report calls done: the values are those set, the audio bytes (where the
// original's could be found) are the original's.
void checkSaved(Failure &failure, const QString &path, const QString &expected, const QByteArray &audio,
                const QString &step)
{
    const auto reread = readSong(path);
    if (!failure.check(reread != nullptr, step + QStringLiteral(": the saved file does not load again")))
        return;
    failure.compare(tagValues(*reread), expected, step + QStringLiteral(": values read back"));
    if (!audio.isEmpty())
        failure.check(audioStream(path) == audio, step + QStringLiteral(": the audio bytes changed"));
}

// The child: edits and saves a copy of one file, prints what happened on stdout ("saved" or
// "refused", with notes) and the first failed check on stderr. Exit 0 when every check held.
int saveOne(const QString &source)
{
    QTemporaryDir settings;
    useTemporarySettings(settings);
    SettingsRegistry::registerDefaults();
    if (!Localized::installStringTable()) {
        std::fprintf(stderr, "no string table\n");
        return 3;
    }
    QTemporaryDir work;
    const QString path = work.filePath(QFileInfo(source).fileName());
    if (!QFile::copy(source, path)
        || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(source));
        return 3;
    }

    Failure failure;
    auto song = readSong(path);
    if (!song) {
        std::fprintf(stderr, "the loader skipped the file\n");
        return 2;
    }
    const QByteArray originalBytes = fileBytes(path);
    const QByteArray originalAudio = audioStream(path);
    QStringList notes;
    if (originalAudio.isEmpty())
        notes << QStringLiteral("audio stream not located");

    const QStringList notEdited = valuesNotEdited(path);
    editValues(*song, QString());
    song->addImage(Image(samplePng(qRgb(200, 40, 90))));
    const QString expected = tagValues(*song);
    const SaveReport first = writeSong(song.get());

    if (first.hasErrors() || first.savedCount != 1) {
        // Refused: not a byte may have changed, and the song keeps its changes.
        failure.check(first.savedCount == 0, QStringLiteral("the save both failed and counted as done"));
        failure.check(fileBytes(path) == originalBytes, QStringLiteral("a refused save changed the file"));
        failure.check(song->isModified(), QStringLiteral("a refused save cleared the song's changes"));
        failure.check(first.errorText.contains(QFileInfo(path).fileName()),
                      QStringLiteral("the refusal does not name the file: ") + first.errorText);
        std::printf("refused%s\n", qPrintable(notes.isEmpty() ? QString() : QStringLiteral(" (") + notes.join(QStringLiteral("; ")) + u')'));
    } else {
        failure.check(!song->isModified(), QStringLiteral("a save done in full left the song modified"));
        checkSaved(failure, path, expected, originalAudio, QStringLiteral("first save"));
        failure.compare(valuesNotEdited(path).join(u'\n'), notEdited.join(u'\n'),
                        QStringLiteral("first save: values under keys the edit does not set"));
        const qint64 sizeOnce = QFileInfo(path).size();

        // The same values again, flagged but unchanged: nothing grows.
        auto again = readSong(path);
        if (failure.check(again != nullptr, QStringLiteral("the saved file does not load again"))) {
            editValues(*again, QStringLiteral(" "));
            const QList<Image> images = again->images();
            again->removeAllImages();
            for (const Image &image : images)
                again->addImage(image);
            failure.check(again->isTitleModified() && again->isImagesModified(),
                          QStringLiteral("the repeated edit flags nothing"));
            const SaveReport second = writeSong(again.get());
            failure.check(!second.hasErrors(), QStringLiteral("the second save failed: ") + second.errorText);
            failure.check(QFileInfo(path).size() == sizeOnce,
                          QStringLiteral("the second save changed the size from %1 to %2")
                              .arg(sizeOnce).arg(QFileInfo(path).size()));
            checkSaved(failure, path, expected, originalAudio, QStringLiteral("second save"));

            // A forced save rebuilds the tags from the song alone.
            const SaveReport forced = writeSong(again.get(), true);
            failure.check(!forced.hasErrors(), QStringLiteral("the forced save failed: ") + forced.errorText);
            checkSaved(failure, path, expected, originalAudio, QStringLiteral("forced save"));
        }
        if (fileBytes(path).size() < originalBytes.size())
            notes << QStringLiteral("%1 bytes smaller").arg(originalBytes.size() - fileBytes(path).size());
        std::printf("saved%s\n", qPrintable(notes.isEmpty() ? QString() : QStringLiteral(" (") + notes.join(QStringLiteral("; ")) + u')'));
    }
    if (!failure.text().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.text()));
        return 1;
    }
    return 0;
}

} // namespace

class TestCorpusSave : public QObject {
    Q_OBJECT

private:
    int m_saved = 0;
    int m_refused = 0;

private slots:
    void savesEveryFileInItsOwnProcess_data()
    {
        if (!CorpusFiles::exists())
            QFAIL(qPrintable(QStringLiteral("no corpus at %1").arg(CorpusFiles::folder())));
        CorpusFiles::addMusicFileRows();
    }

    void savesEveryFileInItsOwnProcess()
    {
        QFETCH(QString, path);
        QString output;
        const QString failure = CorpusFiles::runOneInChild(path, QStringLiteral("saving"), FileTimeLimitMs, &output);
        const QString outcome = output.trimmed();
        qInfo("%s: %s", QTest::currentDataTag(), qPrintable(outcome.isEmpty() ? QStringLiteral("no outcome") : outcome));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY2(outcome.startsWith(QLatin1String("saved")) || outcome.startsWith(QLatin1String("refused")),
                 qPrintable(outcome));
        ++(outcome.startsWith(QLatin1String("saved")) ? m_saved : m_refused);
    }

    void cleanupTestCase()
    {
        qInfo("%d files saved, %d refused", m_saved, m_refused);
    }
};

// A child started by runOneInChild(): "--one <path>".
static std::optional<int> childMain(int argc, char **argv)
{
    if (argc != 3 || qstrcmp(argv[1], "--one") != 0)
        return std::nullopt;
    QCoreApplication app(argc, argv);
    return saveOne(QFile::decodeName(argv[2]));
}

QUORL_TEST_MAIN_WITH_CHILD(TestCorpusSave, childMain)

#include "test_corpussave.moc"
