#pragma once

#include <QtGlobal>

#include <limits>

// The position that stands for "no position" in cursors and selection indexes.
inline constexpr qint64 NoneIndex = std::numeric_limits<qint64>::max();
