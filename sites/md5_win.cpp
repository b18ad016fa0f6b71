// Windows MD5 through advapi32, whose MD5Init/MD5Update/MD5Final the
// mingw-w64 headers do not declare. The context layout is the one the
// system library fills: the digest is left in the record by MD5Final.
#include "sites/md5.h"

#include <windows.h>

namespace {

struct Md5Context {
    ULONG i[2];
    ULONG buf[4];
    unsigned char in[64];
    unsigned char digest[16];
};

} // namespace

extern "C" {
void WINAPI MD5Init(Md5Context *context);
void WINAPI MD5Update(Md5Context *context, const unsigned char *input, unsigned int length);
void WINAPI MD5Final(Md5Context *context);
}

void Md5Digest(const void *data, size_t length, unsigned char digest[16])
{
    Md5Context context;
    MD5Init(&context);
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    // MD5Update takes a 32-bit count; feed larger inputs in slices.
    while (length > 0) {
        unsigned int slice = length > 0x40000000u ? 0x40000000u : static_cast<unsigned int>(length);
        MD5Update(&context, bytes, slice);
        bytes += slice;
        length -= slice;
    }
    MD5Final(&context);
    for (int n = 0; n < 16; n++)
        digest[n] = context.digest[n];
}
