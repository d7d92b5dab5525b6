#include <gtest/gtest.h>
#include <shlobj.h>
#include <string.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>
#include "base/path.h"
#include "integration/integration.h"
#include "lang/resources.h"
#include "support/process.h"
#include "support/shellfolders.h"
#include "support/tempfolder.h"

namespace {

#define CLASS_ID "{B41DB860-8EE4-11D2-9906-E49FADC173CA}"
const char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Bramix.exe";
const char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bramix archiver";
const char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// The uninstall entry as RegisterUninstall writes it for this test program, as ListTree
// shows it, without the size estimate (it follows the folder's content and is checked
// in uninstall_entry_test).
std::vector<std::string> UninstallEntry()
{
    const std::string k = kUninstall;
    const std::string self = ProgramPath();
    std::string folder = self.substr(0, self.rfind('\\'));
    return {k + " [DisplayIcon] = " + self + ",0",
            k + " [DisplayName] = Bramix archiver",
            k + " [DisplayVersion] = 1.0",
            k + " [InstallLocation] = " + folder,
            k + " [NoModify] type 4: 01 00 00 00",
            k + " [NoRepair] type 4: 01 00 00 00",
            k + " [Publisher] = The Bramix developers",
            k + " [QuietUninstallString] = \"" + self + "\" /uninstall /s",
            k + " [URLInfoAbout] = https://www.bramix.example/",
            k + " [UninstallString] = " + self};
}

std::vector<std::string> WithoutSizeEstimate(std::vector<std::string> lines)
{
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.find("[EstimatedSize]") != std::string::npos; }),
                lines.end());
    return lines;
}

// The values RegisterFileTypes writes for a program folder, as ListTree shows them.
std::vector<std::string> FileTypeValues(const std::string& folder, const std::string& archive = "Bramix archive",
                                        const std::string& zip = "Bramix ZIP archive",
                                        const std::string& rev = "QYX recovery volume")
{
    const std::string program = folder + "\\Bramix.exe";
    const std::string command = "\"" + program + "\" \"%1\"";
    return Sorted({
        ".rev [] = Bramix.REV",
        "Bramix [] = " + archive,
        "Bramix\\shell\\open\\command [] = " + command,
        "Bramix\\DefaultIcon [] = " + program + ",0",
        "Bramix.ZIP [] = " + zip,
        "Bramix.ZIP\\shell\\open\\command [] = " + command,
        "Bramix.ZIP\\DefaultIcon [] = " + program + ",0",
        "Bramix.REV [] = " + rev,
        "Bramix.REV\\shell\\open\\command [] = " + command,
        "Bramix.REV\\DefaultIcon [] = " + program + ",1",
    });
}

// The value lines of a listing whose key is exactly one of the given keys.
std::vector<std::string> ValuesOf(const std::vector<std::string>& lines, const std::vector<std::string>& keys)
{
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        size_t end = line.find(" [");
        std::string key = end == std::string::npos ? line : line.substr(0, end);
        if (line.compare(0, 1, "[") == 0) key = "";
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) out.push_back(line);
    }
    return out;
}

const std::vector<std::string> kFileTypeKeys = {
    ".rev",       "Bramix",     "Bramix\\shell\\open\\command",     "Bramix\\DefaultIcon",
    "Bramix.ZIP", "Bramix.REV", "Bramix.ZIP\\shell\\open\\command", "Bramix.ZIP\\DefaultIcon",
    "Bramix.REV\\shell\\open\\command", "Bramix.REV\\DefaultIcon"};

const std::vector<std::string> kShellExtensionKeys = {
    "CLSID\\" CLASS_ID,
    "CLSID\\" CLASS_ID "\\InProcServer32",
    "Bramix\\shellex\\ContextMenuHandlers\\" CLASS_ID,
    "Bramix\\shellex\\PropertySheetHandlers\\" CLASS_ID,
    "Bramix.ZIP\\shellex\\ContextMenuHandlers\\" CLASS_ID,
    "Bramix.ZIP\\shellex\\PropertySheetHandlers\\" CLASS_ID,
    "exefile\\shellex\\PropertySheetHandlers\\" CLASS_ID,
    "Bramix\\shellex\\DropHandler",
    "Bramix.ZIP\\shellex\\DropHandler",
    "*\\shellex\\ContextMenuHandlers\\Bramix",
    "Folder\\shellex\\ContextMenuHandlers\\Bramix",
    "Folder\\shellex\\DragDropHandlers\\Bramix",
    "Drive\\shellex\\DragDropHandlers\\Bramix",
    "Directory\\shellex\\ContextMenuHandlers\\Bramix",
    "Directory\\shellex\\DragDropHandlers\\Bramix",
};

