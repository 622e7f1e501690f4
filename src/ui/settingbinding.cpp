#include "ui/settingbinding.h"

#include "model/userdefaults.h"
#include "tools/toolpreferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace SettingBinding {

namespace {

// Calls show now and whenever the key's value changes, while the control exists.
template <typename Control, typename Show>
void follow(Control *control, const QStringList &keys, Show show)
{
    show();
    QObject::connect(&UserDefaults::shared(), &UserDefaults::valueChanged, control, [control, keys, show](const QString &changed) {
        if (!keys.contains(changed))
            return;
        const QSignalBlocker blocker(control);
        show();
    });
}

} // namespace

void bind(QCheckBox *box, const QString &key, bool inverted)
{
    follow(box, QStringList{key}, [box, key, inverted] { box->setChecked(UserDefaults::shared().boolForKey(key) != inverted); });
    QObject::connect(box, &QCheckBox::toggled, box, [key, inverted](bool checked) {
        UserDefaults::shared().setBool(checked != inverted, key);
    });
}

void bind(QComboBox *combo, const QString &key)
{
    follow(combo, QStringList{key}, [combo, key] {
        combo->setCurrentIndex(combo->findData(UserDefaults::shared().integerForKey(key)));
    });
    QObject::connect(combo, &QComboBox::activated, combo, [combo, key](int index) {
        UserDefaults::shared().setInteger(combo->itemData(index).toLongLong(), key);
    });
}

void bindText(QComboBox *combo, const QString &key)
{
    follow(combo, QStringList{key}, [combo, key] {
        combo->setCurrentIndex(combo->findData(UserDefaults::shared().stringForKey(key)));
    });
    QObject::connect(combo, &QComboBox::activated, combo, [combo, key](int index) {
        UserDefaults::shared().setObject(combo->itemData(index).toString(), key);
    });
}

void bind(QLineEdit *line, const QString &key)
{
    follow(line, QStringList{key}, [line, key] { line->setText(UserDefaults::shared().stringForKey(key)); });
    QObject::connect(line, &QLineEdit::editingFinished, line, [line, key] {
        if (line->text() != UserDefaults::shared().stringForKey(key))
            UserDefaults::shared().setObject(line->text(), key);
    });
}

void bind(const QList<QRadioButton *> &buttons, const QStringList &keys)
{
    Q_ASSERT(buttons.size() == keys.size());
    for (qsizetype index = 0; index < buttons.size(); ++index) {
        QRadioButton *button = buttons[index];
        const QString key = keys[index];
        follow(button, keys, [button, key, keys] {
            // Exclusive buttons cannot be unchecked one by one; every key may be off. Where a
            // settings file has several keys on, the button shown is the one the tools use.
            button->setAutoExclusive(false);
            button->setChecked(ToolPreferences::selectedKey(keys) == key);
            button->setAutoExclusive(true);
        });
        QObject::connect(button, &QRadioButton::clicked, button, [keys, key] { ToolPreferences::selectOne(keys, key); });
    }
}

} // namespace SettingBinding
