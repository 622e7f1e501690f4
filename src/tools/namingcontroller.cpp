#include "tools/namingcontroller.h"

#include "editor/editorcontroller.h"
#include "model/fileutil.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/tokenutil.h"
#include "tools/toolpreferences.h"

#include <QLocale>

#include <optional>

const QString NamingController::ArtistAndTitleKey = QStringLiteral("NAMING_ARTIST_AND_TITLE");
const QString NamingController::TrackAndTitleKey = QStringLiteral("NAMING_TRACK_AND_TITLE");
const QString NamingController::TrackArtistAndTitleKey = QStringLiteral("NAMING_TRACK_ARTIST_AND_TITLE");
const QString NamingController::CustomKey = QStringLiteral("NAMING_CUSTOM");
const QString NamingController::CustomSchemeKey = QStringLiteral("NAMING_CUSTOM_SCHEME");

namespace {

const QString Slash = QStringLiteral("/");

// The settings of one naming run, read once at its start.
struct NamingRun {
    QString scheme;
    Pattern custom;
    bool skipUnrenamableSilently = false;
    bool upperCaseExtension = false;
};

// The text split the way a file path is split: a leading or trailing "/" is a component of its
// own, empty components between separators are dropped ("/3" gives "/", "3"; "2/" gives "2",
// "/").
QStringList pathComponents(const QString &text)
{
    QStringList components;
    if (text.isEmpty())
        return components;
    if (text.startsWith(Slash))
        components.append(Slash);
    components.append(text.split(Slash, Qt::SkipEmptyParts));
    if (text.size() > 1 && text.endsWith(Slash))
        components.append(Slash);
    return components;
}

QString pairFirst(const QString &pair)
{
    return pair.isEmpty() ? QString() : pathComponents(pair).constFirst();
}

QString pairSecond(const QString &pair)
{
    const QStringList components = pathComponents(pair);
    if (components.size() != 2 || components[1] == Slash)
        return QString();
    return components[1];
}

// A fixed scheme: the tokens' values joined by the separator; nullopt, with an entry, when one
// is missing.
std::optional<QString> fixedBaseName(const QStringList &tokens, const Song &song, BatchReport *report)
{
    QString missing;
    if (!NamingController::validateProperties(tokens, song, &missing)) {
        if (report->countFailure(song))
            report->appendEntry(Localized::text("WasNotRenamedMissingNewLine").arg(song.fileName(), missing));
        return std::nullopt;
    }
    QString base;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (i > 0)
            NamingController::appendSeparator(&base);
        base += NamingController::stringForToken(tokens[i], song);
    }
    return base;
}

QString displayNameForMissingToken(const QString &tokenString)
{
    const QString name = TokenUtil::localizedTokenString(tokenString);
    return QLocale().name().startsWith(QLatin1String("en")) ? name.toLower() : name;
}

// The custom pattern: literals as they are, tokens by their values; nullopt, with one entry
// naming every missing token, when any is missing.
std::optional<QString> customBaseName(const Pattern &pattern, const Song &song, BatchReport *report)
{
    QString base;
    QString missing;
    for (const PatternElement &element : pattern) {
        if (element.isLiteral()) {
            base += element.text();
            continue;
        }
        const QString value = NamingController::stringForToken(element.text(), song);
        if (value.isEmpty())
            missing += displayNameForMissingToken(element.text()) + Slash;
        else
            base += value;
    }
    if (missing.isEmpty())
        return base;
    if (report->countFailure(song)) {
        missing.chop(1);
        report->appendEntry(Localized::text("WasNotRenamedBracket").arg(song.fileName()) + missing
                            + Localized::text("MissingNewLine"));
    }
    return std::nullopt;
}

std::optional<QString> baseName(const NamingRun &run, const Song &song, BatchReport *report)
{
    if (run.scheme == NamingController::ArtistAndTitleKey)
        return fixedBaseName({QStringLiteral("Artist"), QStringLiteral("Title")}, song, report);
    if (run.scheme == NamingController::TrackAndTitleKey)
        return fixedBaseName({QStringLiteral("Track"), QStringLiteral("Title")}, song, report);
    if (run.scheme == NamingController::TrackArtistAndTitleKey)
        return fixedBaseName({QStringLiteral("Track"), QStringLiteral("Artist"), QStringLiteral("Title")}, song,
                             report);
    if (run.scheme == NamingController::CustomKey)
        return customBaseName(run.custom, song, report);
    return QString();
}

// Sanitizes the base name and adds the extension of the file on disk; a base name that
// sanitizes to nothing leaves the song as it is.
NamingController::ProposedName finishedName(const Song &song, const QString &base, bool upperCaseExtension)
{
    using Kind = NamingController::ProposedName::Kind;
    QString extension = QLatin1Char('.') + song.extension();
    extension = upperCaseExtension ? extension.toUpper() : extension.toLower();
    const QString name = FileUtil::sanitizeFileName(base) + extension;
    if (name.size() > extension.size())
        return {Kind::Named, name};
    return {Kind::NothingLeft, QString()};
}

