// The balloon tip window: a small pop-up that shows its window text in the
// system's tooltip colours.
#include "app/app.h"
#include "app/shutdown.h"
#include "ui/layout.h"

LRESULT CALLBACK BalloonWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        HBRUSH back = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
        HPEN outline = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_INFOTEXT));
        HGDIOBJ oldBrush = SelectObject(dc, back), oldPen = SelectObject(dc, outline);
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(back);
        DeleteObject(outline);
        char text[128];
        GetWindowTextA(window, text, sizeof text);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        HGDIOBJ old = SelectObject(dc, ChildFont ? (HGDIOBJ)ChildFont : GetStockObject(DEFAULT_GUI_FONT));
        TextOutA(dc, 4, 2, text, lstrlenA(text));
        SelectObject(dc, old);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    return DefWindowProcA(window, message, wParam, lParam);
}
