#include "cmdline/options.h"

#include "cmdline/path_words.h"

#include <string.h>

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

static const char *SkipBlanks(const char *p)
{
    while (IsBlank(*p))
        p++;
    return p;
}

const char *TakeWord(const char *p, char *buffer, int size)
{
    int n = 0;
    p = SkipBlanks(p);
    int quoted = 0;
    while (*p && (quoted || !IsBlank(*p))) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (n < size - 1) {
            buffer[n++] = *p;
        }
        p++;
    }
    if (size > 0)
        buffer[n] = '\0';
    return SkipBlanks(p);
}

static OptionKind KindOf(const char *word)
{
    switch (word[1]) {
    case 'a':
        if (word[2] && word[3] == 'k')
            return OPT_ASK;
        return OPT_ASCII;
    case 'b': return OPT_BINARY;
    case 'c': return OPT_ACCOUNT;
    case 'd': return OPT_DEST;
    case 'i': return OPT_INI;
    case 'l': return OPT_LOWER;
    case 'p': return OPT_PROFILE;
    case 'q': return OPT_QUIET;
    case 's': return OPT_SOURCE;
    case 'u': return OPT_USER;
    case 'w': return OPT_PASSWORD;
    default: return OPT_UNKNOWN;
    }
}

static int TakesValue(OptionKind kind)
{
    switch (kind) {
    case OPT_ACCOUNT: case OPT_DEST: case OPT_INI: case OPT_PROFILE:
    case OPT_SOURCE: case OPT_USER: case OPT_PASSWORD:
        return 1;
    default:
        return 0;
    }
}

const char *NextOption(const char *p, OptionToken *token)
{
    token->value[0] = '\0';
    p = SkipBlanks(p);
    if (*p != '-') {
        token->kind = OPT_END;
        token->rest = p;
        return p;
    }
    char word[OPTION_VALUE_SIZE];
    const char *start = p;
    const char *after = TakeWord(p, word, sizeof word);
    token->kind = KindOf(word);
    token->rest = start;
    if (token->kind == OPT_UNKNOWN)
        return start;
    if (TakesValue(token->kind))
        after = TakeWord(after, token->value, sizeof token->value);
    return after;
}

int NamesRemoteWord(const char *text)
{
    const char *p = text;
    bool skipValue = false;
    for (int guard = 0; guard < 256 && *p; guard++) {
        char word[OPTION_VALUE_SIZE];
        const char *next = TakeWord(p, word, sizeof word);
        PathWord path;
        if (skipValue) {
            skipValue = false;   // the value of -i, -p, -u, -w, -c
        } else if (word[0] == '-' && word[1]) {
            OptionKind kind = KindOf(word);
            // The values of -s and -d are path words themselves.
            skipValue = TakesValue(kind) && kind != OPT_SOURCE && kind != OPT_DEST;
        } else if (ClassifyPathWord(word, &path) == PATH_REMOTE) {
            return 1;
        }
        if (next == p)
            break;
        p = next;
    }
    return 0;
}
