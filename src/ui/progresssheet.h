#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress sheet of the online lookup: a window-modal dialog on the main window with an
// activity indicator, a text, a sub text and a Stop button. Idle while not shown; Stop
// dismisses it, which the lookup reads as the wish to stop.
class ProgressSheet : public QDialog {
    Q_OBJECT

public:
    explicit ProgressSheet(QWidget *window);

    // Nothing when shown already: a second call does not stack a second sheet.
    void showProgressSheet();
    void setProgressText(const QString &text);
    void setProgressSubText(const QString &text);
    void endProgressSheet();
    bool isIdle() const { return m_idle; }

    QString text() const;
    QString subText() const;
    QPushButton *stopButton() const { return m_stop; }

protected:
    void reject() override;

private:
    bool m_idle = true;
    QLabel *m_text;
    QLabel *m_subText;
    QProgressBar *m_indicator;
    QPushButton *m_stop;
};
