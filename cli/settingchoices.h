#pragma once

#include "model/result.h"

#include <QString>
#include <QVariant>

// The values a setting may take beyond its type, for -D KEY=VALUE: the sources of extraction and
// the targets of composition, well-formed stored patterns, genre lists of texts, a positive
// picture size and a web address the lookup can reach. Anything else the type allows is fine.
namespace SettingChoices {

// A usage error naming what the key takes when the value is outside it.
Result<void> check(const QString &key, const QVariant &value);

} // namespace SettingChoices
