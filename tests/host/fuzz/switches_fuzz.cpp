// The command-line switch parser: any tail, and the switch it picks is consistent.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "driver/switches.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char* tail = (char*)malloc(size + 1);
    memcpy(tail, data, size);
    tail[size] = '\0';
    bool silent = false;
    Switch s = ParseSwitch(tail, &silent);
    if (!strchr(tail, '/') && s != SwitchUninstall) abort();
    if (strchr(tail, '/') && s == SwitchUninstall) abort();
    free(tail);
    return 0;
}
