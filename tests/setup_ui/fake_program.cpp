// Stands in for Bramix and for the programs the shell opens files with: it notes how it
// was started in "<its own path>.log", waits BRAMIX_FAKE_SLEEP_MS milliseconds, and
// notes its end.
#include <windows.h>
#include <stdlib.h>
#include <string>

namespace {

void Note(const std::string& log, const std::string& line)
{
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\n";
    DWORD written;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[4096];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    std::string log = std::string(path, n < sizeof path ? n : 0) + ".log";
    char folder[4096];
    n = GetCurrentDirectoryA(sizeof folder, folder);
    Note(log, std::string("run ") + GetCommandLineA());
    Note(log, "in " + std::string(folder, n < sizeof folder ? n : 0));
    char wait[32];
    n = GetEnvironmentVariableA("BRAMIX_FAKE_SLEEP_MS", wait, sizeof wait);
    if (n && n < sizeof wait) Sleep((DWORD)atoi(wait));
    Note(log, "end");
    return 0;
}
