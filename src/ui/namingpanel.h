#pragma once

#include "tools/namingcontroller.h"
#include "ui/panelcontrols.h"

#include <QWidget>

#include <optional>

class MainWindow;
class QGroupBox;
class QPushButton;

// The naming panel: gives the selected songs file names built from their tags by a fixed scheme
// or the custom pattern, with a hyphen or a blank between the parts. Before a name is given the
// rename preview shows what the save would make of each file; the names are given only when the
// person applies it, and the files are renamed by the next save.
class NamingPanel : public QWidget {
    Q_OBJECT

public:
    explicit NamingPanel(MainWindow &window, QWidget *parent = nullptr);

    QGroupBox *schemes() const { return m_schemes; }
    QPushButton *commandButton() const { return m_command; }

    // Shows the preview of naming the selection; on Apply names the selection and returns the
    // naming's report (shown by then), on Cancel changes nothing and returns nullopt.
    std::optional<BatchReport> renameSelection();

private:
    MainWindow &m_window;
    NamingController m_naming;
    QGroupBox *m_schemes;
    PanelControls::CustomPattern m_custom;
    QPushButton *m_command;
};
