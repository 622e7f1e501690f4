#include "model/textutil.h"

namespace TextUtil {

QString trimmedString(const QString &text)
{
    // QChar::isSpace covers the Unicode separators (spaces, line and paragraph separators) and
    // the control characters tab, line feed, vertical tab, form feed, carriage return and NEL.
    return text.trimmed();
}

QByteArray trimmedCString(const QString &text)
{
    return trimmedString(text).toUtf8();
}

namespace {

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Reads the run of ASCII digits at *pos and moves *pos past it. No overflow check: very long
// runs wrap, as the comparison only needs an order for realistic numbers.
quint64 digitRunValue(const QChar *text, qsizetype size, qsizetype *pos)
{
    quint64 value = 0;
    while (*pos < size && isAsciiDigit(text[*pos])) {
        value = value * 10 + quint64(text[*pos].unicode() - u'0');
        ++*pos;
    }
    return value;
}

} // namespace

int numericalCompare(const QString &a, const QString &b)
{
    if (&a == &b)
        return 0;
    const QChar *pa = a.constData();
    const QChar *pb = b.constData();
    const qsizetype sizeA = a.size();
    const qsizetype sizeB = b.size();
    qsizetype i = 0;
    qsizetype j = 0;
    for (;;) {
        const qsizetype n = qMin(sizeA - i, sizeB - j);
        qsizetype k = 0;
        while (k < n && pa[i + k] == pb[j + k] && !isAsciiDigit(pa[i + k]))
            ++k;
        if (k == n) {
            const qsizetype restA = sizeA - i - k;
            const qsizetype restB = sizeB - j - k;
            return restA < restB ? -1 : (restA > restB ? 1 : 0);
        }
        const QChar ca = pa[i + k];
        const QChar cb = pb[j + k];
        if (isAsciiDigit(ca) && isAsciiDigit(cb)) {
            i += k;
            j += k;
            const quint64 va = digitRunValue(pa, sizeA, &i);
            const quint64 vb = digitRunValue(pb, sizeB, &j);
            if (va != vb)
                return va < vb ? -1 : 1;
            continue;
        }
        return ca.unicode() < cb.unicode() ? -1 : 1;
    }
}

} // namespace TextUtil
