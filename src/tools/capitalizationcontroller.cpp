#include "tools/capitalizationcontroller.h"

#include "editor/editorcontroller.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/titlecase.h"

#include <array>

namespace {

const QString TitleCaseKey = QStringLiteral("CAPITALIZATION_TITLE_CASE");
const QString UpperCaseKey = QStringLiteral("CAPITALIZATION_UPPER_CASE");
const QString LowerCaseKey = QStringLiteral("CAPITALIZATION_LOWER_CASE");

struct TextField {
    const QString &(Song::*get)() const;
    void (Song::*set)(const QString &);
};

// The fields the tool changes, in the order they are changed.
constexpr std::array<TextField, 6> Fields = {{
    {&Song::title, &Song::setTitle},
    {&Song::artist, &Song::setArtist},
    {&Song::albumArtist, &Song::setAlbumArtist},
    {&Song::composer, &Song::setComposer},
    {&Song::album, &Song::setAlbum},
    {&Song::genre, &Song::setGenre},
}};

} // namespace

CapitalizationController::CapitalizationController(EditorController *songsController)
    : m_songsController(songsController)
{
}

void CapitalizationController::applyCapitalizationToSongs()
{
    const UserDefaults &defaults = UserDefaults::shared();
    if (defaults.boolForKey(TitleCaseKey)) {
        const bool alternate = m_isAlternateKeyDown && m_isAlternateKeyDown();
        if (!alternate)
            applyLowerCase();
        applyTitleCase();
    } else if (defaults.boolForKey(UpperCaseKey)) {
        applyUpperCase();
    } else if (defaults.boolForKey(LowerCaseKey)) {
        applyLowerCase();
    }
}

void CapitalizationController::applyTitleCase()
{
    // The style switch is read once for the whole command.
    const bool newYorkStyle = !UserDefaults::shared().boolForKey(QStringLiteral("DISABLE_NEW_YORK_STYLE"));
    transformSongs(m_songsController->selectedObjects(), [newYorkStyle](const QString &text) {
        return TextUtil::titlecaseString(text, newYorkStyle);
    });
}

void CapitalizationController::applyUpperCase()
{
    transformSongs(m_songsController->selectedObjects(), &TextUtil::uppercaseString);
}

void CapitalizationController::applyLowerCase()
{
    transformSongs(m_songsController->selectedObjects(), &TextUtil::lowercaseString);
}

void CapitalizationController::selectTitleCase()
{
    selectMode(TitleCaseKey);
}

void CapitalizationController::selectUpperCase()
{
    selectMode(UpperCaseKey);
}

void CapitalizationController::selectLowerCase()
{
    selectMode(LowerCaseKey);
}

void CapitalizationController::selectMode(const QString &modeKey)
{
    UserDefaults &defaults = UserDefaults::shared();
    for (const QString &key : {TitleCaseKey, UpperCaseKey, LowerCaseKey})
        defaults.setBool(key == modeKey, key);
}

void CapitalizationController::transformSongs(const QList<Song *> &songs, const Transform &transform)
{
    for (Song *song : songs) {
        for (const TextField &field : Fields)
            (song->*field.set)(transform((song->*field.get)()));
    }
}
