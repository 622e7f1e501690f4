#include "ui/icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace Icons {

namespace {

const char *themeName(Glyph glyph)
{
    switch (glyph) {
    case Add: return "list-add";
    case Remove: return "list-remove";
    case Previous: return "go-previous";
    case Next: return "go-next";
    case Apply: return "dialog-ok-apply";
    case Clear: return "edit-clear";
    case Link: return "insert-link";
    }
    return "";
}

QPixmap drawn(Glyph glyph, int size, const QColor &color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    const qreal m = size * 0.22;
    const qreal c = size / 2.0;
    const qreal e = size - m;
    switch (glyph) {
    case Add:
        painter.drawLine(QPointF(c, m), QPointF(c, e));
        painter.drawLine(QPointF(m, c), QPointF(e, c));
        break;
    case Remove:
        painter.drawLine(QPointF(m, c), QPointF(e, c));
        break;
    case Previous:
        painter.drawPolyline(QList<QPointF>{{c + size * 0.12, m}, {c - size * 0.18, c}, {c + size * 0.12, e}});
        break;
    case Next:
        painter.drawPolyline(QList<QPointF>{{c - size * 0.12, m}, {c + size * 0.18, c}, {c - size * 0.12, e}});
        break;
    case Apply:
        painter.drawPolyline(QList<QPointF>{{m, c}, {c - size * 0.08, e - size * 0.06}, {e, m}});
        break;
    case Clear:
        painter.drawEllipse(QRectF(m * 0.6, m * 0.6, size - 1.2 * m, size - 1.2 * m));
        pen.setWidthF(size / 10.0);
        painter.setPen(pen);
        painter.drawLine(QPointF(c - size * 0.14, c - size * 0.14), QPointF(c + size * 0.14, c + size * 0.14));
        painter.drawLine(QPointF(c + size * 0.14, c - size * 0.14), QPointF(c - size * 0.14, c + size * 0.14));
        break;
    case Link: {
        // Two links of a chain, side by side at a slant.
        painter.translate(c, c);
        painter.rotate(-45);
        const qreal w = size * 0.42;
        const qreal h = size * 0.26;
        painter.drawRoundedRect(QRectF(-w + size * 0.06, -h / 2, w, h), h / 2, h / 2);
        painter.drawRoundedRect(QRectF(-size * 0.06, -h / 2, w, h), h / 2, h / 2);
        break;
    }
    }
    return pixmap;
}

} // namespace

QIcon icon(Glyph glyph)
{
    const QIcon themed = QIcon::fromTheme(QLatin1String(themeName(glyph)));
    if (!themed.isNull())
        return themed;
    const QPalette palette = QApplication::palette();
    QIcon fallback;
    for (int size : {16, 22, 32}) {
        fallback.addPixmap(drawn(glyph, size, palette.color(QPalette::Active, QPalette::ButtonText)), QIcon::Normal);
        fallback.addPixmap(drawn(glyph, size, palette.color(QPalette::Disabled, QPalette::ButtonText)), QIcon::Disabled);
    }
    return fallback;
}

QIcon application()
{
    static const QIcon icon = [] {
        QIcon themed = QIcon::fromTheme(QStringLiteral(QUORL_APP_ID));
        if (!themed.isNull())
            return themed;
        return QIcon(QStringLiteral(":/ui/quorl.svg"));
    }();
    return icon;
}

void paintDropPlaceholder(QPainter &painter, const QRect &rect, const QString &text)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette palette = QApplication::palette();
    const QColor ink = palette.color(QPalette::Disabled, QPalette::WindowText);
    const int side = std::min(rect.width(), rect.height()) - 12;
    if (side < 24) {
        painter.restore();
        return;
    }
    const QRectF frame(rect.center().x() - side / 2.0, rect.center().y() - side / 2.0, side, side);
    QPen pen(ink, 2, Qt::DashLine);
    pen.setDashPattern({4, 3});
    painter.setPen(pen);
    painter.drawRoundedRect(frame, side * 0.06, side * 0.06);
    // An arrow down into a tray.
    pen.setStyle(Qt::SolidLine);
    pen.setWidthF(std::max(2.0, side / 40.0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    const QPointF c = frame.center() - QPointF(0, side * 0.08);
    const qreal a = side * 0.14;
    painter.drawLine(c - QPointF(0, a), c + QPointF(0, a));
    painter.drawPolyline(QList<QPointF>{c + QPointF(-a * 0.6, a * 0.4), c + QPointF(0, a), c + QPointF(a * 0.6, a * 0.4)});
    painter.drawPolyline(QList<QPointF>{c + QPointF(-a * 1.3, a * 1.1), c + QPointF(-a * 1.3, a * 1.5),
                                        c + QPointF(a * 1.3, a * 1.5), c + QPointF(a * 1.3, a * 1.1)});
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    painter.setFont(font);
    painter.drawText(QRectF(frame.left(), c.y() + a * 1.8, frame.width(), side * 0.2), Qt::AlignHCenter | Qt::AlignTop, text);
    painter.restore();
}

} // namespace Icons
