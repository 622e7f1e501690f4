#pragma once

#include <QString>

#include <optional>

class UserQuestions;

// The review prompt shown once per minor release, after start-up.
namespace Campaign {

struct Version {
    int majorNumber = 0;
    int minorNumber = 0;
};

// The first two numbers of the first "major.minor.patch" in the text, if any.
std::optional<Version> parseVersion(const QString &text);

// True when nothing (or nothing readable) was stored, or the stored version is of an older
// major or minor release than the current one. A new patch level does not ask again.
bool shouldAsk(const QString &currentVersion, const QString &storedVersion);

// Asks when shouldAsk() says so: the first button stores the current version and requests a
// review, the second does nothing (asked again at the next start), the third stores the version.
void checkCampaign(const QString &currentVersion, UserQuestions *ui);
// The same with the version of this build.
void checkCampaign(UserQuestions *ui);

// Requests a review through the platform's store. Platforms without a store have none to
// request: nothing happens.
void showCampaign();

} // namespace Campaign
