// Loading veltr32.dll and calling its operations by ordinal. Every call has
// a fallback, so a missing or broken library costs listings and detection
// but never the program.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "listing/host_library.h"
#include "resource.h"

namespace {

typedef int(WINAPI *ParseFn)(ListingEntry *, const char *, DWORD, const char *, const char *);
typedef const char *(WINAPI *NameFn)(DWORD);
typedef DWORD(WINAPI *CountFn)(void);
typedef int(WINAPI *FillFn)(HWND, int);
typedef DWORD(WINAPI *DetectFn)(const char *, DWORD);
typedef int(__cdecl *AboutFn)(HWND);

const char kLibraryName[] = "veltr32.dll";

HMODULE Library;
ParseFn Parse;
NameFn Name;
CountFn Count;
FillFn Fill;
DetectFn DetectSyst, DetectReply;
AboutFn About;

void Forget(void) {
    Parse = nullptr;
    Name = nullptr;
    Count = nullptr;
    Fill = nullptr;
    DetectSyst = DetectReply = nullptr;
    About = nullptr;
}

// A string-table text of the program, or the given English text when the
// resource is missing (tests without resources, a damaged file).
void LoadMessage(UINT id, const char *fallback, char *buffer, int size) {
    if (LoadStringA(GetModuleHandleA(nullptr), id, buffer, size) <= 0)
        snprintf(buffer, (size_t)size, "%s", fallback);
}

// The full name of the library beside the program, or "" when there is none.
void BesideProgram(char *path, size_t size) {
    path[0] = 0;
    char module[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    if (n == 0 || n >= sizeof module) return;
    char *slash = strrchr(module, '\\');
    if (slash == nullptr) return;
    slash[1] = 0;
    snprintf(path, size, "%s%s", module, kLibraryName);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) path[0] = 0;
}

}  // namespace

int LoadHostLibraryFrom(const char *path, char *error, size_t errorSize) {
    FreeHostLibrary();
    if (error != nullptr && errorSize > 0) error[0] = 0;
    char besideProgram[MAX_PATH + 16];
    const char *shown = path;
    if (path == nullptr) {
        BesideProgram(besideProgram, sizeof besideProgram);
        path = besideProgram[0] ? besideProgram : kLibraryName;
        shown = kLibraryName;
    }
    char format[256];
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path);
    DWORD loadError = GetLastError();
    SetErrorMode(oldMode);
    if (module == nullptr) {
        if (error != nullptr && errorSize > 0) {
            LoadMessage(IDS_HOSTLIB_MISSING, "The host-type library %s could not be loaded (error %lu).",
                        format, sizeof format);
            snprintf(error, errorSize, format, shown, (unsigned long)loadError);
        }
        return 0;
    }
    struct {
        WORD ordinal;
        FARPROC *slot;
    } const operations[] = {
        {910, (FARPROC *)&Parse},       {920, (FARPROC *)&Name},       {922, (FARPROC *)&Count},
        {930, (FARPROC *)&Fill},        {940, (FARPROC *)&DetectSyst}, {950, (FARPROC *)&DetectReply},
        {500, (FARPROC *)&About},
    };
    for (const auto &op : operations) {
        *op.slot = GetProcAddress(module, MAKEINTRESOURCEA(op.ordinal));
        if (*op.slot == nullptr) {
            Forget();
            FreeLibrary(module);
            if (error != nullptr && errorSize > 0) {
                LoadMessage(IDS_HOSTLIB_UNUSABLE, "The host-type library %s cannot be used: it lacks operation %u.",
                            format, sizeof format);
                snprintf(error, errorSize, format, shown, (unsigned)op.ordinal);
            }
            return 0;
        }
    }
    // A library that counts no codes or an absurd number is not ours.
    DWORD count = Count();
    if (count < 1 || count > 4096 || Name(HOST_AUTO) == nullptr) {
        Forget();
        FreeLibrary(module);
        if (error != nullptr && errorSize > 0) {
            LoadMessage(IDS_HOSTLIB_UNUSABLE, "The host-type library %s cannot be used: it lacks operation %u.",
                        format, sizeof format);
            snprintf(error, errorSize, format, shown, 922u);
        }
        return 0;
    }
    Library = module;
    return 1;
}

int LoadHostLibrary(void) {
    char message[512];
    if (LoadHostLibraryFrom(nullptr, message, sizeof message)) return 1;
    char caption[64];
    LoadMessage(IDS_HOSTLIB_CAPTION, "Veltro Lite", caption, sizeof caption);
    MessageBoxA(nullptr, message, caption, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

void FreeHostLibrary(void) {
    Forget();
    if (Library != nullptr) FreeLibrary(Library);
    Library = nullptr;
}

int HostLibraryLoaded(void) { return Library != nullptr; }

int HostParseListingLine(ListingEntry *entry, const char *line, uint32_t hostType, const char *folder,
                         const char *userId) {
    if (Parse == nullptr) {
        if (entry != nullptr) memset(entry, 0, sizeof *entry);
        return 0;
    }
    return Parse(entry, line, hostType, folder, userId);
}

const char *HostTypeName(uint32_t hostType) {
    if (Name != nullptr) {
        const char *name = Name(hostType);
        if (name != nullptr) return name;
    }
    static char automatic[64];
    if (automatic[0] == 0) LoadMessage(IDS_HOSTLIB_AUTOMATIC, "Automatic", automatic, sizeof automatic);
    return automatic;
}

uint32_t HostTypeCount(void) { return Count != nullptr ? Count() : 1; }

int HostFillHostTypeList(HWND__ *comboBox, int flag) {
    if (Fill != nullptr) return Fill(comboBox, flag);
    if (comboBox == nullptr) return 0;
    if (flag != 0) SendMessageA(comboBox, CB_RESETCONTENT, 0, 0);
    LRESULT index = SendMessageA(comboBox, CB_ADDSTRING, 0, (LPARAM)HostTypeName(HOST_AUTO));
    if (index < 0) return 0;
    SendMessageA(comboBox, CB_SETITEMDATA, (WPARAM)index, (LPARAM)HOST_AUTO);
    return 1;
}

uint32_t HostDetectFromSyst(const char *systReplyLine, uint32_t hostType) {
    return DetectSyst != nullptr ? DetectSyst(systReplyLine, hostType) : (uint32_t)HOST_AUTO;
}

uint32_t HostDetectFromReply(const char *replyLine, uint32_t hostType) {
    return DetectReply != nullptr ? DetectReply(replyLine, hostType) : (uint32_t)HOST_AUTO;
}

int HostShowAboutBox(HWND__ *owner) { return About != nullptr ? About(owner) : -1; }
