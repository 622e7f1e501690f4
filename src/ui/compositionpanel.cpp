#include "ui/compositionpanel.h"

#include "model/localized.h"
#include "ui/mainwindow.h"
#include "ui/patternfield.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CompositionPanel::CompositionPanel(MainWindow &window, QWidget *parent)
    : QWidget(parent)
    , m_composition(window.editor())
{
    QGroupBox *schemes = PanelControls::radioGroup(
        "CompositionScheme", {{"ComposeTitleAndTrack", CompositionController::TitleAndTrackKey},
                              {"ComposeCustom", CompositionController::CustomKey}},
        this);
    QRadioButton *customChoice = PanelControls::radioButton(schemes, CompositionController::CustomKey);
    m_custom = PanelControls::customPattern(CompositionController::CustomSchemeKey, customChoice, this,
                                            [this] { applyToSelection(); });

    QList<PanelControls::ListChoice> targets;
    for (const CompositionController::Choice &target : CompositionController::targets())
        targets.append({target.label, target.value});
    QComboBox *targetList = PanelControls::choiceList(targets, CompositionController::TargetKey, this);
    // The fixed pattern always writes the title.
    targetList->setEnabled(customChoice->isChecked());
    connect(customChoice, &QRadioButton::toggled, targetList, &QComboBox::setEnabled);

    auto *customRow = new QHBoxLayout;
    customRow->addWidget(m_custom.display, 1);
    customRow->addWidget(m_custom.edit);
    auto *targetRow = new QFormLayout;
    targetRow->addRow(Localized::text("CompositionTargetLabel"), targetList);
    auto *schemeLayout = static_cast<QVBoxLayout *>(schemes->layout());
    schemeLayout->addLayout(customRow);
    schemeLayout->addLayout(targetRow);

    QPushButton *command =
        PanelControls::commandButton(window, "CompositionApply", this, [this] { applyToSelection(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(schemes);
    layout->addStretch(1);
    layout->addWidget(command, 0, Qt::AlignRight);
}

void CompositionPanel::applyToSelection()
{
    m_composition.applyCompositionToSongs();
}
