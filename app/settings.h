// Program-wide option values loaded from `_config_` (and, for the per-site
// options, overridden by the current site's section when a profile loads).
// Plain copies: the INI file is the truth, these are refreshed by
// LoadGlobalSettings, by a profile load and by the option pages.
#pragma once

struct GlobalSettingValues {
    char mailAddress[128];   // MAILADDR
    int balloon;             // balloon
    int verbose;             // VERBOSE: debug lines and routine traffic in the log
    int hash;                // HASH: show the transfer status dialog
    int tranRate;            // tranrate: 0 bits/s, 1 bytes/s
    int dateFormat;          // DateFmt
    int autoSave;            // AUTOSAVE
    int longDir;             // LONGDIR
    int doubleClick;         // DBLCLK
    int autoStart;           // AUTOSTART
    int layout;              // LAYOUT
    int buttonsOnTop;        // BONTOP
    int hideButtons;         // HIDBTN
    int font;                // FONT
    int scale;               // SCALE
    int longDate;            // LONGDATE
    int verifyDelete;        // VRFYDEL
    int useFindExec;         // UseFindExec
    int recvBlock;           // RBP
    int sendBlock;           // SBP
    int keepReget;           // KEPREGET
    int keepTimes;           // KEPTIMES
    int keepOverwrite;       // KEPOVERW
    int keepDirOverwrite;    // KEPDIROW
    int localSort;           // LSORT
    int remoteSort;          // RSORT
    // Per-site options: global defaults, overridden by each profile load.
    int autoMode;            // AMODE
    int convertExt;          // CONVEXT
    int doUpdate;            // DOUPDATE
    int forceLower;          // FORCLOW
    int prompt;              // PROMPT
    int storeUnique;         // STOU
    int recvUnique;          // RECU
    int sortListBox;         // SORTLBX
    int mode;                // MODE: 'A', 'I' or 'L'
    int viewLink;            // VLINK
    int retain;              // RETAIN
};

extern GlobalSettingValues GlobalSettings;
