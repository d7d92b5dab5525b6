// uidriver: answers the program's windows from scripts.
//   uidriver show CAPTION [TIMEOUT_MS]      wait for the dialog, print its texts
//   uidriver press CAPTION ID [TIMEOUT_MS]  wait for the dialog, print its texts, press ID
// Exit code 0 when the dialog was found, 1 otherwise.
#include <cstdio>
#include <cstdlib>
#include <string>
#include "support/uidriver.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: uidriver show|press CAPTION [ID] [TIMEOUT_MS]\n");
        return 2;
    }
    std::string command = argv[1];
    bool press = command == "press";
    int id = press && argc > 3 ? std::atoi(argv[3]) : 0;
    int timeoutArg = press ? 4 : 3;
    DWORD timeout = argc > timeoutArg ? (DWORD)std::atoi(argv[timeoutArg]) : 10000;
    WatchMessageBoxes();
    HWND dialog = WaitForDialog(argv[2], timeout);
    if (!dialog) {
        std::printf("no window \"%s\"\n", argv[2]);
        return 1;
    }
    std::printf("caption: %s\n", WindowText(dialog).c_str());
    std::string text = MessageBoxText(dialog);
    if (!text.empty()) std::printf("message: %s\nicon: %s\n", text.c_str(), IconStyleName(MessageBoxIcon(dialog)));
    for (const ChildInfo& c : Children(dialog))
        if (!c.text.empty()) std::printf("control %d (%s): %s\n", c.id, c.className.c_str(), c.text.c_str());
    if (press) PressButton(dialog, id);
    return 0;
}
