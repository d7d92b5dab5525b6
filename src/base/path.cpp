#include "base/path.h"

unsigned char LeadByteTable[257];

const char* NextChar(const char* p)
{
    if (LeadByteTable[256] && LeadByteTable[(unsigned char)*p] && p[1] != '\0')
        return p + 2;
    return p + 1;
}

const char* NameOfPath(const char* path)
{
    const char* name = nullptr;
    for (const char* p = path; *p; p = NextChar(p))
        if (*p == '\\' || *p == '/') name = p + 1;
    if (name) return name;
    if (path[0] && path[1] == ':' && NextChar(path) == path + 1) return path + 2;
    return path;
}

const char* LastCharOfPath(const char* path)
{
    const char* last = path;
    for (const char* p = path; *p; p = NextChar(p)) last = p;
    return last;
}

bool AppendBackslash(char* path, size_t capacity)
{
    const char* last = LastCharOfPath(path);
    if (*last == '\0' || *last == '\\') return true;
    size_t len = 0;
    while (path[len]) ++len;
    if (len + 2 > capacity) return false;
    path[len] = '\\';
    path[len + 1] = '\0';
    return true;
}

char* TrimTrailingBlanks(char* text)
{
    size_t len = 0;
    while (text[len]) ++len;
    while (len > 0) {
        char c = text[len - 1];
        if (c != '\t' && c != '\n' && c != '\r' && c != ' ') break;
        text[--len] = '\0';
    }
    return text;
}

bool IsPlainFileName(const char* name)
{
    if (!name[0]) return false;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return false;
    for (const char* p = name; *p; p = NextChar(p))
        if (*p == '\\' || *p == '/' || *p == ':') return false;
    return true;
}

void CopyWideText(unsigned short* dst, size_t capacity, const unsigned short* src)
{
    if (capacity == 0) return;
    size_t i = 0;
    for (; src[i] && i + 1 < capacity; ++i) dst[i] = src[i];
    dst[i] = 0;
}
