// The site profile store on top of the configuration accessors and the
// folder combo boxes of the main window.
#include "sites/site_profile.h"

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "resources/resource.h"
#include "sites/host_type_count_win.h"
#include "sites/profile_store.h"
#include "ui/input_dialogs.h"

#include <new>
#include <stdio.h>
#include <string.h>

namespace {

// One prompt for the e-mail address, starting empty. The dialog's answer
// may be longer than the caller's buffer: cut it.
bool AskMailAddress(char *buffer, int size)
{
    // A command-line run has nobody to ask; the anonymous logon then uses
    // the default address.
    if (Unattended)
        return false;
    char answer[sizeof InputBuffer] = "";
    if (!InputText(answer, "%s", LoadText(IDS_ENTER_MAIL_ADDRESS)))
        return false;
    size_t length = strnlen(answer, static_cast<size_t>(size) - 1);
    memcpy(buffer, answer, length);
    buffer[length] = '\0';
    return true;
}

const ProfileAccess IniAccess = {
    ProfileGetString,           ProfilePutString,      ProfileGetInt,
    ProfilePutInt,              ProfilePutIntUnlessGlobal, ProfileGetIntOrGlobal,
    ValidHostTypeCount,         AskMailAddress,
};

// A combo box seen as a folder list. Entries are appended at the end even
// when the box sorts.
int ComboCount(void *context)
{
    LRESULT count = SendMessageA(static_cast<HWND>(context), CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

void ComboGet(void *context, int index, char *buffer, int size)
{
    HWND combo = static_cast<HWND>(context);
    buffer[0] = '\0';
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return;
    // CB_GETLBTEXT has no size limit of its own: fetch into room enough.
    char *text = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (!text)
        return;
    if (SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) != CB_ERR)
        snprintf(buffer, static_cast<size_t>(size), "%s", text);
    delete[] text;
}

void ComboAppend(void *context, const char *text)
{
    SendMessageA(static_cast<HWND>(context), CB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(text));
}

void ComboClear(void *context)
{
    SendMessageA(static_cast<HWND>(context), CB_RESETCONTENT, 0, 0);
}

FolderList ComboFolders(HWND combo)
{
    return {combo, ComboCount, ComboGet, ComboAppend, ComboClear};
}

void AddProfileName(void *context, const char *name)
{
    HWND combo = static_cast<HWND>(context);
    // Sections match without regard to case: list each profile once.
    if (SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(name)) == CB_ERR)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

} // namespace

int LoadSiteProfile(SiteProfile *p)
{
    return ReadSiteProfile(&IniAccess, p, &GlobalSettings) ? 1 : 0;
}

int SaveSiteProfile(const SiteProfile *p)
{
    return WriteSiteProfile(&IniAccess, p) ? 1 : 0;
}

void LoadFirewallSettings(FirewallSettings *firewall)
{
    ReadFirewallSettings(&IniAccess, firewall);
}

void SaveFirewallSettings(const FirewallSettings *firewall)
{
    WriteFirewallSettings(&IniAccess, firewall);
}

void LoadFolderHistory(HWND combo, int remote)
{
    if (!combo)
        return;
    FolderList box = ComboFolders(combo);
    if (IsReservedProfileName(CurrentSession.name)) {
        // No profile section: the local box is still emptied.
        if (!remote)
            box.clear(box.context);
        return;
    }
    ReadFolderHistory(&IniAccess, CurrentSession.name, remote != 0, &box);
}

void SaveFolderHistory(HWND remoteCombo, HWND localCombo)
{
    if (!remoteCombo || !localCombo || IsReservedProfileName(CurrentSession.name))
        return;
    FolderList remoteBox = ComboFolders(remoteCombo);
    FolderList localBox = ComboFolders(localCombo);
    WriteFolderHistory(&IniAccess, CurrentSession.name, GlobalSettings.retain != 0, &remoteBox,
                       &localBox);
}

void FillProfileList(HWND combo)
{
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    FILE *file = fopen(IniPath, "r");
    if (!file)
        return;   // no file yet: no profiles
    ReadProfileNames(file, AddProfileName, combo);
    fclose(file);
}
