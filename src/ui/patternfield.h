#pragma once

#include "tools/pattern.h"
#include "tools/patternbuffer.h"
#include "ui/patternline.h"

#include <QBasicTimer>
#include <QString>
#include <QWidget>

// A single-line field that holds a pattern: each token is one caret position drawn as a rounded
// chip with its display name, literals are plain text around them. Typing never splits text into
// tokens; a typed run that equals a token string exactly becomes that token when the edit ends
// (focus leaves, Return). The arrows step over a chip as over one character, Backspace and Delete
// remove a whole chip, copy and paste keep tokens (PatternClipboard; plain text from elsewhere
// stays literal).
class PatternField : public QWidget {
    Q_OBJECT

public:
    explicit PatternField(QWidget *parent = nullptr);

    Pattern pattern() const;
    // Does not emit patternEdited; the caret goes to the end.
    void setPattern(const Pattern &pattern);
    // Inserts the token at the caret (replacing the selection) and emits patternEdited. Throws
    // InvalidTokenString for a text that is no token string.
    void addToken(const QString &tokenString);
    // Reads the pattern from the settings key and writes every edit back to it; follows changes
    // of the key made elsewhere.
    void bindToKey(const QString &key);

    // The caret and selection in character positions (a token is one).
    int cursorPosition() const;
    void setCursorPosition(int position);
    bool hasSelectedText() const;
    int selectionStart() const;
    int selectionLength() const;
    void setSelection(int start, int length);
    void selectAll();

    // Ends the current edit (as leaving the field does).
    void finishEditing();

    // A read-only field shows its pattern and lets the person select and copy it; typing,
    // pasting, cutting and undoing do nothing. setPattern and addToken still change it.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void copy() const;
    void cut();
    void paste();
    void undo();
    void redo();

signals:
    void patternEdited();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    PatternLine layout() const;
    QRect contentRect() const;
    int positionAt(const QPoint &point) const;
    bool handleShortcut(QKeyEvent *event);
    bool handleEdit(QKeyEvent *event);
    bool handleMove(QKeyEvent *event);
    // After an edit of the buffer: repaint, store to the bound key, tell the listeners.
    void edited(bool changed);
    void caretMoved();
    void restartBlink();
    void storeToKey();
    void loadFromKey();

    PatternBuffer m_buffer;
    QString m_key;
    QMetaObject::Connection m_keyWatch;
    int m_scroll = 0;
    bool m_caretVisible = true;
    bool m_readOnly = false;
    QBasicTimer m_blink;
};
