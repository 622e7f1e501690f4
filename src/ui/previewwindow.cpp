#include "ui/previewwindow.h"

#include "editor/transformers.h"
#include "model/localized.h"
#include "model/song.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QBuffer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int CoverSize = 220;

QPixmap coverOf(const Song &song)
{
    if (song.images().isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(song.images().first().data());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return QPixmap::fromImage(image.scaled(CoverSize, CoverSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QString joined(const QStringList &parts)
{
    QStringList present;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            present.append(part);
    }
    return present.join(QStringLiteral(" — "));
}

} // namespace

PreviewWindow::PreviewWindow(QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , m_cover(new QLabel(this))
    , m_title(new QLabel(this))
    , m_details(new QLabel(this))
    , m_pathLabel(new QLabel(this))
    , m_play(new QToolButton(this))
    , m_position(new QSlider(Qt::Horizontal, this))
    , m_time(new QLabel(this))
    , m_unavailable(new QLabel(Localized::text("PlaybackUnavailable"), this))
{
    setWindowTitle(Localized::text("PreviewTitle"));
    // The main window stays the active one: keys go to its table.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_cover->setFixedSize(CoverSize, CoverSize);
    m_cover->setAlignment(Qt::AlignCenter);
    m_cover->setFrameShape(QFrame::StyledPanel);
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_title->setFont(bold);
    for (QLabel *label : {m_title, m_details, m_pathLabel}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_pathLabel->setForegroundRole(QPalette::PlaceholderText);
    m_unavailable->setForegroundRole(QPalette::PlaceholderText);
    m_unavailable->setWordWrap(true);
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_play->setToolTip(Localized::text("PlayPause"));
    m_play->setFocusPolicy(Qt::NoFocus);
    m_position->setFocusPolicy(Qt::NoFocus);
    m_time->setText(Number2LengthTransformer::transformValue(0));

    auto *playback = new QHBoxLayout;
    playback->addWidget(m_play);
    playback->addWidget(m_position, 1);
    playback->addWidget(m_time);
    auto *text = new QVBoxLayout;
    text->addWidget(m_title);
    text->addWidget(m_details);
    text->addStretch(1);
    text->addWidget(m_pathLabel);
    auto *top = new QHBoxLayout;
    top->addWidget(m_cover);
    top->addLayout(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(playback);
    layout->addWidget(m_unavailable);
    resize(560, 300);

    const bool playable = hasSoundOutput();
    m_unavailable->setVisible(!playable);
    m_play->setEnabled(playable);
    m_position->setEnabled(playable);
    connect(m_play, &QToolButton::clicked, this, &PreviewWindow::togglePlayback);
    connect(m_position, &QSlider::sliderMoved, this, [this](int seconds) {
        if (m_player)
            m_player->setPosition(qint64(seconds) * 1000);
    });
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::showSong(const Song *song)
{
    const QString path = song ? song->filePath() : QString();
    if (path != m_path && m_player) {
        m_player->stop();
        m_player->setSource(QUrl());
    }
    m_path = path;
    if (!song) {
        m_title->clear();
        m_details->clear();
        m_pathLabel->clear();
        m_cover->clear();
        return;
    }
    m_title->setText(song->title().isEmpty() ? song->fileName() : song->title());
    m_details->setText(joined({song->artist(), song->album(),
                               song->track().isEmpty() ? QString() : Localized::text("PreviewTrackX").arg(song->track()),
                               Number2StringTransformer::transformedValue(song->year()),
                               Number2LengthTransformer::transformValue(song->length())}));
    m_pathLabel->setText(song->filePath());
    const QPixmap cover = coverOf(*song);
    if (cover.isNull())
        m_cover->setText(Localized::text("NoImages"));
    else
        m_cover->setPixmap(cover);
    m_position->setRange(0, song->length());
    m_position->setValue(0);
    m_time->setText(Number2LengthTransformer::transformValue(0));
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
}

QString PreviewWindow::titleText() const
{
    return m_title->text();
}

QString PreviewWindow::detailText() const
{
    return m_details->text();
}

bool PreviewWindow::canPlay() const
{
    return m_play->isEnabled();
}

bool PreviewWindow::hasSoundOutput()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

bool PreviewWindow::preparePlayer()
{
    if (m_player)
        return true;
    if (!hasSoundOutput())
        return false;
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::positionChanged, this, &PreviewWindow::updatePosition);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        m_play->setIcon(style()->standardIcon(state == QMediaPlayer::PlayingState ? QStyle::SP_MediaPause
                                                                                  : QStyle::SP_MediaPlay));
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString &) {
        m_unavailable->setVisible(true);
    });
    return true;
}

void PreviewWindow::togglePlayback()
{
    if (m_path.isEmpty() || !preparePlayer())
        return;
    if (m_player->playbackState() == QMediaPlayer::PlayingState) {
        m_player->pause();
        return;
    }
    if (m_player->source().isEmpty())
        m_player->setSource(QUrl::fromLocalFile(m_path));
    m_player->play();
}

void PreviewWindow::updatePosition()
{
    const int seconds = int(m_player->position() / 1000);
    if (!m_position->isSliderDown())
        m_position->setValue(seconds);
    m_time->setText(Number2LengthTransformer::transformValue(seconds));
}

void PreviewWindow::hideEvent(QHideEvent *event)
{
    if (m_player)
        m_player->pause();
    QWidget::hideEvent(event);
}
