#include "ui/mainwindow.h"

#include "editor/campaign.h"
#include "editor/editorcontroller.h"
#include "editor/fieldeditor.h"
#include "editor/imagecontroller.h"
#include "editor/savecontroller.h"
#include "editor/songtablemodel.h"
#include "editor/transformers.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "ui/aboutbox.h"
#include "ui/allinonecommand.h"
#include "ui/bottombar.h"
#include "ui/browserview.h"
#include "ui/coverpanel.h"
#include "ui/desktoplinks.h"
#include "ui/desktopnotifier.h"
#include "ui/fieldarea.h"
#include "ui/icons.h"
#include "ui/librarycommand.h"
#include "ui/preferencesdialog.h"
#include "ui/previewwindow.h"
#include "ui/progresssheet.h"
#include "ui/songtableview.h"
#include "ui/toolpanelset.h"
#include "ui/tsvdialogs.h"
#include "ui/viewswitch.h"
#include "ui/windowmemory.h"
#include "ui/windowprogress.h"
#include "ui/windowquestions.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The field area may be made between these widths; the table takes the rest of the window.
constexpr int SidePanelMinimumWidth = 280;
constexpr int SidePanelMaximumWidth = 400;
constexpr QSize DefaultSize(1200, 760);

QKeySequence standardOr(QKeySequence::StandardKey key, const QKeySequence &fallback)
{
    return QKeySequence::keyBindings(key).isEmpty() ? fallback : QKeySequence(key);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("%1[*]").arg(QApplication::applicationDisplayName()));
    setWindowIcon(Icons::application());
    m_questions = std::make_unique<WindowQuestions>(this);
    m_table = new SongTableView;
    m_bottomBar = new BottomBar;
    m_progressSheet = new ProgressSheet(this);
    m_progress = std::make_unique<WindowProgress>(m_bottomBar, m_progressSheet);
    m_editor = std::make_unique<EditorController>(m_questions.get(), m_progress.get(), m_table);
    // The window stays responsive while songs are read; they enter the table as they come.
    m_editor->setLoadsInBackground(true);
    m_saver = std::make_unique<SaveController>(*m_editor, m_writer);
    m_fieldEditor = std::make_unique<FieldEditor>(m_editor.get());
    m_model = new SongTableModel(m_editor.get(), this);
    m_table->setSongModel(m_model);
    m_images = new ImageController(m_editor.get(), this);
    m_desktopLinks = new DesktopLinks(QDBusConnection::sessionBus(), {}, this);
    m_outsideLinks.setOpener(m_desktopLinks);
    m_notifier = new DesktopNotifier(QDBusConnection::sessionBus(), this);
    m_questions->setNotificationSink([this](const QString &title, const QString &text) {
        statusBar()->showMessage(QStringLiteral("%1 — %2").arg(title, text), 8000);
        m_notifier->notify(title, text);
    });
    m_toolPanels.setActivateMainWindow([this] {
        raise();
        activateWindow();
    });

    buildViews();
    buildActions();
    m_toolPanelSet = new ToolPanelSet(m_toolPanels, this);
    m_allInOne = new AllInOneCommand(*this);
    m_tsvDialogs = new TsvDialogs(*this);
    m_libraryCommand = new LibraryCommand(*this);
    buildMenus();
    buildToolBar();
    addToolPanels(*m_toolPanelSet, *this);
    statusBar()->addPermanentWidget(m_bottomBar, 1);
    statusBar()->setSizeGripEnabled(true);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &MainWindow::refreshNow);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::selectionChanged);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &MainWindow::songsChanged);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &MainWindow::songsChanged);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &MainWindow::songsChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &MainWindow::songsChanged);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &MainWindow::songsChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &MainWindow::songsChanged);
    connect(m_table, &SongTableView::previewRequested, this, &MainWindow::togglePreview);

    resize(DefaultSize);
    restoreLayout();
    m_viewSwitch->showEditor();
    refreshNow();
}

