// The option grammar of the command line, free of any window system.
//
// Options come first; each begins with "-" and is recognised by its second
// character alone (and "-ask" by its second and fourth). Parsing stops at
// the first word that does not begin with "-": the rest is the path part.
// Options with a value take the next word (a double-quoted word may hold
// spaces; the quotes are dropped).
#pragma once

enum OptionKind {
    OPT_END,       // no more options: `rest` is the path part
    OPT_ASK,       // "-ask"
    OPT_ASCII,     // other "-a..." words
    OPT_BINARY,    // "-b..."
    OPT_ACCOUNT,   // "-c account"
    OPT_DEST,      // "-d destination"
    OPT_INI,       // "-i inifile"
    OPT_LOWER,     // "-l..."
    OPT_PROFILE,   // "-p profile"
    OPT_QUIET,     // "-q..."
    OPT_SOURCE,    // "-s source"
    OPT_USER,      // "-u userid"
    OPT_PASSWORD,  // "-w password"
    OPT_UNKNOWN,   // `rest` is the text from the option on
};

enum { OPTION_VALUE_SIZE = 256 };

struct OptionToken {
    OptionKind kind;
    char value[OPTION_VALUE_SIZE];
    const char *rest;
};

// Reads one option from p; returns where the next one starts.
const char *NextOption(const char *p, OptionToken *token);

// Copies the word at p (quotes removed) into buffer; returns the position
// after the word and the blanks that follow it.
const char *TakeWord(const char *p, char *buffer, int size);

// Whether any word of text that does not begin with "-" is a remote path
// word (cmdline/path_words.h): the line names a transfer.
int NamesRemoteWord(const char *text);
