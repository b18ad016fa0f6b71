// MD5 message digest (RFC 1321), used by the stored-password form.
//
// The digest comes from the platform's own implementation (advapi32 on
// Windows, libmd natively); this program carries no copy of the algorithm.
// Md5Digest hashes `length` bytes at `data` (data may be null when length
// is 0) and writes the 16 digest bytes.
#pragma once
#include <stddef.h>

void Md5Digest(const void *data, size_t length, unsigned char digest[16]);
