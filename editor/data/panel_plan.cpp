#include "editor/data/panel_plan.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "editor/data/live_params.h"
#include "editor/data/panel_places.h"
#include "editor/data/param_table.h"

namespace qd {

namespace {

using namespace live;
using namespace param;
using K = ControlKind;

// One row of the sound and effects slider tables: the parameter's slider at its table
// point (switches and the key-priority slider stand where the skin record puts them).
struct SliderRow {
    int param;
    K kind;  // kSwitch: one of the on/off switches of the skin's own image
    Bmp bmp;
    double gearing;
};

constexpr SliderRow kSoundSliders[] = {
    {kVoice2Transposition, K::kSlider, kBmpVslider6, 0.4},
    {kVoice3Transposition, K::kSlider, kBmpVslider6, 0.4},
    {kVoicesInstrumentVolume, K::kSlider, kBmpVslider, 1.0},
    {kVoice1Volume, K::kSlider, kBmpVslider, 1.0},
    {kVoice2Volume, K::kSlider, kBmpVslider, 1.0},
    {kVoice3Volume, K::kSlider, kBmpVslider, 1.0},
    {kDistortionGrade, K::kSlider, kBmpVslider, 1.0},
    {kDistortionTone, K::kSlider, kBmpVslider, 1.0},
    {kOutputInstrumentVolume, K::kSlider, kBmpVslider, 1.0},
    {kVcfVolumeLinear, K::kSlider, kBmpVslider, 1.0},
    {kVcfVolumeLog, K::kSlider, kBmpVslider, 1.0},
    {kVcaAttack, K::kSlider, kBmpVslider, 1.0},
    {kVcaDecay, K::kSlider, kBmpVslider, 1.0},
    {kVcaSustain, K::kSlider, kBmpVslider, 1.0},
    {kVcaRelease, K::kSlider, kBmpVslider, 1.0},
    {kVcfAttack, K::kSlider, kBmpVslider, 1.0},
    {kVcfDecay, K::kSlider, kBmpVslider, 1.0},
    {kVcfSustain, K::kSlider, kBmpVslider, 1.0},
    {kVcfRelease, K::kSlider, kBmpVslider, 1.0},
    {kEnvelopeMode, K::kSlider, kBmpVslider3, 0.4},
    {kNoiseAttack, K::kSlider, kBmpVslider, 1.0},
    {kNoiseDecay, K::kSlider, kBmpVslider, 1.0},
    {kMixerInstrumentVolume, K::kSlider, kBmpVslider, 1.0},
    {kDistortionVolume, K::kSlider, kBmpVslider, 1.0},
    {kDistortionThroughAr, K::kSlider, kBmpVslider, 1.0},
    {kVcoThroughInverseAr, K::kSlider, kBmpVslider, 1.0},
    {kNoiseVolume, K::kSlider, kBmpVslider, 1.0},
    {kFilterMode, K::kSwitch, kBmpNone, 0.0},
    {kVintageCutoff, K::kSlider, kBmpVslider, 1.0},
    {kVcf2Cutoff, K::kSlider, kBmpVslider, 1.0},
    {kVcfEnvFollower, K::kSlider, kBmpVslider, 1.0},
    {kVcfAccent, K::kSlider, kBmpVslider, 1.0},
    {kVcfAdGenerator, K::kSlider, kBmpVslider, 1.0},
    {kVcfPitchFollow, K::kSlider, kBmpVslider2, 0.4},
    {kVcfType, K::kSlider, kBmpVslider5, 0.4},
    {kVcfQ, K::kSlider, kBmpVslider, 1.0},
    {kVcfSlope, K::kSwitch, kBmpNone, 0.0},
    {kPortamentoTime, K::kSlider, kBmpVslider, 1.0},
    {kPortamentoSlope, K::kSwitch, kBmpNone, 0.0},
    {kPitchBendRange, K::kSlider, kBmpVslider, 1.0},
    {kVcoTranspose, K::kSlider, kBmpVslider, 1.0},
    {kTrigMode, K::kSwitch, kBmpNone, 0.0},
    {kKeyPriority, K::kSlider, kBmpVsliderShort4, 0.4},
    {kLfoFrequency, K::kSlider, kBmpVslider, 1.0},
    {kLfoDelay, K::kSlider, kBmpVslider, 1.0},
    {kLfoVcfDepth, K::kSlider, kBmpVslider, 1.0},
    {kLfoVcoDepth, K::kSlider, kBmpVslider, 1.0},
    {kMidiSync, K::kSlider2, kBmpVsliderShort4, 0.4},
    {kNewCutoff, K::kSlider, kBmpVsliderFx, 1.0},
};

constexpr SliderRow kEffectSliders[] = {
    {kModBlendInstrument, K::kSlider, kBmpVsliderFx, 1.0},
    {kModBlendVcf, K::kSlider, kBmpVsliderFx, 1.0},
    {kModOnOff, K::kSlider, kBmpVslider2, 0.4},
    {kModLfoAFrq, K::kSlider, kBmpVsliderFx, 1.0},
    {kModLfoBFrq, K::kSlider, kBmpVsliderFx, 1.0},
    {kModLevel1, K::kSlider, kBmpVsliderFx, 1.0},
    {kDelay1Time, K::kSlider, kBmpVslider, 1.0},
    {kMod1A, K::kSlider, kBmpVsliderFx, 1.0},
    {kMod1B, K::kSlider, kBmpVsliderFx, 1.0},
    {kModLevel2, K::kSlider, kBmpVsliderFx, 1.0},
    {kDelay2Time, K::kSlider, kBmpVslider, 1.0},
    {kMod2A, K::kSlider, kBmpVsliderFx, 1.0},
    {kMod2B, K::kSlider, kBmpVsliderFx, 1.0},
    {kFeedbackLevel, K::kSlider, kBmpVsliderFx, 1.0},
    {kFeedbackDamping, K::kSlider, kBmpVsliderFx, 1.0},
    {kOverdriveDrive, K::kSlider, kBmpVsliderFx, 1.0},
    {kOverdriveLevel, K::kSlider, kBmpVsliderFx, 1.0},
    {kOverdriveOn, K::kSlider, kBmpVslider2, 1.0},
    {kOdBlendInstrument, K::kSlider, kBmpVslider2, 1.0},
    {kOdBlendVcf, K::kSlider, kBmpVslider2, 1.0},
    {kEqBassFrq, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqBassSlope, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqBassBoost, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqMid1Frq, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqMid1Q, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqMid1Boost, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqMid2Frq, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqMid2Q, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqMid2Boost, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqTrebleFrq, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqTrebleSlope, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqTrebleBoost, K::kSlider, kBmpVsliderFx, 1.0},
    {kEqualizerOn, K::kSlider, kBmpVslider2, 1.0},
    {kEqBlendInstrument, K::kSlider, kBmpVslider2, 1.0},
    {kEqBlendVcf, K::kSlider, kBmpVslider2, 1.0},
};

constexpr int kVcoCount = 4, kVcoColumns = kVco2Coarse - kVco1Coarse;
constexpr const char* kProgramNameAtStart = "Last Used Program";

bool Holds(std::span<const int> params, int param) {
    return std::find(params.begin(), params.end(), param) != params.end();
}

// The effect panels a parameter's controls belong to.
uint32_t EffectGroupsOf(int param) {
    uint32_t bits = 0;
    if (Holds(groups::kChorus, param)) bits |= GroupBit(kGroupModulation);
    if (Holds(groups::kOverdrive, param)) bits |= GroupBit(kGroupOverdrive);
    if (Holds(groups::kEqBands, param) || Holds(groups::kEqViewButtons, param)) bits |= GroupBit(kGroupEqBands);
    if (Holds(groups::kEqGraphFirst, param) || Holds(groups::kEqGraphAware, param) ||
        Holds(groups::kEqViewButtons, param))
        bits |= GroupBit(kGroupEqGraph);
    return bits;
}

constexpr IRECT Corner(Place at) { return IRECT(at.x, at.y, at.x, at.y); }
constexpr IRECT Shifted(const IRECT& r, int dx) { return IRECT(r.L + dx, r.T, r.R + dx, r.B); }

class Plan {
public:
    explicit Plan(Skin skin) : mSkin(skin), mPlaces(PlacesOf(skin)) {}

