// The command table: each case calls one function of the subsystem that
// owns the behaviour.
#include "app/commands.h"

#include "app/app.h"
#include "cmdline/unattended.h"
#include "listing/remote_list.h"
#include "resources/resource.h"

BOOL RunCommand(HWND window, int id, HWND control, int notify)
{
    (void)control;
    switch (id) {
    case IDM_COMMANDLINE_TRANSFER:
        if (RunPathPart(window, (char *)CommandLine) != 2)
            PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
    case IDC_REMOTE_FOLDER_BOX:
        OnRemoteFolderBox(window, notify);
        return TRUE;
    case IDM_CONNECT:
        // The session sheet takes over the splash window when it opens.
        if (SplashWindow) {
            DestroyWindow(SplashWindow);
            SplashWindow = nullptr;
        }
        return TRUE;
    }
    return FALSE;
}
