#include "support/shellfolders.h"
#include <shlobj.h>
#include <algorithm>
#include "support/tempfolder.h"

const char* const kShellOwnKeys[2] = {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer",
                                     "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"};

namespace {
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}

std::string SpecialFolder(int csidl)
{
    LPITEMIDLIST list = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, csidl, &list)) || !list) return "";
    char path[MAX_PATH * 4] = "";
    BOOL ok = SHGetPathFromIDListA(list, path);
    CoTaskMemFree(list);
    return ok ? path : "";
}

LinkSandbox::LinkSandbox()
{
    comReady_ = SUCCEEDED(CoInitialize(NULL));
    const std::string before[4] = {SpecialFolder(CSIDL_DESKTOPDIRECTORY), SpecialFolder(CSIDL_STARTMENU),
                                   SpecialFolder(CSIDL_PROGRAMS), SpecialFolder(CSIDL_COMMON_PROGRAMS)};
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY key;
        if (RegOpenKeyExA(root, kUserShellFolders, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
        for (DWORD i = 0;; ++i) {
            char name[512];
            static BYTE data[4096];
            DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
            if (RegEnumValueA(key, i, name, &nameLen, NULL, &type, data, &dataLen) != ERROR_SUCCESS) break;
            settings_.push_back({root, std::string(name, nameLen), type, std::string((const char*)data, dataLen)});
        }
        RegCloseKey(key);
    }
    sandbox_.reset(new RegistrySandbox);
    for (const Setting& s : settings_)
        WriteRaw(s.root, kUserShellFolders, s.name, s.type, s.data.data(), (DWORD)s.data.size());
    desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    startMenu = SpecialFolder(CSIDL_STARTMENU);
    programs = SpecialFolder(CSIDL_PROGRAMS);
    commonPrograms = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    const std::string* after[4] = {&desktop, &startMenu, &programs, &commonPrograms};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(after[i]->empty()) << "special folder " << i << " not found in the sandbox";
        EXPECT_EQ(before[i], *after[i]) << "the sandbox moved a special folder";
        // A new prefix links Desktop into HOME; the test prefix must hold real folders.
        DWORD attributes = GetFileAttributesA(after[i]->c_str());
        EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_REPARSE_POINT) << *after[i] << " is a link out of the prefix";
    }
    RemoveProductLinks();
}

LinkSandbox::~LinkSandbox()
{
    RemoveProductLinks();
    sandbox_.reset();
    if (comReady_) CoUninitialize();
}

void LinkSandbox::BreakFolder(HKEY root, const char* settingName)
{
    WriteString(root, kUserShellFolders, settingName, "C:\\bramix-test-missing\\folder");
}

void LinkSandbox::RemoveProductLinks() const
{
    if (!desktop.empty()) DeleteTree(desktop + "\\Bramix.lnk");
    if (!startMenu.empty()) DeleteTree(startMenu + "\\Bramix.lnk");
    if (!programs.empty()) DeleteTree(programs + "\\Bramix");
    if (!commonPrograms.empty()) DeleteTree(commonPrograms + "\\Bramix");
}

std::vector<std::string> LinkSandbox::Tree(HKEY root, bool withKeys) const
{
    std::vector<std::string> out;
    for (const std::string& line : ListTree(sandbox_->Scratch(root), "", withKeys)) {
        bool shells = false;
        for (const char* ownKey : kShellOwnKeys) {
            const std::string key = ownKey;
            bool inside = line.compare(0, key.size(), key) == 0;
            bool above = key.compare(0, line.size(), line) == 0 && key[line.size()] == '\\';
            shells = shells || inside || above;
        }
        if (!shells) out.push_back(line);
    }
    return out;
}

LinkContents ReadLink(const std::string& linkFile)
{
    LinkContents c;
    IShellLinkA* link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)))
        return c;
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        WCHAR wide[MAX_PATH * 4];
        if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH * 4) &&
            SUCCEEDED(file->Load(wide, STGM_READ))) {
            c.loaded = true;
            char text[MAX_PATH * 4];
            WIN32_FIND_DATAA found;
            text[0] = '\0';
            if (SUCCEEDED(link->GetPath(text, sizeof text, &found, 0))) c.path = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetDescription(text, sizeof text))) c.description = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetArguments(text, sizeof text))) c.arguments = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &c.iconIndex))) c.iconFile = text;
        }
        file->Release();
    }
    link->Release();
    return c;
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}
