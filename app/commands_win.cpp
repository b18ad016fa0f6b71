// The command table: each case calls one function of the subsystem that
// owns the behaviour.
#include "app/commands.h"

#include "app/app.h"
#include "resources/resource.h"

BOOL RunCommand(HWND window, int id, HWND control, int notify)
{
    (void)window;
    (void)control;
    (void)notify;
    switch (id) {
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
