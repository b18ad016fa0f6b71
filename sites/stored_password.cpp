#include "sites/stored_password.h"

#include "sites/md5.h"

#include <stdio.h>
#include <string.h>

namespace {

const char KeySuffix[] = "%7!q!5";
const char HexDigits[] = "0123456789ABCDEF";

// Shared by both directions; large enough for the longest stored text.
char Result[StoredTextMax + 1];

unsigned DigitValue(unsigned char c)
{
    return c > '9' ? c - 55u : c - static_cast<unsigned>('0');
}

unsigned PairValue(const char *pair)
{
    return (DigitValue(static_cast<unsigned char>(pair[0])) * 16u +
            DigitValue(static_cast<unsigned char>(pair[1]))) & 0xFFu;
}

} // namespace

const char *EncodeStoredPassword(const char *userId, const char *secret)
{
    if (!userId)
        userId = "";
    if (!secret)
        secret = "";
    size_t userLength = strnlen(userId, StoredUserIdMax);
    size_t secretLength = strnlen(secret, StoredSecretMax);

    // Digest of user id + secret + suffix, without the terminator.
    char input[StoredUserIdMax + StoredSecretMax + sizeof KeySuffix];
    size_t total = userLength + secretLength + sizeof KeySuffix - 1;
    memcpy(input, userId, userLength);
    memcpy(input + userLength, secret, secretLength);
    memcpy(input + userLength + secretLength, KeySuffix, sizeof KeySuffix - 1);
    unsigned char digest[16];
    Md5Digest(input, total, digest);

    char *out = Result;
    *out++ = 'V';
    for (int n = 0; n < 16; n++) {
        *out++ = HexDigits[digest[n] >> 4];
        *out++ = HexDigits[digest[n] & 15];
    }
    const char *key = Result + 1;
    for (size_t i = 0; i < secretLength; i++) {
        unsigned value = (static_cast<unsigned char>(secret[i]) +
                          (static_cast<unsigned char>(key[i % 32]) & 63u) + i) & 0xFFu;
        *out++ = HexDigits[value >> 4];
        *out++ = HexDigits[value & 15];
    }
    *out = '\0';
    return Result;
}

const char *DecodeStoredPassword(const char *stored)
{
    // Work on a copy: the caller may pass the result of the previous call.
    char text[StoredTextMax + 1];
    snprintf(text, sizeof text, "%s", stored ? stored : "");
    size_t length = strlen(text);

    size_t out = 0;
    if (text[0] == 'V') {
        const char *key = text + 1;
        for (size_t at = 33, i = 0; at + 2 <= length; at += 2, i++) {
            unsigned keyByte = static_cast<unsigned char>(key[i % 32]) & 63u;
            Result[out++] = static_cast<char>((PairValue(text + at) - keyByte - i) & 0xFFu);
        }
    } else {
        for (size_t at = 0, i = 0; at + 2 <= length; at += 2, i++)
            Result[out++] = static_cast<char>((PairValue(text + at) - i) & 0xFFu);
    }
    Result[out] = '\0';
    return Result;
}
