#pragma once

#include <QWidget>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class QSlider;
class QToolButton;
class Song;

// The preview of the selected song beside the main window: its cover, its main tags, the file's
// path and playback of the file (play and pause, the position). It does not take the keyboard:
// keys go on to the song table, so the arrow keys move the selection, which it follows, and
// Space closes it. Where there is no audio output it still shows the song and says that it
// cannot play it.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget *mainWindow);
    ~PreviewWindow() override;

    // The song shown; null shows nothing. Playback stops when the song changes.
    void showSong(const Song *song);
    // The path of the song shown, empty for none.
    QString shownPath() const { return m_path; }
    QString titleText() const;
    QString detailText() const;
    bool canPlay() const;
    // Whether the machine has a sound output to play songs on.
    static bool hasSoundOutput();
    QToolButton *playButton() const { return m_play; }

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void togglePlayback();
    void updatePosition();
    // Made on first use, and only where an audio output exists.
    bool preparePlayer();

    QLabel *m_cover;
    QLabel *m_title;
    QLabel *m_details;
    QLabel *m_pathLabel;
    QToolButton *m_play;
    QSlider *m_position;
    QLabel *m_time;
    QLabel *m_unavailable;
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    QString m_path;
};
