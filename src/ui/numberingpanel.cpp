#include "ui/numberingpanel.h"

#include "model/localized.h"
#include "ui/mainwindow.h"
#include "ui/panelcontrols.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

NumberingPanel::NumberingPanel(MainWindow &window, QWidget *parent)
    : QWidget(parent)
    , m_numbering(&window.editor())
{
    auto *hint = new QLabel(Localized::text("NumberingHint"), this);
    hint->setWordWrap(true);
    QPushButton *command = PanelControls::commandButton(window, "NumberingApply", this, [this] { applyToSelection(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(PanelControls::checkBox("NumberingLeadingZero", QStringLiteral("NUMBERING_LEADING_ZERO"), this));
    layout->addWidget(PanelControls::checkBox("NumberingTrackCount", QStringLiteral("NUMBERING_TRACK_COUNT"), this));
    layout->addStretch(1);
    layout->addWidget(command, 0, Qt::AlignRight);
}

void NumberingPanel::applyToSelection()
{
    m_numbering.applyNumberingToSongs();
}
