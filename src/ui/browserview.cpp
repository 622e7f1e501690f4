#include "ui/browserview.h"

#include "editor/progressdisplay.h"
#include "editor/userquestions.h"
#include "lookup/browsercontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "ui/coverstrip.h"
#include "ui/releasetable.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The strip starts high enough for covers of 200 pixels.
constexpr int StripHeight = 259;

} // namespace

BrowserView::BrowserView(EditorController *editor, ImageController *images, UserQuestions *questions,
                         ProgressDisplay *progress, QWidget *parent)
    : QWidget(parent)
    , m_browser(std::make_unique<BrowserController>(questions, progress))
    , m_questions(questions)
    , m_progress(progress)
    , m_searchField(new QLineEdit(this))
    , m_status(new QLabel(this))
    , m_strip(new CoverStrip(this))
    , m_table(new ReleaseTable(m_browser.get(), editor, images, this))
{
    setObjectName(QStringLiteral("browser"));
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setPlaceholderText(Localized::text("SearchFieldPlaceholder"));
    m_searchField->setClearButtonEnabled(true);
    m_status->setObjectName(QStringLiteral("browserStatus"));
    m_status->setText(Localized::text("BrowserEmptyHint"));
    m_status->setForegroundRole(QPalette::PlaceholderText);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_strip->setObjectName(QStringLiteral("coverStrip"));
    m_strip->setMinimumHeight(StripHeight / 2);

    auto *split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("browserSplit"));
    split->addWidget(m_strip);
    split->addWidget(m_table);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({StripHeight, 400});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_searchField);
    layout->addWidget(m_status);
    layout->addWidget(split, 1);
    setTabOrder(m_searchField, m_strip);
    setTabOrder(m_strip, m_table);

    connect(m_searchField, &QLineEdit::returnPressed, this, &BrowserView::search);
    connect(m_browser.get(), &BrowserController::releasesChanged, this, &BrowserView::searchEnded);
    connect(m_browser.get(), &BrowserController::coversReloaded, this, &BrowserView::showCovers);
    connect(m_browser.get(), &BrowserController::releaseTableReloaded, m_table, &ReleaseTable::reload);
    connect(m_browser.get(), &BrowserController::searchStopped, this, &BrowserView::updateStatusLine);
    connect(m_strip, &CoverStrip::selectionChanged, this, &BrowserView::selectCover);
    connect(m_table, &ReleaseTable::applied, this, &BrowserView::releaseApplied);
}

BrowserView::~BrowserView()
{
    // The table and the strip refer to the browser's releases: they go first.
    delete m_table;
    delete m_strip;
}

QString BrowserView::queryString(const QList<Song *> &selectedSongs)
{
    if (selectedSongs.isEmpty())
        return {};
    const Song *first = selectedSongs.first();
    QString query = first->artist();
    if (!first->album().isEmpty())
        query += QLatin1Char(' ') + first->album();
    return query;
}

void BrowserView::followQuery(const QList<Song *> &selectedSongs)
{
    const QString query = queryString(selectedSongs);
    if (!query.isEmpty())
        m_searchField->setText(query);
}

void BrowserView::search()
{
    const QString text = m_searchField->text();
    if (text.isEmpty())
        return;
    m_browser->setSearchString(text);
    m_browser->searchDiscogs();
}

bool BrowserView::isSearching() const
{
    return m_browser->downloadState() != BrowserController::idle;
}

void BrowserView::stopSearch()
{
    if (!isSearching())
        return;
    // The batch sees the sheet gone and ends at its next look; until then what it hands over
    // falls on a browser that has stopped.
    m_progress->endProgressSheet();
    m_browser->cancel();
}

void BrowserView::searchEnded()
{
    m_searched = true;
    updateStatusLine();
    if (m_browser->sawUnauthorized() && !m_browser->failed())
        QTimer::singleShot(0, this, &BrowserView::tellAboutCredentials);
}

void BrowserView::showCovers()
{
    m_strip->setCovers(m_browser->covers());
    if (m_browser->covers().isEmpty())
        return;
    // Once the progress sheet has gone, the strip takes the keyboard.
    QTimer::singleShot(0, this, [this] {
        m_searchField->deselect();
        if (m_searchField->hasFocus())
            m_searchField->clearFocus();
        if (isVisible())
            m_strip->setFocus(Qt::OtherFocusReason);
    });
}

void BrowserView::selectCover(int index)
{
    m_browser->setSelectedIndex(index);
}

void BrowserView::updateStatusLine()
{
    if (!m_searched)
        return;
    m_status->setForegroundRole(QPalette::WindowText);
    m_status->setText(m_browser->statusMessage());
}

void BrowserView::tellAboutCredentials()
{
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("DiscogsRefusedRequest");
    question.informativeKey = QStringLiteral("DiscogsTokenInPreferences");
    question.buttonKeys = {QStringLiteral("OK")};
    m_questions->ask(question);
}
