#include "ui/tsvdialogs.h"

#include "editor/savecontroller.h"
#include "model/localized.h"
#include "ui/mainwindow.h"
#include "ui/panelcontrols.h"

#include <QAction>

TsvDialogs::TsvDialogs(MainWindow &window)
    : QObject(&window)
    , m_window(window)
    , m_tsv(window.editor())
    , m_export(new QAction(Localized::text("MenuExportTsv"), this))
    , m_import(new QAction(Localized::text("MenuImportTsv"), this))
{
    m_export->setObjectName(QStringLiteral("exportTsv"));
    m_import->setObjectName(QStringLiteral("importTsv"));
    connect(m_export, &QAction::triggered, this, &TsvDialogs::exportSelection);
    connect(m_import, &QAction::triggered, this, &TsvDialogs::importIntoSelection);
    PanelControls::followSelection(window, this, [this](bool any) {
        m_export->setEnabled(any);
        m_import->setEnabled(any);
    });
}

TsvReport TsvDialogs::exportSelection()
{
    if (m_window.saver().isSaving())
        return TsvReport();
    return m_tsv.exportSongsAsTsv();
}

TsvReport TsvDialogs::importIntoSelection()
{
    // The save reads the songs on another thread until it ends.
    if (m_window.saver().isSaving())
        return TsvReport();
    return m_tsv.importSongsFromTsv();
}
