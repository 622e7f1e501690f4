#pragma once

#include "tools/numberingcontroller.h"

#include <QWidget>

class MainWindow;
class QPushButton;

// The numbering panel: numbers the selected songs in table order, with or without leading
// zeros and the track count.
class NumberingPanel : public QWidget {
    Q_OBJECT

public:
    explicit NumberingPanel(MainWindow &window, QWidget *parent = nullptr);

    QPushButton *commandButton() const { return m_command; }

    void applyToSelection();

private:
    NumberingController m_numbering;
    QPushButton *m_command;
};
