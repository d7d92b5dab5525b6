// Dialogs translated and rescaled by a language file: one file, loaded once, holds the
// entries of every dialog name used here, so each test picks its case by that name.
#include <gtest/gtest.h>
#include <stdlib.h>
#include "dialogs_harness.h"
#include "dialogs_ids.h"
#include "lang/language.h"
#include "lang/textkey.h"
#include "support/tempfolder.h"

namespace {

const std::string kLongTranslation(2000, 't');

std::string Entry(const char* context, const char* text, const std::string& translation)
{
    char key[9];
    MakeTextKey(key, '$', context, text);
    return std::string(key) + "=\"" + translation + "\"\r\n";
}

class LanguageFileEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string file = "; Test translations\r\n***messages***\r\n";
        file += Entry("SCALEDDLG", "", "120*110");
        file += Entry("SCALEDDLG", "Test dialog", "Translated dialog");
        file += Entry("SCALEDDLG", "Label", "Translated label");
        file += Entry("SCALEDDLG", "Check", "Translated check");
        file += Entry("SCALEDDLG", "OK", "Fine");
        file += Entry("SCALEDDLG", "&Help", "&Assistance");
        file += Entry("WIDEDLG", "", "150*100");
        file += Entry("SAMEDLG", "", "100*100");
        file += Entry("SAMEDLG", "Label", "Same size");
        file += Entry("UNTITLEDDLG", "", "120*110");
        file += Entry("LONGDLG", "Label", kLongTranslation);
        file += Entry("MANYDLG", "Item", "Translated item");
        file += Entry("SCALEDPAGE", "", "150*120");
        file += Entry("SCALEDPAGE", "Page", "Translated page");
        file += Entry("SCALEDPAGE", "Page label", "Translated page label");
        file += Entry("ZERODLG", "", "0*0");
        file += Entry("NODIGITSDLG", "", "*");
        file += Entry("WORDDLG", "", "abc");
        file += Entry("NEGATIVEDLG", "", "-50*200");
        file += Entry("HUGEDLG", "", "100000*100");
        file += Entry("LIMITDLG", "", "2147483647*2147483647");
        TempFolder folder;
        WriteFile(folder / "uninstall.lng", file);
        TheLanguage.LoadLanguageFile((folder / "uninstall.lng").c_str());
    }
};

::testing::Environment* const g_languageFile =
    ::testing::AddGlobalTestEnvironment(new LanguageFileEnvironment);

DialogRun Controls(const char* name)
{
    DialogRun run;
    run.templateName = "CONTROLSDLG";
    run.dialogName = name;
    return run;
}

// The formulas add a pixel to each size before scaling, and estimate the borders from
// the frame: positions and sizes land within a few pixels of the exact proportion.
const int kSlack = 3;

bool Near(long actual, double ideal) { return abs((int)(actual - ideal)) <= kSlack; }

void ExpectScaled(const DialogRun& run, int sw, int sh)
{
    ASSERT_EQ(run.before.controls.size(), run.after.controls.size());
    for (size_t i = 0; i < run.after.controls.size(); ++i) {
        const ControlState& b = run.before.controls[i];
        const ControlState& a = run.after.controls[i];
        SCOPED_TRACE("control " + std::to_string(a.id));
        EXPECT_PRED2(Near, a.x, b.x * sw / 100.0);
        EXPECT_PRED2(Near, a.y, b.y * sh / 100.0);
        EXPECT_PRED2(Near, a.width, b.width * sw / 100.0);
        if (a.id == IDC_DROPDOWN) {
            // The field keeps the height of its font; the list beneath it takes the rest
            // of the scaled height, which covers the scaled field and the scaled list.
            EXPECT_PRED2(Near, a.height + a.droppedHeight, (b.height + b.droppedHeight) * sh / 100.0);
        } else {
            EXPECT_PRED2(Near, a.height, b.height * sh / 100.0);
        }
    }
}

void ExpectUnchanged(const DialogRun& run)
{
    EXPECT_TRUE(EqualRect(&run.before.window, &run.after.window));
    ASSERT_EQ(run.before.controls.size(), run.after.controls.size());
    for (size_t i = 0; i < run.after.controls.size(); ++i) {
        EXPECT_TRUE(EqualRect(&run.before.controls[i].rect, &run.after.controls[i].rect))
            << run.after.controls[i].id;
    }
}

