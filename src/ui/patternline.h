#pragma once

#include "tools/pattern.h"

#include <QFont>
#include <QList>
#include <QString>

class QPainter;
class QPalette;

// A pattern laid out on one line in a font: tokens as rounded chips with their display names,
// literals as plain text. Knows where each caret position falls and draws the line with a
// selection.
class PatternLine {
public:
    PatternLine(const Pattern &pattern, const QFont &font);

    // The x of a caret position (0 to the pattern's width), from the line's start.
    int x(qsizetype position) const { return m_x.value(qBound(qsizetype(0), position, m_x.size() - 1)); }
    int width() const { return m_x.last(); }
    // The caret position nearest to x, and the position of the character or chip under it.
    qsizetype nearestPosition(int x) const;
    qsizetype positionUnder(int x) const;

    // Draws the line with its text's top at top and its start at left; the positions
    // [selectionStart, selectionEnd) are drawn selected.
    void draw(QPainter *painter, int left, int top, const QPalette &colors, qsizetype selectionStart, qsizetype selectionEnd) const;

private:
    void drawChip(QPainter *painter, const QString &name, qsizetype position, int top, const QPalette &colors, bool selected) const;

    Pattern m_pattern;
    QFont m_font;
    QList<int> m_x;
};
