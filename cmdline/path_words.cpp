#include "cmdline/path_words.h"

#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "cmdline/options.h"

static int HasPrefix(const char *text, const char *prefix)
{
    return strncasecmp(text, prefix, strlen(prefix)) == 0;
}

static void CopyCounted(char *dst, size_t size, const char *src, size_t count)
{
    if (size == 0)
        return;
    if (count >= size)
        count = size - 1;
    memcpy(dst, src, count);
    dst[count] = '\0';
}

int ClassifyPathWord(const char *word, PathWord *out)
{
    out->kind = PATH_NONE;
    out->host[0] = out->path[0] = '\0';
    if (word == nullptr || word[0] == '\0')
        return PATH_NONE;

    if (HasPrefix(word, "local:")) {
        out->kind = PATH_LOCAL;
        snprintf(out->path, sizeof out->path, "%s", word + 6);
        return PATH_LOCAL;
    }
    if (strchr(word, ':') == nullptr && strncmp(word, "//", 2) != 0) {
        out->kind = PATH_LOCAL;
        snprintf(out->path, sizeof out->path, "%s", word);
        return PATH_LOCAL;
    }

    out->kind = PATH_REMOTE;
    const char *p = word;
    if (HasPrefix(p, "ftp:"))
        p += 4;
    if (HasPrefix(p, "file:"))
        p += 5;
    const char *colon = strchr(p, ':');
    if (colon != nullptr) {
        CopyCounted(out->host, sizeof out->host, p, (size_t)(colon - p));
        while (*colon == ':')
            colon++;
        snprintf(out->path, sizeof out->path, "%s", colon);
        return PATH_REMOTE;
    }
    while (*p == '/')
        p++;
    const char *slash = strchr(p, '/');
    if (slash == nullptr) {
        snprintf(out->host, sizeof out->host, "%s", p);
        return PATH_REMOTE;
    }
    CopyCounted(out->host, sizeof out->host, p, (size_t)(slash - p));
    snprintf(out->path, sizeof out->path, "%s", slash);
    return PATH_REMOTE;
}

static void RemoveAll(char *text, const char *option, int *flag)
{
    size_t n = strlen(option);
    for (char *hit = strstr(text, option); hit != nullptr; hit = strstr(hit, option)) {
        *flag = 1;
        size_t cut = n + (hit[n] == ' ' ? 1 : 0);
        memmove(hit, hit + cut, strlen(hit + cut) + 1);
    }
}

void TakeInlineOptions(char *text, InlineOptions *found)
{
    RemoveAll(text, "-quiet", &found->quiet);
    RemoveAll(text, "-ascii", &found->ascii);
    RemoveAll(text, "-lower", &found->lower);
}

void SplitPathPart(char *text, InlineOptions *found, char *first, int firstSize,
                   char *second, int secondSize)
{
    TakeInlineOptions(text, found);
    for (char *p = text; *p; p++) {
        if (*p == '\\')
            *p = '/';
    }
    const char *rest = TakeWord(text, first, firstSize);
    TakeWord(rest, second, secondSize);
}
