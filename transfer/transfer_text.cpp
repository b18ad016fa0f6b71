#include "transfer/transfer_text.h"

#include <ctype.h>
#include <inttypes.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

TransferRate ComputeRate(uint64_t bytes, uint32_t elapsedMs, bool bytesPerSecond)
{
    if (elapsedMs < 100)
        elapsedMs = 100;
    double seconds = elapsedMs / 1000.0;
    TransferRate r;
    if (bytesPerSecond) {
        r.value = (double)bytes / seconds;
        r.unit = "Bps";
        if (r.value > 1024) {
            r.value /= 1024;
            r.unit = "KBps";
            if (r.value > 1024) {
                r.value = (double)bytes / seconds / 1048576.0;
                r.unit = "MBps";
            }
        }
        return r;
    }
    if (bytes > 100000) {
        r.value = (double)(bytes / 102) / seconds;
        r.unit = "Kbps";
        if (r.value > 1024) {
            r.value /= 1024;
            r.unit = "Mbps";
        }
        return r;
    }
    r.value = (double)(bytes * 10) / seconds;
    r.unit = "bps";
    if (r.value > 10000) {
        r.value = (double)(bytes * 10 / 1024) / seconds;
        r.unit = "Kbps";
        if (r.value > 1024) {
            r.value = (double)(bytes / 102) / seconds / 1024;
            r.unit = "Mbps";
        }
    }
    return r;
}

// Appends to a bounded text; keeps it terminated when the space runs out.
static void Append(char *buffer, size_t size, size_t *used, const char *format, ...)
    __attribute__((format(printf, 4, 5)));
static void Append(char *buffer, size_t size, size_t *used, const char *format, ...)
{
    if (*used >= size)
        return;
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buffer + *used, size - *used, format, args);
    va_end(args);
    if (n > 0)
        *used = *used + (size_t)n < size ? *used + (size_t)n : size - 1;
}

void FormatProgressText(char *buffer, size_t size, uint64_t bytes, uint32_t elapsedMs,
                        uint64_t expected, bool bytesPerSecond)
{
    if (size == 0)
        return;
    buffer[0] = 0;
    size_t used = 0;
    TransferRate rate = ComputeRate(bytes, elapsedMs, bytesPerSecond);
    Append(buffer, size, &used, "%" PRIu64 " : %.2f %s", bytes, rate.value, rate.unit);
    uint64_t seconds = elapsedMs / 1000;
    if (seconds > 0)
        Append(buffer, size, &used, " : %" PRIu64 ":%02" PRIu64, seconds / 60, seconds % 60);
    if (expected > bytes && elapsedMs > 1000) {
        uint64_t perSecond = bytes / seconds;
        if (perSecond > 0) {
            uint64_t remaining = (expected - bytes) / perSecond;
            if (remaining > 0)
                Append(buffer, size, &used, " : %" PRIu64 ":%02" PRIu64, remaining / 60,
                       remaining % 60);
        }
    }
}

void FormatCompletionText(char *buffer, size_t size, const char *label, uint64_t bytes,
                          uint32_t elapsedMs, bool bytesPerSecond, const char *outcome)
{
    TransferRate rate = ComputeRate(bytes, elapsedMs, bytesPerSecond);
    snprintf(buffer, size, "%s %" PRIu64 " bytes in %.1f secs, (%.2f %s), %s", label, bytes,
             elapsedMs / 1000.0, rate.value, rate.unit, outcome);
}

static uint64_t ReadNumber(const char **p)
{
    uint64_t v = 0;
    while (isdigit((unsigned char)**p)) {
        unsigned d = (unsigned)(**p - '0');
        if (v > (UINT64_MAX - d) / 10)
            return 0;   // absurd: treat as no size
        v = v * 10 + d;
        (*p)++;
    }
    return v;
}

static bool StartsWithNoCase(const char *text, const char *prefix)
{
    for (; *prefix; text++, prefix++) {
        if (tolower((unsigned char)*text) != *prefix)
            return false;
    }
    return true;
}

uint64_t ParseAnnouncedSize(const char *description)
{
    const char *close = strrchr(description, ')');
    size_t length = close ? (size_t)(close - description) : strlen(description);
    const char *open = nullptr;
    for (size_t i = length; i-- > 0;) {
        if (description[i] == '(') {
            open = description + i;
            break;
        }
    }
    if (!open)
        return 0;
    const char *p = open + 1;
    const char *end = description + length;
    while (p < end && *p == ' ')
        p++;
    if (p >= end || !isdigit((unsigned char)*p))
        return 0;
    uint64_t number = ReadNumber(&p);
    if (p > end)
        return 0;
    while (p < end && *p == ' ')
        p++;
    size_t rest = (size_t)(end - p);
    if (rest >= 5 && StartsWithNoCase(p, "bytes"))
        return number;
    if (rest >= 1 && tolower((unsigned char)*p) == 'k') {
        if (number > UINT64_MAX / 1024)
            return 0;
        return number * 1024;
    }
    return 0;
}

unsigned ProgressPercent(const char *progressText, uint64_t size)
{
    if (size == 0)
        return 0;
    const char *p = progressText;
    while (*p == ' ')
        p++;
    uint64_t bytes = ReadNumber(&p);
    uint64_t percent;
    if (size < 1000000)
        percent = bytes * 100 / size;
    else
        percent = bytes / (size / 100);
    return percent > 100 ? 100u : (unsigned)percent;
}

size_t SendableLength(const char *block, size_t length, bool ascii)
{
    if (ascii && length > 0 && block[length - 1] == 0x1A)
        return length - 1;
    return length;
}

int EffectiveBlockSize(int setting, int defaultSize)
{
    if (setting <= 0)
        return defaultSize;
    return setting > MAX_TRANSFER_BLOCK ? (int)MAX_TRANSFER_BLOCK : setting;
}

int DataBufferBytes(int blockSize, int systemBytes)
{
    if (blockSize <= DATA_BUFFER_BYTES / DATA_BUFFER_BLOCKS)
        return DATA_BUFFER_BYTES;
    int wanted = EffectiveBlockSize(blockSize, 0) * DATA_BUFFER_BLOCKS;
    return systemBytes >= wanted ? 0 : wanted;
}

unsigned CompleteYear(unsigned year)
{
    if (year < 50)
        return year + 2000;
    if (year < 1900)
        return year + 1900;
    return year;
}

void FormatMdtmCommand(char *buffer, size_t size, unsigned year, unsigned month, unsigned day,
                       unsigned hour, unsigned minute, unsigned second, const char *remoteName)
{
    snprintf(buffer, size, "MDTM %u%02u%02u%02u%02u%02u %s", year, month, day, hour, minute,
             second, remoteName);
}

void QuoteCommandArgument(char *buffer, size_t size, const char *command)
{
    size_t verb = 0;
    while (command[verb] && command[verb] != ' ')
        verb++;
    while (command[verb] == ' ')
        verb++;
    snprintf(buffer, size, "%.*s'%s'", (int)verb, command, command + verb);
}
