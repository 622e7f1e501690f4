#include "editor/campaign.h"

#include "editor/userquestions.h"
#include "model/userdefaults.h"
#include "quorlversion.h"

#include <QRegularExpression>

namespace Campaign {

namespace {

const QString LastCampaignVersionKey = QStringLiteral("LAST_CAMPAIGN_VERSION");

} // namespace

std::optional<Version> parseVersion(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("([0-9]+)\\.([0-9]+)\\.[0-9]+"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool majorOk = false;
    bool minorOk = false;
    Version version{match.captured(1).toInt(&majorOk), match.captured(2).toInt(&minorOk)};
    if (!majorOk || !minorOk)
        return std::nullopt;
    return version;
}

bool shouldAsk(const QString &currentVersion, const QString &storedVersion)
{
    const std::optional<Version> stored = parseVersion(storedVersion);
    if (!stored)
        return true;
    const std::optional<Version> current = parseVersion(currentVersion);
    if (!current)
        return false;
    if (stored->majorNumber != current->majorNumber)
        return stored->majorNumber < current->majorNumber;
    return stored->minorNumber < current->minorNumber;
}

void checkCampaign(const QString &currentVersion, UserQuestions *ui)
{
    UserDefaults &defaults = UserDefaults::shared();
    if (!shouldAsk(currentVersion, defaults.stringForKey(LastCampaignVersionKey)))
        return;
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("CampaignTitle");
    question.informativeKey = QStringLiteral("CampaignText");
    question.buttonKeys = {QStringLiteral("CampaignPositive"), QStringLiteral("CampaignLater"),
                           QStringLiteral("CampaignNegative")};
    switch (ui->ask(question)) {
    case 0:
        defaults.setObject(currentVersion, LastCampaignVersionKey);
        showCampaign();
        break;
    case 2:
        defaults.setObject(currentVersion, LastCampaignVersionKey);
        break;
    default:
        break;
    }
}

void checkCampaign(UserQuestions *ui)
{
    checkCampaign(QStringLiteral(QUORL_VERSION), ui);
}

void showCampaign()
{
}

} // namespace Campaign
