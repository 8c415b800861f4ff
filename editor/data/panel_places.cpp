#include "editor/data/panel_places.h"

#include "editor/data/param_table.h"

namespace qd {

namespace {

const SkinPlaces kOrig = {
    .lcd = false,
    .valueTextTop = 33,
    .learnColor = COLOR_WHITE,
    .programNameColor = COLOR_RED,
    .flexiSpinnerColor = COLOR_RED,
    .flexiSpinnerStyle = IText::kStyleBold,
    .midiSpinnerSize = 11,
    .trackingTextColor = COLOR_WHITE,
    .trackingTextSize = 11,
    .trackingTextStyle = IText::kStyleBold,
    .onOffSwitch = kBmpSyncButton,
    .flexiButton = kBmpBigButtonAgain,
    .trackingSwitch = kBmpSyncButton,
    .filteredLoadHidden = true,
    .radioButtons = true,
    .fxTabTop = 565,
    .fxTabBottom = 585,
    .listOverlayTop = 1,
    .flexiLedOffset = {2, 2},
    .programName = {36, 30, 268, 46},
    .sevenSegment = {129, 47},
    .defaultButton = {71, 49},
    .prevButton = {186, 49},
    .nextButton = {218, 49},
    .loadButton = {46, 11},
    .saveButton = {90, 11},
    .writeOneButton = {132, 11},
    .writeAllButton = {196, 11},
    .loadSelector = {60, 12, 100, 28},
    .saveSelector = {100, 12, 140, 28},
    .writeSelector = {150, 12, 190, 28},
    .copyButton = {196, 730},
    .eqGraph = {640, 593, 1100, 708},
    .vcfTypeSwitch = {768, 148},
    .vcfSlopeSwitch = {768, 198},
    .portamentoSlopeSwitch = {872, 458},
    .trigModeSwitch = {889, 513},
    .portamentoModeSwitch = {908, 458},
    .oscSyncSwitch = {31, 242},
    .keyPrioritySlider = {936, 493},
    .vcfTypeText = {754, 135, 802, 151},
    .vcfSlopeText = {754, 185, 802, 201},
    .trigModeText = {875, 500, 923, 516},
    .keyPriorityText = {928, 490, 976, 506},
    .midiSyncText = {928, 435, 976, 451},
    .trackingText = {369, 24, 467, 44},
};

const SkinPlaces kLcd = {
    .lcd = true,
    .valueTextTop = 27,
    .learnColor = COLOR_BLACK,
    .programNameColor = COLOR_BLACK,
    .flexiSpinnerColor = COLOR_BLACK,
    .flexiSpinnerStyle = IText::kStyleNormal,
    .midiSpinnerSize = 12,
    .trackingTextColor = COLOR_BLACK,
    .trackingTextSize = 12,
    .trackingTextStyle = IText::kStyleNormal,
    .onOffSwitch = kBmpBigButton,
    .flexiButton = kBmpFlexiSw,
    .trackingSwitch = kBmpFlexiSw,
    .filteredLoadHidden = false,
    .radioButtons = false,
    .fxTabTop = 562,
    .fxTabBottom = 587,
    .listOverlayTop = 0,
    .flexiLedOffset = {0, 0},
    .programName = {58, 31, 268, 47},
    .sevenSegment = {141, 47},
    .defaultButton = {48, 49},
    .prevButton = {216, 49},
    .nextButton = {247, 49},
    .loadButton = {47, 10},
    .saveButton = {104, 10},
    .writeOneButton = {161, 10},
    .writeAllButton = {218, 10},
    .loadSelector = {47, 10, 103, 27},
    .saveSelector = {104, 10, 160, 27},
    .writeSelector = {161, 10, 217, 27},
    .copyButton = {189, 725},
    .eqGraph = {650, 590, 1110, 705},
    .vcfTypeSwitch = {768, 151},
    .vcfSlopeSwitch = {768, 201},
    .portamentoSlopeSwitch = {872, 457},
    .trigModeSwitch = {889, 516},
    .portamentoModeSwitch = {908, 457},
    .oscSyncSwitch = {31, 240},
    .keyPrioritySlider = {936, 496},
    .vcfTypeText = {754, 139, 802, 155},
    .vcfSlopeText = {754, 189, 802, 205},
    .trigModeText = {875, 504, 923, 520},
    .keyPriorityText = {928, 493, 976, 509},
    .midiSyncText = {928, 432, 976, 448},
    .trackingText = {369, 23, 467, 43},
};

}  // namespace

const SkinPlaces& PlacesOf(Skin skin) { return IsLcd(skin) ? kLcd : kOrig; }

IRECT RuleValueText(int param, Skin skin) {
    const PanelPoint& p = kParamPositions[param - kFirstProgramParam];
    const int top = p.y + PlacesOf(skin).valueTextTop;
    return IRECT(p.x - 8, top, p.x + 40, top + 16);
}

namespace manager {

Place SlotCorner(int k) {
    return {kSlotStepX * (k % kSlotColumns) + kSlotLeft, int(kSlotStepY * (k / kSlotColumns) + kSlotTop)};
}

IRECT ListRow(int k) { return IRECT(kRowLeft, kRowTop + kRowHeight * k, kRowRight, kRowTop + kRowHeight * (k + 1)); }

}  // namespace manager

}  // namespace qd
