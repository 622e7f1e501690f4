#include "readcommand.h"

#include "console.h"
#include "pictureinfo.h"
#include "songjson.h"

#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"

namespace {

QString lengthText(qint32 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString pictureText(const Image &image)
{
    const PictureInfo info = PictureInfo::of(image);
    return Localized::text("CliPictureXYZW")
        .arg(info.mime)
        .arg(info.width)
        .arg(info.height)
        .arg(info.bytes);
}

} // namespace

Result<void> ReadCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(options);
    Q_UNUSED(operands);
    return {};
}

QString ReadCommand::describe(const Song &song)
{
    QString text = song.filePath() + QLatin1Char('\n');
    const auto line = [&text](const char *labelKey, const QString &value) {
        if (!value.isEmpty())
            text += QStringLiteral("  %1: %2\n").arg(Localized::text(labelKey), value);
    };
    if (song.fileName() != song.filePath().section(QLatin1Char('/'), -1))
        line("CliFieldFileName", song.fileName());
    line("CliFieldTrack", song.track());
    line("CliFieldDisc", song.disc());
    line("CliFieldTitle", song.title());
    line("CliFieldArtist", song.artist());
    line("CliFieldAlbumArtist", song.albumArtist());
    line("CliFieldAlbum", song.album());
    line("CliFieldComposer", song.composer());
    line("CliFieldGenre", song.genre());
    line("CliFieldYear", song.year() != 0 ? QString::number(song.year()) : QString());
    line("CliFieldComment", song.comment().section(QLatin1Char('\n'), 0, 0));
    if (!song.lyrics().isEmpty())
        line("CliFieldLyrics", Localized::text("CliNLines").arg(song.lyrics().count(QLatin1Char('\n')) + 1));
    if (song.isCompilation() != 0)
        line("CliFieldCompilation", Localized::text("CliYes"));
    line("CliFieldLength", song.length() > 0 ? lengthText(song.length()) : QString());
    line("CliFieldBitrate", song.bitrate() > 0 ? Localized::text("CliNKbits").arg(song.bitrate()) : QString());
    for (const Image &image : song.images())
        line("CliFieldPicture", pictureText(image));
    if (!song.isRenamable())
        line("CliFieldRenamable", Localized::text("CliNo"));
    return text;
}

ExitCode ReadCommand::run(CommandContext &context)
{
    const QList<Song *> songs = context.editor->selectedObjects();
    if (context.global.json) {
        Console::out(SongJson::songsDocument(songs));
        return ExitCode::Success;
    }
    QStringList blocks;
    for (const Song *song : songs)
        blocks.append(describe(*song));
    Console::out(blocks.join(QLatin1Char('\n')));
    return ExitCode::Success;
}
