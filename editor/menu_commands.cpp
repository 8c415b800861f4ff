#include "editor/menu_commands.h"

namespace qd {

namespace {

constexpr MenuEntry kEntries[] = {
    {"File", "Program Manager", kMenuManagerView},
    {"File", nullptr, 0},
    {"File", "Quit", kMenuQuit},
    {"View", "Scale 50 %", kMenuScale50},
    {"View", "Scale 75 %", kMenuScale75},
    {"View", "Scale 100 %", kMenuScale100},
    {"View", "Scale 125 %", kMenuScale125},
    {"View", "Scale 150 %", kMenuScale150},
    {"View", "Scale 200 %", kMenuScale200},
    {"View", nullptr, 0},
    // A skin is built once, at start-up; the choice is only stored.
    {"View", "Skin \"space\" (from the next start)", kMenuSkinSpace},
    {"View", "Skin \"solid\" (from the next start)", kMenuSkinSolid},
    {"View", "Skin \"lcd\" (from the next start)", kMenuSkinLcd},
    {"Help", "About", kMenuAbout},
};

}  // namespace

std::span<const MenuEntry> MenuEntries() { return kEntries; }

double ScaleForMenuCommand(int command) {
    switch (command) {
        case kMenuScale50: return 0.5;
        case kMenuScale75: return 0.75;
        case kMenuScale100: return 1.0;
        case kMenuScale125: return 1.25;
        case kMenuScale150: return 1.5;
        case kMenuScale200: return 2.0;
        default: return 0.0;
    }
}

}  // namespace qd
