#include "editor/songsorting.h"

#include "editor/editorcontroller.h"
#include "model/song.h"
#include "model/textutil.h"
#include "model/variantnumber.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace SongSorting {

namespace {

enum class Kind { Absent, Number, Text };

Kind kindOf(const QVariant &value)
{
    if (VariantNumber::isNumber(value))
        return Kind::Number;
    return value.typeId() == QMetaType::QString ? Kind::Text : Kind::Absent;
}

// Sort keys prepared once per song: texts are case-folded before the sort, not per comparison.
QVariant sortKey(const QVariant &value)
{
    if (kindOf(value) == Kind::Text)
        return value.toString().toCaseFolded();
    return value;
}

int compareNumbers(const QVariant &a, const QVariant &b)
{
    if (!VariantNumber::isFloatingPoint(a) && !VariantNumber::isFloatingPoint(b)) {
        const qint64 x = a.toLongLong();
        const qint64 y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const double x = a.toDouble();
    const double y = b.toDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
}

int compareKeys(const QVariant &a, const QVariant &b)
{
    const Kind kindA = kindOf(a);
    const Kind kindB = kindOf(b);
    if (kindA != kindB)
        return int(kindA) < int(kindB) ? -1 : 1;
    switch (kindA) {
    case Kind::Number:
        return compareNumbers(a, b);
    case Kind::Text:
        return TextUtil::numericalCompare(a.toString(), b.toString());
    case Kind::Absent:
        return 0;
    }
    return 0;
}

} // namespace

int compareValues(const QVariant &a, const QVariant &b)
{
    return compareKeys(sortKey(a), sortKey(b));
}

std::vector<int> sortSongs(SongList *songs, const QList<SortDescriptor> &descriptors)
{
    const size_t count = songs->size();
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    if (descriptors.isEmpty() || count < 2)
        return order;
    std::vector<QVariantList> keys(count);
    for (size_t i = 0; i < count; ++i) {
        keys[i].reserve(descriptors.size());
        for (const SortDescriptor &descriptor : descriptors)
            keys[i].append(sortKey((*songs)[i]->valueForKey(descriptor.key)));
    }

    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        for (qsizetype d = 0; d < descriptors.size(); ++d) {
            const int result = compareKeys(keys[size_t(x)].at(d), keys[size_t(y)].at(d));
            if (result != 0)
                return descriptors.at(d).ascending ? result < 0 : result > 0;
        }
        return false;
    });

    SongList sorted;
    sorted.reserve(count);
    for (int index : order)
        sorted.push_back(std::move((*songs)[size_t(index)]));
    songs->swap(sorted);
    return order;
}

} // namespace SongSorting