TEST(LocalizedDialog, TranslatesTitleAndControlTextsInTheDialogsContext)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    DialogRun run = Controls("SCALEDDLG");
    RunDialog(run);
    ASSERT_TRUE(run.initialized);
    EXPECT_EQ("Translated dialog", run.after.title);
    EXPECT_EQ("Translated label", run.after.Control(IDC_LABEL)->text);
    EXPECT_EQ("Translated check", run.after.Control(IDC_CHECK)->text);
    EXPECT_EQ("Fine", run.after.Control(IDOK)->text);
    EXPECT_EQ("&Assistance", run.after.Control(IDHELP)->text);
    // The entry for the empty text is the scale, never a text.
    EXPECT_EQ("", run.after.Control(IDC_EMPTY)->text);

    // Another dialog name is another context: the same texts stay English.
    DialogRun other = Controls("CONTROLSDLG");
    RunDialog(other);
    EXPECT_EQ("Test dialog", other.after.title);
    EXPECT_EQ("Label", other.after.Control(IDC_LABEL)->text);
    EXPECT_EQ("OK", other.after.Control(IDOK)->text);
}

TEST(LocalizedDialog, EmptyTitleStaysEmptyWhenTheDialogHasAScale)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    DialogRun run;
    run.templateName = "UNTITLEDDLG";
    run.dialogName = "UNTITLEDDLG";
    RunDialog(run);
    ASSERT_TRUE(run.initialized);
    EXPECT_EQ("", run.after.title);
    EXPECT_GT(run.after.client.right, run.before.client.right);  // the scale did apply
}

TEST(LocalizedDialog, RescalesDialogAndControls)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    const struct {
        const char* name;
        int sw, sh;
    } cases[] = {
        {"SCALEDDLG", 120, 110},
        {"WIDEDLG", 150, 100},  // wider only: heights and vertical positions stay
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogRun run = Controls(c.name);
        RunDialog(run);
        ASSERT_TRUE(run.initialized);
        // The top-left corner stays; the client area takes the proportion.
        EXPECT_EQ(run.before.window.left, run.after.window.left);
        EXPECT_EQ(run.before.window.top, run.after.window.top);
        EXPECT_PRED2(Near, run.after.client.right, run.before.client.right * c.sw / 100.0);
        EXPECT_PRED2(Near, run.after.client.bottom, run.before.client.bottom * c.sh / 100.0);
        ExpectScaled(run, c.sw, c.sh);
    }
}

TEST(LocalizedDialog, UnscaledWithoutScaleOrAtHundredPercent)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    for (const char* name : {"SAMEDLG", "CONTROLSDLG", "WORDDLG"}) {
        SCOPED_TRACE(name);
        DialogRun run = Controls(name);
        RunDialog(run);
        ASSERT_TRUE(run.initialized);
        ExpectUnchanged(run);
    }
}

TEST(LocalizedDialog, MirroredDialogRescalesFromItsRightEdge)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    TheLanguage.RightToLeft = true;
    DialogRun run = Controls("WIDEDLG");
    RunDialog(run);
    TheLanguage.RightToLeft = false;
    ASSERT_TRUE(run.initialized);
    ASSERT_NE(0, run.after.exStyle & WS_EX_LAYOUTRTL);
    // Positions counted from the right edge take the proportion, so the mirrored layout
    // stays mirrored and inside the dialog.
    ExpectScaled(run, 150, 100);
    for (const ControlState& c : run.after.controls) {
        EXPECT_GE(c.rect.left, run.after.window.left) << c.id;
        EXPECT_LE(c.rect.right, run.after.window.right) << c.id;
    }
    const RECT& w = run.after.window;
    EXPECT_GT(run.after.Control(IDC_LABEL)->rect.left, (w.left + w.right) / 2);
}

TEST(LocalizedDialog, PropertyPageKeepsSizeAndTitleWhileItsControlsChange)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    DialogRun run;
    run.templateName = "PAGEDLG";
    run.dialogName = "SCALEDPAGE";
    run.propertyPage = true;
    RunDialog(run);
    ASSERT_TRUE(run.initialized);
    EXPECT_TRUE(EqualRect(&run.before.window, &run.after.window));
    EXPECT_EQ(run.before.title, run.after.title);
    EXPECT_EQ("Translated page label", run.after.Control(IDC_LABEL)->text);
    EXPECT_EQ("Page option", run.after.Control(IDC_CHECK)->text);
    ExpectScaled(run, 150, 120);
}

