// The data socket's buffer for each block size: 16 KiB for everything the
// options allow, at least four blocks beyond, the system's own buffer kept
// when it is already that large.
#include <gtest/gtest.h>

#include "transfer/transfer_text.h"

namespace {

struct BufferCase {
    int block;
    int system;     // the size the system gave the new socket
    int expected;   // 0: keep the system's buffer
};

TEST(DataBuffer, FollowsTheBlockSize)
{
    const BufferCase cases[] = {
        {0, 8192, 16384},            // no setting: the default block
        {80, 8192, 16384},           // the smallest the options allow
        {512, 131072, 16384},        // the default send block, even below a larger system size
        {4096, 131072, 16384},       // the largest the options allow: four blocks exactly
        {4097, 16384, 16388},        // just beyond: four blocks
        {8192, 131072, 0},           // the system's buffer already holds four blocks
        {8192, 32768, 0},            // exactly four
        {65536, 131072, 262144},     // too small a system buffer is raised
        {1 << 24, 0, 4 << 20},       // blocks are cut to 1 MiB first
    };
    for (const BufferCase &c : cases)
        EXPECT_EQ(DataBufferBytes(c.block, c.system), c.expected) << "block " << c.block << ", system " << c.system;
}

}  // namespace