    std::vector<PlanItem> Take() { return std::move(mItems); }

    void SynthPage() {
        Backgrounds();
        FlexiTexts();
        EffectBackgrounds();
        UnattachedValueTexts();
        SliderBlocks();
        FlexiRow();
        EffectTabs();
        ListOverlays();
        Buttons();
        FileControls();
        Spinners();
    }
    void Keyboard() { Add(K::kKeyboard, -1, kBmpKeys, Corner(kKeyboardPlace)).keep = Keep::kKeyboard; }
    void ManagerPage();
    void AboutBox() {
        PlanItem& about = Add(K::kAboutBox, -1, kBmpAbout, Corner(kAboutBoxPlace));
        about.keep = Keep::kAboutBox;
        about.groups = GroupBit(kGroupAboutBox);
        about.followsState = true;  // drawn only while its value is on, shown or not
    }

private:
    PlanItem& Add(K kind, int param, Bmp image, const IRECT& rect) {
        PlanItem item;
        item.kind = kind;
        item.param = param;
        item.image = image;
        item.rect = rect;
        item.groups = EffectGroupsOf(param);
        mItems.push_back(std::move(item));
        return mItems.back();
    }
    PlanItem& At(K kind, int param, Bmp image, Place at) { return Add(kind, param, image, Corner(at)); }
    void Load(Bmp image) { Add(K::kLoad, -1, image, {}); }
    PlanItem& Kept(PlanItem& item, Keep keep, int index = 0) {
        item.keep = keep;
        item.index = index;
        return item;
    }
    PlanItem& Text(const IRECT& r, TextRole style, const char* text) {
        PlanItem& item = Add(K::kText, -1, kBmpNone, r);
        item.style = style;
        item.text = text;
        return item;
    }
    PlanItem& ValueText(int param, const IRECT& r, TextRole style = TextRole::kValue) {
        PlanItem& item = Add(K::kValueText, param, kBmpNone, r);
        item.style = style;
        return item;
    }
    PlanItem& Spinner(const IRECT& r, int param, TextRole style) {
        PlanItem& item = Add(K::kSpinner, param, kBmpNone, r);
        item.style = style;
        item.gearing = 10.0;
        return item;
    }
    PlanItem& FileSelector(const IRECT& r, int param, int action, const char* extensions, int index) {
        PlanItem& item = Kept(Add(K::kFileSelector, param, kBmpFopen, r), Keep::kFileSelector, index);
        item.option = action;
        item.text = extensions;
        return item;
    }
    static PlanItem& Hidden(PlanItem& item) {
        item.start = Start::kHidden;
        return item;
    }

