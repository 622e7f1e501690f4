#pragma once

#include "tools/extractioncontroller.h"
#include "ui/panelcontrols.h"

#include <QWidget>

class MainWindow;
class QComboBox;
class QLabel;
class QPushButton;

// The extraction panel: fills tags of the selected songs from their file names or titles by a
// fixed or the custom pattern. Songs whose text does not fit are reported in one window-modal
// message. A custom pattern with two neighbouring fields cannot be stored.
class ExtractionPanel : public QWidget {
    Q_OBJECT

public:
    explicit ExtractionPanel(MainWindow &window, QWidget *parent = nullptr);

    QPushButton *commandButton() const { return m_command; }
    const PanelControls::CustomPattern &custom() const { return m_custom; }
    QComboBox *sourceList() const { return m_sources; }

    // The failures reported, if any.
    BatchReport applyToSelection();

private:
    // The editor's pattern can be stored only while extraction can use it.
    void updateValidity();

    ExtractionController m_extraction;
    PanelControls::CustomPattern m_custom;
    QComboBox *m_sources;
    QLabel *m_invalid;
    QPushButton *m_command;
};
