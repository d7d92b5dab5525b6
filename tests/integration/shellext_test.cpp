#include <gtest/gtest.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>
#include "integration/integration.h"
#include "support/sandbox.h"
#include "support/tempfolder.h"

namespace {

#define CLASS_ID "{B41DB860-8EE4-11D2-9906-E49FADC173CA}"
const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

std::string ModulePath() { return ProgramFolder() + "\\qyxext.dll"; }

// The extension module beside the running program for the life of the object.
class ModulePresent {
public:
    ModulePresent() { WriteFile(ModulePath(), "MZ"); }
    ~ModulePresent() { DeleteFileA(ModulePath().c_str()); }
};

SetupOptions Options(bool shellExt, unsigned char others = 0)
{
    SetupOptions o;
    memset(o.Flags, others, sizeof o.Flags);
    o.Flags[kOptionShellExt] = shellExt ? 1 : 0;
    return o;
}

// The values of a registration, as ListTree shows them (HKEY_CLASSES_ROOT).
std::vector<std::string> HandlerValues()
{
    return {
        "*\\shellex\\ContextMenuHandlers\\Bramix [] = " CLASS_ID,
        "Bramix.ZIP\\shellex\\ContextMenuHandlers\\" CLASS_ID " [] = ",
        "Bramix.ZIP\\shellex\\DropHandler [] = " CLASS_ID,
        "Bramix.ZIP\\shellex\\PropertySheetHandlers\\" CLASS_ID " [] = ",
        "Bramix\\shellex\\ContextMenuHandlers\\" CLASS_ID " [] = ",
        "Bramix\\shellex\\DropHandler [] = " CLASS_ID,
        "Bramix\\shellex\\PropertySheetHandlers\\" CLASS_ID " [] = ",
        "Directory\\shellex\\ContextMenuHandlers\\Bramix [] = " CLASS_ID,
        "Directory\\shellex\\DragDropHandlers\\Bramix [] = " CLASS_ID,
        "Drive\\shellex\\DragDropHandlers\\Bramix [] = " CLASS_ID,
        "Folder\\shellex\\ContextMenuHandlers\\Bramix [] = " CLASS_ID,
        "Folder\\shellex\\DragDropHandlers\\Bramix [] = " CLASS_ID,
        "exefile\\shellex\\PropertySheetHandlers\\" CLASS_ID " [] = ",
    };
}

std::vector<std::string> ClassValues()
{
    return {
        "CLSID\\" CLASS_ID " [] = Bramix",
        "CLSID\\" CLASS_ID "\\InProcServer32 [] = " + ModulePath(),
        "CLSID\\" CLASS_ID "\\InProcServer32 [ThreadingModel] = Apartment",
    };
}

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<std::string> Plus(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return Sorted(a);
}

class ShellExtensionTest : public SandboxedTest {
protected:
    std::vector<std::string> ClassesValues() const { return ListTree(sandbox_.Scratch(HKEY_CLASSES_ROOT), "", false); }
    std::vector<std::string> ClassesTree() const { return ListTree(sandbox_.Scratch(HKEY_CLASSES_ROOT), ""); }
    std::vector<std::string> MachineTree() const { return ListTree(sandbox_.Scratch(HKEY_LOCAL_MACHINE), ""); }
};

TEST_F(ShellExtensionTest, RegistersAllEntriesWithTheModulePresent)
{
    ModulePresent module;
    SetupOptions o = Options(true);
    SetShellExtension(&o);
    EXPECT_EQ(Plus(HandlerValues(), ClassValues()), ClassesValues());
    EXPECT_EQ(Sorted({"Software", "Software\\Microsoft", "Software\\Microsoft\\Windows",
                                        "Software\\Microsoft\\Windows\\CurrentVersion",
                                        "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions",
                                        "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
                                        "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved "
                                        "[" CLASS_ID "] = Bramix shell extension"}),
              MachineTree());
    DWORD type = 0;
    EXPECT_TRUE(ReadValue(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID "\\InProcServer32", "", &type, nullptr));
    EXPECT_EQ((DWORD)REG_SZ, type);
}

TEST_F(ShellExtensionTest, WithoutTheModuleWritesNoClassAndKeepsAnEarlierOne)
{
    SetupOptions o = Options(true);
    ASSERT_FALSE(PathExists(ModulePath()));
    SetShellExtension(&o);
    EXPECT_EQ(Sorted(HandlerValues()), ClassesValues());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_EQ("Bramix shell extension", ReadString(HKEY_LOCAL_MACHINE, kApproved, CLASS_ID));

    // A class left by an earlier registration, from another folder, is not touched.
    WriteString(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID "\\InProcServer32", "", "D:\\Old\\qyxext.dll");
    SetShellExtension(&o);
    EXPECT_EQ("D:\\Old\\qyxext.dll", ReadString(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID "\\InProcServer32", ""));
}

TEST_F(ShellExtensionTest, RegisteringTwiceEqualsOnce)
{
    ModulePresent module;
    SetupOptions o = Options(true);
    SetShellExtension(&o);
    const std::string classes = DumpKey(sandbox_.Scratch(HKEY_CLASSES_ROOT), "");
    const std::string machine = DumpKey(sandbox_.Scratch(HKEY_LOCAL_MACHINE), "");
    SetShellExtension(&o);
    EXPECT_EQ(classes, DumpKey(sandbox_.Scratch(HKEY_CLASSES_ROOT), ""));
    EXPECT_EQ(machine, DumpKey(sandbox_.Scratch(HKEY_LOCAL_MACHINE), ""));
}

TEST_F(ShellExtensionTest, OnlyTheShellIntegrationFlagDecides)
{
    ModulePresent module;
    // Every other flag set, shell integration off: nothing is written.
    SetupOptions off = Options(false, 1);
    SetShellExtension(&off);
    EXPECT_TRUE(ClassesTree().empty());
    EXPECT_TRUE(MachineTree().empty());
    // Shell integration alone, cascaded menus and menu icons clear: the whole registration.
    SetupOptions on = Options(true);
    SetShellExtension(&on);
    const std::string alone = DumpKey(sandbox_.Scratch(HKEY_CLASSES_ROOT), "");
    SetupOptions all = Options(true, 1);
    SetShellExtension(&all);
    EXPECT_EQ(alone, DumpKey(sandbox_.Scratch(HKEY_CLASSES_ROOT), ""));
}

TEST_F(ShellExtensionTest, RemovalLeavesTheNamedHandlerKeysAndTheShellexKeys)
{
    {
        ModulePresent module;
        SetupOptions on = Options(true);
        SetShellExtension(&on);
    }
    // Another program's approval, and another handler's value, stay.
    WriteString(HKEY_LOCAL_MACHINE, kApproved, "{00000000-1111-2222-3333-444444444444}", "Other");
    SetupOptions off = Options(false);
    SetShellExtension(&off);  // the module is gone by now: removal does not care

    EXPECT_EQ(Sorted({
                  "*", "*\\shellex", "*\\shellex\\ContextMenuHandlers", "*\\shellex\\ContextMenuHandlers\\Bramix",
                  "Bramix", "Bramix.ZIP", "Bramix.ZIP\\shellex", "Bramix.ZIP\\shellex\\ContextMenuHandlers",
                  "Bramix.ZIP\\shellex\\PropertySheetHandlers", "Bramix\\shellex",
                  "Bramix\\shellex\\ContextMenuHandlers", "Bramix\\shellex\\PropertySheetHandlers", "CLSID",
                  "Directory", "Directory\\shellex", "Directory\\shellex\\ContextMenuHandlers",
                  "Directory\\shellex\\ContextMenuHandlers\\Bramix", "Directory\\shellex\\DragDropHandlers",
                  "Directory\\shellex\\DragDropHandlers\\Bramix", "Drive", "Drive\\shellex",
                  "Drive\\shellex\\DragDropHandlers", "Drive\\shellex\\DragDropHandlers\\Bramix", "Folder",
                  "Folder\\shellex", "Folder\\shellex\\ContextMenuHandlers",
                  "Folder\\shellex\\ContextMenuHandlers\\Bramix", "Folder\\shellex\\DragDropHandlers",
                  "Folder\\shellex\\DragDropHandlers\\Bramix", "exefile", "exefile\\shellex",
                  "exefile\\shellex\\PropertySheetHandlers"}),
              ClassesTree());
    EXPECT_EQ(Sorted({"[{00000000-1111-2222-3333-444444444444}] = Other"}),
              ListTree(sandbox_.Scratch(HKEY_LOCAL_MACHINE), kApproved));
}

TEST_F(ShellExtensionTest, RemovalOfAClassWithFurtherSubkeysDependsOnTheFamily)
{
    WriteString(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID "\\InProcServer32", "", "C:\\qyxext.dll");
    CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID "\\Implemented Categories");
    SetupOptions off = Options(false);
    SetShellExtension(&off);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID "\\InProcServer32"));
    // The NT family deletes only keys without subkeys; the 9x family the whole tree.
    EXPECT_EQ(IsNtFamily(), KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID));
}

TEST_F(ShellExtensionTest, RemovalWhenNothingWasRegisteredCreatesNothing)
{
    SetupOptions off = Options(false);
    SetShellExtension(&off);
    EXPECT_TRUE(ClassesTree().empty());
    EXPECT_TRUE(MachineTree().empty());
    EXPECT_TRUE(ListTree(sandbox_.Scratch(HKEY_CURRENT_USER), "").empty());
}

} // namespace
