// The image strips the panels load: their resource ids in the two panel families,
// their file names and frame counts.
#pragma once

#include <string>

namespace qd {

enum Bmp {
    kBmpNone = -1,
    // The synthesizer page, in load order.
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
    // The keyboard and the about box: the "orig" pictures in every skin.
    kBmpKeys,
    kBmpOctave,
    kBmpAbout,
    // The program manager page, in load order.
    kBmpPmBackground,
    kBmpPmSelectDisk,
    kBmpPmSelectAll,
    kBmpPmUnselectAll,
    kBmpPmUploadToQd,
    kBmpPmDownloadFromQd,
    kBmpPmUploadToQdDatabase,
    kBmpPmSendToBank,
    kBmpPmSaveToDisk,
    kBmpPmNew,
    kBmpPmLoadFromDisk,
    kBmpPmInvertSelection,
    kBmpPmProgram,
    kBmpPmProgramSelect,
    kBmpPmOverwrite,
    kBmpPmPlayNote,
    kBmpPmScrollBar,
    kBmpPmLocal,
    kBmpPmGlobal,
    kBmpPmLogin,
    kBmpPmLoginBg,
    kBmpPmSelectDirBg,
    kBmpPmCheckbox,
    kBmpCount,
};

inline constexpr Bmp kFirstManagerBmp = kBmpPmBackground;

struct BitmapRow {
    int origId;        // -1: the "orig" panel does not have it
    int lcdId;         // -1: the "lcd" panel does not have it
    const char* name;  // the file name's stem, as the skin's image list has it
    int frames;
    const char* folder;  // null: the skin's own folder ("img/orig/" or "img/lcd/")
    bool doubledSlash;   // the stored path has "//" before the name
};

const BitmapRow& PanelBitmap(Bmp bmp);

// The resource id of `bmp` in the "lcd" family or in the "orig" one.
int BitmapId(Bmp bmp, bool lcd);

// The file the panel loads, relative to the resources ("img/orig/vslider-2x.png"):
// the image at twice the GUI size, its frames one under the other.
std::string BitmapPath(Bmp bmp, bool lcd);

}  // namespace qd
