#include "fixtures.h"
#include "lookup/browsercontroller.h"
#include "lookup/cover.h"
#include "lookup/json2releasewalker.h"
#include "lookup/release.h"
#include "model/localized.h"
#include "ui/coverstrip.h"

#include <QFile>
#include <QJsonDocument>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QString corpusPath(const QString &name)
{
    return QStringLiteral(QUORL_CORPUS_DIR "/") + name;
}

// Covers of releases walked from real documents, with real pictures, cycled; a cover whose
// picture is named "" gets none yet, one named by a placeholder UID is that placeholder.
struct Search {
    QList<std::shared_ptr<Release>> releases;
    QList<std::shared_ptr<Cover>> covers;
};

const QStringList Pictures = {"beets/abbey.jpg", "beets/abbey-different.jpg", "beets/image-2x3.png"};

Search makeSearch(int count, const QStringList &pictures = Pictures)
{
    Search search;
    for (const char *name : {"buntine_discogs__valid_release.json", "jesseward_discogstagger__40522.json"}) {
        QFile file(corpusPath(QStringLiteral("discogs/releases/") + name));
        if (file.open(QIODevice::ReadOnly))
            search.releases.append(Json2ReleaseWalker().walkJson(QJsonDocument::fromJson(file.readAll()).object()));
    }
    for (int index = 0; index < count && search.releases.size() == 2; ++index) {
        const QString picture = pictures.at(index % pictures.size());
        auto cover = std::make_shared<Cover>(Cover::isPlaceholderUID(picture)
                                                 ? picture
                                                 : QStringLiteral("https://img.test/%1.jpg").arg(index));
        if (!picture.isEmpty() && !Cover::isPlaceholderUID(picture))
            cover->setImage(QImage(corpusPath(picture)));
        const auto &release = search.releases.at(index % 2);
        release->addCover(cover);
        cover->setRel(release.get());
        search.covers.append(cover);
    }
    return search;
}

// The whole items in view, as first and last index.
std::pair<int, int> wholeItemsInView(const CoverStrip &strip)
{
    QList<int> whole;
    for (int index = 0; index < strip.count(); ++index)
        if (strip.viewport()->rect().contains(strip.visualItemRect(index)))
            whole.append(index);
    return whole.isEmpty() ? std::make_pair(-1, -1) : std::make_pair(whole.first(), whole.last());
}

} // namespace

