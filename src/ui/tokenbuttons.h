#pragma once

#include <QStringList>
#include <QWidget>

class PatternField;
class QPushButton;

// One button per token a tool offers, titled with the token's display name, in rows of a few
// columns. A click inserts the token at the caret of the field (PatternField::addToken) and
// gives the field the focus back. Each button carries its token's tag number in the "tag"
// property and its token string in "tokenString".
class TokenButtons : public QWidget {
    Q_OBJECT

public:
    // Throws InvalidTokenString for a text that is no token string.
    TokenButtons(const QStringList &tokenStrings, PatternField *field, QWidget *parent = nullptr);

    // Lays the buttons out again in rows of this many (four at first).
    void setColumnCount(int columns);
    // The button of a token string; nullptr when the row has none.
    QPushButton *button(const QString &tokenString) const;

private:
    void arrange();

    QList<QPushButton *> m_buttons;
    int m_columns = 4;
};