MainWindow::~MainWindow()
{
    // The views and the model go first: they observe the songs, which the editor owns.
    m_refresh.stop();
    delete m_toolPanelSet;
    delete takeCentralWidget();
    delete m_model;
    delete m_images;
}

// ---- Views ------------------------------------------------------------------------------------------

void MainWindow::buildViews()
{
    m_fieldArea = new FieldArea(m_editor.get(), m_fieldEditor.get());
    m_coverPanel = new CoverPanel(m_images);

    auto *fields = new QScrollArea;
    fields->setWidget(m_fieldArea);
    fields->setWidgetResizable(true);
    fields->setFrameShape(QFrame::NoFrame);
    fields->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_sideSplit = new QSplitter(Qt::Vertical);
    m_sideSplit->setObjectName(QStringLiteral("sidePanel"));
    m_sideSplit->addWidget(fields);
    m_sideSplit->addWidget(m_coverPanel);
    m_sideSplit->setChildrenCollapsible(false);
    m_sideSplit->setStretchFactor(0, 0);
    m_sideSplit->setStretchFactor(1, 1);
    m_sideSplit->setMinimumWidth(SidePanelMinimumWidth);
    m_sideSplit->setSizes({m_fieldArea->sizeHint().height() + 4, DefaultSize.height()});
    m_sideSplit->setMaximumWidth(SidePanelMaximumWidth);

    m_editorSplit = new QSplitter(Qt::Horizontal);
    m_editorSplit->setObjectName(QStringLiteral("editor"));
    m_editorSplit->addWidget(m_sideSplit);
    m_editorSplit->addWidget(m_table);
    m_editorSplit->setChildrenCollapsible(false);
    // Only the table grows and shrinks with the window.
    m_editorSplit->setStretchFactor(0, 0);
    m_editorSplit->setStretchFactor(1, 1);
    m_editorSplit->setSizes({SidePanelMinimumWidth + 60, DefaultSize.width() - SidePanelMinimumWidth - 60});

    // The browser view: the online lookup.
    m_browserView = new BrowserView(m_editor.get(), m_images, m_questions.get(), m_progress.get());
    m_searchField = m_browserView->searchField();

    m_views = new QStackedWidget;
    m_views->addWidget(m_editorSplit);
    m_views->addWidget(m_browserView);
    setCentralWidget(m_views);
    m_viewSwitch = new ViewSwitch(m_views, m_editorSplit, m_table, m_browserView, m_searchField, this);
    connect(m_browserView, &BrowserView::releaseApplied, m_viewSwitch, &ViewSwitch::showEditor);
    // Stop ends the search at once: a stage that ends before the search would have noticed must
    // not start the next one.
    connect(m_progressSheet, &QDialog::rejected, m_browserView, &BrowserView::stopSearch);
}

// ---- Commands ---------------------------------------------------------------------------------------

QAction *MainWindow::addCommand(Command command, const char *textKey, void (MainWindow::*slot)())
{
    auto *made = new QAction(Localized::text(textKey), this);
    connect(made, &QAction::triggered, this, slot);
    m_actions.insert(command, made);
    return made;
}

