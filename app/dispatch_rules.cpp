// Dispatch rules: button states, keyboard search, double-click, help pages.
#include "app/dispatch_rules.h"

#include <ctype.h>

#include "listing/file_item.h"
#include "resources/resource.h"

void ComputeButtonStates(const PaneState &s, ButtonState out[BUTTON_STATE_COUNT])
{
    const bool local = s.localSelected > 0;
    const bool remote = s.remoteSelected > 0;
    const ButtonState states[BUTTON_STATE_COUNT] = {
        {IDM_LOCAL_VIEW, local},
        {IDM_LOCAL_DELETE, local},
        {IDM_LOCAL_RENAME, local},
        {IDM_LOCAL_EXEC, s.localSelected == 1},
        {IDM_REMOTE_CHDIR, s.connected},
        {IDM_REMOTE_MKDIR, s.connected && s.canMakeFolder},
        {IDM_REMOTE_VIEW, remote},
        {IDM_REMOTE_DELETE, remote && s.canDelete},
        {IDM_REMOTE_RENAME, remote && s.canRename},
        {IDM_REMOTE_EXEC, s.remoteSelected == 1},
        {IDM_UPLOAD, s.connected},
        {IDM_DOWNLOAD, s.connected},
        {IDM_REMOTE_REFRESH, s.connected},
        {IDM_REMOTE_DIRINFO, s.connected},
        {IDM_LOCAL_CHDIR, true},
        {IDM_LOCAL_MKDIR, true},
        {IDM_LOCAL_REFRESH, true},
    };
    for (int i = 0; i < BUTTON_STATE_COUNT; i++)
        out[i] = states[i];
}

static bool BeginsWith(const char *name, char key)
{
    return name && name[0] &&
           tolower(static_cast<unsigned char>(name[0])) == tolower(static_cast<unsigned char>(key));
}

int KeyboardSearch(int count, int caret, char key, const char *(*nameAt)(void *, int), void *context)
{
    if (count <= 0 || key == '\0')
        return -1;
    if (caret < -1 || caret >= count)
        caret = -1;
    for (int row = caret + 1; row < count; row++)
        if (BeginsWith(nameAt(context, row), key))
            return row;
    for (int row = 0; row <= caret; row++)
        if (BeginsWith(nameAt(context, row), key))
            return row;
    return -1;
}

DoubleClickAction DoubleClickFor(unsigned kind, bool remote, int option)
{
    if (kind & (KIND_FOLDER | KIND_DRIVE))
        return CLICK_NAVIGATE;
    if ((kind & KIND_LINK) && remote)
        return CLICK_NAVIGATE;
    switch (option) {
    case 0: return CLICK_TRANSFER;
    case 1: return CLICK_VIEW;
    default: return CLICK_NOTHING;
    }
}

const char *HelpPageFor(int context)
{
    static const struct {
        int context;
        const char *page;
    } pages[] = {
        {30, "session-general.html"},   {35, "session-startup.html"},
        {40, "session-advanced.html"},  {45, "session-firewall.html"},
        {80, "passwords.html"},         {82, "passwords.html"},
        {85, "passwords.html"},         {140, "main-window.html"},
        {180, "folders.html"},          {185, "folders.html"},
        {520, "files.html"},            {630, "ftp-commands.html"},
        {640, "ftp-commands.html"},     {650, "folders.html"},
        {680, "files.html"},            {700, "ftp-commands.html"},
        {710, "ftp-commands.html"},     {720, "files.html"},
    };
    for (const auto &p : pages)
        if (p.context == context)
            return p.page;
    return "index.html";
}
