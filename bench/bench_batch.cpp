// Batch benchmark: the real program, driven through its windows, downloads
// a server folder of many small files and uploads it again; prints files
// per second each way.
//   bench_batch.exe port user password serverHome folderName count size
// serverHome is the Windows path of the server's home (Z:...), which holds
// folderName with count files of size bytes. The upload goes to the home as
// folderName + "-up" (made by the server).
#include <windows.h>
#include <commctrl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>

#include "listing/file_item.h"
#include "resources/resource.h"
#include "sites/stored_password.h"
#include "veltro_process_helper.h"

// No window manager runs under Xvfb, and Wine waits up to 2 s for one to
// confirm every managed top-level window it hides (here: the folder
// question, a fixed 2 s per batch that a desktop does not have). The
// program's windows are unmanaged in the bench's prefix unless
// BENCH_MANAGED=1.
static void UnmanagedWindows(void)
{
    char managed[8] = "";
    if (GetEnvironmentVariableA("BENCH_MANAGED", managed, sizeof managed) && managed[0] == '1')
        return;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Managed", 0, REG_SZ, (const BYTE *)"N", 2);
    RegCloseKey(key);
}

// Selects the row named name; its FileItem block is read from the
// program's memory.
static bool Shows(HANDLE program, HWND list, const char *name)
{
    for (int tries = 0; tries < 300; tries++, Sleep(100)) {
        int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; i++) {
            FileItem item = {};
            char text[300] = "";
            const char *at = (const char *)SendMessageA(list, LB_GETITEMDATA, i, 0);
            if (ReadProcessMemory(program, at, &item, offsetof(FileItem, text), nullptr) && item.nameLength < 300 &&
                ReadProcessMemory(program, at + offsetof(FileItem, text), text, item.nameLength, nullptr) &&
                std::string(text, item.nameLength) == name) {
                SendMessageA(list, LB_SETSEL, FALSE, -1);
                SendMessageA(list, LB_SETSEL, TRUE, i);
                return true;
            }
        }
    }
    return false;
}

// Files of the folder with exactly size bytes.
static int CompleteFiles(const std::string &folder, DWORD size)
{
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &f);
    int n = 0;
    if (h == INVALID_HANDLE_VALUE) return 0;
    do n += !(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && f.nFileSizeLow == size;
    while (FindNextFileA(h, &f));
    FindClose(h);
    return n;
}

// Runs one batch: selects name in list, presses the button, answers the
// folder question and waits for count files in target. Seconds, or -1.
static double Batch(VeltroProcess &app, HWND main, int listId, int button, const char *name,
                    const std::string &target, int count, DWORD size)
{
    HWND list = GetDlgItem(main, listId);
    if (!Shows(app.info.hProcess, list, name)) return -1;
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&a);
    PostMessageA(GetDlgItem(main, button), BM_CLICK, 0, 0);
    HWND box = WaitForWindow(app, "#32770", "Veltro Lite", 20000);
    if (!box) return -1;
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    for (DWORD start = GetTickCount(); CompleteFiles(target, size) < count; Sleep(20))
        if (GetTickCount() - start > 600000) return -1;
    QueryPerformanceCounter(&b);
    return (double)(b.QuadPart - a.QuadPart) / (double)f.QuadPart;
}

int main(int argc, char **argv)
{
    if (argc < 8) {
        fprintf(stderr, "usage: bench_batch port user password serverHome folder count size\n");
        return 2;
    }
    std::string home = argv[4], name = argv[5], up = name + "-up";
    int count = atoi(argv[6]);
    DWORD size = (DWORD)atoi(argv[7]);
    std::string folder = MakeTestFolder("benchbatch"), local = folder + "\\files";
    CreateDirectoryA(local.c_str(), nullptr);
    WriteTextFile(folder + "\\VELTRO.INI",
                  std::string("[_config_]\r\nAUTOSTART=1\r\nSESSION=vs\r\n[vs]\r\nHOST=127.0.0.1\r\nPORT=") +
                      argv[1] + "\r\nUID=" + argv[2] + "\r\nPWD=" + EncodeStoredPassword(argv[2], argv[3]) +
                      "\r\nLOCDIR=" + local + "\r\n");
    UnmanagedWindows();
    VeltroProcess app;
    int rc = 1;
    if (StartVeltro(&app, folder, "")) {
        HWND sheet = WaitForWindow(app, "#32770", nullptr, 30000);
        HWND main = WaitForWindow(app, "Veltro Lite", nullptr, 10000);
        if (sheet && main) {
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            double down = Batch(app, main, IDC_REMOTE_LIST, IDM_DOWNLOAD, name.c_str(), local + "\\" + name, count, size);
            Sleep(1000);
            MoveFileA((local + "\\" + name).c_str(), (local + "\\" + up).c_str());
            PostMessageA(main, WM_COMMAND, IDM_LOCAL_REFRESH, 0);
            double upload = down > 0 ? Batch(app, main, IDC_LOCAL_LIST, IDM_UPLOAD, up.c_str(), home + "\\" + up, count, size) : -1;
            printf("files %d of %lu bytes\n", count, (unsigned long)size);
            if (down > 0) printf("DOWN %.1f files/s (%.2f s)\n", count / down, down);
            if (upload > 0) printf("UP %.1f files/s (%.2f s)\n", count / upload, upload);
            rc = down > 0 && upload > 0 ? 0 : 1;
        }
    }
    KillVeltro(&app);
    RemoveTree(folder);
    return rc;
}
