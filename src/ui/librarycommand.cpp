#include "ui/librarycommand.h"

#include "editor/editorcontroller.h"
#include "editor/playerdetection.h"
#include "editor/progressdisplay.h"
#include "editor/workerhandoff.h"
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

#include <system_error>
#include <utility>

namespace {

constexpr std::chrono::milliseconds CountInterval{100};

} // namespace

LibraryCommand::LibraryCommand(MainWindow &window)
    : QObject(&window)
    , m_window(window)
    , m_handoff(window.editor().questions())
    , m_action(new QAction(Localized::text("MenuAddToLibrary"), this))
    , m_wake(std::make_unique<WorkerHandoff>([this] { step(); }, CountInterval))
{
    m_action->setObjectName(QStringLiteral("addToLibrary"));
    m_handoff.setOpenPreferences([this] { m_window.preferences()->showSheet(); });
    m_handoff.setSendFeedback([this] { m_window.outsideLinks().sendFeedback(); });
    PanelControls::followSelection(window, m_action, [this](bool any) {
        m_anySelected = any;
        updateAction();
    });
    connect(m_action, &QAction::triggered, this, [this] { run(); });
}

LibraryCommand::~LibraryCommand()
{
    stop();
    if (m_worker.joinable())
        m_worker.join();
    // Not told yet: the programs it left running are reaped with the hand-off.
    if (m_plan)
        m_handoff.keepLeftRunning(m_report.leftRunning);
}

void LibraryCommand::run()
{
    // The dialogs let the window's events run: a second start meanwhile is refused too.
    if (m_running)
        return;
    m_running = true;
    updateAction();
    LibraryHandoff::Report report;
    m_plan = m_handoff.prepare(m_window.editor().selectedObjects(), report);
    if (!m_plan) {
        m_running = false;
        updateAction();
        return;
    }
    m_stop = false;
    m_done = 0;
    m_ended = false;
    showCount();
    try {
        m_worker = std::thread([this] { work(); });
    } catch (const std::system_error &) {
        work(); // no thread to be had: the player is waited for here
    }
}

void LibraryCommand::work()
{
    m_report = LibraryHandoff::runFiles(*m_plan, m_stop, [this](qsizetype done) {
        m_done = done;
        m_wake->wake();
    });
    m_ended = true;
    m_wake->wakeNow();
}

void LibraryCommand::step()
{
    if (!m_plan)
        return;
    if (!m_ended) {
        showCount();
        return;
    }
    if (m_worker.joinable())
        m_worker.join();
    m_window.editor().progress()->showProgress(QString());
    const LibraryHandoff::Plan plan = *std::exchange(m_plan, std::nullopt);
    m_handoff.keepLeftRunning(m_report.leftRunning);
    m_handoff.tell(plan, m_report);
    m_running = false;
    updateAction();
}

void LibraryCommand::showCount()
{
    const qint64 total = m_plan->paths.size();
    // Once stopped there is nothing more to cancel.
    std::function<void()> cancel;
    if (!m_stop)
        cancel = [this] { stop(); };
    m_window.editor().progress()->showCountedProgress(
        Localized::text("HandingSongsToX").arg(LibraryHandoff::playerName(m_plan->command)), m_done, total, cancel);
}

void LibraryCommand::updateAction()
{
    m_action->setEnabled(m_anySelected && !m_running);
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
