#include "base/errorstate.h"
#include "driver/driver.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int)
{
    try {
        return RunProgram(instance, commandTail);
    } catch (int code) {
        // Only an exhausted memory raises; the interrupted mode must not go on.
        ExitProcess((UINT)code);
    }
}
