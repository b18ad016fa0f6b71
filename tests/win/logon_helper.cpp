#include "logon_helper.h"
#include "veltro_process_helper.h"
#include "transcript_helper.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <sstream>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_commands.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "sites/stored_password.h"
#include "transfer/transfer.h"
#include "ui/msglog.h"

void ResetLogonState(void)
{
    AppInstance = GetModuleHandleA(nullptr);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    snprintf(IniPath, sizeof IniPath, "%sveltro-logon-test.ini", temp);
    DeleteFileA(IniPath);
    // The log is read back from xferlog.txt in the current folder: a folder
    // of this process's own, since test programs may run side by side.
    static bool inOwnFolder;
    if (!inOwnFolder) {
        char folder[MAX_PATH];
        snprintf(folder, sizeof folder, "%sveltro-logon-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(folder, nullptr);
        SetCurrentDirectoryA(folder);
        inOwnFolder = true;
    }
    BatchLogging = TRUE;
    DeleteFileA("xferlog.txt");
    GlobalSettings = GlobalSettingValues{};
    GlobalSettings.verifyDelete = 1;
    CurrentSession = SiteProfile{};
    CurrentSession.hostType = 6000;
    CurrentSession.timeout = 5;
    ControlSocket = NO_SOCKET;
    Connected = FALSE;
    CommandBusy = 0;
    CommandLock = FALSE;
    CancelFlag = FALSE;
    AbortFlag = FALSE;
    LastReplyCode = 0;
    ReplyTimeout = 5;
    ReplyDepth = 0;
    DetectFromReplies = FALSE;
    ClearPending(&PendingText);
    FirewallUser[0] = '\0';
    FirewallPassword[0] = '\0';
    ResetServerCapabilities();
    SetThreadBlockingHook(BlockingHook);
}

void ResetTransferState(int timeoutSeconds)
{
    ResetLogonState();
    GlobalSettings.tranRate = 1;
    GlobalSettings.recvBlock = 4096;
    GlobalSettings.sendBlock = 512;
    GlobalSettings.keepTimes = 1;
    CurrentSession.timeout = (uint32_t)timeoutSeconds;
    CurrentSession.serverFlags = 6;
    ReplyTimeout = timeoutSeconds;
    Connected = TRUE;
    ClearCurrentEntry();
}

int TransferFile(SOCKET s, const char *verb, const std::string &remote, const std::string &local, int type)
{
    char command[300];
    snprintf(command, sizeof command, "%s %s", verb, remote.c_str());
    return verb[0] == 'R' ? DownloadFile(s, command, local.c_str(), type, FALSE)
                          : UploadFile(s, command, local.c_str(), type, FALSE);
}

void WriteFirewallSection(int type, const char *host, unsigned port, const char *user,
                          const char *password)
{
    char number[16];
    snprintf(number, sizeof number, "%d", type);
    WritePrivateProfileStringA("FIREWALL", "FIRETYPE", number, IniPath);
    WritePrivateProfileStringA("FIREWALL", "HOST", host, IniPath);
    snprintf(number, sizeof number, "%u", port);
    WritePrivateProfileStringA("FIREWALL", "PORT", number, IniPath);
    WritePrivateProfileStringA("FIREWALL", "UID", user, IniPath);
    WritePrivateProfileStringA("FIREWALL", "PWD",
                               password[0] ? EncodeStoredPassword(user, password) : nullptr, IniPath);
}

std::vector<std::string> LoggedLines(void)
{
    std::vector<std::string> lines;
    std::istringstream log(ReadTextFile("xferlog.txt"));
    for (std::string line; std::getline(log, line);)
        lines.push_back(line.substr(0, line.find_last_not_of("\r\n") + 1));
    return lines;
}

bool LogHasLine(const std::string &line)
{
    std::vector<std::string> lines = LoggedLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool LogMentions(const std::string &part) { return LogCount(part) > 0; }

int LogCount(const std::string &part)
{
    std::vector<std::string> lines = LoggedLines();
    return (int)std::count_if(lines.begin(), lines.end(),
                              [&](const std::string &l) { return l.find(part) != std::string::npos; });
}

void CloseSession(SOCKET s)
{
    CloseGraceful(s);
    Connected = FALSE;
    ControlSocket = NO_SOCKET;
    CancelFlag = FALSE;
}

void DropControlSocket(void)
{
    if (ControlSocket != NO_SOCKET)
        closesocket(ControlSocket);
    ControlSocket = NO_SOCKET;
}

bool UseTranscriptSocket(Transcript &t)
{
    DropControlSocket();
    SOCKET s = t.Connect();
    ControlSocket = s == INVALID_SOCKET ? NO_SOCKET : s;
    return s != INVALID_SOCKET;
}

unsigned short UnusedPort(void)
{
    unsigned short port = 0;
    closesocket(ListenOnLoopback(&port));
    return port;
}

HWND MakeTestWindow(const char *className, WNDPROC procedure)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowA(className, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

// ---------------------------------------------------------------------

DialogAnswerer::DialogAnswerer(std::vector<Answer> answers, int waitMs)
    : answers_(std::move(answers)), waitMs_(waitMs)
{
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

DialogAnswerer::~DialogAnswerer()
{
    Finish();
    if (thread_)
        CloseHandle(thread_);
}

bool DialogAnswerer::Finish(int timeoutMs)
{
    if (thread_)
        WaitForSingleObject(thread_, (DWORD)timeoutMs);
    return answered_ == (LONG)answers_.size();
}

std::vector<bool> DialogAnswerer::ButtonsShown(int id) const
{
    std::vector<bool> shown;
    for (const auto &v : visible_)
        shown.push_back(std::find(v.begin(), v.end(), id) != v.end());
    return shown;
}

// A visible dialog of this process with the caption.
static HWND FindOwnDialog(const char *caption)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", caption)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

DWORD WINAPI DialogAnswerer::ThreadMain(void *self)
{
    DialogAnswerer *me = (DialogAnswerer *)self;
    for (const Answer &a : me->answers_) {
        HWND dialog = nullptr;
        for (int waited = 0; waited < me->waitMs_ && !dialog; waited += 20) {
            dialog = FindOwnDialog(a.caption.c_str());
            if (!dialog)
                Sleep(20);
        }
        if (!dialog)
            return 1;
        Sleep(50);   // let the dialog finish its initialisation
        char prompt[512] = "";
        HWND promptWindow = nullptr;
        for (int id : {IDC_INPUT_PROMPT, IDC_DELETE_TEXT, IDC_OVERWRITE_TEXT, 0xFFFF /* message box */})
            promptWindow = promptWindow ? promptWindow : GetDlgItem(dialog, id);
        if (promptWindow)
            GetWindowTextA(promptWindow, prompt, sizeof prompt);
        me->prompts_.push_back(prompt);
        std::vector<int> visible;
        for (int id : {IDYES, IDNO, IDCANCEL, IDOK, IDC_DELETE_ALL, IDC_OVERWRITE_YES_ALL, IDC_OVERWRITE_NO_ALL,
                       IDC_INPUT_HELP})
            if (HWND b = GetDlgItem(dialog, id))
                if (IsWindowVisible(b))
                    visible.push_back(id);
        me->visible_.push_back(visible);
        for (int id : a.uncheck)
            SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, BST_UNCHECKED, 0);
        for (int id : a.check)
            SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, BST_CHECKED, 0);
        if (HWND field = GetDlgItem(dialog, IDC_INPUT_FIELD))
            SendMessageA(field, WM_SETTEXT, 0, (LPARAM)a.text.c_str());
        if (!a.picture.empty())
            SaveWindowPicture(dialog, a.picture.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(a.button, BN_CLICKED), 0);
        // Wait until this dialog is gone before looking for the next one.
        for (int waited = 0; waited < me->waitMs_ && IsWindow(dialog); waited += 20)
            Sleep(20);
        InterlockedIncrement(&me->answered_);
    }
    return 0;
}
