#pragma once

#include "tools/capitalizationcontroller.h"

#include <QWidget>

class MainWindow;

// The capitalization panel: title case, upper case or lower case for the text fields of the
// selected songs. Title case with Alt held keeps the capitals typed inside words.
class CapitalizationPanel : public QWidget {
    Q_OBJECT

public:
    explicit CapitalizationPanel(MainWindow &window, QWidget *parent = nullptr);

    void applyToSelection();

private:
    CapitalizationController m_capitalization;
};
