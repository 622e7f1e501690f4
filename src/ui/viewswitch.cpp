#include "ui/viewswitch.h"

#include <QApplication>
#include <QEasingCurve>
#include <QPainter>
#include <QPixmap>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QVariantAnimation>

namespace {

// The old view's picture and the new one's side by side, moved across the container as the
// slide goes on; it covers the container until the slide ends and then goes away.
class PushTransition : public QWidget {
public:
    PushTransition(QStackedWidget *container, const QPixmap &from, const QPixmap &to, bool fromRight)
        : QWidget(container)
        , m_from(from)
        , m_to(to)
        , m_fromRight(fromRight)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(container->rect());
    }

    void setProgress(qreal progress)
    {
        m_progress = progress;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        // Coming in from the right, the new view starts one width to the right and pushes the
        // old one out to the left; from the left the other way round.
        const int shift = qRound(m_progress * width());
        const int direction = m_fromRight ? -1 : 1;
        painter.fillRect(rect(), palette().window());
        painter.drawPixmap(direction * shift, 0, m_from);
        painter.drawPixmap(direction * shift - direction * width(), 0, m_to);
    }

private:
    QPixmap m_from;
    QPixmap m_to;
    bool m_fromRight;
    qreal m_progress = 0;
};

// Slow at both ends, quicker in the middle.
QEasingCurve easeInEaseOut()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

} // namespace

ViewSwitch::ViewSwitch(QStackedWidget *container, QWidget *editor, QWidget *editorFocus, QWidget *browser,
                       QWidget *browserFocus, QObject *parent)
    : QObject(parent)
    , m_container(container)
    , m_editor(editor)
    , m_editorFocus(editorFocus)
    , m_browser(browser)
    , m_browserFocus(browserFocus)
    , m_animated(animationsWanted(container))
{
}

bool ViewSwitch::animationsWanted(const QWidget *widget)
{
    // The style says how long its own animations last; none means the user turned them off.
    const QStyle *style = widget ? widget->style() : QApplication::style();
    return style && style->styleHint(QStyle::SH_Widget_Animation_Duration, nullptr, widget) > 0;
}

QWidget *ViewSwitch::transition() const
{
    return m_transition.data();
}

void ViewSwitch::showEditor()
{
    if (m_editorVisible && m_installed)
        return;
    // The first call puts the editor in place without a slide.
    present(m_editor, m_installed);
    m_installed = true;
    focusLater(m_editorFocus);
    m_editorVisible = true;
    emit viewChanged(true);
}

void ViewSwitch::showBrowser()
{
    if (!m_editorVisible)
        return;
    if (m_beforeBrowser)
        m_beforeBrowser();
    present(m_browser, false);
    m_installed = true;
    focusLater(m_browserFocus);
    m_editorVisible = false;
    emit viewChanged(false);
}

void ViewSwitch::changeView(int segment)
{
    if (segment == 0)
        showEditor();
    else if (segment == 1)
        showBrowser();
}

void ViewSwitch::present(QWidget *view, bool fromRight)
{
    // A slide under way ends where it was going.
    if (m_transition) {
        delete m_transition;
        emit transitionFinished();
    }
    QWidget *shown = m_container->currentWidget();
    const bool slide = m_animated && m_installed && shown && shown != view && m_container->isVisible();
    QPixmap from;
    if (slide)
        from = shown->grab();
    view->setGeometry(m_container->rect());
    m_container->setCurrentWidget(view);
    if (!slide)
        return;

    auto *transition = new PushTransition(m_container, from, view->grab(), fromRight);
    m_transition = transition;
    transition->show();
    transition->raise();
    auto *animation = new QVariantAnimation(transition);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(TransitionMs);
    animation->setEasingCurve(easeInEaseOut());
    connect(animation, &QVariantAnimation::valueChanged, transition,
            [transition](const QVariant &value) { transition->setProgress(value.toReal()); });
    connect(animation, &QVariantAnimation::finished, this, [this, transition] {
        transition->deleteLater();
        m_transition = nullptr;
        emit transitionFinished();
    });
    animation->start();
}

void ViewSwitch::focusLater(QWidget *widget)
{
    QTimer::singleShot(FocusDelayMs, this, [target = QPointer<QWidget>(widget)] {
        if (target && target->isVisible())
            target->setFocus(Qt::OtherFocusReason);
    });
}
