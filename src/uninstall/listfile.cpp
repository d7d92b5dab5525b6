#include "uninstall/listfile.h"
#include "base/path.h"
#include "base/text.h"

namespace {

bool IsTrailingBlank(int c) { return c == ' ' || c == '\t' || c == '\r'; }

// A component ("a" in "x\a\y") that the system would read as a step up or sideways.
bool IsDotsComponent(const char* begin, const char* end)
{
    size_t dots = 0;
    for (const char* p = begin; p < end; ++p) {
        if (*p == '.') ++dots;
        else if (*p != ' ') return false;
    }
    return dots >= 2;
}

} // namespace

bool ListReader::NextEntry(char* line, size_t capacity)
{
    for (;;) {
        size_t used = 0;
        bool unusable = false;
        bool readAny = false;
        bool droppedBlank = false;
        int c;
        while ((c = getc(file_)) != EOF) {
            readAny = true;
            if (c == '\n') break;
            if (c == '\0') {
                unusable = true;
            } else if (used + 1 < capacity && !droppedBlank) {
                line[used++] = (char)c;
            } else if (IsTrailingBlank(c)) {
                // Blanks past the buffer's end are harmless while only blanks follow.
                droppedBlank = true;
            } else {
                unusable = true;
            }
        }
        if (!readAny) {
            if (capacity) line[0] = '\0';
            return false;
        }
        if (capacity == 0) continue;
        line[used] = '\0';
        if (unusable) continue;
        TrimTrailingBlanks(line);
        if (line[0]) return true;
    }
}

bool ListReader::Rewind() { return fseek(file_, 0, SEEK_SET) == 0; }

bool IsRelativeEntry(const char* entry)
{
    if (!entry[0] || entry[0] == '\\' || entry[0] == '/') return false;
    // Every byte, not only those that begin a character: no double-byte code page has a
    // second byte below 0x40, so this rejects no real name.
    for (const char* p = entry; *p; ++p) {
        unsigned char c = (unsigned char)*p;
        if (c < 0x20 || c == ':') return false;
    }
    const char* component = entry;
    for (const char* p = entry;; p = NextChar(p)) {
        if (*p == '\0' || *p == '\\' || *p == '/') {
            if (IsDotsComponent(component, p)) return false;
            if (*p == '\0') return true;
            component = p + 1;
        }
    }
}

bool LiesBelowFolder(const char* fullPath, const char* folder)
{
    size_t length = TextLength(folder);
    if (length == 0 || folder[length - 1] != '\\') return false;
    for (size_t i = 0; i < length; ++i)
        if (fullPath[i] != folder[i]) return false;
    return fullPath[length] != '\0';
}

bool ProgramFolderOf(const char* programPath, char* folder, size_t capacity)
{
    const char* slash = nullptr;
    for (const char* p = programPath; *p; p = NextChar(p))
        if (*p == '\\') slash = p;
    if (!slash) {
        if (capacity) folder[0] = '\0';
        return false;
    }
    // "C:\uninstall.exe" lies in the drive root, which keeps its backslash.
    bool root = slash != programPath && slash[-1] == ':';
    size_t length = (size_t)(slash - programPath) + (root ? 1 : 0);
    if (length == 0 || length + 1 > capacity) {
        if (capacity) folder[0] = '\0';
        return false;
    }
    return CopyTextPart(folder, capacity, programPath, length);
}
