#include "tools/toolpreferences.h"

#include "model/userdefaults.h"

namespace ToolPreferences {

void selectOne(const QStringList &group, const QString &key)
{
    UserDefaults &defaults = UserDefaults::shared();
    for (const QString &member : group)
        defaults.setBool(member == key, member);
}

QString selectedKey(const QStringList &group)
{
    const UserDefaults &defaults = UserDefaults::shared();
    for (const QString &member : group) {
        if (defaults.boolForKey(member))
            return member;
    }
    return QString();
}

} // namespace ToolPreferences
