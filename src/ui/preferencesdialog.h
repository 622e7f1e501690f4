#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QTabWidget;

// The preferences sheet: window-modal on the main window, made on first use and kept. Every
// control stands for one setting and follows it live, so a change made elsewhere (the table's
// column menu) shows here at once.
class PreferencesDialog : public QDialog {
    Q_OBJECT

public:
    explicit PreferencesDialog(QWidget *window);

    // Shows the sheet on the window and makes it the active one.
    void showSheet();

    // The control of a boolean setting, by key; null for other keys.
    QCheckBox *checkBoxFor(const QString &key) const;
    QComboBox *pixelSizeBox() const { return m_pixelSize; }
    QTabWidget *pages() const { return m_pages; }

private:
    QCheckBox *addCheckBox(class QVBoxLayout *page, const char *labelKey, const QString &key, bool inverted = false);

    QTabWidget *m_pages;
    QComboBox *m_pixelSize;
};
