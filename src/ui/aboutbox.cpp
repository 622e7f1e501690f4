#include "ui/aboutbox.h"

#include "model/localized.h"
#include "quorlversion.h"
#include "ui/icons.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutBox::AboutBox(QWidget *window)
    : QDialog(window)
    , m_product(new QLabel(QApplication::applicationDisplayName(), this))
    , m_version(new QLabel(Localized::text("VersionX").arg(QStringLiteral(QUORL_VERSION)), this))
    , m_copyright(new QLabel(Localized::text("Copyright"), this))
{
    setWindowTitle(Localized::text("AboutX").arg(QApplication::applicationDisplayName()));
    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::application().pixmap(96, 96));
    icon->setAlignment(Qt::AlignCenter);
    QFont bold = m_product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    m_product->setFont(bold);
    for (QLabel *label : {m_product, m_version, m_copyright}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_copyright->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(icon);
    layout->addWidget(m_product);
    layout->addWidget(m_version);
    layout->addWidget(m_copyright);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void AboutBox::showAboutBox()
{
    if (isVisible())
        return;
    show();
    raise();
    activateWindow();
}

QString AboutBox::productText() const
{
    return m_product->text();
}

QString AboutBox::versionText() const
{
    return m_version->text();
}

QString AboutBox::copyrightText() const
{
    return m_copyright->text();
}
