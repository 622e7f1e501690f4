#include "editor/errorutil.h"

#include "model/localized.h"

namespace ErrorUtil {

void appendEllipsisToMessage(QString *message, quint64 withErrorCount)
{
    Q_ASSERT(message);
    if (withErrorCount == 11)
        message->append(Localized::text("ThereIsOneMoreEntry").arg(1));
    else if (withErrorCount >= 12)
        message->append(Localized::text("ThereAreMoreEntries").arg(withErrorCount - 10));
}

} // namespace ErrorUtil
