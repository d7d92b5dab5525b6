// What set-up applies and uninstall reverts. Each step goes on whatever the others did;
// none reports a failure.
#pragma once
#include "setup_ui/options.h"

// File associations with backups of their previous owners, volume extensions, ShellNew.
void SetAssociations(const SetupOptions* options);

// The shell extension's registration (flag 23 set) or its removal.
void SetShellExtension(const SetupOptions* options);

// Desktop and start-menu links and the program groups; groupPathOut (1024 bytes, or
// null) receives the per-user group folder when the group is made.
void SetShortcuts(const SetupOptions* options, char* groupPathOut);
bool CreateShortcut(const char* target, const char* linkFile, const char* description,
                    const char* iconFile, const char* arguments);
// The buffer holding path needs one spare byte after its terminator.
bool DeleteFolderTree(char* path);

void RegisterAppPath();
void RegisterFileTypes();
void RegisterUninstall();
// Total size in bytes of the files in a folder and its subfolders (linked folders not
// counted): the uninstall entry's estimate.
unsigned long long FolderSize(const char* folder);
void ApplySetup(const SetupOptions* options, char* groupPathOut);
