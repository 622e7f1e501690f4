#include "editor/progressdisplay.h"

#include "model/localized.h"

#include <QLocale>

QString ProgressDisplay::countText(const char *key, qint64 done, qint64 total)
{
    const QLocale locale;
    return Localized::text(key).arg(locale.toString(done), locale.toString(total));
}
