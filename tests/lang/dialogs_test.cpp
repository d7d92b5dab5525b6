// The common dialog filter without a language file: texts and sizes stay as the
// template has them, right-to-left mirroring, and help requests.
#include <gtest/gtest.h>
#include "dialogs_harness.h"
#include "dialogs_ids.h"
#include "lang/language.h"

namespace {

class RightToLeftScope {
public:
    explicit RightToLeftScope(bool on) : saved_(TheLanguage.RightToLeft) { TheLanguage.RightToLeft = on; }
    ~RightToLeftScope() { TheLanguage.RightToLeft = saved_; }

private:
    bool saved_;
};

DialogRun ControlsDialog(const char* name, int helpContext = 0)
{
    DialogRun run;
    run.templateName = "CONTROLSDLG";
    run.dialogName = name;
    run.helpContext = helpContext;
    return run;
}

void ExpectSameRect(const RECT& a, const RECT& b, const std::string& what)
{
    EXPECT_EQ(a.left, b.left) << what;
    EXPECT_EQ(a.top, b.top) << what;
    EXPECT_EQ(a.right, b.right) << what;
    EXPECT_EQ(a.bottom, b.bottom) << what;
}

TEST(DialogWithoutLanguageFile, KeepsTextsAndGeometry)
{
    ASSERT_FALSE(TheLanguage.IsLoaded());
    DialogRun run = ControlsDialog("CONTROLSDLG");
    RunDialog(run);
    ASSERT_TRUE(run.initialized);
    EXPECT_EQ("Test dialog", run.after.title);
    ExpectSameRect(run.before.window, run.after.window, "dialog");
    ASSERT_EQ(7u, run.after.controls.size());
    for (size_t i = 0; i < run.after.controls.size(); ++i) {
        const ControlState& b = run.before.controls[i];
        const ControlState& a = run.after.controls[i];
        EXPECT_EQ(b.text, a.text) << a.id;
        ExpectSameRect(b.rect, a.rect, "control " + std::to_string(a.id));
        EXPECT_EQ(b.droppedHeight, a.droppedHeight) << a.id;
    }
    EXPECT_EQ("Label", run.after.Control(IDC_LABEL)->text);
    EXPECT_EQ("", run.after.Control(IDC_EMPTY)->text);
    EXPECT_EQ("&Help", run.after.Control(IDHELP)->text);
    EXPECT_EQ(0, run.after.exStyle & WS_EX_LAYOUTRTL);
}

TEST(DialogRightToLeft, MirroredAtSetFontBeforeInitDialog)
{
    DialogRun english = ControlsDialog("CONTROLSDLG");
    RunDialog(english);
    ASSERT_TRUE(english.setFontSeen);
    EXPECT_FALSE(english.mirroredAtSetFont);

    RightToLeftScope rtl(true);
    DialogRun run = ControlsDialog("CONTROLSDLG");
    RunDialog(run);
    ASSERT_TRUE(run.setFontSeen);
    EXPECT_TRUE(run.setFontBeforeInit);
    EXPECT_TRUE(run.mirroredAtSetFont);
    EXPECT_TRUE(run.mirroredBeforeInit);
    EXPECT_NE(0, run.after.exStyle & WS_EX_LAYOUTRTL);

    // The controls were created into the mirrored dialog: each lies as far from the right
    // edge as it lies from the left edge in the English dialog.
    ASSERT_EQ(english.after.controls.size(), run.after.controls.size());
    for (size_t i = 0; i < run.after.controls.size(); ++i) {
        const ControlState& e = english.after.controls[i];
        const ControlState& m = run.after.controls[i];
        EXPECT_EQ(e.x, m.x) << m.id;
        EXPECT_EQ(e.y, m.y) << m.id;
        EXPECT_EQ(e.width, m.width) << m.id;
    }
    // The label, at the left of the English dialog, is on the right half of the screen
    // rectangle of the mirrored one.
    const RECT& w = run.after.window;
    EXPECT_GT(run.after.Control(IDC_LABEL)->rect.left, (w.left + w.right) / 2);
}

enum HelpAction { HelpButton, F1Key };

TEST(DialogHelp, HelpButtonAndF1OpenTheHelpFileAtTheContext)
{
    const struct {
        const char* name;
        int context;
        HelpAction action;
        bool opens;
    } cases[] = {
        {"SETUPDLG", 268, HelpButton, true},
        {"SETUPDLG", 268, F1Key, true},
        {"CONTEXTITEMS", 310, HelpButton, true},
        {"CONTEXTITEMS", 310, F1Key, true},
        {"DONEDLG", 0, HelpButton, false},
        {"DONEDLG", 0, F1Key, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.action == F1Key ? " F1" : " Help button"));
        HelpViewerStandIn viewer;
        ASSERT_TRUE(viewer.Ready());
        HWND shown = NULL;
        DialogRun run = ControlsDialog(c.name, c.context);
        run.whileOpen = [&](HWND dialog) {
            shown = dialog;
            if (c.action == F1Key) {
                SetFocus(GetDlgItem(dialog, IDC_CHECK));
                PressKey(dialog, VK_F1);
            } else {
                SendDlgItemMessageA(dialog, IDHELP, BM_CLICK, 0, 0);
            }
        };
        RunDialog(run);
        if (!c.opens) {
            EXPECT_TRUE(viewer.Requests().empty());
            continue;
        }
        ASSERT_EQ(1u, viewer.Requests().size());
        const HelpRequest& r = viewer.Requests()[0];
        EXPECT_EQ(shown, r.owner);
        EXPECT_EQ((unsigned)HELP_CONTEXT, r.command);
        EXPECT_EQ(c.context, r.data);
        EXPECT_EQ("bramix.hlp", r.file);
    }
}

