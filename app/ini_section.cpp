#include "app/ini_section.h"

#include <ctype.h>
#include <string.h>

namespace {

bool SameName(const char *a, size_t aLength, const char *b)
{
    size_t bLength = strlen(b);
    if (aLength != bLength)
        return false;
    for (size_t i = 0; i < aLength; i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

void Trim(const char **begin, const char **end)
{
    while (*begin < *end && isspace((unsigned char)**begin))
        ++*begin;
    while (*end > *begin && isspace((unsigned char)(*end)[-1]))
        --*end;
}

// Appends text[0..length) to out at *used; false when it does not fit with
// the list's closing NUL.
bool Put(char *out, size_t outSize, size_t *used, const char *text, size_t length)
{
    if (*used + length + 1 >= outSize)
        return false;
    memcpy(out + *used, text, length);
    *used += length;
    return true;
}

}  // namespace

bool SectionIsPlain(const char *text, size_t length, const char *section)
{
    if (memchr(text, '\0', length))
        return false;   // a UTF-16 file: not read here
    const char *end = text + length;
    if (length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0)
        text += 3;
    bool inside = false;
    for (const char *line = text; line < end;) {
        const char *next = (const char *)memchr(line, '\n', (size_t)(end - line));
        next = next ? next + 1 : end;
        const char *a = line, *b = next;
        line = next;
        Trim(&a, &b);
        if (a == b)
            continue;
        if (*a == '[') {
            const char *close = (const char *)memchr(a, ']', (size_t)(b - a));
            if (close) {
                const char *n = a + 1, *m = close;
                Trim(&n, &m);
                inside = SameName(n, (size_t)(m - n), section);
                continue;
            }
        }
        if (inside && (*a == ';' || !memchr(a, '=', (size_t)(b - a))))
            return false;
    }
    return true;
}

int MergeSectionKeys(const char *list, size_t length, const char *const keys[],
                     const char *const texts[], int count, char *out, size_t outSize)
{
    enum { MAX_KEYS = 16 };
    if (count < 0 || count > MAX_KEYS)
        return -1;
    bool placed[MAX_KEYS] = {};
    bool changed = false;
    size_t used = 0;
    const char *end = list + length;
    for (const char *entry = list; entry < end && *entry;) {
        size_t entryLength = strnlen(entry, (size_t)(end - entry));
        const char *equals = (const char *)memchr(entry, '=', entryLength);
        if (!equals)
            return -1;
        const char *value = equals + 1;
        int match = -1;
        for (int k = 0; k < count && match < 0; k++)
            if (!placed[k] && SameName(entry, (size_t)(equals - entry), keys[k]))
                match = k;
        if (match < 0) {
            if (!Put(out, outSize, &used, entry, entryLength + 1))
                return -1;
        } else {
            placed[match] = true;
            const char *text = texts[match];
            if (!text) {
                changed = true;
            } else {
                if (strlen(text) != (size_t)(entry + entryLength - value) || strncmp(text, value, strlen(text)) != 0)
                    changed = true;
                if (!Put(out, outSize, &used, entry, (size_t)(value - entry)) ||
                    !Put(out, outSize, &used, text, strlen(text) + 1))
                    return -1;
            }
        }
        entry += entryLength + 1;
    }
    for (int k = 0; k < count; k++) {
        if (placed[k] || !texts[k])
            continue;
        changed = true;
        if (!Put(out, outSize, &used, keys[k], strlen(keys[k])) || !Put(out, outSize, &used, "=", 1) ||
            !Put(out, outSize, &used, texts[k], strlen(texts[k]) + 1))
            return -1;
    }
    if (used + 1 > outSize)
        return -1;
    out[used] = '\0';
    return changed ? 1 : 0;
}