// A hidden window registered for the shell's association-changed notification; at each
// notification it runs a probe of the state at that moment.
class AssociationWatch {
public:
    explicit AssociationWatch(std::function<void()> probe) : probe_(std::move(probe))
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "BramixAssociationWatch";
        RegisterClassA(&wc);
        window_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
        SetWindowLongPtrA(window_, GWLP_USERDATA, (LONG_PTR)this);
        SHChangeNotifyEntry everything = {NULL, TRUE};
        id_ = SHChangeNotifyRegister(window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel, SHCNE_ASSOCCHANGED,
                                     kMessage, 1, &everything);
        EXPECT_NE(0u, id_) << "cannot watch the shell's notifications";
    }
    ~AssociationWatch()
    {
        if (id_) SHChangeNotifyDeregister(id_);
        DestroyWindow(window_);
    }
    // Delivers what was posted rather than sent.
    void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, window_, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    int count = 0;

private:
    enum { kMessage = WM_APP + 17 };
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l)
    {
        auto* self = (AssociationWatch*)GetWindowLongPtrA(window, GWLP_USERDATA);
        if (message == kMessage && self && (l & SHCNE_ASSOCCHANGED)) {
            ++self->count;
            self->probe_();
            return 0;
        }
        return DefWindowProcA(window, message, w, l);
    }
    std::function<void()> probe_;
    HWND window_ = NULL;
    ULONG id_ = 0;
};

// Files that a test may leave beside the running program; removed at the end unless
// they were there before.
class ProgramFolderFiles {
public:
    explicit ProgramFolderFiles(std::vector<std::string> names)
    {
        for (auto& n : names)
            if (!PathExists(ProgramFolder() + "\\" + n)) names_.push_back(n);
    }
    ~ProgramFolderFiles()
    {
        for (auto& n : names_) DeleteFileA((ProgramFolder() + "\\" + n).c_str());
    }

private:
    std::vector<std::string> names_;
};

SetupOptions AllFlags(unsigned char value)
{
    SetupOptions o;
    memset(o.Flags, value, sizeof o.Flags);
    return o;
}

class AppRegistrationTest : public ::testing::Test {
protected:
    AppRegistrationTest()
    {
        ProgramModule = ResourceModule = GetModuleHandleA(NULL);
        memset(groupOut_, 0x5A, sizeof groupOut_);
        // The installer starts set-up in the installation folder.
        GetCurrentDirectoryA(sizeof before_, before_);
        SetCurrentDirectoryA(ProgramFolder().c_str());
    }
    ~AppRegistrationTest() { SetCurrentDirectoryA(before_); }
    HKEY Scratch(HKEY root) const { return box_.Registry().Scratch(root); }
    std::string Bin(const std::string& name) const { return ProgramFolder() + "\\" + name; }

    // The probe program runs in this test's family; set while the real registry shows.
    ScopedWindowsVersion probeVersion_{"appreg_probe.exe", nullptr};
    LinkSandbox box_;
    ProgramFolderFiles leftovers_{{"qyxext.dll", "qyxnew.dat", "zipnew.dat"}};
    char groupOut_[kPathCapacity + 8];
    char before_[kPathCapacity];
};

TEST_F(AppRegistrationTest, FileTypesWithTheirCommandsAndIconsThenTheNotification)
{
    // ".rev" of another program is taken over without a backup.
    WriteString(HKEY_CLASSES_ROOT, ".rev", "", "OtherApp.rev");
    std::vector<std::string> atNotification;
    AssociationWatch watch([&] { atNotification = ListTree(Scratch(HKEY_CLASSES_ROOT), "", false); });
    RegisterFileTypes();
    const int sentDuringTheCall = watch.count;
    watch.Pump();

    EXPECT_EQ(FileTypeValues(ProgramFolder()), ListTree(Scratch(HKEY_CLASSES_ROOT), "", false));
    EXPECT_EQ(1, watch.count);
    EXPECT_EQ(1, sentDuringTheCall) << "the notification is delivered while the call runs";
    EXPECT_EQ(FileTypeValues(ProgramFolder()), atNotification) << "notified before all types were written";
    EXPECT_TRUE(box_.Tree(HKEY_CURRENT_USER).empty()) << "no backup of \".rev\"";
    EXPECT_TRUE(box_.Tree(HKEY_LOCAL_MACHINE).empty());
}

