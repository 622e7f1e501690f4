#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class PatternField;
class QPushButton;
class TokenButtons;

// The custom-pattern editor that the naming, extraction and composition panels share: a
// window-modal dialog over the panel with the pattern field, one button per token, Cancel and a
// confirm button. The confirm button reads "Done" and stores the pattern and closes; while the
// Alt key is held it reads "Apply" and stores the pattern, asks the panel to run its tool on the
// selected songs (applyRequested) and stays open. Cancel and Escape close without storing.
//
// A panel makes one editor and opens it from its "custom pattern" button:
//
//     auto *editor = new PatternEditor(NamingController::CustomSchemeKey, tokenStrings, panel);
//     connect(editButton, &QPushButton::clicked, editor, &PatternEditor::editCustom);
//     connect(editor, &PatternEditor::applyRequested, panel, &NamingPanel::applyToSelection);
//     connect(editor, &PatternEditor::patternEdited, panel, &NamingPanel::updateValidity);
//
// The stored pattern is read and written with PatternUtil::storedPattern/storePattern under the
// key; the field itself is not bound to the key, so Cancel leaves the stored pattern as it was.
class PatternEditor : public QDialog {
    Q_OBJECT

public:
    // tokenStrings: the token buttons offered, in this order (TokenUtil::tokenStrings() for all).
    PatternEditor(const QString &key, const QStringList &tokenStrings, QWidget *panel);

    const QString &key() const { return m_key; }
    PatternField *field() const { return m_field; }
    TokenButtons *tokenButtons() const { return m_buttons; }
    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }
    // Whether the Alt key is down as far as the open editor has seen: the confirm button then
    // applies.
    bool isAlternateDown() const { return m_alternateDown; }

public slots:
    // Loads the stored pattern, opens the dialog over the panel with the caret at the end of the
    // field and starts following the Alt key. An open editor is only brought to the front.
    void editCustom();
    // The confirm button: stores the field's pattern; applies and stays open with Alt down,
    // otherwise closes.
    void saveCustom();
    // Closes without storing.
    void cancelCustom();
    // Titles the confirm button "Apply" (Alt down) or "Done".
    void toggleChangeOKButtonMode(bool alternateDown);
    void reject() override;

signals:
    // The field's pattern changed (typing, a token button, a paste).
    void patternEdited();
    // The pattern was stored under the key.
    void patternSaved();
    // Apply: the pattern was stored and the panel's tool should run on the selected songs.
    void applyRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QString m_key;
    PatternField *m_field;
    TokenButtons *m_buttons;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    bool m_alternateDown = false;
    bool m_watching = false;
};
