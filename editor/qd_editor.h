// The editor: the plug-in object whose parameters are the instrument's sound and the
// panel's own controls. The shell creates it with its MIDI output and settings; the
// screens (screens/) build its panel.
//
// Its members are split over two folders that form one library: editor/ holds the
// core (parameters, keyboard notes, Flexi and sync ranges, menu commands), screens/
// the panel builders and the show/hide groups.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "common/typed_buf.h"
#include "editor/data/param_table.h"
#include "plug/device_settings.h"
#include "plug/module_standalone.h"
#include "screens/manager_controls.h"

class IBitmapControl;
class IBitmapOverlayControl;
class IControl;
class IFileSelectorControl;
class IGraphicsMac;
class IKeyboardControl;
class IKnobMultiBase;
class IParaGraphicEq;
class ISpinnerControl;
class ITextControl;
struct PanelGroup;

// One slot of the program manager's bank grid.
struct BankSlot {
    bool mEmpty = true;  // first, as the program library reads it
    char mName[32] = {};
};

// One row of the program manager's list.
struct ProgramListRow {
    char mName[64] = {};
    char mPath[1024] = {};
};

struct QDEditorSetup {
    IMidiOutput* midiOut = nullptr;         // not owned; null sends nothing
    const DeviceSettings* devices = nullptr;  // the shell's current choice; not owned
    std::string settingsPath;               // full path of settings.ini
    std::string bundleID;                   // where the skin images are found
};

class QDEditor : public IModuleStandalone {
public:
    static constexpr int kWidth = 1140;
    static constexpr int kHeight = 800;
    static constexpr int kResourceScale = 2;
    static constexpr int kBankSlotCount = 100;
    static constexpr int kFlexiSlots = 4;
    static constexpr int kValueTextCount = 186;  // parameters 3 to 188

    explicit QDEditor(const QDEditorSetup& setup);
    ~QDEditor() override;

    // ---- Core (editor/) ----
    void OnParamChange(int paramIdx) override;
    void OnIdle() override;
    // Carries out a menu command of editor/menu_commands.h; false for one it does not know.
    bool OnMenuCommand(int command);
    void PlayKeyboardNote(int note, bool on);
    bool RefreshFlexiTargets(int programIndex, bool hide);
    void UpdateLfoSyncRanges(int mode);
    void UpdateDelaySyncRanges(int mode);
    // The keyboard input's hook (MIDI thread): keeps the note-state table.
    void ProcessKeyboardMidi(const IMidiMessage& msg);

    // ---- Screens (screens/) ----
    void CreateGUI(bool redPanelOnly = false);
    void BuildOrigSkinLayout(bool showFirstBackground);
    void BuildLcdSkinLayout();
    void BuildManagerPanel();
    void SetManagerPanelHidden(bool hide);
    void SetManagerGroup1Hidden(bool hide);
    void SetManagerGroup2Hidden(bool hide);
    void SetChorusPanelHidden(bool hide);
    void SetOverdrivePanelHidden(bool hide);
    void SetEqualizerBandsHidden(bool hide);
    void SetEqualizerPanelHidden(bool hide);
    void SetRangeListHidden(bool hide);
    void SetSourceListHidden(bool hide);
    void SetFlexiRangeControlsHidden(int slot, bool hide);
    void SetCaptionGroupHidden(bool hide);
    void ApplyViewLayout(int viewMode, double width, double height) override;
    void UpdateEqGraphFromParams();
    void UpdateEqGraphFromProgram();

    // ---- State the screens and the tests read ----
    IGraphicsMac* Graphics() const { return mGraphicsMac; }
    const char* SettingsPath() const { return mSettingsPath.c_str(); }
    const std::string& CacheFolder() const { return mCacheFolder; }
    int Skin() const { return mSkin; }
    bool ManagerView() const { return mManagerView; }
    int KeyboardChannel() const { return mKeyboardChannel; }
    bool OutputOff();
    uint8_t NoteState(int note);
    int HeldNotes();
    int ProgramEntry(int entry) const { return entry >= 0 && entry < qd::kProgramEntryCount ? mProgram[entry] : 0; }
    int FlexiDestination(int slot) const { return slot >= 0 && slot < kFlexiSlots ? mFlexiDest[slot] : -1; }
    void SetFlexiDestination(int slot, int programIndex);
    int ListMode() const { return mListMode; }
    void SetListMode(int mode) { mListMode = mode; }
    const BankSlot* GetBankSlot(int i) const { return mBankSlots.GetAt(i); }
    int BankSlotCount() const { return mBankSlots.GetSize(); }
    IKeyboardControl* Keyboard() const { return mKeyboard; }
    IBitmapOverlayControl* AboutBox() const { return mAboutBox; }
    // The value text of parameter `paramIdx` (3 to 188), or null.
    ITextControl* ValueText(int paramIdx) const;
    // The number of controls the last panel builder made, attached or not.
    int ControlsMade() const { return mControlsMade; }
    const DeviceSettings* Devices() const { return mDevices; }
    bool EqParametricView() const { return mEqParametricView; }
    bool EqGraphView() const { return mEqGraphView; }
    IParaGraphicEq* EqGraph() const { return mEqGraph; }
    IControl* FxTabHighlight(int i) const { return i >= 0 && i < 4 ? mFxTabHighlights[i] : nullptr; }
    int ManagerMode() const { return mManagerMode; }
    void SetManagerMode(int mode) { mManagerMode = mode; }
    // The program manager's list, which the program library fills.
    CMN_TypedBuf<ProgramListRow>& ProgramRows() { return mProgramRows; }
    const qd::ManagerControls& Manager() const { return mManager; }

private:
    friend class PanelBuilder;

