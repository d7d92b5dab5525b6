// The final message of an uninstall ("/warning"), translated by "uninstall.lng" beside
// the program, as the user sees it.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "lang/textkey.h"
#include "support/process.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"

namespace {

std::string StringEntry(const char* english, const std::string& translation, bool uppercaseKey = false)
{
    char key[9];
    MakeTextKey(key, 's', nullptr, english);
    std::string k = key;
    if (uppercaseKey)
        for (char& c : k) c = (char)toupper((unsigned char)c);
    return k + "=\"" + translation + "\"\r\n";
}

struct Shown {
    bool found = false;
    std::string text;
    DWORD exitCode = 99;
};

// Runs a copy of the program with "/warning" beside the given language file and reads
// the message box that carries the expected caption.
Shown RunWarning(const std::string& languageFile, const std::string& caption, std::string* programPath)
{
    ScopedWindowsVersion version("uninstall.exe", nullptr);
    TempFolder folder;
    std::string program = folder / "uninstall.exe";
    *programPath = program;
    Shown shown;
    if (!CopyFileA(BuiltProgram().c_str(), program.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << BuiltProgram();
        return shown;
    }
    WriteFile(folder / "uninstall.lng", languageFile);
    HANDLE process = StartProcess("\"" + program + "\" /warning", folder.Path());
    if (!process) {
        ADD_FAILURE() << "cannot start " << program;
        return shown;
    }
    HWND box = WaitForDialog(caption, 15000, GetProcessId(process));
    if (box) {
        shown.found = true;
        shown.text = MessageBoxText(box);
        PressButton(box, IDOK);
    }
    ProcessResult result = FinishProcess(process, 15000);
    EXPECT_TRUE(result.finished);
    shown.exitCode = result.exitCode;
    return shown;
}

TEST(WarningMessage, ShowsTheTranslatedCaptionAndLines)
{
    std::string content = "; German\r\n***messages***\r\n" +
                          StringEntry("Uninstall Bramix", "Bramix entfernen") +
                          StringEntry("Uninstall completed", "Entfernen abgeschlossen") +
                          StringEntry("You should delete %s manually", "Bitte %s von Hand l\xF6schen");
    std::string program;
    Shown shown = RunWarning(content, "Bramix entfernen", &program);
    ASSERT_TRUE(shown.found) << "no message box with the translated caption";
    EXPECT_EQ("Entfernen abgeschlossen\nBitte " + program + " von Hand l\xF6schen", shown.text);
    EXPECT_EQ(0u, shown.exitCode);
}

TEST(WarningMessage, UppercaseKeysChangeNothing)
{
    std::string content = "***messages***\r\n" +
                          StringEntry("Uninstall Bramix", "Bramix entfernen", true) +
                          StringEntry("Uninstall completed", "Entfernen abgeschlossen", true) +
                          StringEntry("You should delete %s manually", "Bitte %s von Hand loeschen", true);
    std::string program;
    Shown shown = RunWarning(content, "Uninstall Bramix", &program);
    ASSERT_TRUE(shown.found) << "no message box with the English caption";
    EXPECT_EQ("Uninstall completed\nYou should delete " + program + " manually", shown.text);
}

TEST(WarningMessage, AMarkerBeyondTheSearchedStartIsNoTranslation)
{
    // Comment lines before the marker: a file of 200 KB with the marker at its end is read
    // no further than its start; one whose marker lies within 100 KB is a translation.
    const std::string messages = "***messages***\r\n" + StringEntry("Uninstall Bramix", "Bramix entfernen") +
                                 StringEntry("Uninstall completed", "Entfernen abgeschlossen");
    const struct {
        size_t fillerBytes;
        const char* caption;
        const char* firstLine;
    } cases[] = {
        {200 * 1024, "Uninstall Bramix", "Uninstall completed"},
        {100 * 1024, "Bramix entfernen", "Entfernen abgeschlossen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fillerBytes);
        std::string filler;
        while (filler.size() + 64 <= c.fillerBytes) filler += "; " + std::string(60, 'f') + "\r\n";
        std::string program;
        Shown shown = RunWarning(filler + messages, c.caption, &program);
        ASSERT_TRUE(shown.found) << "no message box with the caption " << c.caption;
        EXPECT_EQ(std::string(c.firstLine) + "\nYou should delete " + program + " manually", shown.text);
        EXPECT_EQ(0u, shown.exitCode);
    }
}

} // namespace
