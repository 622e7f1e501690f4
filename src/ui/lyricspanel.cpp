#include "ui/lyricspanel.h"

#include "editor/savecontroller.h"
#include "model/localized.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *stepButton(Qt::ArrowType arrow, const char *toolTipKey, const char *name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setToolTip(Localized::text(toolTipKey));
    button->setAccessibleName(Localized::text(toolTipKey));
    button->setAutoRaise(true);
    return button;
}

} // namespace

LyricsPanel::LyricsPanel(MainWindow &window, QWidget *parent)
    : QWidget(parent)
    , m_lyrics(&window.editor())
    , m_selection(new QLabel(this))
    , m_status(new QLabel(this))
    , m_text(new QPlainTextEdit(this))
    , m_backward(stepButton(Qt::LeftArrow, "LyricsPreviousSong", "backward", this))
    , m_forward(stepButton(Qt::RightArrow, "LyricsNextSong", "forward", this))
{
    m_selection->setObjectName(QStringLiteral("selection"));
    m_selection->setTextFormat(Qt::PlainText);
    m_selection->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_selection->setMinimumWidth(1);
    QFont bold = m_selection->font();
    bold.setBold(true);
    m_selection->setFont(bold);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setForegroundRole(QPalette::PlaceholderText);

    m_text->setObjectName(QStringLiteral("lyrics"));
    m_text->setAccessibleName(Localized::text("LyricsPanel"));
    QPalette colours = m_text->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, textBackground());
        colours.setColor(group, QPalette::Text, Qt::white);
    }
    m_text->setPalette(colours);
    m_text->setBackgroundVisible(false);
    m_text->setMinimumSize(260, 220);

    auto *top = new QHBoxLayout;
    top->addWidget(m_selection, 1);
    top->addWidget(m_backward);
    top->addWidget(m_forward);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_status);
    layout->addWidget(m_text, 1);

    connect(m_backward, &QToolButton::clicked, this, [this] { m_lyrics.moveLeadSongBackward(); });
    connect(m_forward, &QToolButton::clicked, this, [this] { m_lyrics.moveLeadSongForward(); });
    connect(m_text, &QPlainTextEdit::textChanged, this, &LyricsPanel::textEdited);
    connect(&m_lyrics, &LyricsController::lyricsChanged, this, &LyricsPanel::showLyrics);
    connect(&m_lyrics, &LyricsController::messagesChanged, this, &LyricsPanel::showMessages);
    connect(window.table()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_lyrics.selectionDidChange(); });
    connect(&window, &MainWindow::editingBlockedChanged, this, [this](bool blocked) {
        m_blocked = blocked;
        updateEditable();
    });
    m_blocked = window.saver().isSaving();
    m_lyrics.selectionDidChange();
    showLyrics(m_lyrics.lyrics());
    showMessages();
}

QColor LyricsPanel::textBackground()
{
    return QColor::fromRgbF(0.35f, 0.35f, 0.35f, 1.0f);
}

void LyricsPanel::showLyrics(const QString &lyrics)
{
    if (m_text->toPlainText() == lyrics)
        return;
    const QSignalBlocker blocker(m_text);
    m_text->setPlainText(lyrics);
}

void LyricsPanel::showMessages()
{
    m_selection->setText(m_lyrics.selectionMessage());
    m_status->setText(m_lyrics.statusMessage());
    updateEditable();
}

void LyricsPanel::textEdited()
{
    // The save reads the songs on another thread until it ends; the area is read-only then.
    if (m_blocked || !m_lyrics.leadSong())
        return;
    m_lyrics.setLyrics(m_text->toPlainText());
}

void LyricsPanel::updateEditable()
{
    const bool hasLead = m_lyrics.leadSong() != nullptr;
    m_text->setReadOnly(m_blocked || !hasLead);
    m_text->setEnabled(hasLead);
    const bool canStep = m_lyrics.selectedCount() > 1;
    m_backward->setEnabled(canStep);
    m_forward->setEnabled(canStep);
}
