#include "tools/patternbuffer.h"

#include "tools/tagfieldrules.h"

namespace {

// How many edits Undo can take back.
constexpr qsizetype UndoDepth = 100;

} // namespace

Pattern PatternBuffer::pattern() const
{
    Pattern result;
    QString literal;
    for (const Cell &cell : m_cells) {
        if (!cell.isToken) {
            literal.append(cell.character);
            continue;
        }
        if (!literal.isEmpty())
            result.append(PatternElement::literal(literal));
        literal.clear();
        result.append(PatternElement::token(cell.tokenString));
    }
    if (!literal.isEmpty())
        result.append(PatternElement::literal(literal));
    return result;
}

void PatternBuffer::setPattern(const Pattern &pattern)
{
    m_cells = cellsOf(pattern);
    m_caret = m_anchor = m_cells.size();
    m_undo.clear();
    m_redo.clear();
}

QList<PatternBuffer::Cell> PatternBuffer::cellsOf(const Pattern &pattern)
{
    QList<Cell> cells;
    for (const PatternElement &element : pattern) {
        if (element.isToken()) {
            cells.append(Cell{QChar(), element.text(), true, false});
            continue;
        }
        for (const QChar character : element.text())
            cells.append(Cell{character, QString(), false, false});
    }
    return cells;
}

qsizetype PatternBuffer::clamped(qsizetype position) const
{
    position = qBound(qsizetype(0), position, m_cells.size());
    // Never between the two halves of a surrogate pair: such a caret goes before the pair.
    if (position > 0 && position < m_cells.size() && !m_cells[position].isToken && m_cells[position].character.isLowSurrogate()
        && !m_cells[position - 1].isToken && m_cells[position - 1].character.isHighSurrogate())
        --position;
    return position;
}

void PatternBuffer::setCaret(qsizetype position, bool keepAnchor)
{
    m_caret = clamped(position);
    if (!keepAnchor)
        m_anchor = m_caret;
}

void PatternBuffer::selectAll()
{
    m_anchor = 0;
    m_caret = m_cells.size();
}

qsizetype PatternBuffer::previousPosition() const
{
    return clamped(m_caret - 1);
}

qsizetype PatternBuffer::nextPosition() const
{
    qsizetype target = m_caret + 1;
    // Past the second half of a surrogate pair, which clamping would move back before the pair.
    if (target < m_cells.size() && clamped(target) != target)
        ++target;
    return qMin(target, m_cells.size());
}

void PatternBuffer::moveLeft(bool keepAnchor)
{
    setCaret(hasSelection() && !keepAnchor ? selectionStart() : previousPosition(), keepAnchor);
}

void PatternBuffer::moveRight(bool keepAnchor)
{
    setCaret(hasSelection() && !keepAnchor ? selectionEnd() : nextPosition(), keepAnchor);
}

bool PatternBuffer::isWordCharacter(qsizetype position) const
{
    const Cell &cell = m_cells[position];
    return !cell.isToken && (cell.character.isLetterOrNumber() || cell.character.isSurrogate() || cell.character == u'_');
}

void PatternBuffer::moveWordLeft(bool keepAnchor)
{
    qsizetype position = m_caret;
    while (position > 0 && !m_cells[position - 1].isToken && !isWordCharacter(position - 1))
        --position;
    if (position > 0 && m_cells[position - 1].isToken) {
        --position;
    } else {
        while (position > 0 && isWordCharacter(position - 1))
            --position;
    }
    setCaret(position, keepAnchor);
}

void PatternBuffer::moveWordRight(bool keepAnchor)
{
    qsizetype position = m_caret;
    const qsizetype end = m_cells.size();
    if (position < end && m_cells[position].isToken) {
        ++position;
    } else {
        while (position < end && isWordCharacter(position))
            ++position;
    }
    while (position < end && !m_cells[position].isToken && !isWordCharacter(position))
        ++position;
    setCaret(position, keepAnchor);
}

void PatternBuffer::selectWordAt(qsizetype position)
{
    position = qBound(qsizetype(0), position, m_cells.size());
    if (position < m_cells.size() && m_cells[position].isToken) {
        m_anchor = position;
        m_caret = position + 1;
        return;
    }
    qsizetype start = position;
    qsizetype end = position;
    while (start > 0 && isWordCharacter(start - 1))
        --start;
    while (end < m_cells.size() && isWordCharacter(end))
        ++end;
    if (start == end && end < m_cells.size())
        ++end;
    m_anchor = start;
    m_caret = end;
}

