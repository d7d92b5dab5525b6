// The registry entries by which the shell finds and approves the shell extension.
#include "integration/integration.h"
#include "base/product.h"
#include "base/system.h"
#include "registry/registry.h"

namespace {

#define EXTENSION_CLASS "{B41DB860-8EE4-11D2-9906-E49FADC173CA}"

const char kClassKey[] = "CLSID\\" EXTENSION_CLASS;
const char kServerKey[] = "CLSID\\" EXTENSION_CLASS "\\InProcServer32";
const char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// Handler keys named by the class, default value "": under the product's own types and
// executables.
const char* const kClassNamedHandlers[] = {
    PRODUCT_FILE_TYPE "\\shellex\\ContextMenuHandlers\\" EXTENSION_CLASS,
    PRODUCT_FILE_TYPE "\\shellex\\PropertySheetHandlers\\" EXTENSION_CLASS,
    PRODUCT_ZIP_TYPE "\\shellex\\ContextMenuHandlers\\" EXTENSION_CLASS,
    PRODUCT_ZIP_TYPE "\\shellex\\PropertySheetHandlers\\" EXTENSION_CLASS,
    "exefile\\shellex\\PropertySheetHandlers\\" EXTENSION_CLASS,
};

const char* const kDropHandlers[] = {
    PRODUCT_FILE_TYPE "\\shellex\\DropHandler",
    PRODUCT_ZIP_TYPE "\\shellex\\DropHandler",
};

// Handler keys named "Bramix" under the shell's standard classes, holding the class in
// their default value. Removal keeps these keys and clears the value only.
const char* const kNamedHandlers[] = {
    "*\\shellex\\ContextMenuHandlers\\Bramix",
    "Folder\\shellex\\ContextMenuHandlers\\Bramix",
    "Folder\\shellex\\DragDropHandlers\\Bramix",
    "Drive\\shellex\\DragDropHandlers\\Bramix",
    "Directory\\shellex\\ContextMenuHandlers\\Bramix",
    "Directory\\shellex\\DragDropHandlers\\Bramix",
};

void RegisterShellExtension()
{
    char modulePath[kPathCapacity];
    ModuleSiblingPath(PRODUCT_SHELL_EXTENSION, modulePath);
    // The class is registered only for a module that is really there; an empty path
    // (one that did not fit) never names a file.
    if (modulePath[0] && GetFileAttributesA(modulePath) != INVALID_FILE_ATTRIBUTES) {
        SetRegString(HKEY_CLASSES_ROOT, kClassKey, "", "Bramix");
        SetRegString(HKEY_CLASSES_ROOT, kServerKey, "", modulePath);
        SetRegString(HKEY_CLASSES_ROOT, kServerKey, "ThreadingModel", "Apartment");
    }
    for (const char* key : kClassNamedHandlers) SetRegString(HKEY_CLASSES_ROOT, key, "", "");
    for (const char* key : kDropHandlers) SetRegString(HKEY_CLASSES_ROOT, key, "", EXTENSION_CLASS);
    for (const char* key : kNamedHandlers) SetRegString(HKEY_CLASSES_ROOT, key, "", EXTENSION_CLASS);
    SetRegString(HKEY_LOCAL_MACHINE, kApprovedKey, EXTENSION_CLASS, "Bramix shell extension");
}

void RemoveShellExtension()
{
    // The server key first: on the NT family a key with subkeys cannot be deleted.
    DeleteRegKey(HKEY_CLASSES_ROOT, kServerKey);
    DeleteRegKey(HKEY_CLASSES_ROOT, kClassKey);
    for (const char* key : kClassNamedHandlers) DeleteRegKey(HKEY_CLASSES_ROOT, key);
    for (const char* key : kDropHandlers) DeleteRegKey(HKEY_CLASSES_ROOT, key);
    for (const char* key : kNamedHandlers) DeleteRegValue(HKEY_CLASSES_ROOT, key, "");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kApprovedKey, EXTENSION_CLASS);
}

} // namespace

void SetShellExtension(const SetupOptions* options)
{
    if (options->Flags[kOptionShellExt])
        RegisterShellExtension();
    else
        RemoveShellExtension();
}
