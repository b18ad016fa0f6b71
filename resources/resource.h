// Resource ids shared by the resource scripts and the code.
// Prefixes: IDD_ dialogs, IDC_ controls, IDS_ strings, IDB_ bitmaps,
// IDM_ menu commands. Command ids stay clear of 0 and of 0xF000 and above.
// String ids that have a fixed number keep it; others use the range of
// their subsystem (app 20000, ftp 21000, transfer 22000, listing 23000,
// sites 24000, cmdline 25000, ui 26000).
#pragma once

// Version texts of the start-up banner.
#define VELTRO_VERSION_TEXT "1.0"
#define VELTRO_BANNER_NOTE "Win32 FTP client"
#ifndef VELTRO_BUILD_DATE
#define VELTRO_BUILD_DATE "2026.12.05"
#endif

// Main window commands (the numbers are the program's command ids).
#define IDM_COMMANDLINE_TRANSFER 7654
#define IDM_UPDATE_MODE_BUTTONS 8100
#define IDM_CONNECT 9000
#define IDM_CANCEL 9033
#define IDM_ABOUT 9037
#define IDM_HELP 9041
#define IDM_EXIT 9042
#define IDM_LOG_WINDOW 9047
#define IDM_OPTIONS 5130
#define IDM_SHOW_LOG 5557
#define IDM_ABOUT_MENU 1500
#define IDM_CLOSE_MAIN 1600
#define IDM_DOWNLOAD 940
#define IDM_UPLOAD 939
#define IDM_DELETE_KEY 2600
#define IDM_NO_ACTION_COPY 2202
#define IDM_NO_ACTION_F7 2203

// Log window
#define IDM_LOG_CLOSE 5555
#define IDM_LOG_SAVE 5556
#define IDM_LOG_COPY 57634
#define IDM_LOG_SELECT_ALL 2201
#define IDC_LOG_EDIT 5554

// Main window children
#define IDC_LOCAL_LIST 927
#define IDC_REMOTE_LIST 931
#define IDC_MESSAGE_SCROLL 1010

// Input dialogs
#define IDC_INPUT_PROMPT 1100
#define IDC_INPUT_FIELD 1101
#define IDC_INPUT_HELP 1102

// Strings of the application core (20000-20999)
#define IDS_ERROR_REGISTERING_CLASS 20000
#define IDS_WINDOW_CREATION_FAILED 20001
#define IDS_ERROR_CREATING_WINDOW 20002
#define IDS_MENU_ABOUT 20003
#define IDS_MENU_SHOW_LOG 20004
// Directory views (23000-23999)
#define IDS_HOSTLIB_MISSING 23000
#define IDS_HOSTLIB_UNUSABLE 23001
#define IDS_HOSTLIB_CAPTION 23002
#define IDS_HOSTLIB_AUTOMATIC 23003
// Command line (25000-25999)
#define IDS_UNKNOWN_ARGUMENTS 25000
#define IDS_ENTER_COMMAND_LINE 25001
// User interface (26000-26999)
#define IDS_MESSAGE_LOG 26000
#define IDS_ENTER_LOG_FILE_NAME 26001

