// Runs the real veltro.exe from a test: in a folder of its own (which holds
// its VELTRO.INI), with its own temporary folder, and finds its windows.
#pragma once
#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

struct VeltroProcess {
    PROCESS_INFORMATION info{};
    std::string folder;     // current folder of the program
    std::string tempFolder; // its TMP and TEMP
};

// A Linux path as a Windows program under Wine sees it (drive Z:).
std::string WindowsPath(std::string linuxPath);
// The Windows path of a file in the build folder (VELTRO_BUILD_DIR).
std::string BuildFile(const char *name);
// A new empty folder under the system temporary folder.
std::string MakeTestFolder(const char *tag);
void WriteTextFile(const std::string &path, const std::string &text);
std::string ReadTextFile(const std::string &path);
// An INI file's text once the platform has flushed its cached writes.
std::string ReadIniText(const std::string &path);
bool FileExists(const std::string &path);
bool IsFolder(const std::string &path);
// A file's size (0 when missing); a file of the size whose last byte is
// `last`, the rest a hole (sparse where the file system allows).
uint64_t FileSize(const std::string &path);
void MakeSparseFile(const std::string &path, uint64_t size, char last = 0);
// Sets / reads a file's last-write time in UTC (all zero when missing).
void SetFileWriteTime(const std::string &path, const SYSTEMTIME &utc);
SYSTEMTIME FileWriteTime(const std::string &path);
std::vector<std::string> FilesMatching(const std::string &folder, const char *pattern);
// Calls visit(name, isFolder) for each entry of the folder matching the pattern, but "." and "..".
template <class F> void ForEachEntry(const std::string &folder, F visit, const char *pattern = "*")
{
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = d.cFileName;
        if (name != "." && name != "..")
            visit(name, (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(h, &d));
    FindClose(h);
}
void RemoveTree(const std::string &folder);

// Starts veltro.exe with the command line in the given folder.
bool StartVeltro(VeltroProcess *p, const std::string &folder, const std::string &arguments);
// Waits up to the time for a visible top-level window of the process with
// the class (and title, when given).
HWND WaitForWindow(const VeltroProcess &p, const char *windowClass, const char *title, DWORD milliseconds);
// Waits for the process to end; returns false on time-out. Exit code out.
bool WaitForExit(VeltroProcess *p, DWORD milliseconds, DWORD *exitCode);
// Ends a process that is still running (test clean-up).
void KillVeltro(VeltroProcess *p);
// Texts of the child windows of a class, in creation (z) order.
std::vector<std::string> ChildTexts(HWND parent, const char *childClass);
// The names of a file list's rows: the rows are blocks in the program's
// memory, read across with ReadProcessMemory ("" for a row that cannot be read).
std::vector<std::string> PaneRowNames(HANDLE process, HWND list);
int PaneRowOf(HANDLE process, HWND list, const std::string &name);
// Saves a picture of the window as a BMP file in the build folder's artifacts.
bool SaveWindowPicture(HWND window, const char *name);
// Polls until done() holds; false after the time.
template <class F> bool WaitUntil(F done, DWORD milliseconds = 30000, DWORD step = 50)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(step))
        if (GetTickCount() - start > milliseconds)
            return false;
    return true;
}
