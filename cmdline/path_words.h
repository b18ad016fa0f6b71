// The path part of the command line: the words that name one transfer.
//
// A path word is classified into a kind, a host and a path:
//   ""                       kind 0 (none)
//   "local:C:/tmp/a.txt"     kind 1, path "C:/tmp/a.txt"
//   "a.txt", "sub/a.txt"     kind 1 (no ":" and not beginning with "//")
//   "host:/pub/f.txt"        kind 2, host "host", path "/pub/f.txt"
//   "ftp:host::/f"           kind 2 (every ":" after the host is skipped)
//   "ftp://host/pub/"        kind 2, host "host", path "/pub/"
//   "file://host/x"          kind 2; prefixes "ftp:" then "file:" are optional
// The prefix tests ignore case. A remote word that names neither a host and
// colon nor "//host" gets an empty host.
#pragma once

enum PathWordKind { PATH_NONE = 0, PATH_LOCAL = 1, PATH_REMOTE = 2 };

enum { PATH_WORD_SIZE = 256 };

struct PathWord {
    int kind;
    char host[PATH_WORD_SIZE];
    char path[PATH_WORD_SIZE];
};

// Classifies word into *out (every field set) and returns the kind.
int ClassifyPathWord(const char *word, PathWord *out);

// Options that may appear anywhere in the path part: each of "-quiet",
// "-ascii" and "-lower" (exact case, every occurrence) is removed from
// text together with one following space, and its flag is set.
struct InlineOptions {
    int quiet;
    int ascii;
    int lower;
};
void TakeInlineOptions(char *text, InlineOptions *found);

// Prepares the path part (TakeInlineOptions, then every "\" becomes "/")
// and splits it into the first and second word (blanks separate words; a
// double-quoted stretch belongs to its word without the quotes). Missing
// words come back empty.
void SplitPathPart(char *text, InlineOptions *found, char *first, int firstSize,
                   char *second, int secondSize);