TEST_F(AppRegistrationTest, TypeDescriptionsComeInTheLanguageOfTheRun)
{
    ExtResource language;
    language.Load(GetModuleHandleA(NULL), Bin("integration_language\\any").c_str());
    ASSERT_TRUE(language.Loaded);
    RegisterFileTypes();
    EXPECT_EQ(FileTypeValues(ProgramFolder(), "Bramix-Archiv", "Bramix-ZIP-Archiv", "QYX-Wiederherstellungsvolumen"),
              ListTree(Scratch(HKEY_CLASSES_ROOT), "", false));
    RegisterUninstall();
    EXPECT_EQ("Bramix Archivierer", ReadString(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName"));
}

TEST_F(AppRegistrationTest, AppPathRecordsTheCurrentFolderNotTheProgramFolder)
{
    TempFolder installation;
    ASSERT_TRUE(SetCurrentDirectoryA(installation.Path().c_str()));
    RegisterAppPath();
    SetCurrentDirectoryA(ProgramFolder().c_str());
    EXPECT_EQ(Sorted({std::string(kAppPaths) + " [] = " + Bin("Bramix.exe"),
                      std::string(kAppPaths) + " [Path] = " + installation.Path()}),
              box_.Tree(HKEY_LOCAL_MACHINE, false));
    EXPECT_TRUE(ListTree(Scratch(HKEY_CLASSES_ROOT), "").empty());
}

TEST_F(AppRegistrationTest, UninstallEntryNamesTheRunningProgramItself)
{
    RegisterUninstall();
    EXPECT_EQ(Sorted(UninstallEntry()), WithoutSizeEstimate(box_.Tree(HKEY_LOCAL_MACHINE, false)));
}

class ApplySetupTest : public AppRegistrationTest {
protected:
    std::string DesktopLink() const { return box_.desktop + "\\Bramix.lnk"; }
    std::string StartMenuLink() const { return box_.startMenu + "\\Bramix.lnk"; }
    std::string Group() const { return box_.programs + "\\Bramix"; }
    std::string CommonGroup() const { return box_.commonPrograms + "\\Bramix"; }
};

TEST_F(ApplySetupTest, AllChoicesOnAppliesEverythingInOrder)
{
    WriteFile(Bin("qyxext.dll"), "MZ");
    struct {
        bool appPath = false, approved = false, association = false, types = false, links = false;
    } seen;
    AssociationWatch watch([&] {
        seen.appPath = ReadString(HKEY_LOCAL_MACHINE, kAppPaths, "") == Bin("Bramix.exe");
        seen.approved = ReadString(HKEY_LOCAL_MACHINE, kApproved, CLASS_ID) == "Bramix shell extension";
        seen.association = ReadString(HKEY_CLASSES_ROOT, ".qyx", "") == "Bramix";
        seen.types = ReadString(HKEY_CLASSES_ROOT, "Bramix.REV\\DefaultIcon", "") == Bin("Bramix.exe") + ",1";
        seen.links = PathExists(DesktopLink()) || PathExists(Group());
    });
    SetupOptions o = AllFlags(1);
    ApplySetup(&o, groupOut_);
    EXPECT_EQ(1, watch.count) << "notified once, by the file types";
    watch.Pump();
    EXPECT_EQ(1, watch.count);
    // The notification follows the application path, the shell extension, the
    // associations and the file types, and precedes the links.
    EXPECT_TRUE(seen.appPath);
    EXPECT_TRUE(seen.approved);
    EXPECT_TRUE(seen.association);
    EXPECT_TRUE(seen.types);
    EXPECT_FALSE(seen.links);
    RegisterUninstall();  // as the set-up dialog does after the sequence

    const auto classes = ListTree(Scratch(HKEY_CLASSES_ROOT), "", false);
    EXPECT_EQ(FileTypeValues(ProgramFolder()),
              ValuesOf(classes, kFileTypeKeys));
    EXPECT_EQ(Sorted({
                  "CLSID\\" CLASS_ID " [] = Bramix",
                  "CLSID\\" CLASS_ID "\\InProcServer32 [] = " + Bin("qyxext.dll"),
                  "CLSID\\" CLASS_ID "\\InProcServer32 [ThreadingModel] = Apartment",
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
              }),
              ValuesOf(classes, kShellExtensionKeys));
    std::vector<std::string> machine = UninstallEntry();
    machine.push_back(std::string(kAppPaths) + " [] = " + Bin("Bramix.exe"));
    machine.push_back(std::string(kAppPaths) + " [Path] = " + ProgramFolder());
    machine.push_back(std::string(kApproved) + " [" CLASS_ID "] = Bramix shell extension");
    EXPECT_EQ(Sorted(machine),
              WithoutSizeEstimate(
                  ValuesOf(ListTree(Scratch(HKEY_LOCAL_MACHINE), "", false), {kAppPaths, kApproved, kUninstall})));

    // The associations, with the volume keys of the product's own format by family.
    EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, ".qyx", ""));
    EXPECT_EQ("Bramix.ZIP", ReadString(HKEY_CLASSES_ROOT, ".zip", ""));
    EXPECT_EQ("Bramix", ReadString(HKEY_CLASSES_ROOT, ".q29", ""));
    EXPECT_EQ(IsNtFamily() ? "<missing>" : "Bramix", ReadString(HKEY_CLASSES_ROOT, ".q30", ""));
    EXPECT_EQ(IsNtFamily() ? "<missing>" : "Bramix", ReadString(HKEY_CLASSES_ROOT, ".q99", ""));

    // Both links and the groups with their three links each.
    for (const std::string& link : {DesktopLink(), StartMenuLink(), Group() + "\\Bramix.lnk"}) {
        LinkContents c = ReadLink(link);
        EXPECT_TRUE(c.loaded) << link;
        EXPECT_EQ(Bin("Bramix.exe"), c.path) << link;
        EXPECT_EQ("Bramix", c.description) << link;
    }
    const std::vector<std::string> three = {"Bramix help.lnk", "Bramix.lnk", "Console QYX manual.lnk"};
    EXPECT_EQ(three, FolderNames(Group()));
    EXPECT_EQ(Bin("Bramix.hlp"), ReadLink(Group() + "\\Bramix help.lnk").path);
    EXPECT_EQ(Bin("Qyx.txt"), ReadLink(Group() + "\\Console QYX manual.lnk").path);
    EXPECT_EQ(IsNtFamily() ? three : std::vector<std::string>{}, FolderNames(CommonGroup()));
    EXPECT_STREQ(Group().c_str(), groupOut_);
    EXPECT_EQ(0x5A, (unsigned char)groupOut_[Group().size() + 1]);
}