    void Backgrounds();
    void FlexiTexts();
    void EffectBackgrounds();
    void UnattachedValueTexts();
    void SliderBlocks();
    void Slider(const SliderRow& row);
    void FlexiRow();
    void EffectTabs();
    void ListOverlays();
    void Buttons();
    void FileControls();
    void Spinners();

    Skin mSkin;
    const SkinPlaces& mPlaces;
    std::vector<PlanItem> mItems;
};

void Plan::Backgrounds() {
    PlanItem& first = Kept(At(K::kPicture, -1, kBmpBackground, {0, 0}), Keep::kBackground);
    if (mPlaces.lcd) {
        first.start = Start::kShown;
    } else {
        first.start = mSkin == kSkinSpace ? Start::kShown : Start::kHidden;
        Kept(At(K::kPicture, -1, kBmpBackground2, {0, 0}), Keep::kBackground2).start =
            mSkin == kSkinSpace ? Start::kHidden : Start::kShown;
    }
    Kept(At(K::kPicture, -1, kBmpVcoSaveBg, {0, 0}), Keep::kVcoSaveBg);
    PlanItem& flexiSave = Hidden(Kept(At(K::kPicture, -1, kBmpFlexiSaveBg, {0, 0}), Keep::kFlexiSaveBg));
    flexiSave.followsState = true;
}

void Plan::FlexiTexts() {
    // The page's sliders and buttons, loaded in one block before any is used.
    for (Bmp b : {kBmpCurves, kBmpVsliderFlexiRedSpare, kBmpVsliderFlexiRed, kBmpVsliderFlexiBlue,
                  kBmpVsliderFlexiPurple, kBmpVsliderFlexiGreen, kBmpVslider, kBmpVsliderFx, kBmpVslider2, kBmpVslider3,
                  kBmpVslider4, kBmpVslider5, kBmpVslider6, kBmpVsliderShort4, kBmpBigButton})
        Load(b);
    Load(mPlaces.lcd ? kBmpFxBgMod : kBmpSyncButton);
    Load(kBmpLed);
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        const int d = kFlexiStep * n;
        Kept(Text(Shifted(kFlexiPlusText, d), TextRole::kFlexiPlus, "(+)"), Keep::kFlexiPlus, n).textLater = true;
        Kept(Text(Shifted(kFlexiLearnText, d), TextRole::kFlexiLearn, "LEARN"), Keep::kFlexiLearn, n).textLater = true;
    }
}

void Plan::EffectBackgrounds() {
    const Bmp backgrounds[] = {kBmpFxBgMod, kBmpFxBgDrive, kBmpFxBgEq, kBmpFxBgEq2};
    const PanelGroup shownWith[] = {kGroupModulation, kGroupOverdrive, kGroupEqBands, kGroupEqGraph};
    for (int i = 0; i < 4; ++i)
        Kept(At(K::kPicture, -1, backgrounds[i], {0, 0}), Keep::kFxBackground, i).groups = GroupBit(shownWith[i]);
    for (int i = 0; i < kFxTabs; ++i) {
        PlanItem& highlight =
            Hidden(Kept(At(K::kPicture, -1, kBmpFxSwH, {kFxTabX[i], mPlaces.fxTabTop}), Keep::kFxTabHighlight, i));
        highlight.followsState = true;
    }
    Kept(Text(mPlaces.programName, TextRole::kProgramName, kProgramNameAtStart), Keep::kProgramName);
    At(K::kSwitch, kPortamentoMode, mPlaces.onOffSwitch, mPlaces.portamentoModeSwitch);
    ValueText(kPortamentoMode, kPortamentoModeText);
}

void Plan::UnattachedValueTexts() {
    // The Flexi block's value texts are made and kept but never shown.
    for (int p = kFlexi1Source; p <= kFlexi4Offset; ++p) ValueText(p, RuleValueText(p, mSkin)).attached = false;
}

void Plan::SliderBlocks() {
    At(K::kPicture, kSevenSegmentDisplay, kBmpSevenSeg, mPlaces.sevenSegment);
    for (int n = 0; n < kVcoCount; ++n)
        for (int k = 0; k < kVcoColumns; ++k) Slider({kVco1Coarse + kVcoColumns * n + k, K::kSlider, kBmpVslider, 1.0});
    for (const SliderRow& row : kSoundSliders) Slider(row);
    for (const SliderRow& row : kEffectSliders) Slider(row);
    At(K::kSwitch, kEffectsOrder, kBmpFxOrderSw, {kFxOrderSwitchX, mPlaces.fxTabTop});
}

void Plan::Slider(const SliderRow& row) {
    const PanelPoint& p = kParamPositions[row.param - kFirstProgramParam];
    const Place onPoint{p.x, p.y - kSliderLift};
    const SkinPlaces& s = mPlaces;
    PlanItem* control = nullptr;
    IRECT text = RuleValueText(row.param, mSkin);
    switch (row.param) {
        case kFilterMode:
            control = &At(K::kSwitch, row.param, s.onOffSwitch, s.vcfTypeSwitch);
            text = s.vcfTypeText;
            break;
        case kVcfSlope:
            control = &At(K::kSwitch, row.param, s.onOffSwitch, s.vcfSlopeSwitch);
            text = s.vcfSlopeText;
            break;
        case kPortamentoSlope:
            control = &At(K::kSwitch, row.param, s.onOffSwitch, s.portamentoSlopeSwitch);
            text = kPortamentoSlopeText;
            break;
        case kTrigMode:
            control = &At(K::kSwitch, row.param, s.onOffSwitch, s.trigModeSwitch);
            text = s.trigModeText;
            break;
        case kKeyPriority:
            control = &At(row.kind, row.param, row.bmp, s.keyPrioritySlider);
            text = s.keyPriorityText;
            break;
        case kMidiSync:
            control = &Kept(At(row.kind, row.param, row.bmp, onPoint), Keep::kMidiSyncSlider);
            text = s.midiSyncText;
            break;
        default: control = &At(row.kind, row.param, row.bmp, onPoint); break;
    }
    control->gearing = row.gearing;
    const int* synced = std::find(std::begin(kSyncedParams), std::end(kSyncedParams), row.param);
    if (synced != std::end(kSyncedParams)) Kept(*control, Keep::kSyncedSlider, int(synced - kSyncedParams));
    PlanItem& value = ValueText(row.param, text);
    if (row.param == kVintageCutoff || row.param == kNewCutoff) {
        // The two filters' cutoffs share one place; the view shows the one the filter
        // mode picks, the new one hidden at first.
        for (PlanItem* item : {&mItems[mItems.size() - 2], &value}) {
            item->followsState = true;
            if (row.param == kNewCutoff) item->start = Start::kHidden;
        }
    }
}

void Plan::FlexiRow() {
    const Bmp rangeStrips[] = {kBmpVsliderFlexiRed, kBmpVsliderFlexiBlue, kBmpVsliderFlexiPurple,
                               kBmpVsliderFlexiGreen};
    for (int i = 0; i < 2 * kFlexiSlotCount; ++i) {
        PlanItem& range = Hidden(Kept(At(K::kSlider, kFlexi1RangeA + i, rangeStrips[i / 2], kFlexiRangeParking),
                                      Keep::kFlexiRangeSlider, i));
        range.followsState = true;
    }
    At(K::kSwitch, kOscSync, kBmpSyncButton, mPlaces.oscSyncSwitch);
    At(K::kSwitch, kTrackingPriority, mPlaces.trackingSwitch, kTrackingSwitch);
    ValueText(kTrackingPriority, mPlaces.trackingText, TextRole::kTracking);

    for (int n = 0; n < kFlexiSlotCount; ++n)
        At(K::kContact, kFlexi1Learn + n, mPlaces.flexiButton, {kFlexiButton.x + kFlexiStep * n, kFlexiButton.y});
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        const Place led{kFlexiButton.x + kFlexiStep * n + mPlaces.flexiLedOffset.x,
                        kFlexiButton.y + mPlaces.flexiLedOffset.y};
        Kept(At(K::kContact, kFlexi1Led + n, kBmpLed, led), Keep::kFlexiLed, n).followsState = true;
    }

