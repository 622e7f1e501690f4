#pragma once

#include "tools/pattern.h"

#include <QList>
#include <QString>

// The editing state of a pattern field, free of any widget: the pattern as a row of character
// positions (a token takes one, a literal one per UTF-16 unit), the caret and the selection
// anchor, and the edits a person makes. The widget draws it and maps keys and the mouse onto it.
//
// Typing never makes a token by itself: typed text stays literal until the edit ends
// (finishTyping), and then a run of text that was typed whole and equals a token string
// exactly becomes that token. Pasted or loaded text is never turned into a token.
//
// Every edit that changes the pattern returns true; an edit that changes nothing (Backspace at
// the start, an empty paste into no selection) returns false.
class PatternBuffer {
public:
    PatternBuffer() = default;

    // Neighbouring literals are joined and empty literals left out.
    Pattern pattern() const;
    // Replaces the content; the caret goes to the end, nothing is selected and the undo history
    // is cleared.
    void setPattern(const Pattern &pattern);
    qsizetype length() const { return m_cells.size(); }

    // The caret and the anchor; the selection lies between them.
    qsizetype caret() const { return m_caret; }
    qsizetype anchor() const { return m_anchor; }
    qsizetype selectionStart() const { return qMin(m_caret, m_anchor); }
    qsizetype selectionEnd() const { return qMax(m_caret, m_anchor); }
    bool hasSelection() const { return m_caret != m_anchor; }
    // Moves the caret (clamped to the content, never inside a surrogate pair); without
    // keepAnchor the selection collapses to the caret.
    void setCaret(qsizetype position, bool keepAnchor = false);
    void selectAll();

    // One position to the left or right; without keepAnchor, a selection is collapsed to its
    // near end instead.
    void moveLeft(bool keepAnchor);
    void moveRight(bool keepAnchor);
    // To the start of the word before or after the caret; a token is a word of its own.
    void moveWordLeft(bool keepAnchor);
    void moveWordRight(bool keepAnchor);
    // The word or token around a position, for a double click.
    void selectWordAt(qsizetype position);

    bool isTokenAt(qsizetype position) const;
    // The elements of the selection.
    Pattern selectedPattern() const;

    // Edits. Each replaces the selection; insertions put the caret after what was inserted.
    bool insertTyped(const QString &text);
    bool insertPattern(const Pattern &piece);
    // The token goes in at the caret after the selection is deleted, as the token buttons do.
    bool insertToken(const PatternElement &token);
    bool removeSelection();
    // Backspace and Delete: the selection, or the one position (a whole token, a whole
    // surrogate pair) before or after the caret.
    bool deleteBackward();
    bool deleteForward();
    // Ends an edit: text typed since the last end that makes a whole literal run equal to a
    // token string becomes that token. True if a token was made.
    bool finishTyping();

    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    bool undo();
    bool redo();

private:
    struct Cell {
        QChar character;
        QString tokenString;
        bool isToken = false;
        bool typed = false;
        bool operator==(const Cell &other) const = default;
    };
    struct State {
        QList<Cell> cells;
        qsizetype caret = 0;
        qsizetype anchor = 0;
    };

    static QList<Cell> cellsOf(const Pattern &pattern);
    qsizetype clamped(qsizetype position) const;
    // The positions one step to the left and right of the caret.
    qsizetype previousPosition() const;
    qsizetype nextPosition() const;
    bool removeCells(qsizetype start, qsizetype end);
    bool isWordCharacter(qsizetype position) const;
    void remember();
    void eraseSelection();
    bool insertCells(const QList<Cell> &cells);

    QList<Cell> m_cells;
    qsizetype m_caret = 0;
    qsizetype m_anchor = 0;
    QList<State> m_undo;
    QList<State> m_redo;
};
