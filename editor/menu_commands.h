// The editor's menu: one list of the commands that QDEditor::OnMenuCommand carries
// out and the texts under which the shell's menu bar offers them.
#pragma once

#include <span>

namespace qd {

enum MenuCommand {
    kMenuManagerView = 40037,
    kMenuAbout = 40038,
    kMenuScale50 = 40040,
    kMenuScale75,
    kMenuScale100,
    kMenuScale125,
    kMenuScale150,
    kMenuScale200,
    kMenuSkinSpace = 40050,
    kMenuSkinSolid,
    kMenuSkinLcd,
    kMenuQuit = 40054,
};

struct MenuEntry {
    const char* menu;  // the menu-bar title it sits under
    const char* text;  // null for a separator
    int command;
};

// In menu-bar order; entries of one menu stand together.
std::span<const MenuEntry> MenuEntries();

// The GUI scale a fixed-scale command stands for; 0 for any other command.
double ScaleForMenuCommand(int command);

}  // namespace qd
