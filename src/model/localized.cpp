#include "model/localized.h"

#include <QCoreApplication>
#include <QTranslator>

namespace Localized {

bool installStringTable()
{
    // Owned by the application object; lives as long as it does.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/i18n/quorl_en.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString text(const char *key)
{
    return qtTrId(key);
}

QString text(const QString &key)
{
    return qtTrId(key.toUtf8().constData());
}

} // namespace Localized
