#include "veltro_process_helper.h"

#include <stddef.h>

#include "listing/file_item.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static std::string UnixToWindows(const char *path)
{
    std::string s = path;
    if (!s.empty() && s[0] == '/')
        s = "Z:" + s;
    for (char &c : s)
        if (c == '/')
            c = '\\';
    return s;
}

std::string BuildFile(const char *name)
{
    const char *dir = getenv("VELTRO_BUILD_DIR");
    std::string base = dir ? UnixToWindows(dir) : std::string(".");
    return base + "\\" + name;
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
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

std::string ReadTextFile(const std::string &path)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return "";
    std::string s;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    fclose(f);
    return s;
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

std::vector<std::string> FilesMatching(const std::string &folder, const char *pattern)
{
    std::vector<std::string> out;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    do {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            out.push_back(d.cFileName);
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return out;
}

void RemoveTree(const std::string &folder)
{
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = d.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &d));
        FindClose(h);
    }
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
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    BOOL ok = CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.c_str(), &si, &p->info);
    SetEnvironmentVariableA("TMP", hadTmp ? oldTmp : nullptr);
    SetEnvironmentVariableA("TEMP", hadTemp ? oldTemp : nullptr);
    return ok != FALSE;
}

struct FindData {
    DWORD pid;
    const char *windowClass;
    const char *title;
    HWND found;
};

static BOOL CALLBACK FindProc(HWND window, LPARAM param)
{
    FindData *d = (FindData *)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != d->pid || !IsWindowVisible(window))
        return TRUE;
    char cls[128], text[256];
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, text, sizeof text);
    if (d->windowClass && strcmp(cls, d->windowClass) != 0)
        return TRUE;
    if (d->title && strcmp(text, d->title) != 0)
        return TRUE;
    d->found = window;
    return FALSE;
}

HWND WaitForWindow(const VeltroProcess &p, const char *windowClass, const char *title, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        FindData d = {p.info.dwProcessId, windowClass, title, nullptr};
        EnumWindows(FindProc, (LPARAM)&d);
        if (d.found)
            return d.found;
        if (GetTickCount() - start > milliseconds)
            return nullptr;
        if (WaitForSingleObject(p.info.hProcess, 100) == WAIT_OBJECT_0)
            return nullptr;
    }
}

bool WaitForExit(VeltroProcess *p, DWORD milliseconds, DWORD *exitCode)
{
    if (WaitForSingleObject(p->info.hProcess, milliseconds) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(p->info.hProcess, exitCode);
    return true;
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

struct ChildData {
    const char *cls;
    std::vector<std::string> *out;
};

static BOOL CALLBACK ChildProc(HWND window, LPARAM param)
{
    ChildData *d = (ChildData *)param;
    char cls[64];
    GetClassNameA(window, cls, sizeof cls);
    if (_stricmp(cls, d->cls) == 0) {
        char text[512] = "";
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, nullptr);
        d->out->push_back(text);
    }
    return TRUE;
}

std::vector<std::string> ChildTexts(HWND parent, const char *childClass)
{
    std::vector<std::string> out;
    ChildData d = {childClass, &out};
    EnumChildWindows(parent, ChildProc, (LPARAM)&d);
    return out;
}

bool SaveWindowPicture(HWND window, const char *name)
{
    // Windows of other tests may share the display: bring this one up first.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    if (!GetWindowRect(window, &r))
        return false;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi;
    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    DWORD rowBytes = ((DWORD)w * 3 + 3) & ~3u;
    DWORD imageBytes = rowBytes * (DWORD)h;
    BITMAPFILEHEADER fh;
    memset(&fh, 0, sizeof fh);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + imageBytes;
    std::string folder = BuildFile("artifacts");
    CreateDirectoryA(folder.c_str(), nullptr);
    FILE *f = fopen((folder + "\\" + name).c_str(), "wb");
    bool ok = false;
    if (f) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, 1, imageBytes, f);
        fclose(f);
        ok = true;
    }
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
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
    std::vector<std::string> names = PaneRowNames(process, list);
    for (size_t i = 0; i < names.size(); i++)
        if (names[i] == name)
            return (int)i;
    return -1;
}