bool PatternBuffer::isTokenAt(qsizetype position) const
{
    return position >= 0 && position < m_cells.size() && m_cells[position].isToken;
}

Pattern PatternBuffer::selectedPattern() const
{
    PatternBuffer part;
    part.m_cells = m_cells.mid(selectionStart(), selectionEnd() - selectionStart());
    return part.pattern();
}

void PatternBuffer::remember()
{
    m_undo.append(State{m_cells, m_caret, m_anchor});
    if (m_undo.size() > UndoDepth)
        m_undo.removeFirst();
    m_redo.clear();
}

void PatternBuffer::eraseSelection()
{
    const qsizetype start = selectionStart();
    m_cells.remove(start, selectionEnd() - start);
    m_caret = m_anchor = start;
}

bool PatternBuffer::insertCells(const QList<Cell> &cells)
{
    if (cells.isEmpty() && !hasSelection())
        return false;
    remember();
    eraseSelection();
    for (qsizetype i = 0; i < cells.size(); ++i)
        m_cells.insert(m_caret + i, cells[i]);
    m_caret = m_anchor = m_caret + cells.size();
    return true;
}

bool PatternBuffer::insertTyped(const QString &text)
{
    QList<Cell> cells;
    for (const QChar character : text)
        cells.append(Cell{character, QString(), false, true});
    return insertCells(cells);
}

bool PatternBuffer::insertPattern(const Pattern &piece)
{
    return insertCells(cellsOf(piece));
}

bool PatternBuffer::insertToken(const PatternElement &token)
{
    return insertCells({Cell{QChar(), token.text(), true, false}});
}

bool PatternBuffer::removeSelection()
{
    return removeCells(selectionStart(), selectionEnd());
}

bool PatternBuffer::deleteBackward()
{
    if (hasSelection())
        return removeSelection();
    return removeCells(previousPosition(), m_caret);
}

bool PatternBuffer::deleteForward()
{
    if (hasSelection())
        return removeSelection();
    return removeCells(m_caret, nextPosition());
}

bool PatternBuffer::removeCells(qsizetype start, qsizetype end)
{
    if (start >= end)
        return false;
    remember();
    m_cells.remove(start, end - start);
    m_caret = m_anchor = start;
    return true;
}

bool PatternBuffer::finishTyping()
{
    const State before{m_cells, m_caret, m_anchor};
    bool made = false;
    qsizetype start = 0;
    while (start < m_cells.size()) {
        if (m_cells[start].isToken) {
            ++start;
            continue;
        }
        qsizetype end = start;
        bool allTyped = true;
        QString text;
        while (end < m_cells.size() && !m_cells[end].isToken) {
            allTyped = allTyped && m_cells[end].typed;
            m_cells[end].typed = false;
            text.append(m_cells[end].character);
            ++end;
        }
        const PatternElement element = TagFieldRules::elementForTypedText(text);
        if (allTyped && element.isToken()) {
            made = true;
            m_cells.remove(start, end - start);
            m_cells.insert(start, Cell{QChar(), element.text(), true, false});
            const auto shift = [start, end](qsizetype position) {
                return position <= start ? position : position >= end ? position - (end - start) + 1 : start + 1;
            };
            m_caret = shift(m_caret);
            m_anchor = shift(m_anchor);
            end = start + 1;
        }
        start = end;
    }
    if (made) {
        m_undo.append(before);
        m_redo.clear();
    }
    return made;
}

bool PatternBuffer::undo()
{
    if (m_undo.isEmpty())
        return false;
    m_redo.append(State{m_cells, m_caret, m_anchor});
    const State state = m_undo.takeLast();
    m_cells = state.cells;
    m_caret = state.caret;
    m_anchor = state.anchor;
    return true;
}

bool PatternBuffer::redo()
{
    if (m_redo.isEmpty())
        return false;
    m_undo.append(State{m_cells, m_caret, m_anchor});
    const State state = m_redo.takeLast();
    m_cells = state.cells;
    m_caret = state.caret;
    m_anchor = state.anchor;
    return true;
}
