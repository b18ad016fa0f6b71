// The stored-password form: how PWD and ACT of a site section and PWD of
// the FIREWALL section keep a secret in VELTRO.INI.
//
// Stored text = "V" + key text + scrambled secret, where the key text is the
// MD5 digest of (user id + secret + "%7!q!5") as 32 upper-case hex digits,
// and secret byte i is stored as two upper-case hex digits of
// (P[i] + (key[i % 32] & 63) + i) mod 256. The result is 33 + 2 * length
// characters. Decoding needs only the stored text. Text not beginning with
// "V" is the older form, where pair i holds (P[i] + i) mod 256.
//
// Hex digits are read as upper case only: a character above '9' counts as
// its code minus 55, so malformed digits decode to some byte without error
// (stored text is trusted). A decoded zero byte ends the secret.
//
// Both functions return one shared static buffer, valid until the next call
// of either; they are not re-entrant. Secrets longer than StoredSecretMax
// and user ids longer than StoredUserIdMax are cut to that length before
// encoding (profile texts are far shorter).
#pragma once

enum {
    StoredUserIdMax = 255,                          // longest user id keyed
    StoredSecretMax = 255,                          // longest secret encoded
    StoredTextMax = 1 + 32 + 2 * StoredSecretMax    // longest stored text
};

const char *EncodeStoredPassword(const char *userId, const char *secret);
const char *DecodeStoredPassword(const char *stored);
