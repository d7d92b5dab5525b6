#include "base/system.h"
#include "base/text.h"

void BuildLeadByteTable()
{
    CPINFO info;
    LeadByteTable[256] = (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1) ? 1 : 0;
    for (int v = 0; v < 256; ++v) LeadByteTable[v] = IsDBCSLeadByte((BYTE)v) ? 1 : 0;
}

int CompareTextNoCase(const char* a, const char* b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) - 2;
}

static int g_platformId = -1;
static int g_majorVersion;

int WinNtMajorVersion()
{
    if (g_platformId == -1) {
        OSVERSIONINFOA info;
        ZeroMemory(&info, sizeof info);
        info.dwOSVersionInfoSize = sizeof info;
        GetVersionExA(&info);
        g_platformId = (int)info.dwPlatformId;
        g_majorVersion = (int)info.dwMajorVersion;
    }
    return g_platformId == VER_PLATFORM_WIN32_NT ? g_majorVersion : 0;
}

bool ModuleSiblingPath(const char* name, char* out)
{
    DWORD n = GetModuleFileNameA(NULL, out, kPathCapacity);
    // A path that filled the whole buffer was cut by the system (no terminator on NT).
    if (n == 0 || n >= kPathCapacity) {
        out[0] = '\0';
        return false;
    }
    char* namePart = NameOfPath(out);
    if (!CopyText(namePart, kPathCapacity - (size_t)(namePart - out), name)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool LaunchProcess(char* commandLine, const char* workingFolder, DWORD waitMs)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, workingFolder, &startup,
                        &process))
        return false;
    if (waitMs) WaitForSingleObject(process.hProcess, waitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
