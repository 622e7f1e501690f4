#include "corpus.h"

#include "corpusplan.h"
#include "corpustagger.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QSettings>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int CoverSide = 500;

// A 500 × 500 JPEG that compresses like a photograph: two-colour gradients, a few soft discs
// and fine noise, different for every album.
QByteArray makeCover(int album)
{
    QRandomGenerator random(quint32(album) * 7919u + 17u);
    const QColor from = QColor::fromHsv(int(random.bounded(360)), 120 + int(random.bounded(100)), 200);
    const QColor to = QColor::fromHsv(int(random.bounded(360)), 80 + int(random.bounded(120)), 60);
    struct Disc { int x, y, radius, shade; };
    QList<Disc> discs;
    for (int i = 0; i < 6; ++i)
        discs.append({int(random.bounded(CoverSide)), int(random.bounded(CoverSide)),
                      40 + int(random.bounded(120)), int(random.bounded(80)) - 40});
    QImage image(CoverSide, CoverSide, QImage::Format_RGB32);
    for (int y = 0; y < CoverSide; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < CoverSide; ++x) {
            const double t = double(x + y) / (2.0 * CoverSide);
            int shade = int(random.bounded(24)) - 12;
            for (const Disc &disc : discs) {
                const int dx = x - disc.x, dy = y - disc.y;
                if (dx * dx + dy * dy < disc.radius * disc.radius)
                    shade += disc.shade;
            }
            const auto channel = [t, shade](int a, int b) {
                return std::clamp(int(a + (b - a) * t) + shade, 0, 255);
            };
            line[x] = qRgb(channel(from.red(), to.red()), channel(from.green(), to.green()),
                           channel(from.blue(), to.blue()));
        }
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return data;
}

QString manifestPath(const QString &folder)
{
    return folder + QStringLiteral("/manifest.ini");
}

} // namespace

QString Corpus::folderFor(const QString &parent, int songCount)
{
    return QDir(parent).absoluteFilePath(QStringLiteral("corpus-%1").arg(songCount));
}

Result<Corpus> Corpus::open(const QString &parent, int songCount)
{
    const QString folder = folderFor(parent, songCount);
    if (!QFile::exists(manifestPath(folder)))
        return Error{ErrorCode::NotFound, folder};
    QSettings manifest(manifestPath(folder), QSettings::IniFormat);
    if (!manifest.value("complete").toBool() || manifest.value("songs").toInt() != songCount)
        return Error{ErrorCode::NotFound, folder};
    Corpus corpus;
    corpus.folder = folder;
    corpus.songCount = songCount;
    corpus.albumCount = manifest.value("albums").toInt();
    corpus.distinctPictureBytes = manifest.value("pictureBytes").toLongLong();
    return corpus;
}

Result<Corpus> Corpus::make(const QString &parent, int songCount, const QString &fixtureFolder)
{
    Corpus corpus;
    corpus.folder = folderFor(parent, songCount);
    corpus.songCount = songCount;
    QDir(corpus.folder).removeRecursively();
    if (!QDir().mkpath(corpus.folder))
        return Error{ErrorCode::Unwritable, corpus.folder};

    const QList<PlannedSong> songs = CorpusPlan::make(songCount);
    QByteArray cover;
    int coverAlbum = -1;
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const PlannedSong &song = songs.at(i);
        if (song.albumIndex != coverAlbum) {
            cover = makeCover(song.albumIndex);
            coverAlbum = song.albumIndex;
            corpus.distinctPictureBytes += cover.size();
            ++corpus.albumCount;
        }
        const QString path = corpus.folder + u'/' + song.relativePath;
        QDir().mkpath(path.section(u'/', 0, -2));
        const QString fixture = fixtureFolder + QStringLiteral("/silence.") + song.extension;
        if (!QFile::copy(fixture, path))
            return Error{ErrorCode::Unwritable, path};
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        if (!CorpusTagger::tag(path, song, cover))
            return Error{ErrorCode::Unwritable, path};
        if ((i + 1) % 250 == 0)
            std::fprintf(stderr, "made %lld of %d songs\n", static_cast<long long>(i + 1), songCount);
    }

    QSettings manifest(manifestPath(corpus.folder), QSettings::IniFormat);
    manifest.setValue("songs", songCount);
    manifest.setValue("albums", corpus.albumCount);
    manifest.setValue("pictureBytes", corpus.distinctPictureBytes);
    manifest.setValue("complete", true);
    manifest.sync();
    if (manifest.status() != QSettings::NoError)
        return Error{ErrorCode::Unwritable, manifestPath(corpus.folder)};
    return corpus;
}

Result<Corpus> Corpus::openOrMake(const QString &parent, int songCount, const QString &fixtureFolder, bool *made)
{
    *made = false;
    Result<Corpus> corpus = open(parent, songCount);
    if (corpus)
        return corpus;
    std::printf("Making a corpus of %d songs in %s\n", songCount, qPrintable(folderFor(parent, songCount)));
    std::fflush(stdout);
    *made = true;
    return make(parent, songCount, fixtureFolder);
}
