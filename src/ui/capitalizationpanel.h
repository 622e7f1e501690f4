#pragma once

#include "tools/capitalizationcontroller.h"

#include <QWidget>

class MainWindow;
class QPushButton;

// The capitalization panel: title case, upper case or lower case for the text fields of the
// selected songs. Title case with Alt held keeps the capitals typed inside words.
class CapitalizationPanel : public QWidget {
    Q_OBJECT

public:
    explicit CapitalizationPanel(MainWindow &window, QWidget *parent = nullptr);

    QPushButton *commandButton() const { return m_command; }
    // Tells whether Alt counts as held when the command runs; the keyboard is asked otherwise.
    void setAlternateKeyQuery(std::function<bool()> query) { m_capitalization.setAlternateKeyQuery(std::move(query)); }

    void applyToSelection();

private:
    CapitalizationController m_capitalization;
    QPushButton *m_command;
};
