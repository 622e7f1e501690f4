#pragma once

#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;

// Controls that show a setting and change it: each follows every change of its key, from
// whatever control, and writes the key when the person changes it.
namespace SettingBinding {

// Checked while the boolean key is true (false with inverted: "show" for a "hide" key).
void bind(QCheckBox *box, const QString &key, bool inverted = false);
// The item whose data is the integer value of the key.
void bind(QComboBox *combo, const QString &key);
// The text of the key, written when editing ends.
void bind(QLineEdit *line, const QString &key);

} // namespace SettingBinding
