#include "veltro_process_helper.h"

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "listing/file_item.h"

std::string WindowsPath(std::string s)
{
    if (!s.empty() && s[0] == '/')
        s = "Z:" + s;
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

std::string BuildFile(const char *name)
{
    const char *dir = getenv("VELTRO_BUILD_DIR");
    return (dir ? WindowsPath(dir) : std::string(".")) + "\\" + name;
}

std::string MakeTestFolder(const char *tag)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int counter;
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%sveltro-%s-%lu-%d", temp, tag, GetCurrentProcessId(), ++counter);
    CreateDirectoryA(folder, nullptr);
    return folder;
}

void WriteTextFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

std::string ReadIniText(const std::string &path)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    return ReadTextFile(path);
}

void SetFileWriteTime(const std::string &path, const SYSTEMTIME &utc)
{
    FILETIME ft;
    SystemTimeToFileTime(&utc, &ft);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

SYSTEMTIME FileWriteTime(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    SYSTEMTIME t = {};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        FileTimeToSystemTime(&data.ftLastWriteTime, &t);
    return t;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d) ? (uint64_t)d.nFileSizeHigh << 32 | d.nFileSizeLow : 0;
}

void MakeSparseFile(const std::string &path, uint64_t size, char last)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)size - (size ? 1 : 0);
    DWORD written = 0;
    SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
    if (size)
        WriteFile(f, &last, 1, &written, nullptr);
    CloseHandle(f);
}

std::vector<std::string> FilesMatching(const std::string &folder, const char *pattern)
{
    std::vector<std::string> out;
    ForEachEntry(folder, [&](const std::string &name, bool isFolder) {
        if (!isFolder)
            out.push_back(name);
    }, pattern);
    return out;
}

void RemoveTree(const std::string &folder)
{
    ForEachEntry(folder, [&](const std::string &name, bool isFolder) {
        if (isFolder)
            RemoveTree(folder + "\\" + name);
        else
            DeleteFileA((folder + "\\" + name).c_str());
    });
    RemoveDirectoryA(folder.c_str());
}

bool StartVeltro(VeltroProcess *p, const std::string &folder, const std::string &arguments)
{
    p->folder = folder;
    p->tempFolder = folder + "\\tmp";
    CreateDirectoryA(p->tempFolder.c_str(), nullptr);
    char oldTmp[MAX_PATH] = "", oldTemp[MAX_PATH] = "";
    DWORD hadTmp = GetEnvironmentVariableA("TMP", oldTmp, sizeof oldTmp);
    DWORD hadTemp = GetEnvironmentVariableA("TEMP", oldTemp, sizeof oldTemp);
    SetEnvironmentVariableA("TMP", p->tempFolder.c_str());
    SetEnvironmentVariableA("TEMP", p->tempFolder.c_str());
    std::string exe = BuildFile("veltro.exe");
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    BOOL ok = CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                             folder.c_str(), &si, &p->info);
    SetEnvironmentVariableA("TMP", hadTmp ? oldTmp : nullptr);
    SetEnvironmentVariableA("TEMP", hadTemp ? oldTemp : nullptr);
    return ok != FALSE;
}

HWND WaitForWindow(const VeltroProcess &p, const char *windowClass, const char *title, DWORD milliseconds)
{
    for (DWORD start = GetTickCount();;) {
        for (HWND w = FindWindowExA(nullptr, nullptr, windowClass, title); w;
             w = FindWindowExA(nullptr, w, windowClass, title)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == p.info.dwProcessId && IsWindowVisible(w))
                return w;
        }
        if (GetTickCount() - start > milliseconds || WaitForSingleObject(p.info.hProcess, 100) == WAIT_OBJECT_0)
            return nullptr;
    }
}

bool WaitForExit(VeltroProcess *p, DWORD milliseconds, DWORD *exitCode)
{
    return WaitForSingleObject(p->info.hProcess, milliseconds) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(p->info.hProcess, exitCode);
}

void KillVeltro(VeltroProcess *p)
{
    if (!p->info.hProcess)
        return;
    if (WaitForSingleObject(p->info.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(p->info.hProcess, 99);
        WaitForSingleObject(p->info.hProcess, 5000);
    }
    CloseHandle(p->info.hProcess);
    CloseHandle(p->info.hThread);
    p->info = PROCESS_INFORMATION{};
}

std::vector<std::string> ChildTexts(HWND parent, const char *childClass)
{
    std::vector<std::string> out;
    for (HWND w = FindWindowExA(parent, nullptr, childClass, nullptr); w; w = FindWindowExA(parent, w, childClass, nullptr)) {
        char text[512] = "";
        SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, nullptr);
        out.push_back(text);
    }
    return out;
}

bool SaveWindowPicture(HWND window, const char *name)
{
    // Windows of other tests may share the display: bring this one up first.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top)
        return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const DWORD imageBytes = (((DWORD)w * 3 + 3) & ~3u) * (DWORD)h;   // rows of 24-bit pixels, 4-byte aligned
    BITMAPINFOHEADER info = {sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER head = {0x4D42, (DWORD)(sizeof head + sizeof info) + imageBytes, 0, 0, (DWORD)(sizeof head + sizeof info)};
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void *bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, (BITMAPINFO *)&info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const std::string folder = BuildFile("artifacts");
    CreateDirectoryA(folder.c_str(), nullptr);
    FILE *f = fopen((folder + "\\" + name).c_str(), "wb");
    if (f) {
        fwrite(&head, sizeof head, 1, f);
        fwrite(&info, sizeof info, 1, f);
        fwrite(bits, 1, imageBytes, f);
        fclose(f);
    }
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return f != nullptr;
}

std::vector<std::string> PaneRowNames(HANDLE process, HWND list)
{
    std::vector<std::string> names;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count && i < 100000; i++) {
        const char *at = (const char *)SendMessageA(list, LB_GETITEMDATA, i, 0);
        FileItem item{};
        char text[1024];
        bool read = ReadProcessMemory(process, at, &item, offsetof(FileItem, text), nullptr) &&
                    item.nameLength < sizeof text &&
                    ReadProcessMemory(process, at + offsetof(FileItem, text), text, item.nameLength, nullptr);
        names.push_back(read ? std::string(text, item.nameLength) : std::string());
    }
    return names;
}

int PaneRowOf(HANDLE process, HWND list, const std::string &name)
{
    const std::vector<std::string> names = PaneRowNames(process, list);
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : (int)(at - names.begin());
}
