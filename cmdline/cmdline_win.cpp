// Start-up half of the command line: the options. The path part that
// remains is run later by the unattended transfer.
#include "cmdline/cmdline.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "cmdline/options.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "ftp/control.h"
#include "ui/input_dialogs.h"
#include "ui/msglog.h"

CommandLineState CommandLineOptions;
int CommandLineExitCode;

static void CopyText(char *dst, size_t size, const char *src)
{
    snprintf(dst, size, "%s", src);
}

// "-i": the named settings file replaces IniPath and everything reloads.
static void UseIniFile(const char *name)
{
    char found[MAX_PATH];
    SearchProgramFile(name, found);
    if (strstr(found, ".\\") || !strchr(found, '\\')) {
        char full[MAX_PATH];
        if (GetFullPathNameA(found, sizeof full, full, nullptr))
            CopyText(found, sizeof found, full);
    }
    CopyText(IniPath, sizeof IniPath, found);
    LoadGlobalSettings();
}

static void UseProfile(const char *name)
{
    SiteProfile &s = CurrentSession;
    s.name[0] = s.userId[0] = s.password[0] = s.remoteFolder[0] = '\0';
    s.hostType = 6000;
    s.timeout = 65;
    CopyText(s.name, sizeof s.name, name);
    LoadSiteProfile(&s);
}

int ParseCommandLine(char *text, int size)
{
    LoadGlobalSettings();
    char asked[512];
    const char *p = text;
    for (int guard = 0; guard < 256; guard++) {
        OptionToken t;
        const char *next = NextOption(p, &t);
        switch (t.kind) {
        case OPT_END: {
            char rest[512];
            CopyText(rest, sizeof rest, t.rest);
            CopyText(text, (size_t)size, rest);
            return 1;
        }
        case OPT_UNKNOWN: {
            if (SplashWindow) {
                DestroyWindow(SplashWindow);
                SplashWindow = nullptr;
            }
            if (!CommandLineOptions.quiet) {
                char message[600];
                snprintf(message, sizeof message, LoadText(IDS_UNKNOWN_ARGUMENTS), t.rest);
                MessageBoxA(nullptr, message, AppTitle, MB_OK | MB_ICONSTOP);
            }
            if (CommandLineOptions.batch || NamesRemoteWord(t.rest)) {
                BatchLogging = TRUE;
                LogFormat(LoadText(IDS_UNKNOWN_ARGUMENTS), t.rest);
                CommandLineExitCode = EXIT_BAD_COMMAND_LINE;
            }
            text[0] = '\0';
            return 0;
        }
        case OPT_ASK:
            asked[0] = '\0';
            if (InputText(asked, "%s", LoadText(IDS_ENTER_COMMAND_LINE))) {
                p = asked;
                continue;
            }
            break;
        case OPT_ASCII: CommandLineOptions.mode = 'A'; break;
        case OPT_BINARY: CommandLineOptions.mode = 'I'; break;
        case OPT_ACCOUNT: CopyText(CurrentSession.account, sizeof CurrentSession.account, t.value); break;
        case OPT_DEST: CopyText(CommandLineOptions.destination, sizeof CommandLineOptions.destination, t.value); break;
        case OPT_INI: UseIniFile(t.value); break;
        case OPT_LOWER:
            CommandLineOptions.lower = 1;
            GlobalSettings.forceLower = 1;
            break;
        case OPT_PROFILE: UseProfile(t.value); break;
        case OPT_QUIET: CommandLineOptions.quiet = 1; break;
        case OPT_SOURCE:
            CopyText(CommandLineOptions.source, sizeof CommandLineOptions.source, t.value);
            CommandLineOptions.batch = 1;
            break;
        case OPT_USER: CopyText(CurrentSession.userId, sizeof CurrentSession.userId, t.value); break;
        case OPT_PASSWORD: CopyText(CurrentSession.password, sizeof CurrentSession.password, t.value); break;
        }
        p = next;
    }
    text[0] = '\0';
    return 1;
}
