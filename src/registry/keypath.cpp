#include "registry/keypath.h"
#include "base/product.h"
#include "base/text.h"

bool ExpandSettingsPath(bool currentUser, const char* path, char* out, size_t capacity)
{
    bool ok;
    if (!currentUser)
        ok = CopyText(out, capacity, path);
    else if (path[0] == '\\')
        ok = CopyText(out, capacity, path + 1);
    else
        ok = FormatText(out, capacity, "%s%s%s", PRODUCT_SETTINGS_KEY, path[0] ? "\\" : "", path);
    // A cut path would name a different key: refuse it.
    if (!ok && capacity) out[0] = '\0';
    return ok;
}
