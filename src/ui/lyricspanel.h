#pragma once

#include "editor/lyricscontroller.h"

#include <QWidget>

class MainWindow;
class QLabel;
class QPlainTextEdit;
class QToolButton;

// The lyrics panel: the lyrics of the lead song among the selected songs, in white on grey, with
// the song it is and its place in the selection above, and buttons that step to the previous
// and next selected song. What is typed goes into the lead song alone. The text cannot be edited
// while no song is selected or a save runs.
class LyricsPanel : public QWidget {
    Q_OBJECT

public:
    explicit LyricsPanel(MainWindow &window, QWidget *parent = nullptr);

    LyricsController &controller() { return m_lyrics; }
    QPlainTextEdit *textArea() const { return m_text; }
    QLabel *selectionLabel() const { return m_selection; }
    QLabel *statusLabel() const { return m_status; }
    QToolButton *backwardButton() const { return m_backward; }
    QToolButton *forwardButton() const { return m_forward; }

    // The colour behind the text.
    static QColor textBackground();

private:
    void showLyrics(const QString &lyrics);
    void showMessages();
    void textEdited();
    void updateEditable();

    LyricsController m_lyrics;
    QLabel *m_selection;
    QLabel *m_status;
    QPlainTextEdit *m_text;
    QToolButton *m_backward;
    QToolButton *m_forward;
    bool m_blocked = false;
};
