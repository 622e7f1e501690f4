#include "ui/librarycommand.h"

#include "editor/editorcontroller.h"
#include "editor/playerdetection.h"
#include "model/userdefaults.h"
#include "model/localized.h"
#include "ui/mainwindow.h"
#include "ui/panelcontrols.h"
#include "ui/preferencesdialog.h"
#include "ui/settingbinding.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

LibraryCommand::LibraryCommand(MainWindow &window)
    : QObject(&window)
    , m_window(window)
    , m_handoff(window.editor().questions(), window.editor().progress())
    , m_action(new QAction(Localized::text("MenuAddToLibrary"), this))
{
    m_action->setObjectName(QStringLiteral("addToLibrary"));
    m_handoff.setOpenPreferences([this] { m_window.preferences()->showSheet(); });
    m_handoff.setSendFeedback([this] { m_window.outsideLinks().sendFeedback(); });
    PanelControls::followSelection(window, m_action, [this](bool any) { m_action->setEnabled(any); });
    connect(m_action, &QAction::triggered, this, [this] { run(); });
}

LibraryHandoff::Report LibraryCommand::run()
{
    // The dialogs let the window's events run: a second start meanwhile waits for none.
    if (m_running)
        return {};
    m_running = true;
    const LibraryHandoff::Report report = m_handoff.addToLibrary(m_window.editor().selectedObjects());
    m_running = false;
    return report;
}

QWidget *LibraryCommand::preferencesGroup(QWidget *parent)
{
    auto *group = new QGroupBox(Localized::text("PrefLibraryGroup"), parent);
    auto *command = new QComboBox(group);
    command->setObjectName(LibraryHandoff::CommandKey);
    command->setEditable(true);
    command->setInsertPolicy(QComboBox::NoInsert);
    command->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    command->setMinimumContentsLength(28);
    for (const PlayerDetection::Player &player : PlayerDetection::installedPlayers())
        command->addItem(player.command);
    // The typed text is stored when editing ends, a chosen player at once.
    SettingBinding::bind(command->lineEdit(), LibraryHandoff::CommandKey);
    QObject::connect(command, &QComboBox::textActivated, command, [](const QString &text) {
        UserDefaults::shared().setObject(text, LibraryHandoff::CommandKey);
    });
    auto *hint = new QLabel(Localized::text("PrefLibraryCommandHint"), group);
    hint->setWordWrap(true);
    auto *layout = new QFormLayout(group);
    layout->addRow(Localized::text("PrefLibraryCommand"), command);
    layout->addRow(hint);
    return group;
}
