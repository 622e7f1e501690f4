#include "modelbenchmark.h"

#include "measurement.h"
#include "silentuserinterface.h"

#include "editor/editorcontroller.h"
#include "editor/songtablemodel.h"
#include "model/song.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>

namespace {

constexpr double ResetTargetMs = 50;
constexpr double SortTargetMs = 300;
constexpr double ScreenTargetMs = 1;
constexpr qint64 MemoryTargetBytes = 150LL * 1024 * 1024;
constexpr int ScreenRows = 40;

// The roles a table view asks of every cell it paints.
const QList<int> CellRoles{Qt::DisplayRole, Qt::CheckStateRole, Qt::FontRole, Qt::TextAlignmentRole,
                           Qt::ForegroundRole, Qt::BackgroundRole, Qt::DecorationRole,
                           SongTableModel::IsModifiedRole, SongTableModel::IsFieldModifiedRole,
                           SongTableModel::TextColorRole};

const QStringList Genres{"Rock", "Jazz", "Pop", "Classical", "Electronic", "Folk", "Hip-Hop", "Soul"};
const QStringList Words{"Night", "river", "Blue", "light", "Morning", "song", "of", "the", "Long",
                        "road", "Home", "fire", "Winter", "dream", "Silver", "heart"};

} // namespace

// Songs as loading leaves them, in albums of 12: values of the sizes a music library has, each
// text its own copy as a read makes it.
SongList makeMemorySongs(int count)
{
    QRandomGenerator random(20240611);
    SongList songs;
    songs.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const int album = i / 12;
        const int track = i % 12 + 1;
        QString title;
        for (int word = 0, words = 2 + random.bounded(4); word < words; ++word)
            title += (word ? QStringLiteral(" ") : QString()) + Words.at(random.bounded(Words.size()));
        const QString artist = QStringLiteral("Artist Number %1").arg(album / 3);
        const QString albumTitle = QStringLiteral("Album Title %1").arg(album);
        const QString fileName = QStringLiteral("%1 %2.mp3").arg(track, 2, 10, QLatin1Char('0')).arg(title);
        auto song = std::make_unique<Song>();
        song->setFilePath(QStringLiteral("/home/listener/Music/%1/%2/%3").arg(artist, albumTitle, fileName));
        song->setFileName(fileName);
        song->setTrack(QStringLiteral("%1/12").arg(track));
        song->setTitle(title);
        song->setArtist(artist);
        song->setAlbumArtist(artist);
        song->setAlbum(albumTitle);
        song->setDisc(QStringLiteral("1/1"));
        song->setGenre(QString(Genres.at(album % Genres.size())));
        song->setYear(1960 + album % 60);
        if (i % 5 == 0)
            song->setComment(QStringLiteral("Remastered %1").arg(1990 + i % 30));
        song->setBitrate(i % 3 ? 256 : 320);
        song->setLength(150 + random.bounded(300));
        song->setFileIdentity(QByteArray(32, char(i)));
        song->resetModifications();
        songs.push_back(std::move(song));
    }
    return songs;
}

namespace {

// Times the model's own part of each change of the list: one is registered right before the
// model and starts the clock, one right after it and stops it, so that together they enclose
// what the model does with each notice.
struct ModelClockHalf : SongListObserver {
    QElapsedTimer *timer;
    double *elapsed;
    bool opens;
    ModelClockHalf(QElapsedTimer *timer, double *elapsed, bool opens)
        : timer(timer), elapsed(elapsed), opens(opens)
    {
    }
    void tick()
    {
        if (opens)
            timer->start();
        else
            *elapsed += double(timer->nsecsElapsed()) / 1e6;
    }
    void songsWillBeInserted(int, int) override { tick(); }
    void songsInserted(int, int) override { tick(); }
    void songsWillBeReset() override { tick(); }
    void songsReset() override { tick(); }
};

} // namespace

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void reportTimes(const char *what, const QList<double> &ms, double target)
{
    std::printf("%-34s median %9.3f ms  fastest %9.3f ms", what, Measurement::Sample::medianOf(ms),
                *std::min_element(ms.begin(), ms.end()));
    if (target > 0)
        std::printf("  target <= %.0f ms%s", target, Measurement::Sample::medianOf(ms) <= target ? "" : "  MISSED");
    std::printf("\n");
}

