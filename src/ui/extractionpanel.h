#pragma once

#include "tools/extractioncontroller.h"
#include "ui/panelcontrols.h"

#include <QWidget>

class MainWindow;
class QLabel;

// The extraction panel: fills tags of the selected songs from their file names or titles by a
// fixed or the custom pattern. Songs whose text does not fit are reported in one window-modal
// message. A custom pattern with two neighbouring fields cannot be stored.
class ExtractionPanel : public QWidget {
    Q_OBJECT

public:
    explicit ExtractionPanel(MainWindow &window, QWidget *parent = nullptr);

    const PanelControls::CustomPattern &custom() const { return m_custom; }

    // The failures reported, if any.
    BatchReport applyToSelection();

private:
    // The editor's pattern can be stored only while extraction can use it.
    void updateValidity();

    ExtractionController m_extraction;
    PanelControls::CustomPattern m_custom;
    QLabel *m_invalid;
};
