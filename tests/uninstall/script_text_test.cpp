// The self-removal script's text and the interpreter's command line.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "uninstall/script_text.h"

namespace {

const char kPoison = '\xCC';
const char* const kProgram = "C:\\Program Files\\Bramix\\uninstall.exe";
const char* const kFolder = "C:\\Program Files\\Bramix";
const char* const kScript = "C:\\TEMP\\Uninstall_Qyx.Bat";

// The whole script as the uninstaller writes it.
std::string Script(bool cmdDialect, const char* program, const char* folder, const char* script)
{
    char piece[kScriptPieceCapacity];
    std::string out;
    EXPECT_TRUE(ComposeScriptFirstLine(piece, sizeof piece, cmdDialect, program));
    out += piece;
    EXPECT_TRUE(ComposeDeletionBlock(piece, sizeof piece, program, folder));
    for (int i = 0; i < kScriptDeletionAttempts; ++i) out += piece;
    EXPECT_TRUE(ComposeScriptTail(piece, sizeof piece, program, script));
    out += piece;
    return out;
}

std::string Block(const std::string& program, const std::string& folder)
{
    return "del \"" + program + "\"\r\nrd \"" + folder + "\"\r\nif not exist \"" + program + "\" goto done\r\n";
}

TEST(ScriptTextTest, CmdScriptWaitsDeletesFiveTimesAndEndsWithoutLineEnd)
{
    std::string p = kProgram, d = kFolder;
    std::string expected = "\"" + p + "\" /wait\r\n";
    for (int i = 0; i < 5; ++i) expected += Block(p, d);
    expected += ":done\r\nif exist \"" + p + "\" \"" + p + "\" /warning\r\ndel \"" + kScript + "\"";
    std::string script = Script(true, kProgram, kFolder, kScript);
    EXPECT_EQ(expected, script);
    size_t lines = 1;
    for (size_t at = script.find("\r\n"); at != std::string::npos; at = script.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(19u, lines);
}

TEST(ScriptTextTest, NineXScriptStartsTheProgramWithStartWait)
{
    std::string script = Script(false, kProgram, kFolder, kScript);
    EXPECT_EQ(0u, script.find("start /wait \"" + std::string(kProgram) + "\" /wait\r\ndel \""));
    EXPECT_EQ(Script(true, kProgram, kFolder, kScript).substr(strlen(kProgram) + 10),
              script.substr(strlen(kProgram) + 22));
}

TEST(ScriptTextTest, DriveRootIsNamedByTheRdLine)
{
    EXPECT_NE(std::string::npos, Script(true, "Q:\\uninstall.exe", "Q:\\", kScript).find("\r\nrd \"Q:\\\"\r\n"));
}

TEST(ScriptTextTest, DoublesEveryPercentAndLeavesTheRestAsItIs)
{
    // cmd expands "%TEMP%" inside quotes too; "!", "&", "^" and "(" are plain there
    // once delayed expansion is off.
    std::string script = Script(true, "C:\\a%TEMP%b\\x!y!\\uninstall.exe", "C:\\a%TEMP%b\\x!y!",
                                "C:\\T%\\a&b^c(d)\\Uninstall_Qyx.Bat");
    std::string p = "C:\\a%%TEMP%%b\\x!y!\\uninstall.exe";
    std::string expected = "\"" + p + "\" /wait\r\n";
    for (int i = 0; i < 5; ++i) expected += Block(p, "C:\\a%%TEMP%%b\\x!y!");
    expected += ":done\r\nif exist \"" + p + "\" \"" + p + "\" /warning\r\ndel \"C:\\T%%\\a&b^c(d)\\Uninstall_Qyx.Bat\"";
    EXPECT_EQ(expected, script);
}

TEST(ScriptTextTest, EscapeStaysWithinItsBuffer)
{
    char out[8];
    // "a%%b%%" is 6 characters: it needs 7 bytes.
    memset(out, kPoison, sizeof out);
    EXPECT_FALSE(EscapeBatchText(out, 6, "a%b%"));
    EXPECT_STREQ("", out);
    EXPECT_EQ(kPoison, out[6]);
    memset(out, kPoison, sizeof out);
    EXPECT_TRUE(EscapeBatchText(out, 7, "a%b%"));
    EXPECT_STREQ("a%%b%%", out);
    EXPECT_EQ(kPoison, out[7]);
    memset(out, kPoison, sizeof out);
    EXPECT_FALSE(EscapeBatchText(out, 2, "%"));  // half a pair is never written
    EXPECT_STREQ("", out);
}

TEST(ScriptTextTest, PieceThatDoesNotFitIsRefusedWhole)
{
    // A cut piece could end inside a path and name another file.
    std::string longPath = "C:\\" + std::string(600, 'x') + "\\uninstall.exe";
    char piece[kScriptPieceCapacity + 8];
    memset(piece, kPoison, sizeof piece);
    EXPECT_FALSE(ComposeDeletionBlock(piece, kScriptPieceCapacity, longPath.c_str(), kFolder));
    EXPECT_STREQ("", piece);
    EXPECT_EQ(kPoison, piece[kScriptPieceCapacity]);

    // 500 '%' double to 1000 bytes: with the quotes and " /wait\r\n" that is too much.
    std::string percents = "C:\\" + std::string(500, '%');
    memset(piece, kPoison, sizeof piece);
    EXPECT_FALSE(ComposeScriptFirstLine(piece, kScriptPieceCapacity, true, (percents + std::string(20, 'p')).c_str()));
    EXPECT_STREQ("", piece);
    EXPECT_TRUE(ComposeScriptFirstLine(piece, kScriptPieceCapacity, true, percents.c_str()));
    EXPECT_EQ(1003u + 10u, strlen(piece));
    memset(piece, kPoison, sizeof piece);
    EXPECT_FALSE(ComposeScriptTail(piece, kScriptPieceCapacity, kProgram, longPath.c_str()) &&
                 ComposeScriptTail(piece, kScriptPieceCapacity, longPath.c_str(), kScript));
    EXPECT_EQ(kPoison, piece[kScriptPieceCapacity]);
}

TEST(ScriptTextTest, PathThatWouldBreakItsLineOrQuotesIsRefused)
{
    // A TEMP value is anybody's text: "x\r\ndel ..." would be a command line of its own.
    static const char* const paths[] = {
        "C:\\T\r\ndel C:\\*\\Uninstall_Qyx.Bat",
        "C:\\T\n\\Uninstall_Qyx.Bat",
        "C:\\T\r\\Uninstall_Qyx.Bat",
        "C:\\a\006b\\uninstall.exe",  // found by the script fuzzer
        "C:\\T\" & rd /s /q C:\\ & \"\\Uninstall_Qyx.Bat",
    };
    char piece[kScriptPieceCapacity + 8];
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        memset(piece, kPoison, sizeof piece);
        EXPECT_FALSE(ComposeScriptFirstLine(piece, kScriptPieceCapacity, true, path));
        EXPECT_STREQ("", piece);
        EXPECT_FALSE(ComposeDeletionBlock(piece, kScriptPieceCapacity, kProgram, path));
        EXPECT_STREQ("", piece);
        EXPECT_FALSE(ComposeScriptTail(piece, kScriptPieceCapacity, kProgram, path));
        EXPECT_STREQ("", piece);
        EXPECT_EQ(kPoison, piece[1]);
    }
    // Bytes from 0x80 up are ordinary characters of the code page.
    EXPECT_TRUE(ComposeScriptTail(piece, kScriptPieceCapacity, kProgram, "C:\\T\x81\x7f\xe9\\Uninstall_Qyx.Bat"));
}

TEST(ScriptTextTest, InterpreterCommandLine)
{
    char command[kScriptCommandCapacity + 8];
    memset(command, kPoison, sizeof command);
    ASSERT_TRUE(ComposeInterpreterCommand(command, kScriptCommandCapacity, true,
                                          "C:\\windows\\system32\\cmd.exe", kScript));
    EXPECT_STREQ("C:\\windows\\system32\\cmd.exe /d /v:off /c \"C:\\TEMP\\Uninstall_Qyx.Bat\"", command);
    EXPECT_EQ(kPoison, command[strlen(command) + 1]);
    ASSERT_TRUE(ComposeInterpreterCommand(command, kScriptCommandCapacity, false, "C:\\WINDOWS\\COMMAND.COM",
                                          kScript));
    EXPECT_STREQ("C:\\WINDOWS\\COMMAND.COM /c \"C:\\TEMP\\Uninstall_Qyx.Bat\"", command);
    // No interpreter: the line names no program, so nothing starts.
    ASSERT_TRUE(ComposeInterpreterCommand(command, kScriptCommandCapacity, false, "", kScript));
    EXPECT_STREQ(" /c \"C:\\TEMP\\Uninstall_Qyx.Bat\"", command);

    std::string longInterpreter = "C:\\" + std::string(480, 'i') + "\\cmd.exe";
    memset(command, kPoison, sizeof command);
    EXPECT_FALSE(ComposeInterpreterCommand(command, kScriptCommandCapacity, true, longInterpreter.c_str(), kScript));
    EXPECT_STREQ("", command);
    EXPECT_EQ(kPoison, command[kScriptCommandCapacity]);
}

TEST(ScriptTextTest, RecognisesCmdByItsFileName)
{
    EXPECT_TRUE(IsCmdInterpreter("C:\\windows\\system32\\cmd.exe"));
    EXPECT_TRUE(IsCmdInterpreter("C:\\WINNT\\SYSTEM32\\CMD.EXE"));
    EXPECT_TRUE(IsCmdInterpreter("cmd.exe"));
    EXPECT_FALSE(IsCmdInterpreter("C:\\WINDOWS\\COMMAND.COM"));
    EXPECT_FALSE(IsCmdInterpreter("C:\\tools\\mycmd.exe"));
    EXPECT_FALSE(IsCmdInterpreter("C:\\cmd.exe\\shell.exe"));
    EXPECT_FALSE(IsCmdInterpreter(""));
}

} // namespace
