// Texts and small rules of the transfer engine that need no platform:
// rates, the progress and completion lines, the size announced in a 150
// reply, the percentage shown by the status dialog, the ASCII end-of-file
// rule, block sizes and the MDTM command.
//
// Byte counts are 64-bit everywhere: a file past 4 GiB must not wrap in a
// size, a progress text or a completion line.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Rate for display. bytesPerSecond selects bytes per second (Bps, KBps,
// MBps); otherwise bits per second counted as ten bits per byte (bps, Kbps,
// Mbps). Elapsed time below 100 ms counts as 100 ms.
struct TransferRate {
    double value;
    const char *unit;
};
TransferRate ComputeRate(uint64_t bytes, uint32_t elapsedMs, bool bytesPerSecond);

// The progress text: "bytes : rate unit", then " : m:ss" elapsed once a
// whole second has passed, then " : m:ss" remaining when the expected size
// is above the count and more than a second has passed.
void FormatProgressText(char *buffer, size_t size, uint64_t bytes, uint32_t elapsedMs,
                        uint64_t expected, bool bytesPerSecond);

// "<label> N bytes in S.s secs, (R unit), <outcome>".
void FormatCompletionText(char *buffer, size_t size, const char *label, uint64_t bytes,
                          uint32_t elapsedMs, bool bytesPerSecond, const char *outcome);

// The size a description announces in its last parenthesis: "(12345 bytes)"
// gives 12345, "(12 kbytes)" 12288 (case ignored). 0 when none.
uint64_t ParseAnnouncedSize(const char *description);

// Percentage of `size` that the leading number of a progress text stands
// for, 0..100 (0 when the size is 0).
unsigned ProgressPercent(const char *progressText, uint64_t size);

// Bytes of a block to send: in ASCII mode a block ending in the DOS
// end-of-file mark (0x1A) is sent without it.
size_t SendableLength(const char *block, size_t length, bool ascii);

// Block size in effect for an "RBP"/"SBP" value: values of 0 or less (absent
// or unreadable) give the default; values above MAX_TRANSFER_BLOCK are cut.
enum { MAX_TRANSFER_BLOCK = 1 << 20 };
int EffectiveBlockSize(int setting, int defaultSize);

// The data socket's buffer for a block size (receive buffer for downloads,
// send buffer for uploads), given the size the system chose for the new
// socket. Up to 4096-byte blocks (the defaults and all the options page
// allows) the buffer is 16384 bytes. Larger blocks, set by hand, get at
// least four blocks: the system's own buffer when it is that large (its
// automatic tuning then stays on), else four blocks. 0 means "keep the
// system's buffer".
enum { DATA_BUFFER_BYTES = 16384, DATA_BUFFER_BLOCKS = 4 };
int DataBufferBytes(int blockSize, int systemBytes);

// Two-digit and short years of listing dates: below 50 are 20xx, 50 up to
// 1899 are 19xx; others stay.
unsigned CompleteYear(unsigned year);

// "MDTM YYYYMMDDhhmmss name".
void FormatMdtmCommand(char *buffer, size_t size, unsigned year, unsigned month, unsigned day,
                       unsigned hour, unsigned minute, unsigned second, const char *remoteName);

// The command with everything after its verb and the blanks that follow it
// wrapped in apostrophes: "RETR  a b" becomes "RETR  'a b'".
void QuoteCommandArgument(char *buffer, size_t size, const char *command);
