#pragma once

#include "tools/numberingcontroller.h"

#include <QWidget>

class MainWindow;

// The numbering panel: numbers the selected songs in table order, with or without leading
// zeros and the track count.
class NumberingPanel : public QWidget {
    Q_OBJECT

public:
    explicit NumberingPanel(MainWindow &window, QWidget *parent = nullptr);

    void applyToSelection();

private:
    NumberingController m_numbering;
};
