#include "readcommand.h"

#include "console.h"
#include "pictureinfo.h"
#include "songjson.h"
#include "terminaltext.h"

#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "tools/patternsyntax.h"
#include "tools/tagcomposer.h"

namespace {

const QString FormatOption = QStringLiteral("format");
const QString FieldsOption = QStringLiteral("fields");

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

const QList<OptionDefinition> &ReadCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        {FormatOption, QChar(), QStringLiteral("PATTERN"), "CliHelpOptionFormat"},
        {FieldsOption, QChar(), QStringLiteral("KEY,..."), "CliHelpOptionFields", SongJson::keys()},
    };
    return definitions;
}

Result<void> ReadCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    if (options.has(FormatOption) && options.has(FieldsOption))
        return Error{ErrorCode::InvalidArgument, Localized::text("CliFormatOrFields")};
    if (options.has(FormatOption)) {
        Result<Pattern> format = PatternSyntax::parse(options.value(FormatOption));
        if (!format)
            return Error{ErrorCode::InvalidArgument, QStringLiteral("--format: ") + format.error().detail};
        if (format.value().isEmpty())
            return Error{ErrorCode::InvalidArgument, Localized::text("CliEmptyPatternX").arg(QStringLiteral("--format"))};
        m_format = format.value();
    }
    if (options.has(FieldsOption)) {
        m_fields = options.value(FieldsOption).split(QLatin1Char(','));
        for (const QString &field : std::as_const(m_fields))
            if (!SongJson::keys().contains(field))
                return Error{ErrorCode::InvalidArgument,
                             Localized::text("CliBadChoiceXYZ")
                                 .arg(field, QStringLiteral("--fields"), SongJson::keys().join(QStringLiteral(", ")))};
    }
    return {};
}

QString ReadCommand::describe(const Song &song)
{
    QString text = TerminalText::escaped(song.filePath()) + QLatin1Char('\n');
    const auto line = [&text](const char *labelKey, const QString &value) {
        if (!value.isEmpty())
            text += QStringLiteral("  %1: %2\n").arg(Localized::text(labelKey), TerminalText::escaped(value));
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
    if (m_format) {
        if (context.global.json) {
            Console::errLine(QStringLiteral("quorl-cli: ") + Localized::text("CliFormatOrJson"));
            return ExitCode::Usage;
        }
        QString lines;
        for (const Song *song : songs)
            lines += TerminalText::escaped(TagComposer::composedText(*m_format, *song)) + QLatin1Char('\n');
        Console::out(lines);
        return ExitCode::Success;
    }
    if (context.global.json || !m_fields.isEmpty()) {
        Console::out(SongJson::songsDocument(songs, m_fields));
        return ExitCode::Success;
    }
    QStringList blocks;
    for (const Song *song : songs)
        blocks.append(describe(*song));
    Console::out(blocks.join(QLatin1Char('\n')));
    return ExitCode::Success;
}
