#include "lang/resources.h"
#include "base/path.h"
#include "base/product.h"
#include "base/text.h"
#include "lang/language.h"

HMODULE ProgramModule;
HMODULE ResourceModule;

ExtResource::ExtResource() : Loaded(false) {}

ExtResource::~ExtResource() { Unload(); }

void ExtResource::Load(HMODULE programModule, const char* path)
{
    Unload();
    char modulePath[kPathCapacity];
    bool ok;
    if (path) {
        ok = CopyText(modulePath, sizeof modulePath, path);
    } else {
        DWORD n = GetModuleFileNameA(NULL, modulePath, sizeof modulePath);
        ok = n > 0 && n < sizeof modulePath;
    }
    HMODULE module = NULL;
    if (ok) {
        char* name = NameOfPath(modulePath);
        if (CopyText(name, sizeof modulePath - (size_t)(name - modulePath), PRODUCT_LANGUAGE_MODULE))
            module = LoadLibraryA(modulePath);
    }
    if (module) {
        ResourceModule = module;
        Loaded = true;
    } else {
        ResourceModule = programModule;
    }
    ProgramModule = programModule;
}

void ExtResource::Unload()
{
    if (!Loaded) return;
    FreeLibrary(ResourceModule);
    ResourceModule = ProgramModule;
    Loaded = false;
}

namespace {
char g_ring[8][kStringCapacity];
int g_ringPosition;
} // namespace

const char* GetString(UINT id)
{
    g_ringPosition = (g_ringPosition + 1) % 8;
    char* buffer = g_ring[g_ringPosition];
    buffer[0] = '\0';
    if (TheLanguage.IsLoaded()) {
        LoadStringA(ProgramModule, id, buffer, kStringCapacity);
    } else if (!LoadStringA(ResourceModule, id, buffer, kStringCapacity)) {
        LoadStringA(ProgramModule, id, buffer, kStringCapacity);
    }
    TheLanguage.TranslateText(buffer, kStringCapacity, buffer, nullptr, TextString);
    return buffer;
}
