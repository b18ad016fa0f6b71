// The command line: the option grammar, parsed at start-up before the main
// window exists, and (elsewhere) the unattended transfer of the path part.
#pragma once

struct CommandLineState {
    char source[256];       // "-s", or the first path word
    char destination[256];  // "-d", or the second path word
    int batch;              // "-s" given, or the path part runs
    int quiet;              // "-quiet": no message boxes
    int mode;               // 0, or 'A' / 'I' from "-ascii" / "-binary"
    int lower;              // "-lower"
};

extern CommandLineState CommandLineOptions;

// Loads the global settings, then parses the options at the front of
// `text` (at most size bytes). On success returns 1 and leaves the path part
// in text; on an unknown option reports it and returns 0.
int ParseCommandLine(char *text, int size);
