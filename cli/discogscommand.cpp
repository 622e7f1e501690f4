#include "discogscommand.h"

#include "console.h"
#include "terminalui.h"
#include "terminaltext.h"

#include "editor/editorcontroller.h"
#include "editor/imagecontroller.h"
#include "lookup/browsercontroller.h"
#include "lookup/cover.h"
#include "lookup/release.h"
#include "lookup/releaseapplier.h"
#include "model/localized.h"
#include "tools/allinonecontroller.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace {

Result<int> positiveNumber(const ParsedOptions &options, const QString &name)
{
    if (!options.has(name))
        return 0;
    bool ok = false;
    const int value = options.value(name).toInt(&ok);
    if (!ok || value < 1)
        return Error{ErrorCode::InvalidArgument, Localized::text("CliBadNumber").arg(QLatin1String("--") + name)};
    return value;
}

QJsonObject releaseJson(const Release &release)
{
    QJsonArray covers;
    for (const auto &cover : release.covers())
        covers.append(QJsonObject{{"imageUID", cover->imageUID()}, {"fullImagePath", cover->fullImagePath()}});
    QJsonArray rows;
    for (qsizetype i = 0; i < release.countOfTitles(); ++i)
        rows.append(QJsonObject{{"disc", release.objectInDiscsAtIndex(i)},
                                {"track", release.objectInTracksAtIndex(i)},
                                {"title", release.objectInTitlesAtIndex(i)},
                                {"titleArtist", release.objectInTitleArtistsAtIndex(i)},
                                {"flag", release.objectInFlagsAtIndex(i)}});
    return {{"artist", release.artist()}, {"album", release.album()}, {"genre", release.genre()},
            {"year", release.year()}, {"covers", covers}, {"rows", rows}};
}

void printReleases(const BrowserController &browser, bool json)
{
    const auto releases = browser.releases();
    if (json) {
        QJsonArray array;
        for (const auto &release : releases)
            array.append(releaseJson(*release));
        Console::out(QJsonDocument(array).toJson(QJsonDocument::Indented));
        return;
    }
    // The texts come from the service: shown with their control characters escaped.
    const auto shown = TerminalText::escaped;
    int number = 0;
    for (const auto &release : releases) {
        Console::out(QStringLiteral("%1. %2 – %3 (%4, %5)\n")
                         .arg(++number)
                         .arg(shown(release->artist()), shown(release->album()), shown(release->genre()),
                              QString::number(release->year())));
        for (qsizetype i = 0; i < release->countOfTitles(); ++i)
            Console::out(QStringLiteral("   %1-%2  %3 — %4\n")
                             .arg(shown(release->objectInDiscsAtIndex(i)), shown(release->objectInTracksAtIndex(i)),
                                  shown(release->objectInTitlesAtIndex(i)),
                                  shown(release->objectInTitleArtistsAtIndex(i))));
        for (const auto &cover : release->covers()) {
            // The size of a downloaded picture, as the cover browser's tool tip gives it.
            const std::optional<QString> size = Cover::isPlaceholderUID(cover->imageUID())
                                                    ? std::nullopt
                                                    : BrowserController::toolTipForCover(*cover);
            Console::out(size ? QStringLiteral("   cover: %1 (%2)\n").arg(shown(cover->imageUID()), *size)
                              : QStringLiteral("   cover: %1\n").arg(shown(cover->imageUID())));
        }
    }
    Console::errLine(browser.statusMessage());
}

} // namespace

ExitCode DiscogsCommand::search(BrowserController &browser, TerminalUserInterface &ui, const QString &text)
{
    QEventLoop loop;
    bool done = false;
    const auto finish = [&] {
        done = true;
        // Let the alert posted with a failure run before leaving.
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    };
    QObject::connect(&browser, &BrowserController::releasesChanged, &loop, finish);
    // Ctrl-C dismisses the progress sheet; the search stops once its batch has been cancelled.
    QObject::connect(&browser, &BrowserController::searchStopped, &loop, finish);
    ui.clearInterruption();
    browser.setSearchString(text);
    browser.searchDiscogs();
    if (!done)
        loop.exec();
    if (ui.wasInterrupted()) {
        Console::errLine(Localized::text("CliSearchStopped"));
        return ExitCode::Failures;
    }
    if (browser.sawUnauthorized())
        Console::errLine(Localized::text("DiscogsNeedsToken"));
    if (browser.failed()) {
        Console::errLine(Localized::text("DiscogsLookupFailed"));
        return ExitCode::Failures;
    }
    if (!browser.releases().isEmpty())
        return ExitCode::Success;
    if (browser.sawUnauthorized())
        return ExitCode::Failures;
    // Nothing found because nothing could be asked is a failed lookup, not an empty result.
    if (const auto unused = browser.firstUnusedAnswer()) {
        if (unused->statusCode == 0)
            Console::errLine(Localized::text("DiscogsNotReachedX").arg(unused->error));
        else if (unused->statusCode == 200)
            Console::errLine(Localized::text("DiscogsAnsweredEmpty"));
        else
            Console::errLine(Localized::text("DiscogsAnsweredStatusX").arg(unused->statusCode));
        return ExitCode::Failures;
    }
    return ExitCode::Success;
}

