#include "setup_ui/import_hook.h"

namespace {

void WriteSlot(void** slot, void* value)
{
    DWORD old;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

} // namespace

ImportHook::ImportHook(const char* dll, const char* function, void* replacement)
{
    BYTE* base = (BYTE*)GetModuleHandleA(NULL);
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)base;
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (const IMAGE_IMPORT_DESCRIPTOR* d = (const IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress);
         d->Name; ++d) {
        if (lstrcmpiA((const char*)(base + d->Name), dll) != 0 || !d->OriginalFirstThunk) continue;
        const IMAGE_THUNK_DATA* names = (const IMAGE_THUNK_DATA*)(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA* addresses = (IMAGE_THUNK_DATA*)(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const IMAGE_IMPORT_BY_NAME* byName = (const IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData);
            if (lstrcmpA((const char*)byName->Name, function) != 0) continue;
            slot_ = (void**)&addresses->u1.Function;
            original_ = *slot_;
            WriteSlot(slot_, replacement);
            return;
        }
    }
}

ImportHook::~ImportHook()
{
    if (slot_) WriteSlot(slot_, original_);
}

std::vector<HelpCall> g_helpCalls;

BOOL WINAPI RecordHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data)
{
    g_helpCalls.push_back({owner, file ? file : "", command, data});
    return TRUE;
}
