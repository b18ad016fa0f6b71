// Native MD5 through libmd.
#include "sites/md5.h"

#include <md5.h>

void Md5Digest(const void *data, size_t length, unsigned char digest[16])
{
    MD5_CTX context;
    MD5Init(&context);
    if (length > 0)
        MD5Update(&context, static_cast<const uint8_t *>(data), length);
    MD5Final(digest, &context);
}
