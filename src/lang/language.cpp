// Reading "uninstall.lng" and deciding the text direction; the work on the loaded bytes
// is in langtext.cpp.
#include "lang/language.h"
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#include "base/file.h"
#include "base/path.h"
#include "base/text.h"
#include "lang/langtext.h"
#include "lang/resources.h"

namespace {

bool HasBackslash(const char* name)
{
    for (const char* p = name; *p; p = NextChar(p))
        if (*p == '\\') return true;
    return false;
}

// A bare name is looked for beside the executable; a name with a backslash is used as
// it stands. False when the path cannot be formed.
bool LanguageFilePath(const char* name, char* path)
{
    if (HasBackslash(name)) return CopyText(path, kPathCapacity, name);
    DWORD n = GetModuleFileNameA(NULL, path, kPathCapacity);
    if (n == 0 || n >= kPathCapacity) return false;  // cut by the system
    path[n] = '\0';
    char* afterBackslash = nullptr;
    for (char* p = path; *p; p = NextChar(p))
        if (*p == '\\') afterBackslash = p + 1;
    if (!afterBackslash) return false;
    return CopyText(afterBackslash, kPathCapacity - (size_t)(afterBackslash - path), name);
}

} // namespace

void LanguageResources::LoadLanguageFile(const char* name)
{
    // Loaded once per process; a second load replaces the first.
    if (Body) {
        free(Body);
        Body = nullptr;
        BodyLength = 0;
        LineIndex.Count = 0;
    }
    {
        // The file object lives in this block only: leaving it in any way, an
        // exhausted memory included, closes the file.
        File file;
        char path[kPathCapacity];
        if (LanguageFilePath(name, path) && file.Open(path, nullptr, false, true)) {
            char buffer[kMarkerReadSize];
            long long marker = -1;
            for (int reads = 0; reads < kMarkerReads && marker < 0; ++reads) {
                long long start = file.Tell();
                int count = file.Read(buffer, sizeof buffer);
                if (count < kMarkerOverlap) break;
                int at = FindMessagesMarker(buffer, count);
                if (at >= 0) marker = start + at;
                file.Seek(start + count - kMarkerOverlap, FILE_BEGIN);
            }
            if (marker >= 0) {
                file.Seek(marker, FILE_BEGIN);
                Body = static_cast<char*>(malloc(kSectionCapacity + kSectionSlack));
                if (Body) {
                    Body[kSectionCapacity] = '\0';
                    PrepareSection(file.Read(Body, kSectionCapacity));
                }
            }
        }
    }
    DetectTextDirection();
}

void LanguageResources::DetectTextDirection()
{
    // A language module declares a right-to-left language by a dialog named "RTL"; a
    // language file by translating "LTR" (in the context "LTR") to "RTL".
    if (FindResourceA(ResourceModule, "RTL", RT_DIALOG)) {
        RightToLeft = true;
        return;
    }
    char direction[kPathCapacity];
    TranslateText(direction, sizeof direction, "LTR", "LTR", TextDialog);
    RightToLeft = strcmp(direction, "RTL") == 0;
}
