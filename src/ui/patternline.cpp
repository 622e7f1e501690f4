#include "ui/patternline.h"

#include "tools/tagfieldrules.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace {

// Room inside a chip around its name, and between a chip and its neighbours.
constexpr int ChipPadding = 5;
constexpr int ChipMargin = 1;

} // namespace

PatternLine::PatternLine(const Pattern &pattern, const QFont &font) : m_pattern(pattern), m_font(font)
{
    const QFontMetrics metrics(font);
    int x = 0;
    m_x.append(x);
    for (const PatternElement &element : pattern) {
        if (element.isToken()) {
            x += metrics.horizontalAdvance(TagFieldRules::displayText(element)) + 2 * (ChipPadding + ChipMargin);
            m_x.append(x);
            continue;
        }
        const QString &text = element.text();
        for (qsizetype i = 1; i <= text.size(); ++i)
            m_x.append(x + metrics.horizontalAdvance(text.first(i)));
        x = m_x.last();
    }
}

qsizetype PatternLine::nearestPosition(int x) const
{
    qsizetype best = 0;
    for (qsizetype i = 1; i < m_x.size(); ++i) {
        if (qAbs(m_x[i] - x) < qAbs(m_x[best] - x))
            best = i;
    }
    return best;
}

qsizetype PatternLine::positionUnder(int x) const
{
    qsizetype position = 0;
    while (position + 2 < m_x.size() && m_x[position + 1] <= x)
        ++position;
    return position;
}

void PatternLine::draw(QPainter *painter, int left, int top, const QPalette &colors, qsizetype selectionStart,
                       qsizetype selectionEnd) const
{
    const QFontMetrics metrics(m_font);
    const int baseline = top + metrics.ascent();
    painter->save();
    painter->translate(left, 0);
    painter->setFont(m_font);
    if (selectionStart < selectionEnd)
        painter->fillRect(QRect(x(selectionStart), top, x(selectionEnd) - x(selectionStart), metrics.height()), colors.highlight());

    qsizetype position = 0;
    for (const PatternElement &element : m_pattern) {
        const int start = m_x[position];
        if (element.isToken()) {
            const bool selected = position >= selectionStart && position < selectionEnd;
            drawChip(painter, TagFieldRules::displayText(element), position, top, colors, selected);
            ++position;
            continue;
        }
        painter->setPen(colors.color(QPalette::Text));
        painter->drawText(start, baseline, element.text());
        // The selected part again, in the selection's text colour.
        const qsizetype from = qBound(position, selectionStart, position + element.width());
        const qsizetype to = qBound(position, selectionEnd, position + element.width());
        if (from < to) {
            painter->save();
            painter->setClipRect(QRect(m_x[from], top, m_x[to] - m_x[from], metrics.height()), Qt::IntersectClip);
            painter->setPen(colors.color(QPalette::HighlightedText));
            painter->drawText(start, baseline, element.text());
            painter->restore();
        }
        position += element.width();
    }
    painter->restore();
}

void PatternLine::drawChip(QPainter *painter, const QString &name, qsizetype position, int top, const QPalette &colors,
                           bool selected) const
{
    const QFontMetrics metrics(m_font);
    const int left = m_x[position];
    const QRectF box(left + ChipMargin + 0.5, top - 1.5, m_x[position + 1] - left - 2 * ChipMargin - 1, metrics.height() + 2);
    QColor fill = colors.color(QPalette::Highlight);
    fill.setAlpha(selected ? 255 : 56);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(colors.color(QPalette::Highlight));
    painter->setBrush(fill);
    painter->drawRoundedRect(box, box.height() / 2.5, box.height() / 2.5);
    painter->setPen(colors.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(left + ChipMargin + ChipPadding, top + metrics.ascent(), name);
    painter->restore();
}