    // The curve sliders stand at their table points themselves.
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        const int curve = FlexiProgramParam(kFlexi1Curve, n);
        const PanelPoint& p = kParamPositions[EntryOf(curve)];
        At(K::kSlider, curve, kBmpCurves, {p.x, p.y}).gearing = 3.0;
    }

    for (int n = 0; n < kFlexiSlotCount; ++n) {
        const int d = kFlexiStep * n;
        Spinner(Shifted(kFlexiSourceSpinner, d), InRun(kFlexi1Sources, kFlexi2Sources, n), TextRole::kFlexiSpinner);
        Spinner(Shifted(kFlexiRangeSpinner, d), InRun(kFlexi1Ranges, kFlexi2Ranges, n), TextRole::kFlexiSpinner);
    }
    for (int n = 0; n < kFlexiSlotCount; ++n)
        At(K::kSwitch, InRun(kFlexi1Mode, kFlexi2Mode, n), kBmpFlexiMode,
           {kFlexiModeSwitch.x + kFlexiStep * n, kFlexiModeSwitch.y});

    if (mPlaces.radioButtons) Hidden(Add(K::kRadioButtons, kEffectSelect, kBmpFxSw, kFxRadioButtons)).option = 3;
}

void Plan::EffectTabs() {
    const Bmp tabs[] = {kBmpOdSw, kBmpEqSw, kBmpChSw, kBmpDlSw};
    const int tabParams[] = {kShowOverdrive, kShowEqualizer, kShowChorus, kShowDelay};
    const int labelParams[] = {kOverdriveTab, kEqualizerTab, kChorusTab, kDelayTab};
    for (int i = 0; i < kFxTabs; ++i) At(K::kSwitch, tabParams[i], tabs[i], {kFxTabX[i], mPlaces.fxTabTop});
    for (int i = 0; i < kFxTabs; ++i)
        Add(K::kInvisibleSwitch, labelParams[i], kBmpNone,
            IRECT(kFxTabX[i], mPlaces.fxTabTop, kFxTabX[i] + kFxTabClickWidth, mPlaces.fxTabBottom));

    Kept(Add(K::kEqGraph, kEqGraph, kBmpNone, mPlaces.eqGraph), Keep::kEqGraph);

    // Click areas over the Flexi spinners open their lists.
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        const int d = kFlexiStep * n;
        Add(K::kInvisibleSwitch, kShowFlexi1Sources + n, kBmpNone, Shifted(kFlexiSourceSpinner, d));
        Add(K::kInvisibleSwitch, kShowFlexi1Ranges + n, kBmpNone, Shifted(kFlexiRangeSpinner, d));
    }
}

