// The synthesizer page of the two panel families: the bitmaps every skin loads, and
// the one record of what the "lcd" panel places, colours or draws differently from
// the "orig" panel ("space" and "solid").
#pragma once

#include "common/gui_types.h"

namespace qd {

// The page's image strips, in load order.
enum Bmp {
    kBmpBackground,
    kBmpBackground2,
    kBmpVcoSaveBg,
    kBmpFlexiSaveBg,
    kBmpCurves,
    kBmpVsliderFlexiRedSpare,
    kBmpVsliderFlexiRed,
    kBmpVsliderFlexiBlue,
    kBmpVsliderFlexiPurple,
    kBmpVsliderFlexiGreen,
    kBmpVslider,
    kBmpVsliderFx,
    kBmpVslider2,
    kBmpVslider3,
    kBmpVslider4,
    kBmpVslider5,
    kBmpVslider6,
    kBmpVsliderShort4,
    kBmpBigButton,
    kBmpSyncButton,
    kBmpLed,
    kBmpFxBgMod,
    kBmpFxBgDrive,
    kBmpFxBgEq,
    kBmpFxBgEq2,
    kBmpFxSwH,
    kBmpBigButtonAgain,  // the same image and id, loaded a second time
    kBmpSevenSeg,
    kBmpFxOrderSw,
    kBmpFlexiSw,
    kBmpFlexiMode,
    kBmpFxSw,
    kBmpOdSw,
    kBmpEqSw,
    kBmpChSw,
    kBmpDlSw,
    kBmpSourceList,
    kBmpRangeList,
    kBmpPolarSw2,
    kBmpVcoSaveSw,
    kBmpFlexiSaveSw,
    kBmpCopy,
    kBmpDefault,
    kBmpRandom,
    kBmpReset,
    kBmpSelectAll,
    kBmpClearAll,
    kBmpCheckbox,
    kBmpPrevBtn,
    kBmpNextBtn,
    kBmpFopen,
    kBmpFload,
    kBmpFsave,
    kBmpFwriteOne,
    kBmpFwriteAll,
    kBmpSaveFromQdBg,
    kBmpModWheel,
    kBmpCount
};

struct BitmapRow {
    int origId;  // -1: the "orig" panel does not have it
    int lcdId;   // -1: the "lcd" panel does not have it
    const char* name;
    int frames;
};

const BitmapRow& PanelBitmap(Bmp bmp);

struct PanelPoint2 {
    int x, y;
};

struct SkinLayout {
    bool lcd;
    const char* dir;  // "img/orig/" or "img/lcd/"
    int valueTextTop;  // below a slider's table point
    IColor learnColor;
    IColor programNameColor;
    IColor flexiSpinnerColor;
    int flexiSpinnerStyle;
    int midiSpinnerSize;
    int fxTabTop, fxTabBottom;
    PanelPoint2 ledOffset;  // from its Flexi button
    int listOverlayTop;
    Bmp onOffSwitch;   // parameters 78, 87, 89, 92, 173
    Bmp flexiButton;   // parameters 239 to 242
    Bmp trackingSwitch;  // parameter 188
    bool filteredLoadHidden;  // the second program-load selector
    IRECT programName;
    PanelPoint2 sevenSeg;
    IRECT eqGraph;
    PanelPoint2 copy, defaults, prev, next;
    IRECT fileLoad, fileSave, fileWrite;
    PanelPoint2 fload, fsave, fwriteOne, fwriteAll;
    PanelPoint2 switch78, switch87, switch89, switch92, switch173, switch187;
    PanelPoint2 slider93;
    IRECT text78, text87, text92, text93, text127, text188;
    IText style188;
};

const SkinLayout& OrigLayout();
const SkinLayout& LcdLayout();

}  // namespace qd
