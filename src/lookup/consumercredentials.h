#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstddef>
#include <string_view>

// The consumer key and secret the application identifies itself with to the release database.
// They are supplied at build time (the CMake cache variables QUORL_DISCOGS_CONSUMER_KEY and
// QUORL_DISCOGS_CONSUMER_SECRET, empty by default) and kept in the binary only in scrambled
// form: each byte is XORed at compile time with the scramble key, and unscrambled just before a
// request header is filled (DownloadOperation::decrypt).
namespace ConsumerCredentials {

inline constexpr std::string_view ScrambleKey = "q7#Lr9!vZe2@Nx5%Tb8^Kd1&Hw4*Jm6";

template <std::size_t N>
struct Scrambled {
    std::array<char, N> bytes{};

    QByteArrayView view() const { return QByteArrayView(bytes.data(), qsizetype(N)); }
};

// Scrambles a string literal while compiling; the literal itself never reaches the binary.
template <std::size_t N>
consteval Scrambled<N - 1> scramble(const char (&text)[N])
{
    Scrambled<N - 1> result;
    for (std::size_t i = 0; i + 1 < N; ++i)
        result.bytes[i] = char(text[i] ^ ScrambleKey[i % ScrambleKey.size()]);
    return result;
}

// The scrambled built-in credentials; empty when the build supplied none.
QByteArrayView scrambledKey();
QByteArrayView scrambledSecret();

// True when the build supplied both a key and a secret.
bool isBuiltIn();

} // namespace ConsumerCredentials