// The strip of covers: its geometry, selection by mouse and keyboard, the scrolling that follows
// the selection, the mark, tool tips and pictures.
class TestCoverStrip : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Localized::installStringTable(); }

    void init()
    {
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        m_field = new QLineEdit;
        m_strip = new CoverStrip;
        layout->addWidget(m_field);
        layout->addWidget(m_strip);
        layout->addStretch();
    }

    void cleanup() { m_window.reset(); }

    void layoutFromTheHeight_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("edgeLength");
        QTest::addColumn<int>("contentWidth");
        QTest::addColumn<QList<int>>("itemLefts");
        QTest::newRow("259 high, three covers") << 259 << 3 << 200 << 680 << QList<int>{20, 240, 460};
        QTest::newRow("100 high") << 100 << 4 << 41 << 264 << QList<int>{20, 81, 142, 203};
        QTest::newRow("too low for a picture") << 50 << 2 << 0 << 60 << QList<int>{20, 40};
        QTest::newRow("no covers") << 259 << 0 << 200 << 20 << QList<int>{};
    }

    void layoutFromTheHeight()
    {
        QFETCH(int, height);
        QFETCH(int, count);
        QFETCH(int, edgeLength);
        QFETCH(int, contentWidth);
        QFETCH(QList<int>, itemLefts);
        QCOMPARE(CoverStripLayout(height, count).contentWidth(), contentWidth);
        QVERIFY(showStrip(height, 1000, count));
        QCOMPARE(m_strip->edgeLength(), edgeLength);
        // Each item stands 11 pixels above the bottom, its caption 28 high under the square.
        for (int index = 0; index < count; ++index)
            QCOMPARE(m_strip->visualItemRect(index),
                     QRect(itemLefts.at(index), height - 11 - edgeLength - 28, edgeLength, edgeLength + 28));
        QCOMPARE(m_strip->horizontalScrollBar()->maximum(), std::max(contentWidth - m_strip->viewport()->width(), 0));
    }

    void keyboardSelectsAndScrolls_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("firstInView");
        QTest::addColumn<int>("emitted");
        using K = QList<int>;
        // 920 wide with items 220 apart: four whole items fit.
        QTest::newRow("right to item 7 shows 4 to 7") << 0 << K(7, Qt::Key_Right) << 7 << 4 << 7;
        QTest::newRow("tab to item 7 shows 4 to 7") << 0 << K(7, Qt::Key_Tab) << 7 << 4 << 7;
        QTest::newRow("back among the first four") << 7 << K{Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Left} << 4 << 1 << 3;
        QTest::newRow("end shows the last four") << 0 << K{Qt::Key_End} << 99 << 96 << 1;
        QTest::newRow("home after end") << 0 << K{Qt::Key_End, Qt::Key_Home} << 0 << 0 << 2;
        QTest::newRow("page down moves by what fits") << 0 << K{Qt::Key_PageDown} << 4 << 1 << 1;
        QTest::newRow("left at the first item") << 0 << K{Qt::Key_Left} << 0 << 0 << 0;
        QTest::newRow("right at the last item") << 99 << K{Qt::Key_Right} << 99 << 96 << 0;
    }

    void keyboardSelectsAndScrolls()
    {
        QFETCH(int, start);
        QFETCH(QList<int>, keys);
        QFETCH(int, selected);
        QFETCH(int, firstInView);
        QFETCH(int, emitted);
        QVERIFY(showStrip(259, 920, 100));
        m_strip->setSelectedIndex(start);
        m_strip->setFocus(Qt::MouseFocusReason);
        QSignalSpy changes(m_strip, &CoverStrip::selectionChanged);
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(m_strip->selectedIndex(), selected);
        QCOMPARE(changes.size(), emitted);
        QVERIFY(m_strip->hasFocus());
        // The selected item is the last whole one in view, unless the strip starts at its left end.
        QCOMPARE(wholeItemsInView(*m_strip), std::make_pair(firstInView, firstInView + 3));
    }

    void resizingKeepsTheSelectionInView_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("scrolledAway");
        QTest::newRow("larger covers") << 359 << 920 << false;
        QTest::newRow("narrower") << 259 << 500 << false;
        QTest::newRow("scrolled away before") << 359 << 920 << true;
    }

    void resizingKeepsTheSelectionInView()
    {
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(bool, scrolledAway);
        QVERIFY(showStrip(259, 920, 30));
        m_strip->setSelectedIndex(7);
        if (scrolledAway)
            m_strip->horizontalScrollBar()->setValue(0);
        m_strip->setFixedSize(width, height + m_strip->height() - m_strip->visibleHeight());
        QTRY_COMPARE(m_strip->edgeLength(), height - 59);
        QCOMPARE(m_strip->viewport()->rect().contains(m_strip->visualItemRect(7)), !scrolledAway);
        QCOMPARE(m_strip->selectedIndex(), 7);
    }

    // What a point in an item shows as its tool tip and selects when clicked (item 0 selected before).
    void toolTipsAndClicks_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QString>("tip"); // "caption": the cover's label
        QTest::addColumn<int>("selected");
        const QString pixels = Localized::text("PixelSizeXByY");
        QTest::newRow("JPEG picture, the selected cover") << 0 << QPoint(100, 100) << pixels.arg(225).arg(225) << 0;
        QTest::newRow("PNG picture of another cover") << 2 << QPoint(20, 20) << pixels.arg(2).arg(3) << 2;
        QTest::newRow("caption") << 1 << QPoint(100, 210) << "caption" << 1;
        QTest::newRow("beside the picture") << 0 << QPoint(2, 100) << QString() << 0;
        QTest::newRow("the gap after a cover") << 1 << QPoint(210, 100) << QString() << 0;
        QTest::newRow("above the item") << 1 << QPoint(100, -5) << QString() << 0;
    }

    void toolTipsAndClicks()
    {
        QFETCH(int, item);
        QFETCH(QPoint, offset);
        QFETCH(QString, tip);
        QFETCH(int, selected);
        QVERIFY(showStrip(259, 920, 3));
        if (tip == QLatin1String("caption")) {
            tip = BrowserController::labelForCover(*m_search.covers.at(item));
            QVERIFY(tip.contains(QLatin1Char('\n')));
            QCOMPARE(m_strip->captionText(item), tip);
        }
        const QPoint at = m_strip->visualItemRect(item).topLeft() + offset;
        QCOMPARE(m_strip->toolTipAt(at), tip);
        QHelpEvent help(QEvent::ToolTip, at, m_strip->viewport()->mapToGlobal(at));
        QApplication::sendEvent(m_strip->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), tip);
        QSignalSpy changes(m_strip, &CoverStrip::selectionChanged);
        const int scrolled = m_strip->scrollPosition();
        QTest::mouseClick(m_strip->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(m_strip->selectedIndex(), selected);
        QCOMPARE(changes.size(), selected ? 1 : 0);
        if (selected)
            QCOMPARE(changes.at(0).at(0).toInt(), selected);
        QVERIFY(m_strip->isMarkShown());
        QCOMPARE(m_strip->scrollPosition(), scrolled);
    }

    void markFollowsTheFocusAndNewCovers()
    {
        QVERIFY(showStrip(259, 920, 10));
        const auto markShown = [this] {
            const QRect item = m_strip->visualItemRect(m_strip->selectedIndex());
            const QImage shown = m_strip->viewport()->grab().toImage();
            return shown.pixel(item.left() + item.width() / 2, item.top() + 2) == qRgb(200, 200, 200);
        };
        QVERIFY(m_strip->isMarkShown() && markShown());
        QTest::mouseClick(m_strip->viewport(), Qt::LeftButton, {}, m_strip->visualItemRect(3).center());
        QVERIFY(markShown());
        m_field->setFocus(Qt::TabFocusReason);
        QVERIFY(!m_strip->isMarkShown() && !markShown());
        QCOMPARE(m_strip->selectedIndex(), 3);
        // Coming back with the keyboard selects the first item.
        QSignalSpy changes(m_strip, &CoverStrip::selectionChanged);
        QTest::keyClick(m_field, Qt::Key_Tab);
        QVERIFY(m_strip->hasFocus());
        QCOMPARE(m_strip->selectedIndex(), 0);
        QCOMPARE(changes.size(), 1);
        QVERIFY(markShown());
        // New covers start at the first, scrolled to the start and marked, though the focus is elsewhere.
        m_strip->setSelectedIndex(8);
        QVERIFY(m_strip->scrollPosition() > 0);
        m_field->setFocus(Qt::TabFocusReason);
        QVERIFY(!m_strip->isMarkShown());
        changes.clear();
        const Search next = makeSearch(4);
        m_strip->setCovers(next.covers);
        QCOMPARE(m_strip->selectedIndex(), 0);
        QCOMPARE(m_strip->scrollPosition(), 0);
        QVERIFY(m_strip->isMarkShown());
        m_strip->setCovers({});
        QCOMPARE(m_strip->count(), 0);
        QCOMPARE(m_strip->selectedIndex(), 0);
        QVERIFY(!m_strip->isMarkShown());
        // Tab passes an empty strip by.
        QTest::keyClick(m_field, Qt::Key_Tab);
        QVERIFY(!m_strip->hasFocus());
        QCOMPARE(changes.size(), 0);
    }

    void placeholderPictures_data()
    {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QString>("other");
        QTest::newRow("no picture") << QString(NoImageUID) << QString(NotAuthorizedUID);
        QTest::newRow("not allowed") << QString(NotAuthorizedUID) << QString(QuotaExceededUID);
        QTest::newRow("no requests left") << QString(QuotaExceededUID) << QString(NoImageUID);
    }

    void placeholderPictures()
    {
        QFETCH(QString, uid);
        QFETCH(QString, other);
        const QImage picture = CoverStrip::placeholderPicture(uid);
        QCOMPARE(picture.size(), QSize(300, 300));
        // A symbol drawn on the ground, each its own.
        int dark = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
        QVERIFY2(dark > 3000, qPrintable(QString::number(dark)));
        QVERIFY(picture != CoverStrip::placeholderPicture(other));
        QVERIFY(CoverStrip::placeholderPicture(QStringLiteral("abbey.jpg")).isNull());
        // A cover with the placeholder UID shows it, whatever picture the cover holds.
        QVERIFY(showStrip(259, 920, 2, {"beets/abbey.jpg", uid}));
        m_search.covers.at(1)->setImage(QImage(corpusPath("beets/abbey.jpg")));
        QCOMPARE(m_strip->pictureOf(1), picture);
        QCOMPARE(m_strip->toolTipAt(m_strip->visualItemRect(1).center()),
                 Localized::text("PixelSizeXByY").arg(300).arg(300));
    }

    void picturesArrivingLaterAreShown()
    {
        // One cover without a picture yet, one whose picture is replaced after it was painted.
        QVERIFY(showStrip(259, 920, 2, {"", "beets/abbey.jpg"}));
        const auto middle = [this](int index) { return m_strip->visualItemRect(index).topLeft() + QPoint(100, 100); };
        const QImage before = m_strip->viewport()->grab().toImage();
        const QRgb green = qRgb(0x20, 0xc0, 0x40);
        for (int index : {0, 1}) {
            m_search.covers.at(index)->setImage(QImage::fromData(samplePng(green)));
            m_strip->coverChanged(index);
        }
        const QImage after = m_strip->viewport()->grab().toImage();
        for (int index : {0, 1}) {
            QVERIFY(before.pixel(middle(index)) != green);
            QCOMPARE(after.pixel(middle(index)), green);
        }
    }

private:
    // A strip of count covers whose visible area is height pixels high and width wide, in a shown
    // window with a text field before it.
    bool showStrip(int height, int width, int count, const QStringList &pictures = Pictures)
    {
        m_search = makeSearch(count, pictures);
        m_strip->setFixedSize(width, 300);
        m_strip->setFixedSize(width, height + 300 - m_strip->visibleHeight());
        m_strip->setCovers(m_search.covers);
        m_window->show();
        return m_search.covers.size() == count && QTest::qWaitForWindowActive(m_window.get())
            && m_strip->visibleHeight() == height;
    }

    std::unique_ptr<QWidget> m_window;
    CoverStrip *m_strip = nullptr;
    QLineEdit *m_field = nullptr;
    Search m_search;
};

QTEST_MAIN(TestCoverStrip)
#include "test_coverstrip.moc"
