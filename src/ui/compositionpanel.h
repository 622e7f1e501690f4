#pragma once

#include "tools/compositioncontroller.h"
#include "ui/panelcontrols.h"

#include <QWidget>

class MainWindow;

// The composition panel: sets the title or the comment of the selected songs to a text built
// from their own values, by the title-and-track pattern or the custom one.
class CompositionPanel : public QWidget {
    Q_OBJECT

public:
    explicit CompositionPanel(MainWindow &window, QWidget *parent = nullptr);

    const PanelControls::CustomPattern &custom() const { return m_custom; }

    void applyToSelection();

private:
    CompositionController m_composition;
    PanelControls::CustomPattern m_custom;
};
