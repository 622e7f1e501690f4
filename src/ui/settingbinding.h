#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// Controls that show a setting and change it: each follows every change of its key, from
// whatever control, and writes the key when the person changes it.
namespace SettingBinding {

// Checked while the boolean key is true (false with inverted: "show" for a "hide" key).
void bind(QCheckBox *box, const QString &key, bool inverted = false);
// The item whose data is the integer value of the key.
void bind(QComboBox *combo, const QString &key);
// The item whose data is the text value of the key.
void bindText(QComboBox *combo, const QString &key);
// The text of the key, written when editing ends.
void bind(QLineEdit *line, const QString &key);
// A radio choice over a group of boolean keys, one button per key in the same order: a button is
// checked while its key is on (none when no key is), and choosing it sets its key on and the
// others off.
void bind(const QList<QRadioButton *> &buttons, const QStringList &keys);

} // namespace SettingBinding
