#include "editor/settingsregistry.h"
#include "model/localized.h"
#include "quorlversion.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

// quorl [FILE or FOLDER ...]: opens the window and loads the files and folders given.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorl"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quorl"));
    QApplication::setApplicationVersion(QStringLiteral(QUORL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QUORL_APP_ID));
    QApplication::setWindowIcon(Icons::application());
    Localized::installStringTable();
    SettingsRegistry::registerDefaultsOnce();

    QStringList paths;
    const QStringList arguments = QApplication::arguments().mid(1);
    for (const QString &argument : arguments)
        paths.append(QFileInfo(argument).absoluteFilePath());

    MainWindow window;
    window.show();
    window.windowLoaded();
    // Loading starts once the window is up, so that it shows the songs as they come.
    QTimer::singleShot(0, &window, [&window, paths] { window.openFiles(paths); });
    return app.exec();
}