void Plan::ListOverlays() {
    const uint32_t lists = GroupBit(kGroupSourceList) | GroupBit(kGroupRangeList);
    PlanItem& sources =
        Hidden(Kept(At(K::kPicture, -1, kBmpSourceList, {0, mPlaces.listOverlayTop}), Keep::kSourceList));
    sources.groups = GroupBit(kGroupSourceList);
    // The range list is hidden too: left visible it would lie over the whole panel and
    // take every click.
    PlanItem& ranges = Hidden(Kept(At(K::kPicture, -1, kBmpRangeList, {0, mPlaces.listOverlayTop}), Keep::kRangeList));
    ranges.groups = GroupBit(kGroupRangeList);
    for (int i = 0; i < kListColumns; ++i)
        Hidden(Add(K::kInvisibleSelect, groups::kListSelects[i], kBmpNone, Shifted(kListColumn, kListColumnStep * i)))
            .groups = lists;
    Hidden(Add(K::kInvisibleSwitch, kCloseListView, kBmpNone, kCloseListArea)).groups = lists;
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        PlanItem& polarity = Hidden(At(K::kSwitch, InRun(kFlexi1RangeControlPolarity, kFlexi2RangeControlPolarity, n),
                                       kBmpPolarSw2, kPolaritySwitch));
        polarity.groups = GroupBit(kGroupRangeList);
        polarity.followsState = true;  // only the listed slot's
    }
}

