#include "ui/patterneditor.h"

#include "model/localized.h"
#include "tools/pattern.h"
#include "ui/patternfield.h"
#include "ui/tokenbuttons.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

PatternEditor::PatternEditor(const QString &key, const QStringList &tokenStrings, QWidget *panel)
    : QDialog(panel), m_key(key), m_field(new PatternField(this)), m_buttons(new TokenButtons(tokenStrings, m_field, this))
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(Localized::text("CustomPatternTitle"));
    auto *hint = new QLabel(Localized::text("CustomPatternHint"), this);
    hint->setWordWrap(true);
    auto *box = new QDialogButtonBox(this);
    m_cancel = box->addButton(Localized::text("Cancel"), QDialogButtonBox::RejectRole);
    m_confirm = box->addButton(Localized::text("Done"), QDialogButtonBox::AcceptRole);
    m_confirm->setDefault(true);
    m_field->setMinimumWidth(420);

    auto *column = new QVBoxLayout(this);
    column->addWidget(hint);
    column->addWidget(m_field);
    column->addWidget(m_buttons);
    column->addWidget(box);

    connect(m_confirm, &QPushButton::clicked, this, &PatternEditor::saveCustom);
    connect(m_cancel, &QPushButton::clicked, this, &PatternEditor::cancelCustom);
    connect(m_field, &PatternField::patternEdited, this, &PatternEditor::patternEdited);
}

void PatternEditor::editCustom()
{
    // Open already: keep what is being edited.
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    m_field->setPattern(PatternUtil::storedPattern(m_key));
    toggleChangeOKButtonMode(QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier);
    open();
    m_field->setFocus(Qt::OtherFocusReason);
}

void PatternEditor::saveCustom()
{
    m_field->finishEditing();
    PatternUtil::storePattern(m_field->pattern(), m_key);
    emit patternSaved();
    if (m_alternateDown) {
        emit applyRequested();
        return;
    }
    accept();
}

void PatternEditor::cancelCustom()
{
    QDialog::reject();
}

void PatternEditor::reject()
{
    cancelCustom();
}

void PatternEditor::toggleChangeOKButtonMode(bool alternateDown)
{
    m_alternateDown = alternateDown;
    m_confirm->setText(Localized::text(alternateDown ? "Apply" : "Done"));
}

void PatternEditor::showEvent(QShowEvent *event)
{
    if (!m_watching)
        qApp->installEventFilter(this);
    m_watching = true;
    QDialog::showEvent(event);
}

void PatternEditor::hideEvent(QHideEvent *event)
{
    // The watch ends whichever way the dialog closes.
    qApp->removeEventFilter(this);
    m_watching = false;
    toggleChangeOKButtonMode(false);
    QDialog::hideEvent(event);
}

bool PatternEditor::eventFilter(QObject *watched, QEvent *event)
{
    std::optional<bool> down;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Alt)
            down = event->type() == QEvent::KeyPress;
        else
            down = bool(key->modifiers() & Qt::AltModifier);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        down = bool(static_cast<QMouseEvent *>(event)->modifiers() & Qt::AltModifier);
        break;
    case QEvent::ApplicationDeactivate:
        down = false;
        break;
    default:
        break;
    }
    if (down && *down != m_alternateDown)
        toggleChangeOKButtonMode(*down);
    return QDialog::eventFilter(watched, event);
}
