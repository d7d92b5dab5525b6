#include "support/tempfolder.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {
int g_folderCounter;
}

TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    for (;;) {
        path_ = std::string(temp) + "bramix-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++g_folderCounter);
        if (CreateDirectoryA(path_.c_str(), NULL)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create " << path_;
            break;
        }
    }
}

TempFolder::~TempFolder() { DeleteTree(path_); }

void DeleteTree(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name != "." && name != "..") DeleteTree(path + "\\" + name);
            } while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(path.c_str());
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(path.c_str());  // a link to a folder: remove the link only
    } else {
        DeleteFileA(path.c_str());
    }
}

void WriteFile(const std::string& path, const std::string& content)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
    DWORD written;
    ::WriteFile(h, content.data(), (DWORD)content.size(), &written, NULL);
    CloseHandle(h);
}

std::string ReadFile(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char buffer[65536];
    DWORD got;
    while (::ReadFile(h, buffer, sizeof buffer, &got, NULL) && got) out.append(buffer, got);
    CloseHandle(h);
    return out;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const std::string& path)
{
    size_t pos = path.find('\\', 3);
    while (pos != std::string::npos) {
        CreateDirectoryA(path.substr(0, pos).c_str(), NULL);
        pos = path.find('\\', pos + 1);
    }
    CreateDirectoryA(path.c_str(), NULL);
}

std::string ProgramPath()
{
    char path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    return std::string(path, n);
}

std::string ProgramFolder()
{
    std::string p = ProgramPath();
    return p.substr(0, p.rfind('\\'));
}

bool WaitUntilGone(const std::vector<std::string>& paths, unsigned long timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        bool any = false;
        for (const std::string& p : paths) any = any || PathExists(p);
        if (!any) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
}
