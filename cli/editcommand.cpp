#include "editcommand.h"

#include "console.h"

#include "editor/editorcontroller.h"
#include "editor/fieldeditor.h"
#include "editor/imagecontroller.h"
#include "model/filerename.h"
#include "model/localized.h"
#include "model/picturedata.h"
#include "model/song.h"
#include "tags/tagswriter.h"

#include <QFile>

#include <algorithm>
#include <iterator>

namespace {

const QString ClearOption = QStringLiteral("clear");
const QString FileNameOption = QStringLiteral("file-name");
const QString RemoveCoversOption = QStringLiteral("remove-covers");
const QString AddCoverOption = QStringLiteral("add-cover");

struct ClearChoice {
    const char *field;
    void (*clear)(FieldEditor &);
};

// The fields --clear accepts, each with its Clear command.
const ClearChoice ClearChoices[] = {
    {"title", [](FieldEditor &editor) { editor.clearTitle(); }},
    {"artist", [](FieldEditor &editor) { editor.clearArtist(); }},
    {"album-artist", [](FieldEditor &editor) { editor.clearAlbumArtist(); }},
    {"composer", [](FieldEditor &editor) { editor.clearComposer(); }},
    {"album", [](FieldEditor &editor) { editor.clearAlbum(); }},
    {"track", [](FieldEditor &editor) { editor.clearTrackNumber(); }},
    {"disc", [](FieldEditor &editor) { editor.clearDisc(); }},
    {"genre", [](FieldEditor &editor) { editor.clearGenre(); }},
    {"year", [](FieldEditor &editor) { editor.clearYear(); }},
    {"comment", [](FieldEditor &editor) { editor.clearComment(); }},
    // The field area has no Clear command for these two; clearing sets what an untagged file has.
    {"lyrics", [](FieldEditor &editor) { editor.setValueForKey(u"lyrics", QStringLiteral("")); }},
    {"compilation", [](FieldEditor &editor) { editor.setValueForKey(u"isCompilation", qint64(0)); }},
};

QStringList clearFields()
{
    QStringList fields;
    for (const ClearChoice &choice : ClearChoices)
        fields.append(QLatin1String(choice.field));
    return fields;
}

enum class ValueKind {
    Text,
    NumberPair, // "n", "n/N", "/N", "n/" or empty
    Year,       // decimal digits or empty
    Flag,       // 0 or 1
};

struct ValueOption {
    const char *option;
    const char *property;
    ValueKind kind;
};

// The setter options in the order they are applied.
const ValueOption ValueOptions[] = {
    {"track", "track", ValueKind::NumberPair},
    {"title", "title", ValueKind::Text},
    {"artist", "artist", ValueKind::Text},
    {"album-artist", "albumArtist", ValueKind::Text},
    {"composer", "composer", ValueKind::Text},
    {"album", "album", ValueKind::Text},
    {"disc", "disc", ValueKind::NumberPair},
    {"genre", "genre", ValueKind::Text},
    {"year", "year", ValueKind::Year},
    {"comment", "comment", ValueKind::Text},
    {"lyrics", "lyrics", ValueKind::Text},
    {"compilation", "isCompilation", ValueKind::Flag},
};

bool isDecimal(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isValid(const QString &value, ValueKind kind)
{
    switch (kind) {
    case ValueKind::Text: return true;
    case ValueKind::NumberPair: return value.isEmpty() || Song::isValidNaturalNumberOrPair(value);
    case ValueKind::Year: return value.isEmpty() || isDecimal(value);
    case ValueKind::Flag: return value == u"0" || value == u"1";
    }
    return false;
}

Error badValue(const QString &option, const QString &value)
{
    return Error{ErrorCode::InvalidArgument,
                 Localized::text("CliBadOptionValueXY").arg(value, QStringLiteral("--") + option)};
}

} // namespace

const QList<OptionDefinition> &EditCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        {ClearOption, QChar(), QStringLiteral("FIELD"), "CliHelpOptionClear", clearFields()},
        {QStringLiteral("track"), QChar(), QStringLiteral("N[/TOTAL]"), "CliHelpOptionTrack"},
        {QStringLiteral("title"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionTitle"},
        {QStringLiteral("artist"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionArtist"},
        {QStringLiteral("album-artist"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionAlbumArtist"},
        {QStringLiteral("composer"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionComposer"},
        {QStringLiteral("album"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionAlbum"},
        {QStringLiteral("disc"), QChar(), QStringLiteral("N[/TOTAL]"), "CliHelpOptionDisc"},
        {QStringLiteral("genre"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionGenre"},
        {QStringLiteral("year"), QChar(), QStringLiteral("YEAR"), "CliHelpOptionYear"},
        {QStringLiteral("comment"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionComment"},
        {QStringLiteral("lyrics"), QChar(), QStringLiteral("TEXT"), "CliHelpOptionLyrics"},
        {QStringLiteral("compilation"), QChar(), QStringLiteral("0|1"), "CliHelpOptionCompilation",
         {QStringLiteral("0"), QStringLiteral("1")}},
        {FileNameOption, QChar(), QStringLiteral("NAME"), "CliHelpOptionFileName"},
        {RemoveCoversOption, QChar(), QString(), "CliHelpOptionRemoveCovers"},
        {AddCoverOption, QChar(), QStringLiteral("FILE"), "CliHelpOptionAddCover"},
    };
    return definitions;
}

Result<void> EditCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    if (Result<void> clears = parseClears(options); !clears)
        return clears;
    if (Result<void> values = parseValues(options); !values)
        return values;
    m_removeCovers = options.has(RemoveCoversOption);
    m_coverPaths = options.values(AddCoverOption);
    for (const QString &path : std::as_const(m_coverPaths))
        if (path.isEmpty())
            return badValue(AddCoverOption, path);
    return {};
}

Result<void> EditCommand::parseClears(const ParsedOptions &options)
{
    for (const QString &field : options.values(ClearOption)) {
        const auto choice = std::find_if(std::begin(ClearChoices), std::end(ClearChoices),
                                         [&field](const ClearChoice &c) { return field == QLatin1String(c.field); });
        if (choice == std::end(ClearChoices))
            return badValue(ClearOption, field);
        m_clears.append(choice->clear);
    }
    return {};
}

Result<void> EditCommand::parseValues(const ParsedOptions &options)
{
    for (const ValueOption &definition : ValueOptions) {
        const QString option = QLatin1String(definition.option);
        if (!options.has(option))
            continue;
        const QString value = options.value(option);
        if (!isValid(value, definition.kind))
            return badValue(option, value);
        m_values.append({QLatin1String(definition.property), value});
    }
    if (options.has(FileNameOption)) {
        m_fileName = options.value(FileNameOption);
        if (m_fileName.trimmed().isEmpty())
            return badValue(FileNameOption, m_fileName);
    }
    return {};
}

ExitCode EditCommand::prepare(CommandContext &context)
{
    if (!readCovers() || !checkFileName(context)) {
        Console::errLine(Localized::text("CliNothingChanged"));
        return ExitCode::Failures;
    }
    return ExitCode::Success;
}

bool EditCommand::readCovers()
{
    bool allRead = true;
    for (const QString &path : std::as_const(m_coverPaths)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            Console::errLine(Localized::text("CliCannotReadCoverXY").arg(path, file.errorString()));
            allRead = false;
            continue;
        }
        const QByteArray data = file.readAll();
        if (!PictureData::isValidJPEG(data) && !PictureData::isValidPNG(data)) {
            Console::errLine(Localized::text("CliCoverNotPictureX").arg(path));
            allRead = false;
            continue;
        }
        m_covers.append(data);
    }
    return allRead;
}

// The setter takes only names that keep the file's type, and the save renames only to names
// that are usable and short enough for the folder; a name that would fail for some song is
// refused for all of them rather than applied to a part.
bool EditCommand::checkFileName(CommandContext &context) const
{
    if (m_fileName.isNull())
        return true;
    bool fitsAll = true;
    for (const Song *song : context.editor->selectedObjects()) {
        const QString extension = song->extension();
        if (extension.isEmpty() || !m_fileName.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive)) {
            Console::errLine(Localized::text("CliFileNameChangesTypeXY").arg(song->filePath(), extension));
            fitsAll = false;
            continue;
        }
        const QString folder = song->folder();
        const FileRename::Status status
            = FileRename::checkName(TagsWriter::renamedPath(folder, m_fileName, extension));
        const QString refusal = FileRename::nameRefusal(status, song->filePath(), m_fileName, folder);
        if (!refusal.isEmpty()) {
            Console::errLine(refusal.trimmed());
            fitsAll = false;
        }
    }
    return fitsAll;
}

CommandOutcome EditCommand::apply(CommandContext &context)
{
    FieldEditor fields(context.editor);
    for (const ClearCommand clear : std::as_const(m_clears))
        clear(fields);
    for (const auto &[property, value] : std::as_const(m_values))
        fields.setValueForKey(property, value);
    if (!m_fileName.isNull())
        fields.setValueForKey(u"fileName", m_fileName);

    if (m_removeCovers || !m_covers.isEmpty()) {
        ImageController images(context.editor);
        images.selectionDidChange();
        if (m_removeCovers)
            images.removeAllImages();
        for (const QByteArray &cover : std::as_const(m_covers))
            images.addImageWithData(cover);
    }
    // The setters refuse nothing the options let through.
    return {};
}