void Plan::Buttons() {
    At(K::kContact, kSaveVcoSettings, kBmpVcoSaveSw, kVcoSaveButton);
    At(K::kContact, kSaveFlexiSettings, kBmpFlexiSaveSw, kFlexiSaveButton);
    At(K::kContact, kCopy, kBmpCopy, mPlaces.copyButton);
    At(K::kContact, kDefault, kBmpDefault, mPlaces.defaultButton);
    At(K::kContact, kRandom, kBmpRandom, kRandomButton);
    At(K::kContact, kReset, kBmpReset, kResetButton);
    At(K::kContact, kSelectAll, kBmpSelectAll, kSelectAllButton);
    At(K::kContact, kClearAll, kBmpClearAll, kClearAllButton);
    // The check boxes run column by column from the first "copy from" to the last Flexi.
    int box = kCopyFromVco1;
    for (int x : kCheckboxColumns)
        for (int r = 0; r < kCheckboxRows; ++r)
            At(K::kSwitch, box++, kBmpCheckbox, {x, kCheckboxTop + kCheckboxStep * r});
    At(K::kContact, kPreviousProgram, kBmpPrevBtn, mPlaces.prevButton);
    At(K::kContact, kNextProgram, kBmpNextBtn, mPlaces.nextButton);
    Add(K::kInvisibleSwitch, kParametricButton, kBmpNone, kParametricEqButton);
    Add(K::kInvisibleSwitch, kGraphButton, kBmpNone, kGraphEqButton);
}

void Plan::FileControls() {
    constexpr int kOpen = 0, kSave = 1;
    Hidden(FileSelector(kFirmwareSelector, kFirmwareFile, kOpen, "qd4", 0));
    Hidden(FileSelector(mPlaces.loadSelector, kLoadProgramFile, kOpen, "", 1));
    PlanItem& filtered = FileSelector(mPlaces.loadSelector, kLoadProgramFile, kOpen, "pr4 pr3 prg", 2);
    if (mPlaces.filteredLoadHidden) Hidden(filtered);
    FileSelector(mPlaces.saveSelector, kSaveProgramFile, kSave, "pr4", 3);
    FileSelector(mPlaces.writeSelector, kWriteProgramFile, kOpen, "pr4 pr3 prg", 4);
    At(K::kContact, kLoadProgram, kBmpFload, mPlaces.loadButton);
    At(K::kContact, kSaveProgram, kBmpFsave, mPlaces.saveButton);
    At(K::kContact, kWriteProgram, kBmpFwriteOne, mPlaces.writeOneButton);
    At(K::kContact, kWriteAllPrograms, kBmpFwriteAll, mPlaces.writeAllButton);
    Kept(At(K::kPicture, -1, kBmpSaveFromQdBg, {0, 0}), Keep::kSaveFromQdBg).groups = GroupBit(kGroupCaption);
}

void Plan::Spinners() {
    Spinner(kSlotSpinner, kProgramSlot, TextRole::kSlotSpinner).groups = GroupBit(kGroupCaption);
    Add(K::kInvisibleSwitch, kReceiveProgram, kBmpNone, kReceiveButton).groups = GroupBit(kGroupCaption);
    Spinner(kMidiChannelSpinner, kMidiChannel, TextRole::kMidiSpinner);
    Kept(Spinner(kMidiCCSpinner, kMidiCC, TextRole::kMidiSpinner), Keep::kMidiCCSpinner);
    Kept(At(K::kSlider3, kModWheel, kBmpModWheel, kModWheelSlider), Keep::kModWheel);
}

