// The text of the self-removal script and the command line that starts it. Byte-level:
// no windows.h here.
//
// The paths handed in are already as the batch file must hold them: in the OEM code page,
// which is how the command interpreter reads a batch file. The interpreter expands '%'
// even inside double quotes, so every '%' of a path is doubled here.
#pragma once
#include <stddef.h>

enum {
    kScriptPieceCapacity = 1024,
    kScriptCommandCapacity = 512,
    kScriptDeletionAttempts = 5,
};

#define SELF_REMOVAL_SCRIPT_NAME "Uninstall_Qyx.Bat"

// Copies text into out with every '%' doubled. False, leaving out empty, if it does not fit
// or holds a control character (a line break among them) or a double quote.
bool EscapeBatchText(char* out, size_t capacity, const char* text);

// True when the interpreter's file name is "cmd.exe": that interpreter takes a quoted first
// argument of "start" as the window title, and knows the switches "/d" and "/v:off".
bool IsCmdInterpreter(const char* interpreter);

// Each composer returns false, leaving out empty, when the piece does not fit capacity.
// cmdDialect: the script runs in cmd (which waits for a program it starts from a batch
// file), else in the 9x family's interpreter (which needs "start /wait").
bool ComposeScriptFirstLine(char* out, size_t capacity, bool cmdDialect, const char* programPath);
// Written kScriptDeletionAttempts times in a row.
bool ComposeDeletionBlock(char* out, size_t capacity, const char* programPath, const char* folder);
// The last line deletes the script and has no line end.
bool ComposeScriptTail(char* out, size_t capacity, const char* programPath, const char* scriptPath);

// The interpreter's command line. With cmd, "/d" keeps an AutoRun command out and "/v:off"
// a delayed-expansion setting: neither may change what the script does.
bool ComposeInterpreterCommand(char* out, size_t capacity, bool cmdDialect, const char* interpreter,
                               const char* scriptPath);
