#pragma once

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPolygonF>
#include <QRect>
#include <QString>

#include <memory>

class Cover;

// The geometry of the cover strip, in logical pixels, from the height of its visible area and
// the number of items. Items are squares of the edge length with a two-line caption under the
// picture, 20 pixels apart, the first 20 pixels from the left end. Rectangles are in strip
// coordinates (x from the left end of the content, y downwards from the top of the visible area).
struct CoverStripLayout {
    static constexpr int Gap = 20;           // between items and before the first
    static constexpr int BottomMargin = 11;  // under each item
    static constexpr int CaptionHeight = 28; // the caption at the bottom of an item
    static constexpr int Inset = 8;          // picture to item side
    static constexpr int PictureTop = 12;    // picture to item top (the mark sits there)
    static constexpr int MarkHalfWidth = 5;  // the selection mark's half base
    static constexpr int MarkDepth = 6;      // and its height

    CoverStripLayout(int visibleHeight, int count);

    int visibleHeight = 0;
    int count = 0;
    // The side of an item's square: the visible height less 59, never below 0.
    int edgeLength = 0;

    // Distance from one item to the next.
    int pitch() const { return edgeLength + Gap; }
    int contentWidth() const { return pitch() * count + Gap; }
    // Item i: edgeLength wide, edgeLength + 28 high, standing 11 pixels above the bottom.
    QRect itemRect(int index) const;
    // Within an item's rectangle (item coordinates): the picture's square and the caption.
    QRect pictureRect() const;
    QRect captionRect() const;
    // The selection mark: a triangle hanging from the middle of the item's top edge, in item
    // coordinates.
    QPolygonF markTriangle() const;
    // The item under a point of the content, or -1 between items and outside them.
    int indexAt(QPoint contentPoint) const;
    // The items that a visible window [left, left + width) touches, as first and last index;
    // first > last when none.
    std::pair<int, int> itemsIn(int left, int width) const;
    // The scroll position that shows the selected item as the last whole item of a visible width,
    // or the left end when it is among the first ones that fit.
    int scrollToShow(int selected, int visibleWidth) const;
};

// The covers of a search as one horizontal strip of square pictures with captions
// ("<artist> – <album>" over "<genre> (<year>)"). One item is selected, and it carries a mark
// until the keyboard focus leaves the strip; it is set again when the strip is reloaded or an
// item is clicked. A click selects an item. The keyboard selects too, and then scrolls so that
// the selected item is the last whole one in view: the arrow keys, Home, End, Page Up and Page
// Down; Tab and Shift+Tab step through the items and leave the strip past its ends; keyboard
// focus arriving from outside selects the first item. A selected item in view stays in view
// when the strip is resized. A strip without items takes no keyboard focus. The tool tip of a
// picture is its size in pixels, that of a caption the caption. Placeholder covers show the
// application's placeholder pictures.
//
// Use: setCovers() after each search (selects item 0 without a signal); selectionChanged() when
// the user picks another item; coverChanged() when a cover's picture arrives after the strip was
// filled. Only the items in view are painted; their scaled pictures are cached.
class CoverStrip : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CoverStrip(QWidget *parent = nullptr);
    ~CoverStrip() override;

    // Replaces all items; item 0 becomes selected and marked, the strip scrolls to its left end.
    // selectionChanged() is not emitted: the caller shows what depends on the selection itself.
    void setCovers(const QList<std::shared_ptr<Cover>> &covers);
    const QList<std::shared_ptr<Cover>> &covers() const { return m_covers; }
    int count() const { return int(m_covers.size()); }

    // 0 after creation and after every setCovers(), also when there are no items.
    int selectedIndex() const { return m_selected; }
    // Selects and marks an item as the keyboard would and scrolls it into view; emits
    // selectionChanged() when the index changes. An index outside the items does nothing.
    void setSelectedIndex(int index);
    // Whether the selected item draws its mark.
    bool isMarkShown() const { return m_markShown; }

    // The cover at index got its picture or its caption changed: drops what was cached for it
    // and repaints it.
    void coverChanged(int index);

    // The geometry for the current height and items.
    CoverStripLayout stripLayout() const;
    int edgeLength() const { return stripLayout().edgeLength; }
    // The height the layout starts from: the viewport with room for the scroll bar, whether shown
    // or not, so that the items do not change size when it comes and goes.
    int visibleHeight() const;
    // Item i's rectangle in viewport coordinates (scrolled), and the item at a viewport point or -1.
    QRect visualItemRect(int index) const;
    int indexAt(QPoint viewportPoint) const;
    // The horizontal scroll position.
    int scrollPosition() const;

    // The caption and the tool tips of an item.
    QString captionText(int index) const;
    QString toolTipAt(QPoint viewportPoint) const;

    // The picture an item shows: the placeholder picture for a placeholder cover, else the cover's
    // own picture (null until it has arrived).
    QImage pictureOf(int index) const;
    // The application's picture for a placeholder UID ("no_image", "not_authorized",
    // "quota_exceeded"); null for another text.
    static QImage placeholderPicture(const QString &uid);

signals:
    // The user selected another item (click or keyboard), or setSelectedIndex() changed it.
    void selectionChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool focusNextPrevChild(bool next) override;

private:
    // A click on an item: marks it; another item than the selected one becomes selected.
    void clickOn(int index);
    // The keyboard's selection: as a click, then the item is scrolled into view.
    void tabTo(int index);
    void updateGeometries();
    QPixmap scaledPicture(int index, QSize side);

    QList<std::shared_ptr<Cover>> m_covers;
    QStringList m_captions;
    // The scaled pictures of the items painted lately, by index; emptied when the edge length
    // changes.
    QCache<int, QPixmap> m_scaled;
    // The edge length of the last layout.
    int m_layoutEdge = -1;
    int m_selected = 0;
    bool m_markShown = false;
};
