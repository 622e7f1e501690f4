#include "tools/batchreport.h"

#include "editor/errorutil.h"
#include "editor/userquestions.h"

namespace {

// The position of "ShowDetails" among the buttons of the first question.
constexpr int ShowDetailsButton = 1;

} // namespace

void BatchReport::finish()
{
    ErrorUtil::appendEllipsisToMessage(&m_errorText, m_errorCount);
}

void BatchReport::show(UserQuestions *ui, const QString &messageKey, const QString &informativeKey,
                       const QString &informativeText) const
{
    if (m_errorText.isEmpty())
        return;
    UserQuestions::Question question;
    question.messageKey = messageKey;
    question.informativeKey = informativeKey;
    question.informativeText = informativeText;
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("ShowDetails")};
    if (ui->ask(question) != ShowDetailsButton)
        return;
    UserQuestions::Question details;
    details.messageKey = QStringLiteral("ErrorDetails");
    details.informativeText = m_errorText;
    details.buttonKeys = {QStringLiteral("OK")};
    ui->ask(details);
}
