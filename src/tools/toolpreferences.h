#pragma once

#include <QString>
#include <QStringList>

// The radio groups of boolean settings by which the tool panels choose a scheme or mode.
namespace ToolPreferences {

// Sets the key on and every other key of the group off.
void selectOne(const QStringList &group, const QString &key);
// The first key of the group that is on; "" when none is.
QString selectedKey(const QStringList &group);

} // namespace ToolPreferences
