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
// in text; on an unknown option reports it and returns 0. When that line
// named a transfer ("-s", or a remote path word after the bad option), no
// user is there to take over: CommandLineExitCode becomes
// EXIT_BAD_COMMAND_LINE and start-up should end the program.
int ParseCommandLine(char *text, int size);

// The program's exit code after a command-line run, for scripts:
//   0   everything named on the command line was transferred (also a run
//       that showed a remote folder and was closed by the user afterwards)
//   10  bad command line: an unknown option in a line that names a
//       transfer, a path part without a source, or words that name no
//       transfer ("Unknown batch command!")
//   11  the connection or the logon failed (after every retry)
//   12  connected, but a transfer failed
enum {
    EXIT_TRANSFERRED = 0,
    EXIT_BAD_COMMAND_LINE = 10,
    EXIT_CONNECT_FAILED = 11,
    EXIT_TRANSFER_FAILED = 12,
};
extern int CommandLineExitCode;
