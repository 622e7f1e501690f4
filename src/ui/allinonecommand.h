#pragma once

#include "tools/allinonecontroller.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

#include <QObject>

#include <optional>

class MainWindow;
class QAction;

// The all-in-one command of the Tools menu: numbers, capitalizes and names the selection with
// the tools' current settings. The rename preview shows first what the names would be after the
// numbering and capitalization; nothing changes unless the person applies it.
class AllInOneCommand : public QObject {
    Q_OBJECT

public:
    explicit AllInOneCommand(MainWindow &window);

    // The menu entry, with its shortcut; enabled while songs are selected.
    QAction *action() const { return m_action; }

    // Shows the preview; on Apply runs the command on the selection and returns naming's report
    // (shown by then), on Cancel changes nothing and returns nullopt.
    std::optional<BatchReport> run();

private:
    MainWindow &m_window;
    NumberingController m_numbering;
    CapitalizationController m_capitalization;
    NamingController m_naming;
    AllInOneController m_allInOne;
    QAction *m_action;
};
