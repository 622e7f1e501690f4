#include "ui/tokenbuttons.h"

#include "tools/tokenutil.h"
#include "ui/patternfield.h"

#include <QGridLayout>
#include <QPushButton>

TokenButtons::TokenButtons(const QStringList &tokenStrings, PatternField *field, QWidget *parent) : QWidget(parent)
{
    for (const QString &tokenString : tokenStrings) {
        const std::optional<Token> token = TokenUtil::tokenForString(tokenString);
        if (!token)
            throw InvalidTokenString(tokenString);
        auto *button = new QPushButton(TokenUtil::localizedTokenString(tokenString), this);
        button->setProperty("tag", uint(*token));
        button->setProperty("tokenString", tokenString);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, field, [field, tokenString] {
            field->addToken(tokenString);
            field->setFocus(Qt::OtherFocusReason);
        });
        m_buttons.append(button);
    }
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    arrange();
}

void TokenButtons::setColumnCount(int columns)
{
    m_columns = qMax(1, columns);
    arrange();
}

QPushButton *TokenButtons::button(const QString &tokenString) const
{
    for (QPushButton *button : m_buttons) {
        if (button->property("tokenString").toString() == tokenString)
            return button;
    }
    return nullptr;
}

void TokenButtons::arrange()
{
    auto *grid = static_cast<QGridLayout *>(layout());
    for (QPushButton *button : m_buttons)
        grid->removeWidget(button);
    for (int i = 0; i < m_buttons.size(); ++i)
        grid->addWidget(m_buttons[i], i / m_columns, i % m_columns);
}
