#pragma once

#include <QDialog>

class QLabel;

// The about box: the application's icon, product name, version and copyright. A window of its
// own beside the main window; asking for it while it is shown does nothing.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget *window);

    void showAboutBox();

    QString productText() const;
    QString versionText() const;
    QString copyrightText() const;

private:
    QLabel *m_product;
    QLabel *m_version;
    QLabel *m_copyright;
};
