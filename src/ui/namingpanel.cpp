#include "ui/namingpanel.h"

#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "tools/renamepreview.h"
#include "ui/mainwindow.h"
#include "ui/patterneditor.h"
#include "ui/patternfield.h"
#include "ui/renamepreview.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

NamingPanel::NamingPanel(MainWindow &window, QWidget *parent)
    : QWidget(parent)
    , m_window(window)
    , m_naming(window.editor())
{
    m_schemes = PanelControls::radioGroup(
        "NamingSchemeLabel", {{"NamingArtistAndTitle", NamingController::ArtistAndTitleKey},
                              {"NamingTrackAndTitle", NamingController::TrackAndTitleKey},
                              {"NamingTrackArtistAndTitle", NamingController::TrackArtistAndTitleKey},
                              {"NamingCustom", NamingController::CustomKey}},
        this);
    // The editor's Apply (with Alt held) goes through the preview too.
    m_custom = PanelControls::customPattern(NamingController::CustomSchemeKey,
                                            PanelControls::radioButton(m_schemes, NamingController::CustomKey), this,
                                            [this] { renameSelection(); });
    auto *customRow = new QHBoxLayout;
    customRow->addWidget(m_custom.display, 1);
    customRow->addWidget(m_custom.edit);
    static_cast<QVBoxLayout *>(m_schemes->layout())->addLayout(customRow);

    m_command = PanelControls::commandButton(window, "NamingRename", this, [this] { renameSelection(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_schemes);
    layout->addWidget(
        PanelControls::checkBox("NamingSeparateByHyphen", QStringLiteral("NAMING_SEPARATE_BY_HYPHEN"), this));
    layout->addStretch(1);
    layout->addWidget(m_command, 0, Qt::AlignRight);
}

std::optional<BatchReport> NamingPanel::renameSelection()
{
    // The save reads the songs on another thread until it ends.
    const QList<Song *> songs = m_window.editor().selectedObjects();
    if (songs.isEmpty() || m_window.saver().isSaving())
        return std::nullopt;
    // Over the editor when it is open, so that its Apply shows the preview in front of it.
    QWidget *over = m_custom.editor->isVisible() ? static_cast<QWidget *>(m_custom.editor) : this;
    if (!RenamePreviewDialog::confirm(RenamePreview::forNaming(songs), over))
        return std::nullopt;
    return m_naming.applyNamingToSongs(songs);
}
