// The stored-password form and the MD5 digest under it. Expected texts were
// computed independently of this code base (a reference MD5 and the scramble
// rule applied by hand) and pasted here as literals.
#include "sites/md5.h"
#include "sites/stored_password.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>

namespace {

std::string Hex(const unsigned char digest[16])
{
    char text[33];
    for (int n = 0; n < 16; n++)
        snprintf(text + 2 * n, 3, "%02x", digest[n]);
    return text;
}

// RFC 1321, appendix A.5.
TEST(Md5Digest, Rfc1321TestSuite)
{
    struct Case { const char *input, *digest; } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"}, {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case &c : cases) {
        unsigned char digest[16];
        Md5Digest(c.input, strlen(c.input), digest);
        EXPECT_EQ(Hex(digest), c.digest) << "input \"" << c.input << "\"";
    }
}

struct KnownForm { const char *name, *userId, *secret, *stored; };

const KnownForm KnownForms[] = {
    {"plain", "joe", "secret", "V4D57E9A9D9D9F3822EF3CE79695404DAA76A9AAC6EB2"},
    {"empty secret is key only", "joe", "", "VD0BDB3040AA7735C2E4218F7AED596A6"},
    {"empty user id", "", "x", "V200DFACF764EB75CC366F5CA724A9365AA"},
    {"high bytes and blanks", "joe", "p\xe9ss w0rd!",
     "V32422AA569BCF45ADDD60F5B80CBEC6AA31CA9A8567D37AEA263"},
    {"same secret, user bob", "bob", "pass", "V1D667370D60D30C1ED09CB1A1B6E931BA166ABAC"},
    {"38 characters", "joe", "abcdefghijklmnopqrstuvwxyz0123456789AB",
     "VD3BDE1A2143295092C77B4F5D2988B486596676B6E9C6EA1A2A7A8A9B2B0ADB8B386BCBE8BBF93C495C583848652868C5A8B5C606A98"},
};

// Decoding needs no user id; that every form decodes is the round trip below.
TEST(StoredPassword, EncodesKnownForms)
{
    for (const KnownForm &f : KnownForms)
        EXPECT_STREQ(EncodeStoredPassword(f.userId, f.secret), f.stored) << f.name;
}

TEST(StoredPassword, OlderFormWithoutLeadingV)
{
    struct Case { const char *stored, *secret; } cases[] = {
        {"6162", "aa"},          // 0x61 - 0, 0x62 - 1
        {"", ""},
        {"414", "A"},            // a lone trailing digit is no pair
        {"FF01", "\xff"},        // 0x01 - 1 = 0 ends after one byte
        {"6a", "\x8a"},          // 'a' counts as 97 - 55 = 42: 6 * 16 + 42 = 138
        {"ZZ", "\x53"},          // (35 * 16 + 35) & 255: malformed digits still give a byte
    };
    for (const Case &c : cases)
        EXPECT_STREQ(DecodeStoredPassword(c.stored), c.secret) << "stored " << c.stored;
}

TEST(StoredPassword, RoundTripsEveryByteAtEveryKeyPosition)
{
    // Each byte value 1..255 at a position that walks through all 32 key
    // characters and the index wrap-around of the + i term.
    for (int value = 1; value < 256; value++) {
        std::string secret;
        for (int i = 0; i < 70; i++)
            secret += static_cast<char>((i + value) % 255 + 1);
        std::string stored = EncodeStoredPassword("user", secret.c_str());
        ASSERT_EQ(DecodeStoredPassword(stored.c_str()), secret) << "value " << value;
    }
}

TEST(StoredPassword, LongSecretIsCutNotOverrun)
{
    std::string secret(StoredSecretMax + 50, 'q');
    std::string stored = EncodeStoredPassword("joe", secret.c_str());
    EXPECT_EQ(stored.size(), static_cast<size_t>(StoredTextMax));
    EXPECT_EQ(DecodeStoredPassword(stored.c_str()), secret.substr(0, StoredSecretMax));
    std::string longUser(1000, 'u');
    EXPECT_EQ(strlen(EncodeStoredPassword(longUser.c_str(), "pw")), 37u);
    EXPECT_STREQ(EncodeStoredPassword(nullptr, nullptr), EncodeStoredPassword("", ""));
}

} // namespace