    void DeclareParams();
    // The screen side of OnParamChange: the groups, lists and graph that follow the
    // parameter.
    void ReactOnScreen(int paramIdx);
    // The slot's destination when it is a program entry, else -1 (program data may
    // hold anything).
    int FlexiTarget(int slot) const;
    double CurrentScale() const;
    int TruncParam(int paramIdx);
    void ShowCutoffKnob();
    void PlaceFlexiRangeTexts(int slot, double scale);
    void ShowSelectedEffect();
    void ShowModulationIndicators();
    void ShowEffectOnIndicators();
    void ApplySyncRanges();
    void ApplyFlexiSyncedRange(int slot);
    void PlaceEffectTabs(double scale);
    void SelectEffectTab(int tabParam);
    void OpenFlexiList(int mode);
    void CloseListView();
    void ChooseEqView(bool parametric);
    void SetEqBands(const int* values);
    void ApplyGraphBandToKnobs();
    void SetGroupHidden(const PanelGroup& group, bool hide);
    // The synced or declared range of `paramIdx`, applied along with every Flexi range
    // parameter whose slot modulates it.
    void SetSyncedRange(int paramIdx, bool synced);
    void SendKobrelGreeting();
    void ShowAboutBox();
    // Shows the parameter's display text in its value text, when it has one.
    void RefreshValueText(int paramIdx);
    void ApplyScale(double scale);
    // Frees the value texts that were made but never attached.
    void DeleteUnattachedValueTexts();

    IGraphicsMac* mGraphicsMac = nullptr;  // owned through IModuleBase once attached
    std::string mSettingsPath;
    std::string mCacheFolder;
    const DeviceSettings* mDevices = nullptr;

    // Written on the MIDI thread under the plug-in mutex.
    uint8_t mNoteStates[128] = {};
    int mHeldNotes = 0;
    std::atomic<bool> mKeyboardChanged{false};

    int mKeyboardChannel = 0;
    bool mOutputOff = true;
    int mSkin = 0;
    bool mManagerView = false;

    int mProgram[qd::kProgramEntryCount] = {};
    int mFlexiDest[kFlexiSlots] = {-1, -1, -1, -1};
    int mListMode = 0;
    bool mEqParametricView = false;
    bool mEqGraphView = true;
    int mRangeSpacing = 0;
    // Set while the knobs take a dragged band's values, so the graph is not fed back
    // its own band rounded to the knobs' steps.
    bool mKnobsFollowGraph = false;

    CMN_TypedBuf<BankSlot> mBankSlots{4096};
    CMN_TypedBuf<ProgramListRow> mProgramRows{4096};
    int mManagerFlags[3] = {};
    int mManagerMode = 0;
    int mControlsMade = 0;

    // Controls the screens keep (borrowed: IGraphics owns them once attached).
    IKeyboardControl* mKeyboard = nullptr;
    IBitmapOverlayControl* mAboutBox = nullptr;
    IParaGraphicEq* mEqGraph = nullptr;
    ITextControl* mValueTexts[kValueTextCount] = {};
    ITextControl* mProgramName = nullptr;
    ITextControl* mFlexiPlus[kFlexiSlots] = {};
    ITextControl* mFlexiLearn[kFlexiSlots] = {};
    IControl* mBackground = nullptr;
    IControl* mBackground2 = nullptr;
    IControl* mVcoSaveBg = nullptr;
    IControl* mFlexiSaveBg = nullptr;
    IControl* mSaveFromQdBg = nullptr;
    IControl* mFxBackgrounds[4] = {};  // modulation, overdrive, equalizer bands, equalizer graph
    IControl* mFxTabHighlights[4] = {};
    IControl* mSourceList = nullptr;
    IControl* mRangeList = nullptr;
    IControl* mFlexiLeds[kFlexiSlots] = {};
    IControl* mSlider45 = nullptr;
    IControl* mSlider127 = nullptr;
    IControl* mSlider138 = nullptr;
    IControl* mSlider142 = nullptr;
    IControl* mFlexiRangeSliders[8] = {};
    IControl* mModWheel = nullptr;
    IFileSelectorControl* mFileSelectors[5] = {};  // firmware, load, load "pr4 pr3 prg", save, write one
    ISpinnerControl* mMidiCCSpinner = nullptr;
    qd::ManagerControls mManager;
};
