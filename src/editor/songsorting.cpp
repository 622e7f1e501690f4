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

// A property value prepared once for all its comparisons: numbers as numbers, texts case-folded.
struct SortKey {
    Kind kind = Kind::Absent;
    bool isFloatingPoint = false;
    qint64 integer = 0;
    double real = 0;
    QString text;
};

SortKey sortKey(const QVariant &value)
{
    SortKey key;
    if (VariantNumber::isNumber(value)) {
        key.kind = Kind::Number;
        key.isFloatingPoint = VariantNumber::isFloatingPoint(value);
        if (key.isFloatingPoint)
            key.real = value.toDouble();
        else
            key.integer = value.toLongLong();
    } else if (value.typeId() == QMetaType::QString) {
        key.kind = Kind::Text;
        key.text = value.toString().toCaseFolded();
    }
    return key;
}

int compareNumbers(const SortKey &a, const SortKey &b)
{
    if (!a.isFloatingPoint && !b.isFloatingPoint)
        return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
    const double x = a.isFloatingPoint ? a.real : double(a.integer);
    const double y = b.isFloatingPoint ? b.real : double(b.integer);
    return x < y ? -1 : (x > y ? 1 : 0);
}

int compareKeys(const SortKey &a, const SortKey &b)
{
    if (a.kind != b.kind)
        return int(a.kind) < int(b.kind) ? -1 : 1;
    switch (a.kind) {
    case Kind::Number:
        return compareNumbers(a, b);
    case Kind::Text:
        return TextUtil::numericalCompare(a.text, b.text);
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
    // The keys of song i are keys[i * width] to keys[i * width + width - 1].
    const size_t width = size_t(descriptors.size());
    std::vector<SortKey> keys(count * width);
    for (size_t d = 0; d < width; ++d) {
        const QString &property = descriptors.at(qsizetype(d)).key;
        for (size_t i = 0; i < count; ++i)
            keys[i * width + d] = sortKey((*songs)[i]->valueForKey(property));
    }

    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const SortKey *a = &keys[size_t(x) * width];
        const SortKey *b = &keys[size_t(y) * width];
        for (size_t d = 0; d < width; ++d) {
            const int result = compareKeys(a[d], b[d]);
            if (result != 0)
                return descriptors.at(qsizetype(d)).ascending ? result < 0 : result > 0;
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
