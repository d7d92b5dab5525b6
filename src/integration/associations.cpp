// File associations: each extension of a chosen archive type is taken over for Bramix
// after its previous owner has been saved under "Setup\<extension>"; each extension of
// an unchosen type that is Bramix's is given back from that backup.
#include "integration/integration.h"
#include <stdio.h>
#include <string.h>
#include "base/product.h"
#include "base/system.h"
#include "base/text.h"
#include "integration/assocdata.h"
#include "registry/registry.h"

namespace {

enum {
    kOwnFormat = 0,  // archive type index of the product's own format
    kZipFormat = 1,
    kExtensionCapacity = 32,
    kKeyCapacity = 64,
    kTextCapacity = 512,       // "Type" and "Content"
    kShellNewCapacity = 1024,  // the ShellNew file name
    kNullFileCapacity = 10,
    kVolumeCount = 100,
    kVolumeCountNt = 30,
    kVersionInfoSize = 148,
};

struct Extension {
    int type;                      // index in ArchiveTypes
    char name[kExtensionCapacity];  // ".lha"
    char shellNew[kKeyCapacity];    // ".lha\ShellNew"
    char backup[kKeyCapacity];      // "Setup\.lha" under the settings key
};

bool IsProductType(const char* text)
{
    return EqualTextNoCaseAscii(text, PRODUCT_FILE_TYPE) || EqualTextNoCaseAscii(text, PRODUCT_ZIP_TYPE);
}

const unsigned char* TemplateOf(int type, DWORD* size)
{
    *size = type == kOwnFormat ? kEmptyQyxSize : kEmptyZipSize;
    return type == kOwnFormat ? EmptyQyxTemplate : EmptyZipTemplate;
}

void BackUpOwner(const Extension& e)
{
    char type[kTextCapacity], content[kTextCapacity], fileName[kShellNewCapacity], probe[kNullFileCapacity];
    GetRegString(HKEY_CLASSES_ROOT, e.name, "", type, "", sizeof type);
    GetRegString(HKEY_CLASSES_ROOT, e.name, "Content Type", content, "", sizeof content);
    GetRegString(HKEY_CLASSES_ROOT, e.shellNew, "FileName", fileName, "", sizeof fileName);
    bool nullFile = GetRegString(HKEY_CLASSES_ROOT, e.shellNew, "NullFile", probe, "", sizeof probe);
    SetRegDword(e.backup, "Exist", RegKeyPresent(HKEY_CLASSES_ROOT, e.name) ? 1 : 0);
    SetRegString(e.backup, "Type", type);
    SetRegString(e.backup, "Content", content);
    SetRegString(e.backup, "ShellNew", !fileName[0] && nullFile ? "*" : fileName);
}

// Systems after 4.10 (Windows Me, the NT family from 5.0) name a template file; 4.0 and
// 4.10 take the template itself as a binary value.
bool ShellNewUsesFile()
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = kVersionInfoSize;
    GetVersionExA(&info);
    return info.dwMajorVersion > 4 || info.dwMinorVersion > 10;
}

void InstallShellNew(const Extension& e)
{
    DeleteRegKey(HKEY_CLASSES_ROOT, e.shellNew);
    DWORD size;
    const unsigned char* data = TemplateOf(e.type, &size);
    if (!ShellNewUsesFile()) {
        SetRegBinary(HKEY_CLASSES_ROOT, e.shellNew, "Data", data, size);
        return;
    }
    char path[kPathCapacity];
    // A program folder too long to name the file leaves no entry rather than a wrong one.
    if (!ModuleSiblingPath(e.type == kOwnFormat ? "qyxnew.dat" : "zipnew.dat", path)) return;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        FILE* file = fopen(path, "wb");
        if (file) {
            fwrite(data, 1, size, file);
            fclose(file);
        }
    }
    SetRegString(HKEY_CLASSES_ROOT, e.shellNew, "FileName", path);
}

