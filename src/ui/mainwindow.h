#pragma once

#include "editor/outsidelinks.h"
#include "editor/songtablecolumns.h"
#include "editor/toolpanels.h"
#include "tags/tagswriter.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include <memory>

class AboutBox;
class AllInOneCommand;
class BottomBar;
class BrowserView;
class CoverPanel;
class DesktopLinks;
class DesktopNotifier;
class EditorController;
class FieldArea;
class FieldEditor;
class ImageController;
class LibraryCommand;
class PreferencesDialog;
class PreviewWindow;
class ProgressSheet;
class QActionGroup;
class QLineEdit;
class QSplitter;
class QStackedWidget;
class SaveController;
class Song;
class SongTableModel;
class SongTableView;
class ToolPanelSet;
class TsvDialogs;
class ViewSwitch;
class WindowProgress;
class WindowQuestions;

// The editor window: the song table with the field area and the cover panel beside it, the
// browser view behind the view switch, the menus and the bottom bar. It makes the core's
// controllers, is their user interface (questions, progress, table state) and hands every
// command to them.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // The window's commands, for menus, the tool bar and the tests.
    enum class Command {
        Add,
        Reload,
        Save,
        SaveForced,
        Remove,
        ClearList,
        Preferences,
        Quit,
        SelectAll,
        LinkArtists,
        RemoveAllPictures,
        ShowEditor,
        ShowBrowser,
        FullScreen,
        Preview,
        About,
        SearchInStore,
        SearchInDiscogs,
        ShowInFileManager,
        SendFeedback,
        PrivacyPolicy,
    };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Once the window is shown: reopens the tool panels open at the last quit and queues the
    // review prompt.
    void windowLoaded();
    // Files and folders handed over by the command line or the desktop.
    void openFiles(const QStringList &paths);

    QAction *action(Command command) const { return m_actions.value(command); }
    EditorController &editor() const { return *m_editor; }
    SaveController &saver() const { return *m_saver; }
    SongTableModel *songModel() const { return m_model; }
    SongTableView *table() const { return m_table; }
    FieldArea *fieldArea() const { return m_fieldArea; }
    CoverPanel *coverPanel() const { return m_coverPanel; }
    BottomBar *bottomBar() const { return m_bottomBar; }
    ProgressSheet *progressSheet() const { return m_progressSheet; }
    ViewSwitch *viewSwitch() const { return m_viewSwitch; }
    QLineEdit *searchField() const { return m_searchField; }
    BrowserView *browserView() const { return m_browserView; }
    DesktopNotifier *notifier() const { return m_notifier; }
    QSplitter *editorSplitter() const { return m_editorSplit; }
    QSplitter *sidePanelSplitter() const { return m_sideSplit; }
    // Made on first use.
    PreviewWindow *preview();
    PreferencesDialog *preferences();
    AboutBox *aboutBox();
    // The store search, file manager, feedback and privacy links; the tests give them another opener.
    OutsideLinks &outsideLinks() { return m_outsideLinks; }
    DesktopLinks *desktopLinks() const { return m_desktopLinks; }
    // The tool panels' windows and their Tools-menu entries.
    ToolPanelSet *toolPanelSet() const { return m_toolPanelSet; }
    // The all-in-one command of the Tools menu.
    AllInOneCommand *allInOne() const { return m_allInOne; }
    // The song-list export and import of the File menu.
    TsvDialogs *tsvDialogs() const { return m_tsvDialogs; }
    // Add to Music Library of the Edit menu.
    LibraryCommand *libraryCommand() const { return m_libraryCommand; }

    // Runs the pending refresh of the field area, the cover panel and the status line now
    // (they follow the songs and the selection once the event loop runs).
    void refreshNow();

signals:
    // A save started (true) or ended (false): the songs may not be edited meanwhile.
    void editingBlockedChanged(bool blocked);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildViews();
    void buildActions();
    void buildMenus();
    void buildToolBar();
    QAction *addCommand(Command command, const char *textKey, void (MainWindow::*slot)());
    void restoreLayout();
    void storeLayout();

    void addSongs();
    void reloadSongs();
    void save();
    void saveForced();
    void startSaving(bool forced);
    void removeSongs();
    void clearList();
    void showPreferences();
    void quit();
    void selectAll();
    void toggleArtistsLink();
    void removeAllPictures();
    void toggleFullScreen();
    void togglePreview();
    void closePreview();
    // The song the preview shows: the table's current song when selected, else the first
    // selected one.
    Song *previewedSong() const;
    void showAbout();
    // Switches to the browser and searches for the first selected song's artist and album.
    void searchInDiscogs();

    void selectionChanged();
    void songsChanged();
    void scheduleRefresh();
    void updateFullScreenTitle();
    void updateActions();
    void setEditingBlocked(bool blocked);
    // The unsaved-changes question and what follows it at the end: true when the window may go.
    bool mayEnd();

    std::unique_ptr<WindowQuestions> m_questions;
    std::unique_ptr<WindowProgress> m_progress;
    std::unique_ptr<EditorController> m_editor;
    TagsWriter m_writer;
    std::unique_ptr<SaveController> m_saver;
    std::unique_ptr<FieldEditor> m_fieldEditor;
    ToolPanels m_toolPanels;
    ToolPanelSet *m_toolPanelSet = nullptr;
    AllInOneCommand *m_allInOne = nullptr;
    TsvDialogs *m_tsvDialogs = nullptr;
    LibraryCommand *m_libraryCommand = nullptr;
    SongTableModel *m_model = nullptr;
    ImageController *m_images = nullptr;
    DesktopLinks *m_desktopLinks = nullptr;
    OutsideLinks m_outsideLinks{nullptr};

    QStackedWidget *m_views = nullptr;
    QSplitter *m_editorSplit = nullptr;
    QSplitter *m_sideSplit = nullptr;
    SongTableView *m_table = nullptr;
    FieldArea *m_fieldArea = nullptr;
    CoverPanel *m_coverPanel = nullptr;
    BrowserView *m_browserView = nullptr;
    DesktopNotifier *m_notifier = nullptr;
    QLineEdit *m_searchField = nullptr;
    BottomBar *m_bottomBar = nullptr;
    ProgressSheet *m_progressSheet = nullptr;
    ViewSwitch *m_viewSwitch = nullptr;
    PreferencesDialog *m_preferences = nullptr;
    PreviewWindow *m_preview = nullptr;
    AboutBox *m_aboutBox = nullptr;
    QHash<Command, QAction *> m_actions;
    QActionGroup *m_viewGroup = nullptr;

    QTimer m_refresh;
    bool m_selectionDirty = true;
    bool m_songsDirty = true;
    bool m_ending = false;
};