void Plan::ManagerPage() {
    using namespace manager;
    const uint32_t page = GroupBit(kGroupManagerPage), login = GroupBit(kGroupManagerLogin),
                   dbMode = GroupBit(kGroupManagerDbMode);
    auto on = [](PlanItem& item, uint32_t groups) -> PlanItem& {
        item.groups = groups;
        return item;
    };
    for (int b = kFirstManagerBmp; b < kBmpCount; ++b) Load(Bmp(b));
    on(Kept(At(K::kPicture, -1, kBmpPmBackground, {0, 0}), Keep::kManagerBackground), page);
    for (int i = 0; i < kActionButtons; ++i) {
        const ButtonPlace& b = kActionButtonPlaces[i];
        on(Kept(At(K::kContact, b.param, b.image, b.at), Keep::kActionButton, i), page);
    }

    // The two small groups start hidden.
    on(Hidden(Kept(At(K::kPicture, -1, kBmpPmSelectDirBg, {0, 0}), Keep::kDbModeBackground)), dbMode);
    on(Hidden(Kept(At(K::kContact, kLocalDatabase, kBmpPmLocal, kLocalButton), Keep::kLocalButton)), dbMode);
    on(Hidden(Kept(At(K::kContact, kGlobalDatabase, kBmpPmGlobal, kGlobalButton), Keep::kGlobalButton)), dbMode);
    on(Hidden(Kept(At(K::kPicture, -1, kBmpPmLoginBg, {0, 0}), Keep::kLoginBackground)), login);
    on(Hidden(Kept(At(K::kContact, kLogin, kBmpPmLogin, kLoginButton), Keep::kLoginButton)), login);
    PlanItem& user = on(Hidden(Kept(Add(K::kUserText, -1, kBmpNone, kUserNameField), Keep::kUserName)), login);
    user.style = TextRole::kField;
    PlanItem& password = on(Hidden(Kept(Add(K::kUserText, -1, kBmpNone, kPasswordField), Keep::kPassword)), login);
    password.style = TextRole::kSecretField;
    on(Hidden(At(K::kSwitch, kRememberPassword, kBmpPmCheckbox, kRememberBox)), login);

    for (const CheckBoxPlace& c : kCheckBoxes) on(At(K::kSwitch, c.param, kBmpPmCheckbox, c.at), page);

    for (int k = 0; k < kListRows; ++k) on(Kept(Text(ListRow(k), TextRole::kListRow, ""), Keep::kListRow, k), page);
    on(Kept(Add(K::kRowSelect, kSelectedRow, kBmpNone,
                IRECT(kRowLeft, kRowTop, kRowRight, kRowTop + kRowHeight * kListRows)),
            Keep::kRowSelector),
       page);
    PlanItem& scroll = on(Kept(At(K::kFader, kScrollPosition, kBmpPmScrollBar, kScrollBar), Keep::kScrollBar), page);
    scroll.option = kScrollLength;
    scroll.followsState = true;  // shown only when the list is longer than the page

    // Slot 0 is never shown: the slots run from 1 to 99.
    auto slot = [&](PlanItem& item, int k) -> PlanItem& { return k == 0 ? Hidden(item) : on(item, page); };
    for (int k = 0; k < kBankSlots; ++k) {
        slot(Kept(At(K::kPicture, -1, kBmpPmProgramSelect, SlotCorner(k)), Keep::kSlotMark, k), k);
        slot(Kept(At(K::kPicture, -1, kBmpPmProgram, SlotCorner(k)), Keep::kSlotPicture, k), k);
    }
    for (int k = 0; k < kBankSlots; ++k) {
        const Place at = SlotCorner(k);
        auto inSlot = [&](const IRECT& r) { return IRECT(at.x + r.L, at.y + r.T, at.x + r.R, at.y + r.B); };
        char number[8];
        std::snprintf(number, sizeof number, "%02d", k);
        slot(Kept(Text(inSlot(kSlotNumberText), TextRole::kSlotNumber, number), Keep::kSlotNumber, k), k);
        slot(Kept(Text(inSlot(kSlotNameText), TextRole::kSlotName, ""), Keep::kSlotName, k), k);
    }

    on(Kept(Add(K::kUserText, -1, kBmpNone, kSearchField), Keep::kSearch), page).style = TextRole::kField;
    on(Kept(Add(K::kGridSelect, kSelectedSlot, kBmpNone, kSlotSelector), Keep::kSlotSelector), page).option =
        kSlotColumns;
    PlanItem& playNote = on(Kept(At(K::kContact, kPlayNote, kBmpPmPlayNote, kPlayNoteButton), Keep::kPlayNote), page);
    playNote.followsState = true;  // hidden while the manager is busy
}

