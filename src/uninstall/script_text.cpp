#include "uninstall/script_text.h"
#include "base/path.h"
#include "base/text.h"

namespace {

bool Fail(char* out, size_t capacity)
{
    if (capacity) out[0] = '\0';
    return false;
}

} // namespace

bool EscapeBatchText(char* out, size_t capacity, const char* text)
{
    size_t used = 0;
    for (const char* p = text; *p; ++p) {
        // A line break would end the batch line inside the path and make its rest a
        // command; a quote would end the quoting. Neither belongs in a file name, and no
        // double-byte code page has such a second byte.
        if ((unsigned char)*p < 0x20 || *p == '"') return Fail(out, capacity);
        size_t need = *p == '%' ? 2 : 1;
        if (used + need + 1 > capacity) return Fail(out, capacity);
        out[used++] = *p;
        if (*p == '%') out[used++] = '%';
    }
    if (capacity == 0) return false;
    out[used] = '\0';
    return true;
}

bool IsCmdInterpreter(const char* interpreter)
{
    return EqualTextNoCaseAscii(NameOfPath(interpreter), "cmd.exe");
}

bool ComposeScriptFirstLine(char* out, size_t capacity, bool cmdDialect, const char* programPath)
{
    char program[kScriptPieceCapacity];
    if (!EscapeBatchText(program, sizeof program, programPath)) return Fail(out, capacity);
    bool ok = cmdDialect ? FormatText(out, capacity, "\"%s\" /wait\r\n", program)
                         : FormatText(out, capacity, "start /wait \"%s\" /wait\r\n", program);
    return ok || Fail(out, capacity);
}

bool ComposeDeletionBlock(char* out, size_t capacity, const char* programPath, const char* folder)
{
    char program[kScriptPieceCapacity];
    char directory[kScriptPieceCapacity];
    if (!EscapeBatchText(program, sizeof program, programPath) ||
        !EscapeBatchText(directory, sizeof directory, folder))
        return Fail(out, capacity);
    bool ok = FormatText(out, capacity, "del \"%s\"\r\nrd \"%s\"\r\nif not exist \"%s\" goto done\r\n",
                         program, directory, program);
    return ok || Fail(out, capacity);
}

bool ComposeScriptTail(char* out, size_t capacity, const char* programPath, const char* scriptPath)
{
    char program[kScriptPieceCapacity];
    char script[kScriptPieceCapacity];
    if (!EscapeBatchText(program, sizeof program, programPath) ||
        !EscapeBatchText(script, sizeof script, scriptPath))
        return Fail(out, capacity);
    bool ok = FormatText(out, capacity, ":done\r\nif exist \"%s\" \"%s\" /warning\r\ndel \"%s\"", program,
                         program, script);
    return ok || Fail(out, capacity);
}

bool ComposeInterpreterCommand(char* out, size_t capacity, bool cmdDialect, const char* interpreter,
                               const char* scriptPath)
{
    bool ok = FormatText(out, capacity, cmdDialect ? "%s /d /v:off /c \"%s\"" : "%s /c \"%s\"", interpreter,
                         scriptPath);
    return ok || Fail(out, capacity);
}
