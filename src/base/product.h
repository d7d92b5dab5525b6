// Names of the product that several parts of the program share.
#pragma once

#define PRODUCT_MAIN_PROGRAM   "Bramix.exe"
#define PRODUCT_HELP_FILE      "bramix.hlp"
#define PRODUCT_FILE_TYPE      "Bramix"
#define PRODUCT_ZIP_TYPE       "Bramix.ZIP"
#define PRODUCT_REV_TYPE       "Bramix.REV"
#define PRODUCT_SETTINGS_KEY   "Software\\Bramix"
#define PRODUCT_UNINSTALL_KEY  "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bramix archiver"
#define PRODUCT_APP_PATHS_KEY  "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Bramix.exe"
#define PRODUCT_LANGUAGE_MODULE "qyxlng.dll"
#define PRODUCT_LANGUAGE_FILE  "uninstall.lng"
#define PRODUCT_SHELL_EXTENSION "qyxext.dll"
