// The editor: the plug-in object whose parameters are the instrument's sound and the
// panel's own controls. The shell creates it with its MIDI output and settings, and
// with the factory of its panel (screens/), which the editor owns and reaches through
// the EditorPanel interface: the panel's operations below hand on to it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "common/typed_buf.h"
#include "editor/data/panel_places.h"
#include "editor/data/param_table.h"
#include "editor/editor_panel.h"
#include "plug/device_settings.h"
#include "plug/module_standalone.h"

class IGraphicsMac;

// One slot of the program manager's bank grid.
struct BankSlot {
    bool empty = true;  // first, as the program library reads it
    char name[32] = {};
};

// One row of the program manager's list.
struct ProgramListRow {
    char name[64] = {};
    char path[1024] = {};
};

struct QDEditorSetup {
    IMidiOutput* midiOut = nullptr;           // not owned; null sends nothing
    const DeviceSettings* devices = nullptr;  // the shell's current choice; not owned
    std::string settingsPath;                 // full path of settings.ini
    std::string bundleID;                     // where the skin images are found
    qd::PanelFactory makePanel = nullptr;     // null: an editor without a panel
    // The room the window's panel has on the screen (PanelRoomOnScreen); a stored scale
    // too large for it is lowered before the panel is built. 0: no limit known.
    int fitWidth = 0, fitHeight = 0;
};

class QDEditor : public IModuleStandalone {
public:
    static constexpr int kWidth = qd::kPanelWidth;
    static constexpr int kHeight = qd::kPanelHeight;
    static constexpr int kResourceScale = 2;

    explicit QDEditor(const QDEditorSetup& setup);
    ~QDEditor() override;

    // ---- Core ----
    void OnParamChange(int paramIdx) override;
    void OnIdle() override;
    // Carries out a menu command of editor/menu_commands.h; false for one it does not know.
    bool OnMenuCommand(int command);
    void PlayKeyboardNote(int note, bool on);
    // These three hand on to the panel; without one there is nothing to refresh.
    bool RefreshFlexiTargets(int programIndex, bool hide);
    void UpdateLfoSyncRanges(int mode);
    void UpdateDelaySyncRanges(int mode);
    // The int parameter's range becomes min to max; its value stays, clamped into the
    // range, and goes to its controls.
    void SetParamRange(int paramIdx, int min, int max);
    // The keyboard input's hook (MIDI thread): keeps the note-state table.
    void ProcessKeyboardMidi(const IMidiMessage& msg);

    // ---- The panel ----
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

    // ---- State the panel and the tests read ----
    IGraphicsMac* Graphics() const { return mGraphicsMac; }
    qd::EditorPanel* Panel() const { return mPanel.get(); }
    const std::string& CacheFolder() const { return mCacheFolder; }
    qd::Skin Skin() const { return mSkin; }
    bool ManagerView() const { return mManagerView; }
    bool OutputOff();
    uint8_t NoteState(int note);
    int HeldNotes();
    int ProgramEntry(int entry) const { return entry >= 0 && entry < qd::kProgramEntryCount ? mProgram[entry] : 0; }
    int FlexiDestination(int slot) const { return slot >= 0 && slot < qd::kFlexiSlotCount ? mFlexiDest[slot] : -1; }
    void SetFlexiDestination(int slot, int programIndex);
    const BankSlot* GetBankSlot(int i) const { return mBankSlots.GetAt(i); }
    int BankSlotCount() const { return mBankSlots.GetSize(); }
    int ManagerMode() const { return mManagerMode; }
    void SetManagerMode(int mode) { mManagerMode = mode; }
    // The program manager's list, which the program library fills.
    CMN_TypedBuf<ProgramListRow>& ProgramRows() { return mProgramRows; }

private:
    void DeclareParams();
    void SetGroupHidden(qd::PanelGroup group, bool hide);
    // What BuildManagerPanel sets before the panel makes the page: the manager's
    // state and bank slots, then the cache folder and the page's settings.
    void ResetManagerState();
    void ReadManagerSettings();
    void SendKobrelGreeting();
    void ApplyScale(double scale);

    IGraphicsMac* mGraphicsMac = nullptr;  // owned through IModuleBase once attached
    std::unique_ptr<qd::EditorPanel> mPanel;
    std::string mSettingsPath;
    std::string mCacheFolder;
    const DeviceSettings* mDevices = nullptr;

    // Written on the MIDI thread under the plug-in mutex.
    uint8_t mNoteStates[128] = {};
    int mHeldNotes = 0;
    std::atomic<bool> mKeyboardChanged{false};

    int mKeyboardChannel = 0;
    bool mOutputOff = true;
    qd::Skin mSkin = qd::kSkinSpace;
    bool mManagerView = false;

    int mProgram[qd::kProgramEntryCount] = {};
    int mFlexiDest[qd::kFlexiSlotCount] = {-1, -1, -1, -1};

    CMN_TypedBuf<BankSlot> mBankSlots{4096};
    CMN_TypedBuf<ProgramListRow> mProgramRows{4096};
    int mManagerFlags[3] = {};
    int mManagerMode = 0;
};
