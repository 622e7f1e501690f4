#include "ui/extractionpanel.h"

#include "model/localized.h"
#include "ui/mainwindow.h"
#include "ui/patterneditor.h"
#include "ui/patternfield.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExtractionPanel::ExtractionPanel(MainWindow &window, QWidget *parent)
    : QWidget(parent)
    , m_extraction(window.editor())
{
    QGroupBox *schemes = PanelControls::radioGroup(
        "ExtractionScheme", {{"ExtractTrackAndTitle", ExtractionController::TrackAndTitleKey},
                             {"ExtractTrackArtistAndTitle", ExtractionController::TrackArtistAndTitleKey},
                             {"ExtractCustom", ExtractionController::CustomKey}},
        this);
    m_custom = PanelControls::customPattern(ExtractionController::CustomSchemeKey,
                                            PanelControls::radioButton(schemes, ExtractionController::CustomKey), this,
                                            [this] { applyToSelection(); });
    auto *customRow = new QHBoxLayout;
    customRow->addWidget(m_custom.display, 1);
    customRow->addWidget(m_custom.edit);
    static_cast<QVBoxLayout *>(schemes->layout())->addLayout(customRow);

    // The editor tells why its confirm button is off.
    m_invalid = new QLabel(Localized::text("ExtractionNeighbouringTokens"), m_custom.editor);
    m_invalid->setWordWrap(true);
    m_invalid->setObjectName(QStringLiteral("invalidPattern"));
    if (auto *editorLayout = qobject_cast<QBoxLayout *>(m_custom.editor->layout()))
        editorLayout->insertWidget(2, m_invalid);
    connect(m_custom.editor, &PatternEditor::patternEdited, this, &ExtractionPanel::updateValidity);
    connect(m_custom.edit, &QPushButton::clicked, this, &ExtractionPanel::updateValidity);

    QList<PanelControls::ListChoice> sources;
    for (const ExtractionController::Choice &source : ExtractionController::sources())
        sources.append({source.label, source.value});
    auto *sourceRow = new QFormLayout;
    sourceRow->addRow(Localized::text("ExtractionSourceLabel"),
                      PanelControls::choiceList(sources, ExtractionController::SourceKey, this));
    QPushButton *command =
        PanelControls::commandButton(window, "ExtractionApply", this, [this] { applyToSelection(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(schemes);
    layout->addLayout(sourceRow);
    layout->addStretch(1);
    layout->addWidget(command, 0, Qt::AlignRight);
    updateValidity();
}

void ExtractionPanel::updateValidity()
{
    const bool valid = ExtractionController::isValidPattern(m_custom.editor->field()->pattern());
    m_custom.editor->confirmButton()->setEnabled(valid);
    m_invalid->setVisible(!valid);
}

BatchReport ExtractionPanel::applyToSelection()
{
    return m_extraction.applyExtractionToSongs();
}