TEST(DialogHelp, OnlyTheHelpCommandOpensHelp)
{
    HelpViewerStandIn viewer;
    DialogRun run = ControlsDialog("SETUPDLG", 268);
    run.whileOpen = [](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CHECK, BN_CLICKED), 0);
        // Only the low 16 bits are the command: a notification code above them is no other.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDHELP, 1), 0);
    };
    RunDialog(run);
    ASSERT_EQ(1u, viewer.Requests().size());
    EXPECT_EQ(268, viewer.Requests()[0].data);
}

DialogRun Page(int helpContext)
{
    DialogRun run;
    run.templateName = "PAGEDLG";
    run.dialogName = "PAGEDLG";
    run.helpContext = helpContext;
    run.propertyPage = true;
    return run;
}

TEST(PropertyPage, MirroredWithItsSheetAndTabControl)
{
    for (bool rightToLeft : {false, true}) {
        SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
        RightToLeftScope rtl(rightToLeft);
        DialogRun run = Page(0);
        RunDialog(run);
        ASSERT_TRUE(run.initialized);
        EXPECT_TRUE(run.setFontBeforeInit);
        EXPECT_EQ(rightToLeft, run.mirroredAtSetFont);
        EXPECT_EQ(rightToLeft, (run.sheetExStyle & WS_EX_LAYOUTRTL) != 0);
        EXPECT_EQ(rightToLeft, (run.tabExStyle & WS_EX_LAYOUTRTL) != 0);
    }
}

TEST(PropertyPage, SheetHelpButtonOpensHelpEvenWithoutContext)
{
    for (int context : {268, 0}) {
        SCOPED_TRACE(context);
        HelpViewerStandIn viewer;
        HWND page = NULL;
        DialogRun run = Page(context);
        run.whileOpen = [&](HWND dialog) {
            page = dialog;
            SendDlgItemMessageA(GetParent(dialog), IDHELP, BM_CLICK, 0, 0);
        };
        RunDialog(run);
        ASSERT_EQ(1u, viewer.Requests().size());
        EXPECT_EQ(page, viewer.Requests()[0].owner);
        EXPECT_EQ(context, viewer.Requests()[0].data);
        EXPECT_EQ("bramix.hlp", viewer.Requests()[0].file);
    }
}

} // namespace
