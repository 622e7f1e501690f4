#include "ui/progresssheet.h"

#include "model/localized.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ProgressSheet::ProgressSheet(QWidget *window)
    : QDialog(window)
    , m_text(new QLabel(this))
    , m_subText(new QLabel(this))
    , m_indicator(new QProgressBar(this))
    , m_stop(new QPushButton(Localized::text("Stop"), this))
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(Localized::text("ProgressSheetTitle"));
    setMinimumWidth(420);
    QFont bold = m_text->font();
    bold.setBold(true);
    m_text->setFont(bold);
    m_text->setWordWrap(true);
    m_subText->setWordWrap(true);
    m_indicator->setTextVisible(false);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_stop, QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_indicator);
    layout->addWidget(m_subText);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProgressSheet::reject);
}

void ProgressSheet::showProgressSheet()
{
    if (!m_idle)
        return;
    m_idle = false;
    m_indicator->setRange(0, 0);
    open();
}

void ProgressSheet::setProgressText(const QString &text)
{
    m_text->setText(text);
}

void ProgressSheet::setProgressSubText(const QString &text)
{
    m_subText->setText(text);
}

void ProgressSheet::endProgressSheet()
{
    m_indicator->setRange(0, 1);
    hide();
    m_idle = true;
}

QString ProgressSheet::text() const
{
    return m_text->text();
}

QString ProgressSheet::subText() const
{
    return m_subText->text();
}

void ProgressSheet::reject()
{
    // Stop and Escape dismiss the sheet; the lookup sees it idle and stops.
    endProgressSheet();
    QDialog::reject();
}
