#include "ui/bottombar.h"

#include "model/localized.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <limits>

BottomBar::BottomBar(QWidget *parent)
    : QWidget(parent)
    , m_status(new QLabel(this))
    , m_progressText(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_cancel(new QPushButton(Localized::text("Cancel"), this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_status, 1);
    layout->addWidget(m_progressText);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel);
    m_status->setTextInteractionFlags(Qt::NoTextInteraction);
    m_bar->setTextVisible(false);
    m_bar->setFixedWidth(180);
    connect(m_cancel, &QPushButton::clicked, this, &BottomBar::cancelClicked);
    showProgress(QString());
}

void BottomBar::setStatusText(const QString &text)
{
    m_status->setText(text);
}

QString BottomBar::statusText() const
{
    return m_status->text();
}

void BottomBar::showProgress(const QString &text)
{
    const bool shown = !text.isEmpty();
    m_cancelWork = nullptr;
    m_progressText->setText(text);
    m_progressText->setVisible(shown);
    m_bar->setRange(0, 0);
    m_bar->setVisible(shown);
    m_cancel->setVisible(false);
    if (shown)
        repaint();
}

void BottomBar::showCountedProgress(const QString &text, qint64 done, qint64 total, std::function<void()> cancel)
{
    m_progressText->setText(text);
    m_progressText->setVisible(true);
    // The bar counts in ints; a larger total is scaled down.
    const qint64 scale = total > std::numeric_limits<int>::max() ? total / std::numeric_limits<int>::max() + 1 : 1;
    m_bar->setRange(0, int(total / scale));
    m_bar->setValue(int(std::min(done, total) / scale));
    m_bar->setVisible(true);
    m_cancelWork = std::move(cancel);
    m_cancel->setVisible(bool(m_cancelWork));
    m_cancel->setEnabled(true);
}

bool BottomBar::isProgressShown() const
{
    return !m_progressText->isHidden();
}

QString BottomBar::progressText() const
{
    return m_progressText->text();
}

void BottomBar::cancelClicked()
{
    // Asked once; the work ends when it has finished the item in hand.
    m_cancel->setEnabled(false);
    if (m_cancelWork)
        m_cancelWork();
}
