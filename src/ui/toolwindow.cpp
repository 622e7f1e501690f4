#include "ui/toolwindow.h"

#include "model/localized.h"
#include "ui/windowmemory.h"

#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

ToolWindow::ToolWindow(ToolPanel panel, QWidget *content, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , m_panel(panel)
    , m_content(content)
{
    setObjectName(ToolPanels::visibilityKey(panel));
    setWindowTitle(Localized::text(titleKey(panel)));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(content);
    // Ctrl+W closes the panel as it closes any window of the desktop.
    auto *closing = new QShortcut(QKeySequence::Close, this);
    connect(closing, &QShortcut::activated, this, &QWidget::close);
    m_placed = WindowMemory::restore(this, geometryKey(panel));
    if (!m_placed)
        resize(sizeHint());
}

ToolWindow::~ToolWindow()
{
    // A panel left open when the main window goes keeps its place for the next run.
    if (isVisible())
        storeGeometry();
}

const char *ToolWindow::titleKey(ToolPanel panel)
{
    switch (panel) {
    case ToolPanel::Numbering: return "NumberingPanel";
    case ToolPanel::Naming: return "NamingPanel";
    case ToolPanel::Capitalization: return "CapitalizationPanel";
    case ToolPanel::Extraction: return "ExtractionPanel";
    case ToolPanel::Lyrics: return "LyricsPanel";
    case ToolPanel::Composition: return "CompositionPanel";
    }
    return "";
}

QString ToolWindow::geometryKey(ToolPanel panel)
{
    QString key = ToolPanels::visibilityKey(panel);
    key.replace(QStringLiteral("_VISIBLE"), QStringLiteral("_GEOMETRY"));
    return key;
}

void ToolWindow::storeGeometry() const
{
    WindowMemory::store(this, geometryKey(m_panel));
}

void ToolWindow::placeBesideMainWindow()
{
    m_placed = true;
    const QWidget *mainWindow = parentWidget();
    if (!mainWindow)
        return;
    constexpr int Gap = 8;
    constexpr int Cascade = 32;
    const QRect frame = mainWindow->frameGeometry();
    const QRect screen = mainWindow->screen()->availableGeometry();
    const int step = int(m_panel) * Cascade;
    const int x = std::max(screen.left(), std::min(frame.right() + Gap, screen.right() - width()));
    const int y = std::max(screen.top(), std::min(frame.top() + step, screen.bottom() - height()));
    move(x, y);
}

void ToolWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void ToolWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    storeGeometry();
    // A hide the desktop made (the main window minimized) leaves the panel open.
    emit visibilityChanged(isVisible());
}

void ToolWindow::Handle::show()
{
    if (!m_window.m_placed)
        m_window.placeBesideMainWindow();
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}
