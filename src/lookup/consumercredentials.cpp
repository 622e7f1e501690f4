#include "lookup/consumercredentials.h"

#ifndef QUORL_DISCOGS_CONSUMER_KEY
#define QUORL_DISCOGS_CONSUMER_KEY ""
#endif
#ifndef QUORL_DISCOGS_CONSUMER_SECRET
#define QUORL_DISCOGS_CONSUMER_SECRET ""
#endif

namespace ConsumerCredentials {

namespace {

// constexpr variables: the scrambled bytes are computed by the compiler, so only they are stored.
constexpr auto Key = scramble(QUORL_DISCOGS_CONSUMER_KEY);
constexpr auto Secret = scramble(QUORL_DISCOGS_CONSUMER_SECRET);

} // namespace

QByteArrayView scrambledKey()
{
    return Key.view();
}

QByteArrayView scrambledSecret()
{
    return Secret.view();
}

bool isBuiltIn()
{
    return !Key.bytes.empty() && !Secret.bytes.empty();
}

} // namespace ConsumerCredentials