// ftp: connect, logon and remote commands (21500-21999)
#define IDM_LOCAL_CHDIR 933
#define IDM_REMOTE_CHDIR 934
#define IDM_LOCAL_MKDIR 935
#define IDM_REMOTE_MKDIR 936
#define IDM_LOCAL_RMDIR 937
#define IDM_REMOTE_RMDIR 938
#define IDM_LOCAL_DELETE 945
#define IDM_REMOTE_DELETE 946
#define IDM_LOCAL_RENAME 947
#define IDM_REMOTE_RENAME 948
#define IDM_REMOTE_CHMOD 966
#define IDM_LOCAL_MOVE 968
#define IDM_REMOTE_MOVE 969
#define IDM_FTP_CWD 1301
#define IDM_FTP_HELP 1303
#define IDM_FTP_SYST 1304
#define IDM_FTP_SITE 1305
#define IDM_FTP_MKD 1307
#define IDM_FTP_PWD 1309
#define IDM_FTP_QUOTE 1310
#define IDM_FTP_RMD 1312
#define IDM_CONNECT_MENU 1320
#define IDM_DISCONNECT 1321
#define IDC_DELETE_TEXT 21500
#define IDC_DELETE_ALL 21501
#define IDC_CHMOD_BOX0 21510   // 21510..21518: owner r w x, group r w x, other r w x
#define IDC_CHMOD_HELP 21519
#define IDS_CREATESOCKET_FAILED 21520
#define IDS_NO_HOST_ENTRY 21521
#define IDS_CONNECTION_FAILED 21523
#define IDS_CONNECTED_TO 21524
#define IDS_ALREADY_CONNECTED 21525
#define IDS_ASK_USERID 21526
#define IDS_LOCAL_ADDRESS 21527
#define IDS_UNKNOWN_OPEN 21528
#define IDS_ASK_SITE_PASSWORD 21529
#define IDS_ASK_FIREWALL_PASSWORD 21530
#define IDS_ASK_ACCOUNT 21531
#define IDS_FIREWALL_FAILURE 21532
#define IDS_DESTINATION_FAILURE 21533
#define IDS_LOGON_FAILURE 21534
#define IDS_PASSWORD_REQUIRED 21535
#define IDS_HOST_TYPE 21536
#define IDS_ENTER_NEW_REMOTE_FOLDER 21537
#define IDS_ENTER_NEW_LOCAL_FOLDER 21538
#define IDS_CONFIRM_DELETE 21539
#define IDS_DELETE_FAILED 21540
#define IDS_ENTER_REMOTE_FOLDER 21541
#define IDS_ENTER_NEW_NAME 21542
#define IDS_RENAME_FAILED 21543
#define IDS_ENTER_REMOTE_DESTINATION 21544
#define IDS_ENTER_LOCAL_DESTINATION 21545
#define IDS_MOVE_FAILED 21546
#define IDS_CHMOD_FAILED 21547
#define IDS_ENTER_CHMOD 21548
#define IDS_ENTER_LOCAL_FOLDER 21549
#define IDS_ENTER_SITE 21550
#define IDS_ENTER_QUOTE 21551
#define IDS_CONNECT_BUTTON 21552
#define IDS_CLOSE_BUTTON 21553
#define IDS_ABORTING_THREAD 21555
// Sites and options (24000-24999)
#define IDS_ENTER_MAIL_ADDRESS 24000

// ftp: control channel. Texts shared with the transfer code keep their numbers.
#define IDS_NOT_CONNECTED       14183   // "Not connected, ignored"
#define IDS_RECEIVE_ERROR       14256   // "Receive error"
#define IDS_SEND_ERROR          14270   // "Send error"
#define IDS_TRANSMITTED         14305   // "Transmitted"
#define IDS_ERROR_NUMBER        21000   // "error %u"
#define IDS_TIMER_CANCELLED     21001
#define IDS_COMMAND_YIELDING    21002
#define IDS_CLOSESOCKET         21003
#define IDS_NOT_ACCEPTED        21004
#define IDS_COMMAND_TOO_LONG    21020
// WinSock error texts, one id per text (see WinSockErrorText).
#define IDS_WSA_10004           21100
#define IDS_WSA_10022           21101
#define IDS_WSA_10024           21102
#define IDS_WSA_10035           21103
#define IDS_WSA_10036           21104
#define IDS_WSA_10038           21105
#define IDS_WSA_10041           21106
#define IDS_WSA_10043           21107
#define IDS_WSA_10044           21108
#define IDS_WSA_10047           21109
#define IDS_WSA_10048           21110
#define IDS_WSA_10049           21111
#define IDS_WSA_10050           21112
#define IDS_WSA_10053           21113
#define IDS_WSA_10054           21114
#define IDS_WSA_10055           21115
#define IDS_WSA_10057           21116
#define IDS_WSA_10060           21117
#define IDS_WSA_10061           21118
#define IDS_WSA_10064           21119
#define IDS_WSA_10065           21120
#define IDS_WSA_10091           21121
#define IDS_WSA_10092           21122
#define IDS_WSA_10093           21123
#define IDS_WSA_11001           21124   // also 11002
#define IDS_WSA_11003           21125
#define IDS_WSA_11004           21126
// Directory views: the remote pane (23100-23199)
#define IDC_REMOTE_MASK 930
#define IDC_REMOTE_FOLDER_BOX 961
#define IDS_LISTING_FETCH_FAILED 23100
#define IDS_DODIRLIST_RETURNED 23101
#define IDS_LISTING_OPEN_FAILED 23102

