#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The window's bottom bar: the status line on the left (songs loaded and selected) and, while
// work goes on, the progress on the right: its text, a bar (counting when the total is known,
// busy otherwise) and a Cancel button for work that can be stopped.
class BottomBar : public QWidget {
    Q_OBJECT

public:
    explicit BottomBar(QWidget *parent = nullptr);

    void setStatusText(const QString &text);
    QString statusText() const;

    // An empty text hides the progress. Painted at once, since work on the main thread may
    // follow.
    void showProgress(const QString &text);
    void showCountedProgress(const QString &text, qint64 done, qint64 total, std::function<void()> cancel);
    bool isProgressShown() const;
    QString progressText() const;

    QPushButton *cancelButton() const { return m_cancel; }
    QProgressBar *progressBar() const { return m_bar; }

private:
    void cancelClicked();

    QLabel *m_status;
    QLabel *m_progressText;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    std::function<void()> m_cancelWork;
};
