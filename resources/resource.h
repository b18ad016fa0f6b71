// Resource ids shared by the resource scripts and the code.
// Prefixes: IDD_ dialogs, IDC_ controls, IDS_ strings, IDB_ bitmaps,
// IDM_ menu commands. Command ids stay clear of 0 and of 0xF000 and above.
// String ids that have a fixed number keep it; others use the range of
// their subsystem (app 20000, ftp 21000, transfer 22000, listing 23000,
// sites 24000, cmdline 25000, ui 26000).
#pragma once
// Sites and options (24000-24999)
#define IDS_ENTER_MAIL_ADDRESS 24000
