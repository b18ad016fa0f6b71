// The balloon tip window: a small pop-up that shows its window text.
#include "app/app.h"
#include "app/shutdown.h"

LRESULT CALLBACK BalloonWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        HBRUSH back = CreateSolidBrush(RGB(255, 255, 225));
        FillRect(dc, &r, back);
        DeleteObject(back);
        FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
        char text[128];
        GetWindowTextA(window, text, sizeof text);
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        r.left += 4;
        DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
