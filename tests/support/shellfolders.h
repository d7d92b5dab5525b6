// Tests of links and program groups. The shell reads where its special folders are
// from "User Shell Folders" under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE; inside a
// bare registry sandbox it falls back to defaults and writes them there. LinkSandbox
// copies the real settings into its sandbox first, so that links land in the prefix's
// own special folders (real folders inside the prefix, never HOME) while every
// registry write of the test stays sandboxed.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "support/sandbox.h"

// The path of a special folder by CSIDL number, "" when the shell cannot look it up.
std::string SpecialFolder(int csidl);

// The keys that the shell's own folder lookups write (under HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE): its folder settings and the profile folders.
extern const char* const kShellOwnKeys[2];

class LinkSandbox {
public:
    // Initialises COM, makes the sandbox with the shell's settings, looks the four
    // folders up and removes any of the product's links left in them.
    LinkSandbox();
    // Removes the product's links and groups, then the sandbox.
    ~LinkSandbox();
    LinkSandbox(const LinkSandbox&) = delete;
    LinkSandbox& operator=(const LinkSandbox&) = delete;

    const RegistrySandbox& Registry() const { return *sandbox_; }
    // Makes the shell's lookup of one folder fail: its setting names a missing folder.
    void BreakFolder(HKEY root, const char* settingName);
    // The two "Bramix.lnk" files and the two "Bramix" groups.
    void RemoveProductLinks() const;
    // ListTree of a sandboxed root, without the shell's own keys (kShellOwnKeys) and
    // the keys above them ("Software", "Software\Microsoft" and so on).
    std::vector<std::string> Tree(HKEY root, bool withKeys = true) const;

    std::string desktop, startMenu, programs, commonPrograms;

private:
    struct Setting {
        HKEY root;
        std::string name;
        DWORD type;
        std::string data;
    };
    std::vector<Setting> settings_;
    bool comReady_ = false;
    std::unique_ptr<RegistrySandbox> sandbox_;
};

// A shell link loaded back from its file.
struct LinkContents {
    bool loaded = false;
    std::string path, description, arguments, iconFile;
    int iconIndex = -1;
};
LinkContents ReadLink(const std::string& linkFile);

// The names in a folder (no "." and ".."), sorted; empty when it does not exist.
std::vector<std::string> FolderNames(const std::string& folder);