IText Monaco(int size, const IColor& color, int style, int align, int quality = 0) {
    return IText(size, color, "Monaco", style, align, 0, quality);
}

IText ManagerStyle(const char* face, int size, const IColor& color, int align, int entry = IText::kEntryPlain) {
    IText t(size, color, face, IText::kStyleBold, align);
    t.entryKind = entry;
    return t;
}

}  // namespace

IText TextStyleOf(TextRole role, Skin skin) {
    const SkinPlaces& s = PlacesOf(skin);
    constexpr int kBold = IText::kStyleBold, kNormal = IText::kStyleNormal;
    constexpr int kNear = IText::kAlignNear, kCentre = IText::kAlignCenter;
    const IColor listGrey(255, 200, 200, 200), slotGrey(255, 220, 220, 220);
    switch (role) {
        case TextRole::kNone: return IText();
        case TextRole::kValue: return Monaco(11, COLOR_WHITE, kBold, kCentre);
        case TextRole::kFlexiPlus: return Monaco(10, s.learnColor, kBold, kNear);
        case TextRole::kFlexiLearn: return Monaco(10, s.learnColor, kBold, kCentre);
        case TextRole::kProgramName: return Monaco(12, s.programNameColor, kBold, kCentre);
        case TextRole::kTracking: return Monaco(s.trackingTextSize, s.trackingTextColor, s.trackingTextStyle, kCentre);
        case TextRole::kFlexiSpinner: return Monaco(11, s.flexiSpinnerColor, s.flexiSpinnerStyle, kCentre, 2);
        case TextRole::kSlotSpinner: return Monaco(30, COLOR_BLACK, kNormal, kCentre);
        case TextRole::kMidiSpinner: return Monaco(s.midiSpinnerSize, COLOR_BLACK, kBold, kCentre);
        case TextRole::kField: return ManagerStyle("Arial", 15, COLOR_BLACK, kCentre);
        case TextRole::kSecretField: return ManagerStyle("Arial", 15, COLOR_BLACK, kCentre, IText::kEntrySecure);
        case TextRole::kListRow: return ManagerStyle("Monaco", 12, listGrey, kNear);
        case TextRole::kSlotNumber: return ManagerStyle("Verdana", 22, slotGrey, kNear);
        case TextRole::kSlotName: return ManagerStyle("Monaco", 10, slotGrey, kCentre);
    }
    return IText();
}

std::vector<PlanItem> PanelPlan(PanelPart part, Skin skin) {
    Plan plan(skin);
    switch (part) {
        case PanelPart::kSynthPage: plan.SynthPage(); break;
        case PanelPart::kKeyboard: plan.Keyboard(); break;
        case PanelPart::kManagerPage: plan.ManagerPage(); break;
        case PanelPart::kAboutBox: plan.AboutBox(); break;
    }
    return plan.Take();
}

bool SizedByImage(ControlKind kind) {
    switch (kind) {
        case ControlKind::kPicture:
        case ControlKind::kSwitch:
        case ControlKind::kContact:
        case ControlKind::kSlider:
        case ControlKind::kSlider2:
        case ControlKind::kSlider3:
        case ControlKind::kFader:
        case ControlKind::kKeyboard:
        case ControlKind::kAboutBox: return true;
        default: return false;
    }
}

uint32_t GroupsShownIn(PanelView view) {
    const uint32_t page = GroupBit(kGroupModulation);
    switch (view) {
        case PanelView::kMain: return page;
        case PanelView::kOverdrive: return GroupBit(kGroupOverdrive);
        case PanelView::kEqBands: return GroupBit(kGroupEqBands);
        case PanelView::kEqGraph: return GroupBit(kGroupEqGraph);
        case PanelView::kSourceList: return page | GroupBit(kGroupSourceList);
        case PanelView::kRangeList: return page | GroupBit(kGroupRangeList);
        case PanelView::kManager: return page | GroupBit(kGroupManagerPage);
        case PanelView::kAboutBox: return page | GroupBit(kGroupAboutBox);
    }
    return page;
}

bool ShownIn(const PlanItem& item, PanelView view) {
    if (item.kind == ControlKind::kLoad || !item.attached) return false;
    if (item.groups) return (item.groups & GroupsShownIn(view)) != 0;
    return item.start != Start::kHidden;
}

}  // namespace qd
