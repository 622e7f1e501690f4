#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class MainWindow;
class PatternEditor;
class PatternField;
class QCheckBox;
class QObject;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;

// The controls the tool panels are made of. Each control bound to a setting is named after its
// key (objectName), shows the key's value and stores a change at once, so that every other
// control of the key follows.
namespace PanelControls {

QCheckBox *checkBox(const char *labelKey, const QString &key, QWidget *parent);

// A radio choice over a group of boolean keys: one button per key, in a box of its own so that
// the choice is exclusive only within the group.
struct RadioChoice {
    const char *labelKey;
    QString key;
};
QGroupBox *radioGroup(const char *titleKey, const QList<RadioChoice> &choices, QWidget *parent);
// The button of a key in a group made above.
QRadioButton *radioButton(const QGroupBox *group, const QString &key);

// A list of label and value pairs, bound to a text key.
struct ListChoice {
    QString label;
    QString value;
};
QComboBox *choiceList(const QList<ListChoice> &choices, const QString &key, QWidget *parent);

// Calls enable now and at every change of the table's selection with whether songs are selected,
// while the receiver exists.
void followSelection(MainWindow &window, QObject *receiver, std::function<void(bool)> enable);

// The panel's command: the default button of the panel, named "command". It is enabled while
// songs are selected and runs only while no save is running.
QPushButton *commandButton(MainWindow &window, const char *textKey, QWidget *parent, std::function<void()> run);

// The custom pattern of a tool: the stored pattern shown as chips (it follows the key), an
// "Edit…" button enabled while the custom choice is checked, and the editor it opens, whose
// Apply runs the tool on the selection.
struct CustomPattern {
    PatternField *display = nullptr;
    QPushButton *edit = nullptr;
    PatternEditor *editor = nullptr;
};
CustomPattern customPattern(const QString &schemeKey, QRadioButton *customChoice, QWidget *panel,
                            std::function<void()> apply);

} // namespace PanelControls
