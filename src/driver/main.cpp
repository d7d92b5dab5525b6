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

// The runtime's verbose terminate handler pulls in the C++ demangler (about 36 KB) only
// to print the type of an exception that nothing caught; ending the process serves.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    ExitProcess(3);
}
} // namespace __gnu_cxx
