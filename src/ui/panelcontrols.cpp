#include "ui/panelcontrols.h"

#include "editor/savecontroller.h"
#include "model/localized.h"
#include "tools/tokenutil.h"
#include "ui/mainwindow.h"
#include "ui/patterneditor.h"
#include "ui/patternfield.h"
#include "ui/settingbinding.h"
#include "ui/songtableview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace PanelControls {

QCheckBox *checkBox(const char *labelKey, const QString &key, QWidget *parent)
{
    auto *box = new QCheckBox(Localized::text(labelKey), parent);
    box->setObjectName(key);
    SettingBinding::bind(box, key);
    return box;
}

QGroupBox *radioGroup(const char *titleKey, const QList<RadioChoice> &choices, QWidget *parent)
{
    auto *group = new QGroupBox(Localized::text(titleKey), parent);
    auto *layout = new QVBoxLayout(group);
    QList<QRadioButton *> buttons;
    QStringList keys;
    for (const RadioChoice &choice : choices) {
        auto *button = new QRadioButton(Localized::text(choice.labelKey), group);
        button->setObjectName(choice.key);
        layout->addWidget(button);
        buttons.append(button);
        keys.append(choice.key);
    }
    SettingBinding::bind(buttons, keys);
    return group;
}

QRadioButton *radioButton(const QGroupBox *group, const QString &key)
{
    return group->findChild<QRadioButton *>(key, Qt::FindDirectChildrenOnly);
}

QComboBox *choiceList(const QList<ListChoice> &choices, const QString &key, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(key);
    for (const ListChoice &choice : choices)
        list->addItem(choice.label, choice.value);
    SettingBinding::bindText(list, key);
    return list;
}

void followSelection(MainWindow &window, QObject *receiver, std::function<void(bool)> enable)
{
    QItemSelectionModel *selection = window.table()->selectionModel();
    const auto follow = [selection, enable = std::move(enable)] { enable(selection->hasSelection()); };
    follow();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, receiver, follow);
}

QPushButton *commandButton(MainWindow &window, const char *textKey, QWidget *parent, std::function<void()> run)
{
    auto *button = new QPushButton(Localized::text(textKey), parent);
    button->setObjectName(QStringLiteral("command"));
    button->setDefault(true);
    button->setAutoDefault(true);
    // Greyed out without a selection and while a save runs.
    const auto update = [&window, button](bool saving) {
        button->setEnabled(window.table()->selectionModel()->hasSelection() && !saving);
    };
    followSelection(window, button, [&window, update](bool) { update(window.saver().isSaving()); });
    QObject::connect(&window, &MainWindow::editingBlockedChanged, button, update);
    QObject::connect(button, &QPushButton::clicked, button, [&window, run = std::move(run)] {
        // The save reads the songs on another thread until it ends.
        if (!window.saver().isSaving())
            run();
    });
    return button;
}

CustomPattern customPattern(const QString &schemeKey, QRadioButton *customChoice, QWidget *panel,
                            std::function<void()> apply)
{
    CustomPattern made;
    made.display = new PatternField(panel);
    made.display->setObjectName(schemeKey);
    made.display->bindToKey(schemeKey);
    // Shown only: the pattern is changed in the editor, which Cancel can leave.
    made.display->setFocusPolicy(Qt::NoFocus);
    made.display->setAttribute(Qt::WA_TransparentForMouseEvents);
    made.edit = new QPushButton(Localized::text("PanelEditCustom"), panel);
    made.edit->setAutoDefault(false);
    made.editor = new PatternEditor(schemeKey, TokenUtil::tokenStrings(), panel);
    made.edit->setEnabled(customChoice->isChecked());
    QObject::connect(customChoice, &QRadioButton::toggled, made.edit, &QPushButton::setEnabled);
    QObject::connect(made.edit, &QPushButton::clicked, made.editor, &PatternEditor::editCustom);
    QObject::connect(made.editor, &PatternEditor::applyRequested, panel, std::move(apply));
    return made;
}

} // namespace PanelControls
