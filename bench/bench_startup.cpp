// Start-up to a painted main window: starts veltro.exe (in the current
// folder, where its VELTRO.INI lives) several times; each run ends when the
// main window is visible with nothing left to paint and the program waits
// for input. The window is then closed. Prints each time and the best.
//
//   bench_startup.exe path\to\veltro.exe [runs]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

// The program's main window once it is shown and fully painted, or null.
static HWND PaintedMainWindow(HANDLE process, DWORD processId)
{
    HWND window = FindWindowA("Veltro Lite", nullptr);
    DWORD owner = 0;
    if (!window || !GetWindowThreadProcessId(window, &owner) || owner != processId ||
        !IsWindowVisible(window))
        return nullptr;
    if (WaitForInputIdle(process, 0) != 0 || GetUpdateRect(window, nullptr, FALSE))
        return nullptr;
    return window;
}

// One run: milliseconds to the painted window, or -1.
static double Run(const char *exe)
{
    char commandLine[MAX_PATH + 4];
    snprintf(commandLine, sizeof commandLine, "\"%s\"", exe);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    double ms = -1;
    HWND window = nullptr;
    for (int i = 0; i < 20000 && !window; i++) {   // at most about 20 s
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            break;
        window = PaintedMainWindow(process.hProcess, process.dwProcessId);
    }
    QueryPerformanceCounter(&now);
    if (window) {
        ms = Milliseconds(start, now);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ms;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: bench_startup path\\to\\veltro.exe [runs]\n");
        return 2;
    }
    int runs = argc > 2 ? atoi(argv[2]) : 5;
    if (runs < 1)
        runs = 1;
    double best = -1;
    for (int i = 0; i < runs; i++) {
        double ms = Run(argv[1]);
        printf("run %d: %.0f ms\n", i + 1, ms);
        if (ms >= 0 && (best < 0 || ms < best))
            best = ms;
    }
    printf("STARTUP best %.0f ms\n", best);
    return best >= 0 ? 0 : 1;
}