QString DiscogsCommand::synopsis() const
{
    return QStringLiteral("search TEXT | apply TEXT PATH...");
}

const QList<OptionDefinition> &DiscogsCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        {QStringLiteral("release"), QChar(), QStringLiteral("N"), "CliHelpDiscogsRelease"},
        {QStringLiteral("cover"), QChar(), QStringLiteral("N"), "CliHelpDiscogsCover"},
        {QStringLiteral("uncheck"), QChar(), QStringLiteral("ROWS"), "CliHelpDiscogsUncheck"},
    };
    return definitions;
}

Result<void> DiscogsCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    if (operands->size() < 2 || (operands->at(0).text != QLatin1String("search") && operands->at(0).text != QLatin1String("apply")))
        return Error{ErrorCode::InvalidArgument, Localized::text("CliDiscogsUsage")};
    m_apply = operands->takeFirst().text == QLatin1String("apply");
    m_text = operands->takeFirst().text;
    if (!m_apply) {
        if (!operands->isEmpty() || options.has("release") || options.has("cover") || options.has("uncheck"))
            return Error{ErrorCode::InvalidArgument, Localized::text("CliDiscogsUsage")};
        return {};
    }
    m_applyCommand.text = m_text;
    return m_applyCommand.parseOptions(options, operands);
}

ExitCode DiscogsCommand::run(CommandContext &context)
{
    if (m_apply)
        return m_applyCommand.run(context);
    BrowserController browser(context.ui);
    const ExitCode code = search(browser, *context.ui, m_text);
    if (code == ExitCode::Success)
        printReleases(browser, context.global.json);
    return code;
}

Result<void> DiscogsApplyCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    if (options.has("release") && options.has("cover"))
        return Error{ErrorCode::InvalidArgument, Localized::text("CliDiscogsUsage")};
    const Result<int> release = positiveNumber(options, QStringLiteral("release"));
    if (!release)
        return release.error();
    const Result<int> cover = positiveNumber(options, QStringLiteral("cover"));
    if (!cover)
        return cover.error();
    releaseNumber = release.value();
    coverNumber = cover.value();
    uncheckedRows.clear();
    if (options.has("uncheck")) {
        for (const QString &part : options.value("uncheck").split(QLatin1Char(','))) {
            bool ok = false;
            const int row = part.trimmed().toInt(&ok);
            if (!ok || row < 1)
                return Error{ErrorCode::InvalidArgument, Localized::text("CliBadNumber").arg(QStringLiteral("--uncheck"))};
            uncheckedRows.append(row);
        }
    }
    return {};
}

ExitCode DiscogsApplyCommand::prepare(CommandContext &context)
{
    m_browser = std::make_unique<BrowserController>(context.ui);
    const ExitCode code = DiscogsCommand::search(*m_browser, *context.ui, text);
    if (code != ExitCode::Success)
        return code;
    const auto covers = m_browser->covers();
    const auto releases = m_browser->releases();
    qsizetype index = coverNumber > 0 ? coverNumber - 1 : 0;
    if (releaseNumber > 0) {
        index = -1;
        if (releaseNumber <= releases.size()) {
            const Release *wanted = releases.at(releaseNumber - 1).get();
            for (qsizetype i = 0; i < covers.size() && index < 0; ++i)
                index = covers.at(i)->rel() == wanted ? i : -1;
        }
    }
    if (index < 0 || index >= covers.size()) {
        Console::errLine(Localized::text("CliDiscogsNoSuchRelease"));
        return ExitCode::Failures;
    }
    m_browser->setSelectedIndex(index);
    Release *release = m_browser->currentRelease();
    for (int row : uncheckedRows)
        if (row <= release->countOfFlags())
            release->replaceObjectInFlagsAtIndex(row - 1, 0);
    return ExitCode::Success;
}

CommandOutcome DiscogsApplyCommand::apply(CommandContext &context)
{
    ImageController images(context.editor);
    NumberingController numbering(context.editor);
    CapitalizationController capitalization(context.editor);
    NamingController naming(*context.editor);
    AllInOneController allInOne(&numbering, &capitalization, &naming);
    ReleaseApplier applier(m_browser.get(), context.editor, &images, &allInOne);
    return applier.applySearchResultsToSongs() ? CommandOutcome() : CommandOutcome{1, {}};
}