void TakeOver(const Extension& e, bool shellIntegration)
{
    // An extension that is already Bramix's keeps the backup of its real previous owner.
    if (!IsOwnAssociation(e.name)) BackUpOwner(e);
    SetRegString(HKEY_CLASSES_ROOT, e.name, "", e.type == kZipFormat ? PRODUCT_ZIP_TYPE : PRODUCT_FILE_TYPE);
    DeleteRegValue(HKEY_CLASSES_ROOT, e.name, "Content Type");
    if (e.type == kOwnFormat) {
        int count = WinNtMajorVersion() ? kVolumeCountNt : kVolumeCount;
        char volume[kExtensionCapacity];
        for (int n = 0; n < count; ++n) {
            FormatText(volume, sizeof volume, ".q%02d", n);
            SetRegString(HKEY_CLASSES_ROOT, volume, "", PRODUCT_FILE_TYPE);
            DeleteRegValue(HKEY_CLASSES_ROOT, volume, "Content Type");
        }
    }
    if ((e.type == kOwnFormat || e.type == kZipFormat) && shellIntegration) InstallShellNew(e);
}

// The "Data" value that a take-over wrote on 4.0 and 4.10 is Bramix's own entry: it must
// not outlive the association, nor sit beside the previous owner's restored entry.
void RemoveOwnTemplateData(const Extension& e)
{
    if (e.type != kOwnFormat && e.type != kZipFormat) return;
    DWORD size;
    const unsigned char* data = TemplateOf(e.type, &size);
    unsigned char stored[kEmptyZipSize + 1];
    DWORD got = sizeof stored;
    if (GetRegBinary(HKEY_CLASSES_ROOT, e.shellNew, "Data", stored, &got) && got == size &&
        memcmp(stored, data, size) == 0)
        DeleteRegValue(HKEY_CLASSES_ROOT, e.shellNew, "Data");
}

void GiveBack(const Extension& e)
{
    if (!IsOwnAssociation(e.name)) return;
    bool exist = GetRegDword(e.backup, "Exist", 1) != 0;
    char type[kTextCapacity], content[kTextCapacity];
    GetRegString(e.backup, "Type", type, "", sizeof type);
    GetRegString(e.backup, "Content", content, "", sizeof content);
    if (IsProductType(type)) type[0] = '\0';
    if (exist) {
        SetRegString(HKEY_CLASSES_ROOT, e.name, "", type);
        if (content[0])
            SetRegString(HKEY_CLASSES_ROOT, e.name, "Content Type", content);
        else
            DeleteRegValue(HKEY_CLASSES_ROOT, e.name, "Content Type");
        char shellNew[kShellNewCapacity];
        GetRegString(e.backup, "ShellNew", shellNew, "", sizeof shellNew);
        DeleteRegValue(HKEY_CLASSES_ROOT, e.shellNew, "FileName");
        RemoveOwnTemplateData(e);
        if (shellNew[0] == '*')
            SetRegString(HKEY_CLASSES_ROOT, e.shellNew, "NullFile", "");
        else if (shellNew[0])
            SetRegString(HKEY_CLASSES_ROOT, e.shellNew, "FileName", shellNew);
    } else {
        DeleteRegKey(HKEY_CLASSES_ROOT, e.shellNew);
        DeleteRegKey(HKEY_CLASSES_ROOT, e.name);
    }
    if (e.type == kOwnFormat) {
        // All of them, whatever the system took over: an earlier set-up may have run on
        // the other family.
        char volume[kExtensionCapacity];
        for (int n = 0; n < kVolumeCount; ++n) {
            FormatText(volume, sizeof volume, ".q%02d", n);
            if (exist && type[0]) {
                SetRegString(HKEY_CLASSES_ROOT, volume, "", type);
                if (content[0]) SetRegString(HKEY_CLASSES_ROOT, volume, "Content Type", content);
            } else {
                DeleteRegKey(HKEY_CLASSES_ROOT, volume);
            }
        }
    }
}

} // namespace

void SetAssociations(const SetupOptions* options)
{
    CompleteTemplateSignatures();
    bool shellIntegration = options->Flags[kOptionShellExt] != 0;
    for (int t = 0; t < kArchiveTypeCount; ++t) {
        const char* cursor = ArchiveTypes[t].Extensions;
        Extension e;
        e.type = t;
        while (NextExtension(&cursor, e.name, sizeof e.name)) {
            if (!e.name[0] || !FormatText(e.shellNew, sizeof e.shellNew, "%s\\ShellNew", e.name) ||
                !FormatText(e.backup, sizeof e.backup, "Setup\\%s", e.name))
                continue;
            if (options->Flags[t])
                TakeOver(e, shellIntegration);
            else
                GiveBack(e);
        }
    }
}
