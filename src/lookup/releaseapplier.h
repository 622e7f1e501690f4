#pragma once

#include <QList>
#include <QString>
#include <memory>

class AllInOneController;
class BrowserController;
class Cover;
class EditorController;
class ImageController;
class Release;

// The release table of the lookup browser and the copying of a release into the editor's
// selected songs. The k-th checked row of the current release goes to the k-th selected song.
class ReleaseApplier {
public:
    // allInOne may be null: then "ALL_IN_ONE_AFTER_APPLY" has nothing to run.
    ReleaseApplier(BrowserController *browser, EditorController *editor, ImageController *images,
                   AllInOneController *allInOne);

    // The release table.
    int numberOfRowsInTableView() const;
    // The content of a cell by column identifier ("track", "disc", "title", "artist", "mapsTo",
    // "targetFile"); the "title" cell's check state is flagForRow().
    QString cellText(const QString &columnIdentifier, int row) const;
    int flagForRow(int row) const;
    // An edit of the "title" cell toggles the row's check box; other columns ignore edits.
    // True when something changed (then the title cell and the mapping columns need redrawing).
    bool setObjectValue(const QString &columnIdentifier, int row);
    QString getTargetFileForRow(int row) const;
    void checkAll();
    void uncheckAll();

    // Applies the selected cover of the browser; nothing without covers.
    bool applySearchResultsToSongs();
    // Copies the cover's release into the selection; false when the user cancelled. The
    // disc-start list of the last apply is kept in discStarts().
    bool applyCoverWithReleaseToSelection(const std::shared_ptr<Cover> &cover);
    const QList<int> &discStarts() const { return m_discStarts; }

private:
    Release *current() const;
    void setAllFlags(int flag);

    BrowserController *m_browser;
    EditorController *m_editor;
    ImageController *m_images;
    AllInOneController *m_allInOne;
    QList<int> m_discStarts;
};
