// The self-removal script's composers, any three paths: the script either is refused or
// has its nineteen lines, holds each path whole with every '%' doubled, and no path
// brings a line break or a quote of its own into it. The first byte chooses the dialect
// and the pieces' buffer size; the paths follow, separated by NUL bytes.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "uninstall/script_text.h"

namespace {

void Check(bool ok)
{
    if (!ok) abort();
}

std::string Doubled(const std::string& path)
{
    std::string out;
    for (char c : path) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

// A path that may stand between quotes on a batch line.
bool Quotable(const std::string& path)
{
    for (char c : path)
        if ((unsigned char)c < 0x20 || c == '"') return false;
    return true;
}

// Composes into a buffer of exactly size bytes, so that the sanitizer sees any byte beyond.
template <typename Compose>
bool Piece(size_t size, std::string& out, Compose compose)
{
    char* buffer = (char*)malloc(size);
    bool ok = compose(buffer, size);
    if (ok) {
        Check(strlen(buffer) < size);
        out = buffer;
    } else {
        Check(buffer[0] == '\0');
    }
    free(buffer);
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    bool cmdDialect = data[0] & 1;
    static const size_t sizes[] = {1, 16, 200, kScriptPieceCapacity};
    size_t capacity = sizes[(data[0] >> 1) % 4];
    std::string paths[3];
    size_t which = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == '\0') {
            if (++which == 3) break;
        } else {
            paths[which] += (char)data[i];
        }
    }
    const std::string &program = paths[0], &folder = paths[1], &script = paths[2];

    std::string first, block, tail, command;
    bool ok = Piece(capacity, first, [&](char* o, size_t n) { return ComposeScriptFirstLine(o, n, cmdDialect, program.c_str()); });
    ok = Piece(capacity, block, [&](char* o, size_t n) { return ComposeDeletionBlock(o, n, program.c_str(), folder.c_str()); }) && ok;
    ok = Piece(capacity, tail, [&](char* o, size_t n) { return ComposeScriptTail(o, n, program.c_str(), script.c_str()); }) && ok;
    Piece(kScriptCommandCapacity, command, [&](char* o, size_t n) {
        return ComposeInterpreterCommand(o, n, cmdDialect, "C:\\WINDOWS\\system32\\cmd.exe", script.c_str());
    });
    if (!ok) return 0;

    Check(Quotable(program) && Quotable(folder) && Quotable(script));
    std::string p = Doubled(program), d = Doubled(folder), s = Doubled(script);
    std::string expected = cmdDialect ? "\"" + p + "\" /wait\r\n" : "start /wait \"" + p + "\" /wait\r\n";
    for (int i = 0; i < kScriptDeletionAttempts; ++i)
        expected += "del \"" + p + "\"\r\nrd \"" + d + "\"\r\nif not exist \"" + p + "\" goto done\r\n";
    expected += ":done\r\nif exist \"" + p + "\" \"" + p + "\" /warning\r\ndel \"" + s + "\"";
    std::string whole = first;
    for (int i = 0; i < kScriptDeletionAttempts; ++i) whole += block;
    whole += tail;
    Check(whole == expected);

    // Nineteen lines, each ended by CR LF but the last, with no bare CR or LF anywhere.
    size_t lines = 1;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (whole[i] == '\r') {
            Check(i + 1 < whole.size() && whole[i + 1] == '\n');
            ++lines;
            ++i;
        } else {
            Check(whole[i] != '\n');
        }
    }
    Check(lines == 19);
    return 0;
}