void MainWindow::buildActions()
{
    addCommand(Command::Add, "MenuAdd", &MainWindow::addSongs)->setShortcut(QKeySequence::Open);
    addCommand(Command::Reload, "MenuReload", &MainWindow::reloadSongs)->setShortcut(QKeySequence::Refresh);
    addCommand(Command::Save, "MenuSave", &MainWindow::save)->setShortcut(QKeySequence::Save);
    addCommand(Command::SaveForced, "MenuSaveForced", &MainWindow::saveForced)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addCommand(Command::Remove, "MenuRemove", &MainWindow::removeSongs)->setShortcut(QKeySequence::Delete);
    addCommand(Command::ClearList, "MenuClearList", &MainWindow::clearList);
    addCommand(Command::Preferences, "MenuPreferences", &MainWindow::showPreferences)
        ->setShortcut(standardOr(QKeySequence::Preferences, QKeySequence(Qt::CTRL | Qt::Key_Comma)));
    addCommand(Command::Quit, "MenuQuit", &MainWindow::quit)
        ->setShortcut(standardOr(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    addCommand(Command::SelectAll, "MenuSelectAll", &MainWindow::selectAll)->setShortcut(QKeySequence::SelectAll);
    QAction *link = addCommand(Command::LinkArtists, "MenuLinkArtists", &MainWindow::toggleArtistsLink);
    link->setCheckable(true);
    addCommand(Command::RemoveAllPictures, "MenuRemoveAllPictures", &MainWindow::removeAllPictures);
    auto *editorView = new QAction(Localized::text("MenuEditor"), this);
    auto *browserView = new QAction(Localized::text("MenuBrowser"), this);
    m_actions.insert(Command::ShowEditor, editorView);
    m_actions.insert(Command::ShowBrowser, browserView);
    editorView->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    browserView->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    m_viewGroup = new QActionGroup(this);
    for (QAction *view : {editorView, browserView}) {
        view->setCheckable(true);
        m_viewGroup->addAction(view);
    }
    editorView->setChecked(true);
    connect(editorView, &QAction::triggered, m_viewSwitch, &ViewSwitch::showEditor);
    connect(browserView, &QAction::triggered, m_viewSwitch, &ViewSwitch::showBrowser);
    connect(m_viewSwitch, &ViewSwitch::viewChanged, this, [editorView, browserView](bool editorVisible) {
        (editorVisible ? editorView : browserView)->setChecked(true);
    });
    addCommand(Command::FullScreen, "EnterFullScreen", &MainWindow::toggleFullScreen)
        ->setShortcut(standardOr(QKeySequence::FullScreen, QKeySequence(Qt::Key_F11)));
    addCommand(Command::About, "MenuAbout", &MainWindow::showAbout);
    auto addLink = [this](Command command, const char *textKey, auto run) {
        auto *made = new QAction(Localized::text(textKey), this);
        connect(made, &QAction::triggered, this, run);
        m_actions.insert(command, made);
    };
    addLink(Command::SearchInStore, "MenuSearchInStore",
            [this] { m_outsideLinks.searchInAmazon(m_editor->selectedObjects()); });
    addLink(Command::SearchInDiscogs, "MenuSearchInDiscogs", [this] { searchInDiscogs(); });
    addLink(Command::ShowInFileManager, "MenuShowInFileManager",
            [this] { m_outsideLinks.openInFinder(m_editor->selectedObjects()); });
    addLink(Command::SendFeedback, "MenuSendFeedback", [this] { m_outsideLinks.sendFeedback(); });
    addLink(Command::PrivacyPolicy, "MenuPrivacyPolicy", [this] { m_outsideLinks.showPrivacyPolicy(); });
    for (QAction *each : std::as_const(m_actions))
        each->setShortcutContext(Qt::WindowShortcut);
    // Space in the song table; in a text field it types a blank.
    QAction *preview = addCommand(Command::Preview, "MenuPreview", &MainWindow::togglePreview);
    preview->setShortcut(QKeySequence(Qt::Key_Space));
    preview->setShortcutContext(Qt::WidgetShortcut);
    m_table->addAction(preview);
    m_viewSwitch->setBeforeShowingBrowser([this] {
        closePreview();
        m_browserView->followQuery(m_editor->selectedObjects());
    });
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(Localized::text("MenuFile"));
    file->addAction(action(Command::Add));
    file->addAction(action(Command::Reload));
    file->addSeparator();
    file->addAction(action(Command::Save));
    file->addAction(action(Command::SaveForced));
    file->addSeparator();
    file->addAction(action(Command::Remove));
    file->addAction(action(Command::ClearList));
    file->addSeparator();
    file->addAction(m_tsvDialogs->exportAction());
    file->addAction(m_tsvDialogs->importAction());
    file->addSeparator();
    file->addAction(action(Command::Preferences));
    file->addSeparator();
    file->addAction(action(Command::Quit));

    QMenu *edit = menuBar()->addMenu(Localized::text("MenuEdit"));
    edit->addAction(action(Command::SelectAll));
    edit->addSeparator();
    QMenu *clear = edit->addMenu(Localized::text("MenuClearField"));
    const struct {
        const char *key;
        void (FieldEditor::*command)();
    } clears[] = {
        {"Title", &FieldEditor::clearTitle},       {"Artist", &FieldEditor::clearArtist},
        {"AlbumArtist", &FieldEditor::clearAlbumArtist}, {"Album", &FieldEditor::clearAlbum},
        {"Composer", &FieldEditor::clearComposer}, {"Track", &FieldEditor::clearTrackNumber},
        {"Disc", &FieldEditor::clearDisc},         {"Year", &FieldEditor::clearYear},
        {"Comment", &FieldEditor::clearComment},
    };
    for (const auto &entry : clears) {
        const auto command = entry.command;
        clear->addAction(Localized::text(entry.key), this, [this, command] { (m_fieldEditor.get()->*command)(); });
    }
    clear->addAction(Localized::text("Genre"), this, [this] { m_fieldEditor->clearGenre(false); });
    clear->addSeparator();
    clear->addAction(Localized::text("MenuClearGenreHistory"), this, [this] {
        m_fieldEditor->clearGenre(true);
        m_fieldArea->refresh(false);
    });
    edit->addAction(action(Command::LinkArtists));
    edit->addSeparator();
    edit->addAction(action(Command::RemoveAllPictures));
    edit->addSeparator();
    edit->addAction(action(Command::SearchInDiscogs));
    edit->addAction(action(Command::SearchInStore));
    edit->addAction(action(Command::ShowInFileManager));
    edit->addAction(m_libraryCommand->action());

    QMenu *view = menuBar()->addMenu(Localized::text("MenuView"));
    view->addAction(action(Command::ShowEditor));
    view->addAction(action(Command::ShowBrowser));
    view->addSeparator();
    QMenu *columns = view->addMenu(Localized::text("Columns"));
    connect(columns, &QMenu::aboutToShow, this, [this, columns] {
        columns->clear();
        QMenu *fresh = m_table->createColumnsMenu(columns);
        const QList<QAction *> entries = fresh->actions();
        for (QAction *entry : entries)
            columns->addAction(entry);
    });
    view->addAction(action(Command::Preview));
    view->addSeparator();
    view->addAction(action(Command::FullScreen));

    QMenu *tools = menuBar()->addMenu(Localized::text("MenuTools"));
    for (ToolPanel panel : ToolPanels::All)
        tools->addAction(m_toolPanelSet->action(panel));
    tools->addSeparator();
    tools->addAction(m_allInOne->action());

    QMenu *help = menuBar()->addMenu(Localized::text("MenuHelp"));
    help->addAction(action(Command::SendFeedback));
    help->addAction(action(Command::PrivacyPolicy));
    help->addSeparator();
    help->addAction(action(Command::About));
}

void MainWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(Localized::text("ToolBar"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    action(Command::Add)->setIcon(Icons::icon(Icons::Add));
    action(Command::Remove)->setIcon(Icons::icon(Icons::Remove));
    bar->addAction(action(Command::Add));
    bar->addAction(action(Command::Remove));
    bar->addSeparator();
    bar->addAction(action(Command::Save));
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    // The view switch, as two buttons of one group.
    bar->addAction(action(Command::ShowEditor));
    bar->addAction(action(Command::ShowBrowser));
}

// ---- Command handlers -------------------------------------------------------------------------------

void MainWindow::openFiles(const QStringList &paths)
{
    if (!paths.isEmpty())
        m_editor->openFiles(paths);
}

void MainWindow::addSongs()
{
    m_editor->addSongs();
}

void MainWindow::reloadSongs()
{
    if (!m_saver->isSaving())
        m_editor->reloadSongs();
}

void MainWindow::save()
{
    startSaving(false);
}

void MainWindow::saveForced()
{
    startSaving(true);
}

void MainWindow::startSaving(bool forced)
{
    if (m_saver->isSaving())
        return;
    setEditingBlocked(true);
    m_saver->startSaving(forced, [this](const SaveReport &) {
        setEditingBlocked(false);
        scheduleRefresh();
    });
}

void MainWindow::removeSongs()
{
    m_editor->removeSongs();
}

void MainWindow::clearList()
{
    m_editor->clearSongs();
}

void MainWindow::showPreferences()
{
    preferences()->showSheet();
}

PreferencesDialog *MainWindow::preferences()
{
    if (!m_preferences)
        m_preferences = new PreferencesDialog(this);
    return m_preferences;
}

AboutBox *MainWindow::aboutBox()
{
    if (!m_aboutBox)
        m_aboutBox = new AboutBox(this);
    return m_aboutBox;
}

void MainWindow::quit()
{
    // Quitting keeps the tool panels open until the end, so that the next start shows them.
    if (!mayEnd())
        return;
    m_toolPanels.applicationWillTerminate();
    m_ending = true;
    close();
}

void MainWindow::selectAll()
{
    // In a text field the shortcut selects its text; the menu entry always selects every song.
    m_table->selectAll();
}

void MainWindow::toggleArtistsLink()
{
    m_fieldEditor->toggleArtistsLink();
}

void MainWindow::removeAllPictures()
{
    m_images->removeAllImages();
}

void MainWindow::toggleFullScreen()
{
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

PreviewWindow *MainWindow::preview()
{
    if (!m_preview)
        m_preview = new PreviewWindow(this);
    return m_preview;
}

Song *MainWindow::previewedSong() const
{
    const QModelIndex current = m_table->currentIndex();
    if (current.isValid() && m_table->selectionModel()->isRowSelected(current.row()))
        return m_model->song(current.row());
    const QList<Song *> selected = m_editor->selectedObjects();
    return selected.isEmpty() ? nullptr : selected.first();
}

void MainWindow::togglePreview()
{
    if (m_preview && m_preview->isVisible()) {
        closePreview();
        return;
    }
    Song *song = previewedSong();
    if (!song)
        return;
    preview()->showSong(song);
    if (!m_preview->isVisible()) {
        // Over the window's right edge, within the screen.
        const QRect frame = frameGeometry();
        const QRect screen = this->screen()->availableGeometry();
        m_preview->move(std::max(screen.left(), std::min(frame.right() - m_preview->width() / 2, screen.right() - m_preview->width())),
                        frame.top() + 80);
    }
    m_preview->show();
}

void MainWindow::closePreview()
{
    if (m_preview)
        m_preview->hide();
}

void MainWindow::showAbout()
{
    aboutBox()->showAboutBox();
}

void MainWindow::searchInDiscogs()
{
    m_viewSwitch->showBrowser();
    QTimer::singleShot(ViewSwitch::FocusDelayMs, m_browserView, &BrowserView::search);
}

// ---- Following the songs ------------------------------------------------------------------------------

void MainWindow::selectionChanged()
{
    m_selectionDirty = true;
    scheduleRefresh();
}

void MainWindow::songsChanged()
{
    m_songsDirty = true;
    scheduleRefresh();
}

void MainWindow::scheduleRefresh()
{
    if (!m_refresh.isActive())
        m_refresh.start();
}

void MainWindow::refreshNow()
{
    m_refresh.stop();
    const bool selection = m_selectionDirty;
    m_selectionDirty = false;
    m_songsDirty = false;
    m_bottomBar->setStatusText(m_editor->statusMessage());
    m_fieldArea->refresh(selection);
    if (selection)
        m_images->selectionDidChange();
    else
        m_images->imagesDidChange();
    // The preview follows the selection while it shows.
    if (m_preview && m_preview->isVisible())
        m_preview->showSong(previewedSong());
    setWindowModified(Songs2IsDirtyTransformer::transformedValue(m_editor->arrangedObjects()));
    updateActions();
}

void MainWindow::updateActions()
{
    const bool saving = m_saver->isSaving();
    const bool anySongs = !m_editor->songs().empty();
    const bool anySelected = m_table->selectionModel()->hasSelection();
    action(Command::Add)->setEnabled(!saving);
    action(Command::Reload)->setEnabled(!saving && anySongs);
    action(Command::Save)->setEnabled(!saving);
    action(Command::SaveForced)->setEnabled(!saving && anySongs);
    action(Command::Remove)->setEnabled(!saving && anySelected);
    action(Command::ClearList)->setEnabled(!saving && anySongs);
    action(Command::SearchInStore)->setEnabled(anySelected);
    action(Command::SearchInDiscogs)->setEnabled(anySelected);
    action(Command::ShowInFileManager)->setEnabled(anySelected);
    action(Command::RemoveAllPictures)->setEnabled(!saving && m_images->pictureCount() > 0);
    action(Command::LinkArtists)->setEnabled(!saving);
    action(Command::LinkArtists)->setChecked(UserDefaults::shared().boolForKey(QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST")));
}

void MainWindow::setEditingBlocked(bool blocked)
{
    m_table->setEditingBlocked(blocked);
    m_fieldArea->setEditingBlocked(blocked);
    m_coverPanel->setEditingBlocked(blocked);
    emit editingBlockedChanged(blocked);
    updateActions();
}

// ---- Window ------------------------------------------------------------------------------------------

void MainWindow::windowLoaded()
{
    m_toolPanels.restorePanelsIfNeeded();
    QTimer::singleShot(0, this, [this] { Campaign::checkCampaign(m_questions.get()); });
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange)
        updateFullScreenTitle();
    QMainWindow::changeEvent(event);
}

void MainWindow::updateFullScreenTitle()
{
    action(Command::FullScreen)->setText(Localized::text(isFullScreen() ? "ExitFullScreen" : "EnterFullScreen"));
}

bool MainWindow::mayEnd()
{
    // A save in hand finishes first; the question comes when it has.
    if (m_saver->isSaving())
        return false;
    return m_saver->applicationShouldTerminate();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_ending && !mayEnd()) {
        event->ignore();
        return;
    }
    if (!m_ending) {
        // Closing the window closes the panels with it; they are stored as closed.
        m_ending = true;
        m_toolPanels.windowWillClose();
        m_toolPanels.applicationWillTerminate();
    }
    storeLayout();
    m_editor->cancelLoading();
    m_browserView->stopSearch();
    m_libraryCommand->stop();
    event->accept();
}

void MainWindow::restoreLayout()
{
    WindowMemory::restore(this);
    WindowMemory::restore(m_editorSplit, WindowMemory::EditorSplitKey);
    WindowMemory::restore(m_sideSplit, WindowMemory::SidePanelSplitKey);
    if (WindowMemory::restore(m_table->horizontalHeader(), WindowMemory::TableHeaderKey)) {
        // Which columns show is the settings' business, not the stored header's.
        for (int column = 0; column < SongColumnCount; ++column)
            m_table->setColumnHidden(column, SongTableModel::isColumnHidden(SongColumn(column)));
        m_table->clearSortOrder();
    }
}

void MainWindow::storeLayout()
{
    WindowMemory::store(this);
    WindowMemory::store(m_editorSplit, WindowMemory::EditorSplitKey);
    WindowMemory::store(m_sideSplit, WindowMemory::SidePanelSplitKey);
    WindowMemory::store(m_table->horizontalHeader(), WindowMemory::TableHeaderKey);
}
