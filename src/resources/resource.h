// Resource identifiers shared by the program's code and its .rc files.
// A language module carries the same identifiers with translated texts.
#pragma once

// String table.
#define IDS_DISPLAY_NAME        5101  // uninstall entry's display name
#define IDS_HELP_LINK           5102  // name of the help shortcut
#define IDS_MANUAL_LINK         5103  // name of the console manual shortcut
#define IDS_UNINSTALL_CAPTION   5104  // caption of the uninstaller's message boxes
#define IDS_UNINSTALL_DONE      5105  // first line of the "/warning" message
#define IDS_DELETE_MANUALLY     5106  // second line; "%s" receives the uninstaller's path
#define IDS_CONFIRM_UNINSTALL   5107  // uninstall confirmation question
#define IDS_NO_LIST_FILE        5108  // "%s" receives the list file's name
#define IDS_TYPE_ARCHIVE        5109  // description of the file type "Bramix"
#define IDS_TYPE_ZIP            5110  // description of the file type "Bramix.ZIP"
#define IDS_TYPE_REV            5111  // description of the file type "Bramix.REV"
#define IDS_HOME_PAGE           5112  // home page address

// Common command of every dialog.
#define IDHELP_BUTTON           9

// "SETUPDLG"
#define IDC_SETUP_TYPE_FIRST    5101  // 5101..5112: the twelve archive types
#define IDC_SETUP_DESKTOP       5113
#define IDC_SETUP_STARTMENU     5114
#define IDC_SETUP_PROGRAMS      5115
#define IDC_SETUP_SHELLEXT      5116
#define IDC_SETUP_CASCADED      5117
#define IDC_SETUP_MENUICONS     5118
#define IDC_SETUP_SELECTALL     5119
#define IDC_SETUP_EXPLANATION   5120
#define IDC_SETUP_CONTEXTITEMS  5121

// "CONTEXTITEMS"
#define IDC_ITEM_FIRST          101   // 101..109: the nine context-menu items

// "DONEDLG"
#define IDC_DONE_FOLDER         5101
#define IDC_DONE_RUN            5102
#define IDC_DONE_HELP           5103
#define IDC_DONE_LICENSE        5104
#define IDC_DONE_PRICES         5105
#define IDC_DONE_HOMEPAGE       5106
#define IDC_DONE_THANKS         5107
#define IDC_DONE_NOTE           5108
#define IDC_DONE_LATEST         5109