TEST_F(ApplySetupTest, AllChoicesOffCreatesOnlyTheFixedRegistrations)
{
    WriteFile(Bin("qyxext.dll"), "MZ");
    AssociationWatch watch([] {});
    SetupOptions o = AllFlags(0);
    ApplySetup(&o, groupOut_);
    watch.Pump();
    EXPECT_EQ(1, watch.count);

    std::vector<std::string> classes = FileTypeValues(ProgramFolder());
    for (const char* key : {".rev", "Bramix", "Bramix\\shell", "Bramix\\shell\\open", "Bramix\\shell\\open\\command",
                            "Bramix\\DefaultIcon", "Bramix.ZIP", "Bramix.ZIP\\shell", "Bramix.ZIP\\shell\\open",
                            "Bramix.ZIP\\shell\\open\\command", "Bramix.ZIP\\DefaultIcon", "Bramix.REV",
                            "Bramix.REV\\shell", "Bramix.REV\\shell\\open", "Bramix.REV\\shell\\open\\command",
                            "Bramix.REV\\DefaultIcon"})
        classes.push_back(key);
    EXPECT_EQ(Sorted(classes), ListTree(Scratch(HKEY_CLASSES_ROOT), ""));
    EXPECT_EQ(Sorted({std::string(kAppPaths), std::string(kAppPaths) + " [] = " + Bin("Bramix.exe"),
                      std::string(kAppPaths) + " [Path] = " + ProgramFolder(),
                      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths"}),
              box_.Tree(HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(box_.Tree(HKEY_CURRENT_USER).empty());
    EXPECT_FALSE(PathExists(DesktopLink()));
    EXPECT_FALSE(PathExists(StartMenuLink()));
    EXPECT_FALSE(PathExists(Group()));
    EXPECT_FALSE(PathExists(CommonGroup()));
    EXPECT_FALSE(PathExists(Bin("qyxnew.dat")));
    for (size_t i = 0; i < sizeof groupOut_; ++i) ASSERT_EQ(0x5A, (unsigned char)groupOut_[i]) << i;
}

TEST_F(ApplySetupTest, AllChoicesOffAfterOnTakesEveryRemovalPath)
{
    WriteFile(Bin("qyxext.dll"), "MZ");
    SetupOptions on = AllFlags(1);
    ApplySetup(&on, nullptr);
    WriteFile(Group() + "\\My notes.txt", "mine");
    SetupOptions off = AllFlags(0);
    ApplySetup(&off, groupOut_);

    EXPECT_FALSE(PathExists(DesktopLink()));
    EXPECT_FALSE(PathExists(StartMenuLink()));
    EXPECT_FALSE(PathExists(Group()));
    EXPECT_FALSE(PathExists(CommonGroup()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Bramix\\shellex\\DropHandler"));
    EXPECT_EQ("<missing>", ReadString(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Bramix", ""));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Bramix"));
    EXPECT_EQ("<missing>", ReadString(HKEY_LOCAL_MACHINE, kApproved, CLASS_ID));
    // Extensions that had no owner before are gone again; the fixed entries stay.
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".qyx"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".q00"));
    EXPECT_EQ("Bramix.REV", ReadString(HKEY_CLASSES_ROOT, ".rev", ""));
    EXPECT_EQ(Bin("Bramix.exe"), ReadString(HKEY_LOCAL_MACHINE, kAppPaths, ""));
    for (size_t i = 0; i < sizeof groupOut_; ++i) ASSERT_EQ(0x5A, (unsigned char)groupOut_[i]) << i;
}

TEST_F(ApplySetupTest, ProgramFoldersWithOddNamesAreNamedIntact)
{
    const char* const names[] = {
        "Program Files\\Bramix",
        "Tom & Jerry's",
        "100% %1 %PATH%",
        "Gr\xFCn \xC4rger",  // letters of the ANSI code page beyond ASCII
    };
    const std::string probe = Bin("appreg_probe.exe");
    ASSERT_TRUE(PathExists(probe));
    const std::string hkcr = box_.Registry().ScratchPath(HKEY_CLASSES_ROOT);
    const std::string hkcu = box_.Registry().ScratchPath(HKEY_CURRENT_USER);
    const std::string hklm = box_.Registry().ScratchPath(HKEY_LOCAL_MACHINE);
    for (const char* name : names) {
        SCOPED_TRACE(name);
        box_.RemoveProductLinks();
        TempFolder temp;
        const std::string folder = temp / name;
        const std::string installation = temp / "Installation";
        MakeFolder(folder);
        MakeFolder(installation);
        ASSERT_TRUE(CopyFileA(probe.c_str(), (folder + "\\appreg_probe.exe").c_str(), FALSE));
        WriteFile(folder + "\\qyxext.dll", "MZ");
        ProcessResult r = RunProcess("\"" + folder + "\\appreg_probe.exe\" " + hkcr + " " + hkcu + " " + hklm,
                                     installation, 60000);
        ASSERT_TRUE(r.finished);
        ASSERT_EQ(0u, r.exitCode);

        const std::string program = folder + "\\Bramix.exe";
        EXPECT_EQ(FileTypeValues(folder),
                  ValuesOf(ListTree(Scratch(HKEY_CLASSES_ROOT), "", false), kFileTypeKeys));
        EXPECT_EQ(folder + "\\qyxext.dll", ReadString(HKEY_CLASSES_ROOT, "CLSID\\" CLASS_ID "\\InProcServer32", ""));
        EXPECT_EQ(program, ReadString(HKEY_LOCAL_MACHINE, kAppPaths, ""));
        EXPECT_EQ(installation, ReadString(HKEY_LOCAL_MACHINE, kAppPaths, "Path"));
        EXPECT_EQ(folder + "\\appreg_probe.exe", ReadString(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString"));
        EXPECT_EQ(program, ReadLink(DesktopLink()).path);
        EXPECT_EQ(program, ReadLink(Group() + "\\Bramix.lnk").path);
        EXPECT_EQ(folder + "\\Bramix.hlp", ReadLink(Group() + "\\Bramix help.lnk").path);
        EXPECT_EQ(folder + "\\Qyx.txt", ReadLink(Group() + "\\Console QYX manual.lnk").path);
        if (IsNtFamily()) {
            EXPECT_EQ(program, ReadLink(CommonGroup() + "\\Bramix.lnk").path);
        }
    }
}

} // namespace