// Command line: the unattended transfer (25010-25099)
#define IDS_UNKNOWN_BATCH_COMMAND 25010
#define IDS_BATCH_WORDS 25011
#define IDS_CONNECT_FAILED_TO 25012
#define IDS_TRANSFER_FAILED_FOR 25013
#define IDS_SUCCESSFUL_TRANSFER 25014
#define IDS_RECEIVING_FILE_FROM 25015
#define IDS_SENDING_FILE_TO 25016
#define IDS_COMMAND_LINE_SYNTAX 25017
#define IDS_SHORT_TRANSFER 25018
#define IDS_SETTING_OUT_OF_RANGE 25019
#define IDS_NAMES_WITH_CONTROLS 25020
#define IDS_PATTERN_LISTING_ALL 25021
#define IDS_NO_FILE_MATCHES 25022
#define IDS_NAME_TOO_LONG 25023
#define IDS_PATTERN_MATCHES 25024

// Transfer: data connections, transfer engine and its status dialog.
// Texts shared with other subsystems keep their numbers.
#define IDC_STATUS_PROGRESS         104
#define IDC_STATUS_BAR              116
#define IDC_STATUS_DESCRIPTION      831
#define IDS_ACCEPT_ERROR            14003
#define IDS_BAD_ADDRESS             14005
#define IDS_COMMAND_IN_PROGRESS     14016
#define IDS_CONNECTING_TO           14020
#define IDS_FAILED_BIND             14071
#define IDS_FAILED_CREATESOCKET     14072
#define IDS_FAILED_TO_OPEN_FILE     14076
#define IDS_FAILED_LISTEN           14077
#define IDS_FAILED_PORT             14078
#define IDS_FAILED_GETSOCKNAME      14079
#define IDS_WRITE_ERROR             14080
#define IDS_UNABLE_TO_PARSE         14184
#define IDS_RECEIVED                14255
#define IDS_SENDING_ASCII           14271
#define IDS_SENDING_BINARY          14272
#define IDS_TRANSFER_FAILED         14302
#define IDS_TRANSFER_SUCCEEDED      14304
#define IDS_LOOKING_FOR_COMPLETION  22000
#define IDS_ACCEPT_FROM             22001
#define IDS_READ_ERROR              22002
#define IDS_SIZE_IN_BYTES           22003

// Transfer: overwrite and resume decisions, transfer log (22400-22499).
// Texts shared with the batch driver keep their numbers.
#define IDC_OVERWRITE_TEXT          954
#define IDC_OVERWRITE_YES_ALL       2420
#define IDC_OVERWRITE_NO_ALL        2421
#define IDS_FAILED_ALLOCATE         14073   // "Failed to allocate memory."
#define IDS_UPLOAD_NOT_NEWER        14178   // "+ newer or same version of %s ..."
#define IDS_ASK_NEWER_EXISTS        14179
#define IDS_DOWNLOAD_NEWER_EXISTS   14180
#define IDS_ASK_LOCAL_DELETED       14181
#define IDS_RESUME_STARTING_OVER    14260
#define IDS_REGET_FAILED            14261
#define IDS_LOCAL_FILE_LOCKED       14262
#define IDS_FILE_POINTER_FAILED     14263
#define IDS_RETRIEVE_AGAIN          14264
#define IDS_ASK_RESUME              14252
#define IDS_ASK_SAME_EXISTS         14266
#define IDS_DOWNLOAD_SAME_EXISTS    14267
#define IDS_SAVING_RESTART_INFO     14268
#define IDS_UNSAFE_LOCAL_NAME       22400

// Main window layout: the child table's ids, captions and tips, the pane
// titles, the sort dialog and the local pane (panes: 26100-26299, 23200-23299)
#define IDC_HIDDEN_LIST 924
#define IDC_LOCAL_MASK 926

