#include "coverscommand.h"

#include "console.h"
#include "jsonwriter.h"
#include "pictureextractor.h"
#include "pictureinfo.h"
#include "songjson.h"
#include "terminaltext.h"

#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"

#include <memory>

namespace {

QString pictureLine(int number, const Image &image)
{
    const PictureInfo info = PictureInfo::of(image);
    return Localized::text("CliPictureLineXYZWV")
        .arg(number)
        .arg(QString::fromLatin1(info.md5Hex), info.mime)
        .arg(info.width)
        .arg(info.height)
        .arg(info.bytes);
}

} // namespace

const QList<OptionDefinition> &CoversCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        {QStringLiteral("extract"), QChar(), QStringLiteral("DIR"), "CliHelpOptionExtract"},
    };
    return definitions;
}

Result<void> CoversCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    if (options.has(QStringLiteral("extract"))) {
        m_extractFolder = options.value(QStringLiteral("extract"));
        if (m_extractFolder.isEmpty())
            return Error{ErrorCode::InvalidArgument,
                         Localized::text("CliMissingValueX").arg(QStringLiteral("--extract"))};
    }
    return {};
}

ExitCode CoversCommand::run(CommandContext &context)
{
    std::unique_ptr<PictureExtractor> extractor;
    if (!m_extractFolder.isEmpty())
        extractor = std::make_unique<PictureExtractor>(m_extractFolder, context.global.dryRun);

    JsonWriter json;
    json.beginArray();
    QString text;
    for (const Song *song : context.editor->selectedObjects()) {
        json.beginObject();
        json.key("filePath");
        json.string(song->filePath());
        json.key("images");
        json.beginArray();
        text += TerminalText::escaped(song->filePath()) + QLatin1Char('\n');
        if (song->images().isEmpty())
            text += QStringLiteral("  ") + Localized::text("CliNoPictures") + QLatin1Char('\n');
        int number = 0;
        for (const Image &image : song->images()) {
            SongJson::writePicture(&json, image);
            text += QStringLiteral("  ") + pictureLine(++number, image) + QLatin1Char('\n');
            if (!extractor)
                continue;
            const PictureExtractor::Report report = extractor->extract(image);
            if (report.outcome == PictureExtractor::Outcome::Failed)
                Console::errLine(report.error);
            text += QStringLiteral("     %1 %2\n")
                        .arg(PictureExtractor::outcomeText(report.outcome), TerminalText::escaped(report.path));
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();

    if (context.global.json)
        Console::out(json.data());
    else
        Console::out(text);
    return extractor && extractor->failureCount() > 0 ? ExitCode::Failures : ExitCode::Success;
}
