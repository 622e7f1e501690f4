#pragma once

#include <QList>
#include <QWidget>

#include <memory>

class BrowserController;
class CoverStrip;
class EditorController;
class ImageController;
class ProgressDisplay;
class QLabel;
class QLineEdit;
class ReleaseTable;
class Song;
class UserQuestions;

// The browser view of the window: the search field, the status line with the request counters,
// the strip of covers found and the release table of the selected cover. A search runs in the
// background while the window's progress sheet shows its stages; Stop on the sheet ends it,
// and so do a new search and the window going away. The alerts, the questions of applying and
// the notification at the end go through the window's questions.
class BrowserView : public QWidget {
    Q_OBJECT

public:
    BrowserView(EditorController *editor, ImageController *images, UserQuestions *questions,
                ProgressDisplay *progress, QWidget *parent = nullptr);
    ~BrowserView() override;

    // What the editor's selection searches for: the first selected song's artist, then a blank
    // and its album when it has one; empty without a selection.
    static QString queryString(const QList<Song *> &selectedSongs);

    BrowserController &browser() const { return *m_browser; }
    QLineEdit *searchField() const { return m_searchField; }
    QLabel *statusLine() const { return m_status; }
    CoverStrip *strip() const { return m_strip; }
    ReleaseTable *releaseTable() const { return m_table; }

    // The browser is about to show: the search text follows the editor's query unless that is
    // empty.
    void followQuery(const QList<Song *> &selectedSongs);
    // Searches for the search field's text (nothing when it is empty). A search that is running
    // is stopped first.
    void search();
    // Ends a running search at once, keeping the results shown; nothing is reported.
    void stopSearch();
    bool isSearching() const;

signals:
    // A release was applied to the songs: the window goes back to the editor.
    void releaseApplied();

private:
    void searchEnded();
    void showCovers();
    void updateStatusLine();
    void selectCover(int index);
    void tellAboutCredentials();

    std::unique_ptr<BrowserController> m_browser;
    UserQuestions *m_questions;
    ProgressDisplay *m_progress;
    QLineEdit *m_searchField;
    QLabel *m_status;
    CoverStrip *m_strip;
    ReleaseTable *m_table;
    bool m_searched = false;
};