int ModelBenchmark::run() const
{
    SilentUserInterface ui;
    EditorController editor(&ui);
    QList<double> make, attach, insert, reset, sort, screen, firstEdit;
    quint64 checksum = 0;

    for (int run = 0; run < runs; ++run) {
        SongList songs;
        make.append(millisecondsOf([&] { songs = makeMemorySongs(this->songs); }));
        editor.appendSongs(std::move(songs));

        QElapsedTimer timer;
        double modelMs = 0;
        ModelClockHalf before(&timer, &modelMs, true);
        ModelClockHalf after(&timer, &modelMs, false);
        editor.addObserver(&before);
        std::unique_ptr<SongTableModel> model;
        attach.append(millisecondsOf([&] { model = std::make_unique<SongTableModel>(&editor); }));
        editor.addObserver(&after);

        // The model's part of a reset (the list cleared) and of inserting every row again.
        editor.clearSongs();
        reset.append(modelMs);
        SongList again = makeMemorySongs(this->songs);
        modelMs = 0;
        editor.appendSongs(std::move(again));
        insert.append(modelMs);
        editor.removeObserver(&before);
        editor.removeObserver(&after);

        // Each sort by title starts from another order: by file path, untimed, in between.
        model->sort(int(SongColumn::FileName), run % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
        sort.append(millisecondsOf([&] { model->sort(int(SongColumn::Title), Qt::AscendingOrder); }));

        // One screen of cells at each of 50 places of the list.
        QRandomGenerator places(quint32(run + 1));
        for (int place = 0; place < 50; ++place) {
            const int top = places.bounded(qMax(1, model->rowCount() - ScreenRows));
            screen.append(millisecondsOf([&] {
                for (int row = top; row < top + ScreenRows; ++row) {
                    for (int column = 0; column < SongColumnCount; ++column) {
                        const QModelIndex cell = model->index(row, column);
                        for (int role : CellRoles)
                            checksum += quint64(model->data(cell, role).isValid());
                    }
                }
            }));
        }

        // The first edit after the sort finds the song's row again.
        firstEdit.append(millisecondsOf([&] {
            model->setData(model->index(model->rowCount() / 2, int(SongColumn::Title)), QStringLiteral("Edited"));
        }));
        model.reset();
        editor.clearSongs();
    }

    const qint64 peak = Measurement::peakResidentBytes();
    std::printf("quorl-bench model: %d songs made in memory, %d runs (checksum %llu)\n", songs, runs,
                static_cast<unsigned long long>(checksum));
    reportTimes("make the songs (not the model)", make, 0);
    reportTimes("attach the model to the list", attach, ResetTargetMs);
    reportTimes("reset (the list cleared)", reset, ResetTargetMs);
    reportTimes("insert every row", insert, ResetTargetMs);
    reportTimes("sort by title", sort, SortTargetMs);
    reportTimes("data() for 40 rows x 14 columns", screen, ScreenTargetMs);
    reportTimes("first edit after the sort", firstEdit, 0);
    std::printf("%-34s %9.1f MiB  target <= %lld MiB%s\n", "peak memory of the process", double(peak) / 1048576.0,
                MemoryTargetBytes / 1048576, peak <= MemoryTargetBytes ? "" : "  MISSED");

    const bool met = Measurement::Sample::medianOf(attach) <= ResetTargetMs
        && Measurement::Sample::medianOf(reset) <= ResetTargetMs
        && Measurement::Sample::medianOf(insert) <= ResetTargetMs
        && Measurement::Sample::medianOf(sort) <= SortTargetMs
        && Measurement::Sample::medianOf(screen) <= ScreenTargetMs && peak <= MemoryTargetBytes;
    return met ? 0 : 1;
}
