#include "ui/allinonecommand.h"

#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "model/localized.h"
#include "tools/renamepreview.h"
#include "ui/mainwindow.h"
#include "ui/panelcontrols.h"
#include "ui/renamepreview.h"

#include <QAction>

AllInOneCommand::AllInOneCommand(MainWindow &window)
    : QObject(&window)
    , m_window(window)
    , m_numbering(&window.editor())
    , m_capitalization(&window.editor())
    , m_naming(window.editor())
    , m_allInOne(&m_numbering, &m_capitalization, &m_naming)
    , m_action(new QAction(Localized::text("MenuAllInOne"), this))
{
    m_action->setObjectName(QStringLiteral("allInOne"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    PanelControls::followSelection(window, m_action, [this](bool any) { m_action->setEnabled(any); });
    connect(m_action, &QAction::triggered, this, [this] { run(); });
}

std::optional<BatchReport> AllInOneCommand::run()
{
    // The save reads the songs on another thread until it ends.
    const QList<Song *> songs = m_window.editor().selectedObjects();
    if (songs.isEmpty() || m_window.saver().isSaving())
        return std::nullopt;
    if (!RenamePreviewDialog::confirm(RenamePreview::forAllInOne(songs), &m_window))
        return std::nullopt;
    return m_allInOne.doAllInOne();
}
