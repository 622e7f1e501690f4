#include "ui/capitalizationpanel.h"

#include "model/localized.h"
#include "ui/mainwindow.h"
#include "ui/panelcontrols.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CapitalizationPanel::CapitalizationPanel(MainWindow &window, QWidget *parent)
    : QWidget(parent)
    , m_capitalization(&window.editor())
{
    m_capitalization.setAlternateKeyQuery(
        [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier); });

    QGroupBox *modes = PanelControls::radioGroup(
        "CapitalizationMode", {{"CapitalizationTitleCase", QStringLiteral("CAPITALIZATION_TITLE_CASE")},
                               {"CapitalizationUpperCase", QStringLiteral("CAPITALIZATION_UPPER_CASE")},
                               {"CapitalizationLowerCase", QStringLiteral("CAPITALIZATION_LOWER_CASE")}},
        this);
    auto *hint = new QLabel(Localized::text("CapitalizationAltHint"), this);
    hint->setWordWrap(true);
    hint->setForegroundRole(QPalette::PlaceholderText);
    QPushButton *command =
        PanelControls::commandButton(window, "CapitalizationApply", this, [this] { applyToSelection(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(modes);
    layout->addWidget(
        PanelControls::checkBox("CapitalizationSmallWords", QStringLiteral("DISABLE_NEW_YORK_STYLE"), this));
    layout->addWidget(hint);
    layout->addStretch(1);
    layout->addWidget(command, 0, Qt::AlignRight);
}

void CapitalizationPanel::applyToSelection()
{
    m_capitalization.applyCapitalizationToSongs();
}
