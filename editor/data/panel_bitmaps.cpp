#include "editor/data/panel_bitmaps.h"

namespace qd {

namespace {

constexpr const char* kOrig = "img/orig/";
constexpr const char* kManager = "img/manager/";

// orig id, lcd id, name, frames, folder, doubled slash. The "lcd" ids are the "orig"
// ones plus 100; the images of a fixed folder have one id in both families.
constexpr BitmapRow kBitmaps[kBmpCount] = {
    {102, 202, "background", 1, nullptr, false},
    {162, -1, "background2", 1, nullptr, false},
    {158, 258, "vcosavebg", 1, nullptr, false},
    {159, 259, "flexisavebg", 1, nullptr, true},
    {134, 234, "curves", 80, nullptr, false},
    {135, 235, "vsliderflexired", 128, nullptr, false},
    {136, 236, "vsliderflexired", 128, nullptr, false},
    {138, 238, "vsliderflexiblue", 128, nullptr, false},
    {140, 240, "vsliderflexipurple", 128, nullptr, false},
    {142, 242, "vsliderflexigreen", 128, nullptr, false},
    {106, 206, "vslider", 128, nullptr, false},
    {107, 207, "vslider", 128, nullptr, false},
    {118, 218, "vslider2", 2, nullptr, false},
    {143, 243, "vslider3", 3, nullptr, false},
    {119, 219, "vslider4", 4, nullptr, false},
    {144, 244, "vslider5", 5, nullptr, false},
    {145, 245, "vslider6", 6, nullptr, false},
    {169, 269, "vslidershort4", 4, nullptr, false},
    {133, 233, "bigbutton", 2, nullptr, false},
    {172, 272, "syncbutton", 2, nullptr, false},
    {151, 251, "led", 2, nullptr, false},
    {112, 212, "fxbgmod", 1, nullptr, false},
    {113, 213, "fxbgdrive", 1, nullptr, false},
    {114, 214, "fxbgeq", 1, nullptr, false},
    {132, 232, "fxbgeq2", 1, nullptr, false},
    {155, 255, "fxsw-h", 1, nullptr, false},
    {133, 233, "bigbutton", 2, nullptr, false},
    {117, 217, "sevenseg", 101, nullptr, false},
    {147, 247, "fxordersw", 2, nullptr, false},
    {-1, 265, "flexi-sw", 2, nullptr, false},
    {156, 256, "fleximode", 2, nullptr, false},
    {146, -1, "fxsw", 2, nullptr, false},
    {154, 254, "od-sw", 2, nullptr, false},
    {153, 253, "eq-sw", 2, nullptr, false},
    {152, 252, "ch-sw", 2, nullptr, false},
    {170, 270, "dl-sw", 2, nullptr, false},
    {148, 248, "sourcelist", 1, nullptr, false},
    {149, 249, "rangelist", 1, nullptr, false},
    {150, 250, "polarsw2", 2, nullptr, false},
    {160, 260, "vcosave-sw", 2, nullptr, false},
    {161, 261, "flexisave-sw", 2, nullptr, false},
    {125, 225, "copy", 2, nullptr, false},
    {126, 226, "default", 2, nullptr, false},
    {127, 227, "random", 2, nullptr, false},
    {128, 228, "reset", 2, nullptr, false},
    {129, 229, "selectall", 2, nullptr, false},
    {130, 230, "clearall", 2, nullptr, false},
    {131, 231, "checkbox", 2, nullptr, false},
    {163, 263, "prevbtn", 2, nullptr, false},
    {164, 264, "nextbtn", 2, nullptr, false},
    {109, 209, "fopen", 1, nullptr, false},
    {166, 266, "fload", 2, nullptr, false},
    {167, 267, "fsave", 2, nullptr, false},
    {168, 268, "fwriteone", 2, nullptr, false},
    {116, 216, "fwriteall", 2, nullptr, false},
    {157, 257, "savefromqd-bg", 1, nullptr, false},
    {171, 271, "modwheel", 128, nullptr, false},
    {104, 104, "keys", 12, kOrig, false},
    {105, 105, "bgkb", 1, kOrig, false},
    {103, 103, "about", 1, kOrig, false},
    {301, 301, "pm-background", 1, kManager, false},
    {302, 302, "pm-selectdisk", 2, kManager, false},
    {303, 303, "pm-selectall", 2, kManager, false},
    {304, 304, "pm-unselectall", 2, kManager, false},
    {305, 305, "pm-uploadtoqd", 2, kManager, false},
    {306, 306, "pm-downloadfromqd", 2, kManager, false},
    {307, 307, "pm-uploadtoqddatabase", 2, kManager, false},
    {308, 308, "pm-sendtobank", 2, kManager, false},
    {309, 309, "pm-savetodisk", 2, kManager, false},
    {310, 310, "pm-new", 2, kManager, false},
    {311, 311, "pm-loadfromdisk", 2, kManager, false},
    {312, 312, "pm-invertselection", 2, kManager, false},
    {313, 313, "pm-program", 7, kManager, false},
    {314, 314, "pm-programselect", 2, kManager, false},
    {315, 315, "pm-overwrite", 2, kManager, false},
    {317, 317, "pm-playnote", 2, kManager, false},
    {318, 318, "pm-scrollbar", 1, kManager, false},
    {319, 319, "pm-local", 2, kManager, false},
    {320, 320, "pm-global", 2, kManager, false},
    {321, 321, "pm-login", 2, kManager, false},
    {322, 322, "pm-loginbg", 1, kManager, false},
    {323, 323, "pm-selectdirbg", 1, kManager, false},
    {324, 324, "checkbox", 2, kManager, false},
};

}  // namespace

const BitmapRow& PanelBitmap(Bmp bmp) { return kBitmaps[bmp]; }

int BitmapId(Bmp bmp, bool lcd) { return lcd ? kBitmaps[bmp].lcdId : kBitmaps[bmp].origId; }

std::string BitmapPath(Bmp bmp, bool lcd) {
    const BitmapRow& row = kBitmaps[bmp];
    const char* folder = row.folder ? row.folder : lcd ? "img/lcd/" : kOrig;
    return std::string(folder) + (row.doubledSlash ? "/" : "") + row.name + "-2x.png";
}

}  // namespace qd
