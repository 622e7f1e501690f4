#include "ui/settingbinding.h"

#include "model/userdefaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace SettingBinding {

namespace {

// Calls show now and whenever the key's value changes, while the control exists.
template <typename Control, typename Show>
void follow(Control *control, const QString &key, Show show)
{
    show();
    QObject::connect(&UserDefaults::shared(), &UserDefaults::valueChanged, control, [control, key, show](const QString &changed) {
        if (changed != key)
            return;
        const QSignalBlocker blocker(control);
        show();
    });
}

} // namespace

void bind(QCheckBox *box, const QString &key, bool inverted)
{
    follow(box, key, [box, key, inverted] { box->setChecked(UserDefaults::shared().boolForKey(key) != inverted); });
    QObject::connect(box, &QCheckBox::toggled, box, [key, inverted](bool checked) {
        UserDefaults::shared().setBool(checked != inverted, key);
    });
}

void bind(QComboBox *combo, const QString &key)
{
    follow(combo, key, [combo, key] {
        combo->setCurrentIndex(combo->findData(UserDefaults::shared().integerForKey(key)));
    });
    QObject::connect(combo, &QComboBox::activated, combo, [combo, key](int index) {
        UserDefaults::shared().setInteger(combo->itemData(index).toLongLong(), key);
    });
}

void bind(QLineEdit *line, const QString &key)
{
    follow(line, key, [line, key] { line->setText(UserDefaults::shared().stringForKey(key)); });
    QObject::connect(line, &QLineEdit::editingFinished, line, [line, key] {
        if (line->text() != UserDefaults::shared().stringForKey(key))
            UserDefaults::shared().setObject(line->text(), key);
    });
}

} // namespace SettingBinding
