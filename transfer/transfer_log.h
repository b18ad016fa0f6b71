// The transfer log: one text line appended per completed file transfer to
// the file named by "logfile" (default "VELTRO.LOG", relative to the current
// folder), while the in-memory switch is on and "dolog" in `_config_` is 1.
//
//   2003.02.03 09:05 A C:\tmp\b.txt <-- site1 /pub b.txt
//   date       time  type folder\local-name direction site remote-folder remote-name
//
// The type is 'A' when the type last announced to the server is ASCII, else
// 'B'. Uploads ("-->") name the session's host, downloads and resumptions
// ("<--") the site profile.
#pragma once

enum { LOG_UPLOAD = 1, LOG_DOWNLOAD = 2 };
enum { LOG_FOLDER_MAX = 143, LOG_FILE_NAME_SIZE = 156 };

struct LogStamp {
    int year, month, day, hour, minute;
};

// Formats one line, with its line feed, into out (cut to size).
void FormatTransferLogLine(char *out, int size, const LogStamp *when, int announcedType,
                           const char *localFolder, const char *localName, int direction,
                           const char *site, const char *remoteFolder, const char *remoteName);

// The Win32 side (transfer_log_win.cpp).
// The in-memory switch (initially on; the General options page sets it).
extern int TransferLogOn;
// Appends the line for one transfer (direction LOG_UPLOAD or LOG_DOWNLOAD);
// silent when the switch or "dolog" is off or the file cannot be opened.
void WriteTransferLog(int direction, const char *localName, const char *site,
                      const char *remoteFolder, const char *remoteName);
