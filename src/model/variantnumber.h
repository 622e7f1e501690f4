#pragma once

#include <QMetaType>
#include <QVariant>

namespace VariantNumber {

// True when the value holds a number (booleans count as 0 and 1), as the song's number
// properties and the values read back from them do.
inline bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// True for the floating-point kinds, whose comparison must not cut off fractions.
inline bool isFloatingPoint(const QVariant &value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

} // namespace VariantNumber