NamingController::ProposedName proposeName(const NamingRun &run, const Song &song, BatchReport *report)
{
    using Kind = NamingController::ProposedName::Kind;
    if (!song.isRenamable()) {
        if (!run.skipUnrenamableSilently && report->countFailure(song))
            report->appendEntry(Localized::text("CannotBeRenamedNewLine").arg(song.fileName()));
        return {Kind::NotRenamable, QString()};
    }
    if (const std::optional<QString> base = baseName(run, song, report))
        return finishedName(song, *base, run.upperCaseExtension);
    return {Kind::Missing, QString()};
}

NamingRun currentRun()
{
    const UserDefaults &defaults = UserDefaults::shared();
    NamingRun run;
    run.scheme = ToolPreferences::selectedKey(NamingController::schemeKeys());
    if (run.scheme == NamingController::CustomKey)
        run.custom = PatternUtil::storedPattern(NamingController::CustomSchemeKey);
    run.skipUnrenamableSilently = defaults.boolForKey(QStringLiteral("CONFIRMED_RENAME_RESTRICTION"));
    run.upperCaseExtension = defaults.boolForKey(QStringLiteral("CAPITALIZATION_UPPER_CASE"));
    return run;
}

} // namespace

const QStringList &NamingController::schemeKeys()
{
    static const QStringList keys{ArtistAndTitleKey, TrackAndTitleKey, TrackArtistAndTitleKey, CustomKey};
    return keys;
}

NamingController::NamingController(EditorController &editor) : m_editor(editor) {}

BatchReport NamingController::applyNamingToSongs()
{
    return applyNamingToSongs(m_editor.selectedObjects());
}

BatchReport NamingController::applyNamingToSongs(const QList<Song *> &songs)
{
    const NamingRun run = currentRun();
    BatchReport report;
    for (Song *song : songs) {
        const ProposedName proposed = proposeName(run, *song, &report);
        if (proposed.kind == ProposedName::Kind::Named)
            song->setFileName(proposed.name);
    }
    report.finish();
    report.show(m_editor.questions(), QStringLiteral("QuorlCouldNotChangeFileNamesOfOneOrMoreSongs"),
                QStringLiteral("MakeSureRelevantSongInformationCorrectlySet"));
    return report;
}

QList<NamingController::ProposedName> NamingController::proposeNames(const QList<const Song *> &songs)
{
    const NamingRun run = currentRun();
    BatchReport unused;
    QList<ProposedName> names;
    names.reserve(songs.size());
    for (const Song *song : songs)
        names.append(proposeName(run, *song, &unused));
    return names;
}

QString NamingController::stringForToken(const QString &tokenString, const Song &ofSong)
{
    const std::optional<Token> token = TokenUtil::tokenForString(tokenString);
    if (!token)
        return QString();
    switch (*token) {
    case Token::Album: return ofSong.album();
    case Token::AlbumArtist: return ofSong.albumArtist();
    case Token::Artist: return ofSong.artist();
    case Token::Genre: return ofSong.genre();
    case Token::Title: return ofSong.title();
    case Token::Comment: return ofSong.comment();
    case Token::Composer: return ofSong.composer();
    case Token::Disc: return pairFirst(ofSong.disc());
    case Token::DiscTotal: return pairSecond(ofSong.disc());
    case Token::Track: return pairFirst(ofSong.track());
    case Token::TrackTotal: return pairSecond(ofSong.track());
    case Token::Year: return ofSong.year() > 0 ? QString::number(ofSong.year()) : QString();
    case Token::Bitrate:
    case Token::Length:
    case Token::FileName:
    case Token::FilePath: return QString();
    }
    return QString();
}

bool NamingController::validateProperties(const QStringList &tokenStrings, const Song &ofSong, QString *withMessage)
{
    QString message;
    for (const QString &token : tokenStrings) {
        if (stringForToken(token, ofSong).isEmpty())
            message += token.toLower() + Slash;
    }
    if (message.isEmpty())
        return true;
    message.chop(1);
    if (withMessage)
        *withMessage = message;
    return false;
}

void NamingController::appendSeparator(QString *text)
{
    const bool hyphen = UserDefaults::shared().boolForKey(QStringLiteral("NAMING_SEPARATE_BY_HYPHEN"));
    text->append(hyphen ? QStringLiteral(" - ") : QStringLiteral(" "));
}

void NamingController::selectArtistAndTitle()
{
    ToolPreferences::selectOne(schemeKeys(), ArtistAndTitleKey);
}

void NamingController::selectTrackAndTitle()
{
    ToolPreferences::selectOne(schemeKeys(), TrackAndTitleKey);
}

void NamingController::selectTrackArtistAndTitle()
{
    ToolPreferences::selectOne(schemeKeys(), TrackArtistAndTitleKey);
}

void NamingController::selectCustom()
{
    ToolPreferences::selectOne(schemeKeys(), CustomKey);
}

Pattern NamingController::customPattern() const
{
    return PatternUtil::storedPattern(CustomSchemeKey);
}

void NamingController::saveCustom(const Pattern &pattern, bool andApply)
{
    PatternUtil::storePattern(pattern, CustomSchemeKey);
    if (andApply)
        applyNamingToSongs();
}
