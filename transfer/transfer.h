// The transfer engine: one file over one data connection.
//
// The drivers choose and announce the representation type, open the data
// connection (passive first when the session asks for it, falling back to
// active), send the transfer command, run the send or receive loop with the
// status dialog, and read the completion reply. Both are blocking calls made
// on the thread that runs the batch; they keep that thread's windows alive
// by pumping its message queue, so Cancel in the status dialog works.
//
// Contract for callers:
//  - results are reply classes (1..5), 0 when the transfer failed before a
//    usable reply (no connection, no data connection, a refused command in
//    active mode, a failed accept);
//  - the drivers refuse to start ("Command in progress, ignored") while a
//    command or another loop is running, and without a control connection;
//  - bytes go to the wire exactly as stored and are written exactly as they
//    arrive: no file is ever changed in transit (ASCII mode only drops a
//    final DOS end-of-file mark of a block sent);
//  - counts and sizes are 64-bit.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <stdint.h>

// Type last announced with TYPE: 'A', 'I', 'L', or 0 when none is known (the
// next transfer then always announces). A new control connection starts in
// 'A'. The wanted type is GlobalSettings.mode; in automatic mode
// (GlobalSettings.autoMode) each driver replaces it by its choice for the
// file and asks the main window to update its mode buttons.
extern char AnnouncedType;

// Outcome of the last receive loop: 0 failed, 1 complete, 2 partial (data
// arrived, then an error or a cancel); 5 when the server refused the
// command for an entry that is a link (the caller may treat it as a folder).
extern int ReceiveResult;

// Size expected for the running transfer, 0 when unknown: parsed from the
// description when the status opens, else the current entry's size.
extern uint64_t ExpectedSize;

// The description of the running transfer: the preliminary reply of a
// download, "Sending ... file" of an upload.
enum { DESCRIPTION_SIZE = 512 };
extern char TransferDescription[DESCRIPTION_SIZE];

// The file-list entry of the file being transferred. Downloads use its date
// for the local file time and its kind to recognise links; it is cleared
// after every receive loop. year 0 or month 0 means no date.
struct EntryRecord {
    uint32_t kind;      // FileKind
    uint16_t year;
    uint8_t month, day, hour, minute;
    uint64_t size;
    char name[260];
};
extern EntryRecord CurrentEntry;
void ClearCurrentEntry(void);

// Main-window texts that carry the byte count when the status dialog is
// switched off ("HASH" 0): [0] while sending, [1] while receiving. Either may
// be null (then nothing is shown).
extern HWND ProgressTextWindows[2];

// The last progress text shown and the last completion line logged (kept
// after the status closes, for the batch and its tests).
extern char LastProgressText[128];
extern char LastCompletionLine[160];

// Upload: command is "STOR name", "APPE name" (buffer of at least 5 + the
// name; "STOR" may be turned into "STOU" in place when send-unique is on).
int UploadFile(SOCKET control, char *command, const char *localPath, int type, BOOL append);
// Download: command is "RETR name" or a listing command. Sets ReceiveResult.
int DownloadFile(SOCKET control, char *command, const char *localPath, int type, BOOL append);

// What the last receive loop did, kept until its completion line is logged.
// The loop fills it; the driver that read the completion reply calls
// ReportReceived with that reply's class, so the line never says
// "transfer succeeded" before the server has. (ReceiveToHandleLoop, whose
// caller reads its own completion reply, reports at once.) `failed` is set when the data
// were not all stored: the local file could not be written, a receive failed,
// the transfer was cancelled, or a binary transfer brought fewer bytes than
// its preliminary reply announced (ReceiveResult is then 2, partial).
struct ReceiveRecord {
    uint64_t bytes;
    DWORD startTick, endTick;
    BOOL failed;
    BOOL pending;   // a completion line is still owed
    BOOL ended;     // the server closed the data connection: nothing to drain
};
extern ReceiveRecord LastReceive;
void ReportReceived(int replyClass);

// The loops. The send loop returns TRUE when every byte of the file went
// out (not cancelled, no read or send error); it leaves the completion line
// to the upload driver, which knows the server's verdict, and records what
// it sent in LastSend. The receive loops return the receive result and
// leave their completion line to ReportReceived.
BOOL SendFileLoop(SOCKET data, const char *localPath, BOOL binary);
struct SendOutcome {
    uint64_t bytes;
    DWORD startTick, endTick;
};
extern SendOutcome LastSend;
// Opens a local file for sending; on failure logs "Failed to open file",
// plays the failure sound (and in a visible unattended run shows the line)
// and returns INVALID_HANDLE_VALUE.
HANDLE OpenFileForSending(const char *localPath);
int ReceiveToFileLoop(SOCKET data, const char *localPath, BOOL binary, SOCKET control, BOOL append);
// Writes to a file already open and positioned at startOffset; progress
// counts this session's bytes.
int ReceiveToHandleLoop(SOCKET data, HANDLE file, SOCKET control, uint64_t startOffset);

// Announces `type` with TYPE unless it is the type last announced ("TYPE L 8"
// for 'L'); remembers it whatever the reply.
void AnnounceType(SOCKET control, int type);
// The data socket's buffer (SO_RCVBUF or SO_SNDBUF) for a block size, by
// the rule of DataBufferBytes: 16 KiB up to 4096-byte blocks, at least four
// blocks above.
void SetDataBuffer(SOCKET s, int option, int blockSize);
// The type for a file: in automatic mode 'A' for names of the ASCII list
// ("VELTRO.EXT") else 'I', stored as the wanted type; otherwise `type`.
int ChooseType(const char *name, int type);

// The status: progress text (throttled to one update per 500 ms; all zeros
// clear it), completion line, and the status dialog (1 send, 2 receive).
void ShowProgress(uint64_t bytes, DWORD startTick, DWORD nowTick, uint64_t expected);
void ReportCompletion(const char *label, uint64_t bytes, DWORD startTick, DWORD endTick, BOOL failed);
void OpenStatusDialog(int direction);
void CloseStatusDialog(void);
HWND StatusDialogWindow(void);   // the open status dialog, or null

// Runs the calling thread's waiting messages: the status dialog's, the main
// window's accelerators, then the rest.
void PumpTransferMessages(void);