TEST(LocalizedDialog, OnlyTheFirst512ControlsAreLocalized)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    DialogRun run;
    run.templateName = "EMPTYDLG";
    run.dialogName = "MANYDLG";
    run.beforeInit = [](HWND dialog) {
        for (int i = 0; i < 600; ++i)
            CreateWindowExA(0, "STATIC", "Item", WS_CHILD | WS_VISIBLE, (i % 30) * 10, (i / 30) * 10,
                            10, 10, dialog, (HMENU)(INT_PTR)(1000 + i), NULL, NULL);
    };
    RunDialog(run);
    ASSERT_EQ(600u, run.after.controls.size());
    for (size_t i = 0; i < run.after.controls.size(); ++i)
        ASSERT_EQ(i < 512 ? "Translated item" : "Item", run.after.controls[i].text) << "control " << i;
}

TEST(LocalizedDialog, TextsLongerThanTheBuffersAreCut)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    DialogRun run = Controls("LONGDLG");
    run.beforeInit = [](HWND dialog) {
        SetWindowTextA(dialog, std::string(3000, 'T').c_str());
        SetDlgItemTextA(dialog, IDC_CHECK, std::string(1500, 'c').c_str());
    };
    RunDialog(run);
    ASSERT_TRUE(run.initialized);
    // Read into 1024 bytes: 1023 and the terminator.
    EXPECT_EQ(std::string(1023, 'T'), run.after.title);
    EXPECT_EQ(std::string(1023, 'c'), run.after.Control(IDC_CHECK)->text);
    // A translation longer than the buffer arrives cut, from its start.
    const std::string& label = run.after.Control(IDC_LABEL)->text;
    EXPECT_FALSE(label.empty());
    EXPECT_LE(label.size(), 1023u);
    EXPECT_EQ(0u, kLongTranslation.compare(0, label.size(), label));
}

TEST(LocalizedDialog, BadScalesNeitherCrashNorOverflow)
{
    ASSERT_TRUE(TheLanguage.IsLoaded());
    const int kMax = 32767;
    const struct {
        const char* name;
        int windowWidth, clientWidth, clientHeight;  // -1: not checked
        int labelWidth, labelHeight;
    } cases[] = {
        // Shrunk to the frame; the controls to nothing at the client origin.
        {"ZERODLG", -1, 1, 1, 0, 0},
        {"NODIGITSDLG", -1, 1, 1, 0, 0},
        // Negative widths become none; the heights double.
        {"NEGATIVEDLG", 0, 0, -1, 0, -1},
        // Sizes beyond the coordinate range are held at its end, not wrapped around.
        {"HUGEDLG", kMax, -1, -1, kMax, -1},
        {"LIMITDLG", kMax, -1, -1, kMax, kMax},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogRun run = Controls(c.name);
        RunDialog(run);  // returns: the dialog closed normally
        ASSERT_TRUE(run.initialized);
        const DialogState& a = run.after;
        long width = a.window.right - a.window.left, height = a.window.bottom - a.window.top;
        EXPECT_GE(width, 0);
        EXPECT_LE(width, kMax);
        EXPECT_GE(height, 0);
        EXPECT_LE(height, kMax);
        if (c.windowWidth >= 0) {
            EXPECT_EQ(c.windowWidth, width);
        }
        if (c.clientWidth >= 0) {
            EXPECT_EQ(c.clientWidth, a.client.right);
        }
        if (c.clientHeight >= 0) {
            EXPECT_EQ(c.clientHeight, a.client.bottom);
        }
        for (const ControlState& s : a.controls) {
            EXPECT_GE(s.width, 0) << s.id;
            EXPECT_LE(s.width, kMax) << s.id;
            EXPECT_GE(s.height, 0) << s.id;
            EXPECT_LE(s.height, kMax) << s.id;
        }
        const ControlState* label = a.Control(IDC_LABEL);
        if (c.labelWidth >= 0) {
            EXPECT_EQ(c.labelWidth, label->width);
        }
        if (c.labelHeight >= 0) {
            EXPECT_EQ(c.labelHeight, label->height);
        }
        if (c.labelWidth == 0 && c.labelHeight == 0) {
            EXPECT_EQ(0, label->x);
            EXPECT_EQ(0, label->y);
        }
    }
}

} // namespace