// Dispatch: main window commands and children addressed by the command
// table, and the session sheet (its pages' controls 24100-24199, its
// texts 24200-24299).
#define IDC_HIDDEN_REMOTE 929
#define IDM_SESSION_SHEET 923
#define IDM_LOCAL_VIEW 941
#define IDM_REMOTE_VIEW 942
#define IDM_LOCAL_REFRESH 943
#define IDM_REMOTE_REFRESH 944
#define IDM_LOCAL_DIRINFO 949
#define IDM_REMOTE_DIRINFO 950
#define IDC_LOCAL_FOLDER_BOX 960
#define IDM_LOCAL_SORT 964
#define IDM_REMOTE_SORT 965
#define IDC_MODE_ASCII 1851
#define IDC_MODE_BINARY 1852
#define IDC_MODE_AUTO 1853
#define IDM_SORT_DIALOG 9038
#define IDM_LOCAL_EXEC 9045
#define IDM_REMOTE_EXEC 9046
#define IDC_LOCAL_HEADER0 1200     // 1200..1204: "^", Name, Date, Size, empty
#define IDC_REMOTE_HEADER0 1205    // 1205..1209
#define IDD_SORT 23200
#define IDC_SORT_NONE 23201        // 23201..23205: no sort, name, extension, date, size
#define IDC_SORT_REVERSE 23206
#define IDC_SORT_TOP 23207         // 23207..23209: on top, mixed, at the bottom
#define IDC_SORT_HELP 23210
#define IDS_LOCAL_SORT_TITLE 23211
#define IDS_REMOTE_SORT_TITLE 23212
#define IDS_LOCAL_FOLDER_FAILED 23213
#define IDS_LOCAL_DRIVE_FAILED 23214
#define IDS_LOCAL_SCAN_FAILED 23215
#define IDS_REPORT_HEADING 23216
#define IDS_CAP_UPLOAD 26100
#define IDS_CAP_DOWNLOAD 26101
#define IDS_CAP_TRANSFER 26102
#define IDS_CAP_CHGDIR 26103
#define IDS_CAP_MKDIR 26104
#define IDS_CAP_VIEW 26105
#define IDS_CAP_EXEC 26106
#define IDS_CAP_RENAME 26107
#define IDS_CAP_DELETE 26108
#define IDS_CAP_REFRESH 26109
#define IDS_CAP_DIRINFO 26110
#define IDS_CAP_ASCII 26111
#define IDS_CAP_BINARY 26112
#define IDS_CAP_AUTO 26113
#define IDS_CAP_CANCEL 26114
#define IDS_CAP_LOGWND 26115
#define IDS_CAP_HELP 26116
#define IDS_CAP_OPTIONS 26117
#define IDS_CAP_ABOUT 26118
#define IDS_CAP_EXIT 26119
#define IDS_CAP_HEADER_TYPE 26120
#define IDS_CAP_HEADER_NAME 26121
#define IDS_CAP_HEADER_DATE 26122
#define IDS_CAP_HEADER_SIZE 26123
#define IDS_CAP_MASK 26124
#define IDS_TITLE_LOCAL 26125
#define IDS_TITLE_REMOTE 26126
#define IDS_TIP_UPLOAD 26130
#define IDS_TIP_DOWNLOAD 26131
#define IDS_TIP_CHGDIR 26132
#define IDS_TIP_MKDIR 26133
#define IDS_TIP_LOCAL_MASK 26134
#define IDS_TIP_REMOTE_MASK 26135
#define IDS_TIP_VIEW 26136
#define IDS_TIP_EXEC 26137
#define IDS_TIP_RENAME 26138
#define IDS_TIP_DELETE 26139
#define IDS_TIP_REFRESH 26140
#define IDS_TIP_DIRINFO 26141
#define IDS_TIP_ASCII 26142
#define IDS_TIP_BINARY 26143
#define IDS_TIP_AUTO 26144
#define IDS_TIP_CONNECT 26145
#define IDS_TIP_CANCEL 26146
#define IDS_TIP_LOGWND 26147
#define IDS_TIP_HELP 26148
#define IDS_TIP_OPTIONS 26149
#define IDS_TIP_ABOUT 26150
#define IDS_TIP_EXIT 26151
#define IDS_TIP_SORT_TYPE 26152
#define IDS_TIP_SORT_NAME 26153
#define IDS_TIP_SORT_DATE 26154
#define IDS_TIP_SORT_SIZE 26155
#define IDM_REMOTE_EDIT 967
#define IDM_APPEND_UPLOAD 970
#define IDM_APPEND_DOWNLOAD 971
#define IDM_FTP_LIST 1306
#define IDM_FTP_NLST 1308
#define IDM_FTP_RETR 1311
#define IDM_FTP_STOR 1314
#define IDM_MODE_ASCII_ALT 9029
#define IDM_MODE_BINARY_ALT 9030
#define IDM_MODE_AUTO_ALT 9031
#define IDM_ABORT_DISCONNECT 9032
#define IDM_OPTIONS_MENU 9036
#define IDC_PROFILE_NAME 24100
#define IDC_PROFILE_NEW 24101
#define IDC_PROFILE_DELETE 24102
#define IDC_SITE_HOST 24103
#define IDC_SITE_HOST_TYPE 24104
#define IDC_SITE_USER 24105
#define IDC_SITE_ANONYMOUS 24106
#define IDC_SITE_PASSWORD 24107
#define IDC_SITE_SAVE_PASSWORD 24108
#define IDC_SITE_ACCOUNT 24109
#define IDC_SITE_COMMENT 24110
#define IDC_SITE_REMOTE_FOLDER 24120
#define IDC_SITE_LOCAL_FOLDER 24121
#define IDC_SITE_INIT_COMMANDS 24122
#define IDC_SITE_LOCAL_MASK 24123
#define IDC_SITE_REMOTE_MASK 24124
#define IDC_SITE_TIME_OFFSET 24125
#define IDC_SITE_RETRIES 24130
#define IDC_SITE_TIMEOUT 24131
#define IDC_SITE_PORT 24132
#define IDC_SITE_PASSIVE 24133
#define IDC_FIRE_USE 24140
#define IDC_FIRE_HOST 24141
#define IDC_FIRE_USER 24142
#define IDC_FIRE_PASSWORD 24143
#define IDC_FIRE_SAVE_PASSWORD 24144
#define IDC_FIRE_PORT 24145
#define IDC_FIRE_TYPE0 24150   // 24150..24157: the eight firewall types
#define IDC_FIRE_TYPE7 24157
#define IDS_SESSION_CAPTION 24200
#define IDS_PAGE_GENERAL 24201
#define IDS_PAGE_STARTUP 24202
#define IDS_PAGE_ADVANCED 24203
#define IDS_PAGE_FIREWALL 24204
#define IDS_NO_HOST_GIVEN 24205
#define IDS_NOT_YET_AVAILABLE 24206
#define IDS_HELP_MISSING 24207
#define IDS_DOWNLOAD_FAILED_FOR 24208
#define IDS_UPLOAD_FAILED_FOR 24209
#define IDS_NOTHING_SELECTED 24210
#define IDS_ENTER_RETR_NAME 24211
#define IDS_ENTER_STOR_NAME 24212
#define IDS_FOLDER_REPORT_IN 24213

// Transfer batches: the drivers' lines, the folder question and the edit
// round trip (own texts 22500-22599).
#define IDS_BATCH_CANCELLED             14013   // "cancelled"
#define IDS_EDIT_REWRITE_FAILED         14051
#define IDS_ENTER_LOCAL_NAME_FOR        14053
#define IDS_CREATE_FOLDER_FAILED        14074
#define IDS_ENTER_FOLDER_FAILED         14075
#define IDS_ENTER_LOCAL_TO_SEND         14082
#define IDS_ENTER_REMOTE_NAME_FOR       14083
#define IDS_ENTER_REMOTE_TO_GET         14084
#define IDS_ASK_TRANSFER_FOLDERS        14253
#define IDS_RECEIVING_AS                14257
#define IDS_SENDING_AS                  14273
#define IDS_TRANSFER_ERROR              14301
#define IDS_WALK_COMPLETE               16001
#define IDS_WALK_RETURN_REMOTE_FAILED   16002
#define IDS_WALK_CHANGE_REMOTE_FAILED   16004
#define IDS_DOWNLOAD_CANCELLED          22500
#define IDS_EDIT_COMMAND_LINE           22501
#define IDM_EDIT_KEEPALIVE              22550   // posted: the edit round trip's keep-alive timer
