// The language file template that lngtool writes for the built uninstall.exe, with a
// marker added to every text, loaded back by the program's own code: every string and
// every text of every dialog must show the marker.
#include <gtest/gtest.h>
#include <windows.h>
#include <set>
#include <string>
#include <vector>
#include "lang/language.h"
#include "lang/resources.h"
#include "programtexts.h"
#include "setup_ui/setup_dialogs.h"
#include "support/process.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"
#include "support/uidriver.h"
#include "template.h"

namespace {

const char kMarker[] = "[#] ";

// The template with the marker after the opening quote of every entry.
std::string MarkedTemplate(const ProgramTexts& texts)
{
    TextOutput out;
    WriteTemplate(texts, "uninstall.exe", &out);
    std::string file(out.Bytes().begin(), out.Bytes().end());
    std::string marked;
    size_t at = 0;
    while (at < file.size()) {
        size_t end = file.find('\n', at);
        end = end == std::string::npos ? file.size() : end + 1;
        std::string line = file.substr(at, end - at);
        if (line.size() > 10 && line.compare(8, 2, "=\"") == 0 && line[0] != ';') line.insert(10, kMarker);
        marked += line;
        at = end;
    }
    return marked;
}

class RoundTripTest : public SandboxedTest {
protected:
    static void SetUpTestSuite()
    {
        std::vector<unsigned char> image;
        std::string file = ReadFile(BuiltProgram());
        image.assign(file.begin(), file.end());
        char error[200] = "";
        texts_ = new ProgramTexts;
        loaded_ = ReadProgramTexts(image.data(), image.size(), texts_, error, sizeof error);
        ASSERT_TRUE(loaded_) << error;
        folder_ = new TempFolder;
        WriteFile(*folder_ / "uninstall.lng", MarkedTemplate(*texts_));
        // The language file is read once per process, as at the program's start-up.
        TheLanguage.LoadLanguageFile((*folder_ / "uninstall.lng").c_str());
        program_ = LoadLibraryExA(BuiltProgram().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE((HMODULE)NULL, program_);
        TheExtResource.Load(program_, (*folder_ / "no-module-here").c_str());
        LoadLibraryA("riched32.dll");
    }
    static void TearDownTestSuite()
    {
        TheExtResource.Unload();
        if (program_) FreeLibrary(program_);
        delete folder_;
        delete texts_;
    }

    // Every text of the dialog, as the program shows it after WM_INITDIALOG.
    static std::vector<std::string> ShownTexts(const char* name, DLGPROC proc)
    {
        std::vector<std::string> shown;
        HWND dialog = CreateDialogParamA(ResourceModule, name, NULL, proc, 0);
        if (!dialog) {
            ADD_FAILURE() << name << " not created, error " << GetLastError();
            return shown;
        }
        shown.push_back(WindowText(dialog));
        for (const ChildInfo& c : Children(dialog)) shown.push_back(c.text);
        DestroyWindow(dialog);
        return shown;
    }

    static ProgramTexts* texts_;
    static TempFolder* folder_;
    static HMODULE program_;
    static bool loaded_;
};

ProgramTexts* RoundTripTest::texts_;
TempFolder* RoundTripTest::folder_;
HMODULE RoundTripTest::program_;
bool RoundTripTest::loaded_;

TEST_F(RoundTripTest, EveryStringIsTranslated)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    int strings = 0;
    for (const ProgramText& t : texts_->texts) {
        if (t.role != RoleString) continue;
        ++strings;
        EXPECT_EQ(std::string(kMarker) + t.text, GetString(t.id)) << t.place;
    }
    EXPECT_GE(strings, 12);
    EXPECT_FALSE(TheLanguage.RightToLeft) << "the direction example is commented out";
}

TEST_F(RoundTripTest, EveryDialogTextIsTranslated)
{
    const struct {
        const char* name;
        DLGPROC proc;
    } dialogs[] = {
        {"SETUPDLG", SetupDialogProc},
        {"CONTEXTITEMS", ContextItemsDialogProc},
        {"DONEDLG", DoneDialogProc},
    };
    for (const auto& d : dialogs) {
        std::set<std::string> english;
        for (const ProgramText& t : texts_->texts)
            if (t.role == RoleDialog && std::string(t.context) == d.name) english.insert(t.text);
        ASSERT_FALSE(english.empty()) << d.name;
        std::set<std::string> seen;
        for (const std::string& text : ShownTexts(d.name, d.proc)) {
            if (text.compare(0, sizeof kMarker - 1, kMarker) == 0) {
                std::string rest = text.substr(sizeof kMarker - 1);
                EXPECT_TRUE(english.count(rest)) << d.name << ": marked, but no text of the template: " << text;
                seen.insert(rest);
            } else {
                // Only texts the dialog fills in itself (the folder of DONEDLG) lack the marker.
                EXPECT_FALSE(english.count(text)) << d.name << ": not translated: " << text;
            }
        }
        for (const std::string& text : english) EXPECT_TRUE(seen.count(text)) << d.name << ": never shown: " << text;
    }
}

} // namespace
