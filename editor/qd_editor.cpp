#include "editor/qd_editor.h"

#include <algorithm>
#include <cstring>

#include "editor/menu_commands.h"
#include "editor/skin_choice.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "winapi/profile.h"

using namespace qd::param;

namespace {

constexpr int kGripSize = 16;
constexpr double kMinScalePercent = 50, kMaxScalePercent = 200;

constexpr uint8_t kSysExNoteOn = 0x50;
constexpr uint8_t kSysExNoteOff = 0x51;

}  // namespace

QDEditor::QDEditor(const QDEditorSetup& setup)
    : IModuleStandalone(qd::kParamCount, setup.midiOut), mSettingsPath(setup.settingsPath), mDevices(setup.devices) {
    DeclareParams();
    for (int e = 0; e < qd::kProgramEntryCount; ++e) mProgram[e] = GetParam(e + qd::kFirstProgramParam)->Int();
    mKeyboardChannel = GetPrivateProfileInt("midi", "kbdmidioutch", 0, mSettingsPath.c_str()) & 15;
    OutputOff();

    mGraphicsMac = new IGraphicsMac(this, kWidth, kHeight, 0);
    mGraphicsMac->SetBundleID(setup.bundleID.c_str());
    mGraphicsMac->SetResourceScale(kResourceScale);
    auto* resize = new IModuleGUIResize(this, mGraphicsMac, kGripSize, kGripSize);
    resize->EnableGUIScaling();
    resize->SelectViewMode(0);
    resize->SetGUIScaleLimits(kMinScalePercent, kMaxScalePercent);
    resize->SetWindowSizeLimits(0, kWidth / 2, kHeight / 2, kWidth * 2, kHeight * 2);
    resize->UseControlAndClickForGUIScaling(true);
    // Fitted before the panel is attached: the attach brings every image to the scale
    // the window opens at, and the shell's fit finds nothing left to lower.
    resize->FitStoredScaleToArea(setup.fitWidth, setup.fitHeight);
    SetGUIResize(resize);
    if (setup.makePanel) mPanel = setup.makePanel(*this);
    CreateGUI(false);
    if (mPanel) mPanel->RefreshValueTexts();

    SendKobrelGreeting();
}

QDEditor::~QDEditor() {
    if (!mSettingsPath.empty())
        WritePrivateProfileString("gui", "manager", mManagerView ? "true" : "false", mSettingsPath.c_str());
    // The panel goes while the graphics are there: it frees the controls it made but
    // never attached.
    mPanel.reset();
    // Graphics that were never attached are not the base's to delete.
    if (mGraphicsMac && mGraphics != mGraphicsMac) delete mGraphicsMac;
    mGraphicsMac = nullptr;
}

void QDEditor::DeclareParams() {
    char text[kParamTextFieldSize];
    for (int i = 0; i < qd::kParamCount; ++i) {
        const qd::ParamSpec& spec = qd::kParamTable[i];
        IParam* param = GetParam(i);
        switch (spec.kind) {
            case qd::ParamKind::kBool: param->InitBool(spec.name, spec.defaultValue != 0); break;
            case qd::ParamKind::kInt: param->InitInt(spec.name, spec.defaultValue, spec.min, spec.max); break;
            case qd::ParamKind::kEnum: param->InitEnum(spec.name, spec.defaultValue, spec.max + 1); break;
            case qd::ParamKind::kDouble:
                param->InitDouble(spec.name, spec.defaultValue, spec.min, spec.max, 0.001);
                break;
        }
        for (int n = 0; qd::ParamDisplayText(spec, n, text, sizeof text); ++n)
            param->SetDisplayText(spec.min + n, text);
    }
}

void QDEditor::OnParamChange(int paramIdx) {
    IParam* param = GetParam(paramIdx);
    if (!param) return;
    const int entry = paramIdx - qd::kFirstProgramParam;
    if (entry >= 0 && entry < qd::kProgramEntryCount) mProgram[entry] = param->Int();
    if (mPanel) mPanel->OnParamChange(paramIdx);
}

void QDEditor::OnIdle() {
    // The MIDI thread only raises the flag; the keyboard is redrawn from here, on the
    // thread that owns the controls.
    if (mKeyboardChanged.exchange(false) && mPanel) mPanel->RedrawKeyboard();
}

bool QDEditor::OnMenuCommand(int command) {
    if (const double scale = qd::ScaleForMenuCommand(command); scale > 0.0) {
        ApplyScale(scale);
        return true;
    }
    switch (command) {
        case qd::kMenuManagerView:
            mManagerView = !mManagerView;
            SetManagerPanelHidden(!mManagerView);
            return true;
        case qd::kMenuAbout:
            if (mPanel) mPanel->ShowAboutBox();
            return true;
        case qd::kMenuSkinSpace:
        case qd::kMenuSkinSolid:
        case qd::kMenuSkinLcd: {
            const auto skin = qd::Skin(command - qd::kMenuSkinSpace);
            WritePrivateProfileString("gui", "background", qd::SkinSettingName(skin), mSettingsPath.c_str());
            return true;
        }
        default: return false;
    }
}

bool QDEditor::OutputOff() {
    if (mDevices) mOutputOff = mDevices->OutputIsOff();
    return mOutputOff;
}

void QDEditor::PlayKeyboardNote(int note, bool on) {
    // A note above 127 would put a status byte where a data byte belongs and derail
    // the instrument's MIDI parser; without the keyboard there is no velocity to play.
    double velocity = 0.0;
    if (!mPanel || !mPanel->KeyboardVelocity(&velocity) || note < 0 || note > 127 || OutputOff()) return;
    const uint8_t key = uint8_t(note);
    if (on) {
        const int v = std::clamp(int(velocity * 126.0 + 0.5) + 1, 1, 127);
        IMidiMessage msg;
        msg.MakeNoteOnMsg(note, v, 0, mKeyboardChannel);
        SendMidiMsg(&msg);
        const uint8_t sysex[] = {0xF0, 0x00, 0x21, 0x11, 0x05, kSysExNoteOn, key, uint8_t(v), 0xF7};
        ISysExMessage sx(0, sysex, int(sizeof sysex));
        SendSysEx(&sx);
    } else {
        IMidiMessage msg;
        msg.MakeNoteOffMsg(note, 0, mKeyboardChannel);
        SendMidiMsg(&msg);
        const uint8_t sysex[] = {0xF0, 0x00, 0x21, 0x11, 0x05, kSysExNoteOff, key, 0x00, 0xF7};
        ISysExMessage sx(0, sysex, int(sizeof sysex));
        SendSysEx(&sx);
    }
}

bool QDEditor::RefreshFlexiTargets(int programIndex, bool hide) {
    return mPanel && mPanel->RefreshFlexiTargets(programIndex, hide);
}

void QDEditor::SetFlexiDestination(int slot, int programIndex) {
    if (slot < 0 || slot >= qd::kFlexiSlotCount) return;
    mFlexiDest[slot] = programIndex >= 0 && programIndex < qd::kProgramEntryCount ? programIndex : -1;
}

void QDEditor::UpdateLfoSyncRanges(int mode) {
    if (mPanel) mPanel->UpdateLfoSyncRanges(mode);
}

void QDEditor::UpdateDelaySyncRanges(int mode) {
    if (mPanel) mPanel->UpdateDelaySyncRanges(mode);
}

void QDEditor::SetParamRange(int paramIdx, int min, int max) {
    IParam* param = GetParam(paramIdx);
    if (!param) return;
    CMN_MutexLock lock(mMutex);
    const double value = param->Value();
    param->InitInt(qd::kParamTable[paramIdx].name, qd::kParamTable[paramIdx].defaultValue, min, max);
    param->Set(value);
    if (mGraphics) mGraphics->SetParameterFromPlug(paramIdx, param->GetNormalized(), true);
}

void QDEditor::ProcessKeyboardMidi(const IMidiMessage& msg) {
    const int kind = msg.status & 0xF0;
    // A Note On of velocity 0 is a Note Off by the MIDI convention running status uses.
    const bool on = kind == 0x90 && msg.data2 > 0;
    const bool off = kind == 0x80 || (kind == 0x90 && msg.data2 == 0);
    if (!on && !off) return;
    {
        CMN_MutexLock lock(mMutex);
        uint8_t& state = mNoteStates[msg.data1 & 0x7F];
        if (on && !state) {
            state = 1;
            ++mHeldNotes;
        } else if (off && state) {
            state = 0;
            --mHeldNotes;
        }
    }
    mKeyboardChanged = true;
}

uint8_t QDEditor::NoteState(int note) {
    if (note < 0 || note > 127) return 0;
    CMN_MutexLock lock(mMutex);
    return mNoteStates[note];
}

int QDEditor::HeldNotes() {
    CMN_MutexLock lock(mMutex);
    return mHeldNotes;
}

void QDEditor::ApplyScale(double scale) {
    if (!mGUIResize) return;
    mGUIResize->SetGUIScaleRatio(scale);
    mGUIResize->ResizeToStoredScale();
}

void QDEditor::SendKobrelGreeting() {
    if (!mDevices || !std::strstr(mDevices->outDevice, "Kobrel")) return;
    static const uint8_t kGreeting[] = {0xF0, 0x00, 0x21, 0x11, 0x04, 0x02, 0x72, 0x00, 0xF7};
    ISysExMessage msg(0, kGreeting, int(sizeof kGreeting));
    SendSysEx(&msg);
}

// ---- The panel ----

void QDEditor::CreateGUI(bool redPanelOnly) {
    IGraphicsMac* g = mGraphicsMac;
    if (redPanelOnly) {
        g->AttachPanelBackground(&COLOR_RED);
        return;
    }
    g->AttachPanelBackground(&COLOR_GRAY);

    char value[qd::kSkinSettingSize] = {};
    GetPrivateProfileString("gui", "background", "", value, sizeof value, mSettingsPath.c_str());
    const qd::SkinChoice choice = qd::ChooseSkin(value);
    if (choice.writeBack)
        WritePrivateProfileString("gui", "background", qd::SkinSettingName(qd::kSkinSpace), mSettingsPath.c_str());
    mSkin = choice.skin;
    if (choice.lcdBuilder)
        BuildLcdSkinLayout();
    else
        BuildOrigSkinLayout(choice.firstBackground);
    if (mPanel) mPanel->Build(qd::PanelPart::kKeyboard, mSkin);
    BuildManagerPanel();
    SetManagerPanelHidden(!mManagerView);
    if (mPanel) mPanel->Build(qd::PanelPart::kAboutBox, mSkin);

    AttachGraphics(g);

    if (mPanel) mPanel->SetTooltips();
    SetCaptionGroupHidden(true);
    SetOverdrivePanelHidden(true);
    SetEqualizerBandsHidden(true);
    SetEqualizerPanelHidden(true);
}

void QDEditor::BuildOrigSkinLayout(bool showFirstBackground) {
    if (mPanel) mPanel->Build(qd::PanelPart::kSynthPage, showFirstBackground ? qd::kSkinSpace : qd::kSkinSolid);
}

void QDEditor::BuildLcdSkinLayout() {
    if (mPanel) mPanel->Build(qd::PanelPart::kSynthPage, qd::kSkinLcd);
}

void QDEditor::BuildManagerPanel() {
    ResetManagerState();
    ReadManagerSettings();
    if (mPanel) mPanel->Build(qd::PanelPart::kManagerPage, mSkin);
}

void QDEditor::ResetManagerState() {
    std::memset(mManagerFlags, 0, sizeof mManagerFlags);
    mManagerMode = 0;
    const int had = mBankSlots.GetSize();
    mBankSlots.Resize(qd::manager::kBankSlots);
    for (int i = had; i < mBankSlots.GetSize(); ++i) *mBankSlots.GetAt(i) = BankSlot{};
    for (int i = 0; i < mBankSlots.GetSize(); ++i) mBankSlots.GetAt(i)->empty = true;
    // The one check box that starts on.
    SetParameterFromGUI(kAllCategories, 1.0);
    mManagerFlags[0] = 1;
}

void QDEditor::ReadManagerSettings() {
    // The cache is the folder that holds settings.ini, then "cache/".
    const size_t slash = mSettingsPath.find_last_of('/');
    mCacheFolder = (slash == std::string::npos ? std::string() : mSettingsPath.substr(0, slash)) + "/cache/";

    char value[16] = {};
    GetPrivateProfileString("gui", "manager", "", value, sizeof value, mSettingsPath.c_str());
    mManagerView = std::strcmp(value, "true") == 0;
    char memo[16] = {};
    GetPrivateProfileString("dbase", "memo", "", memo, sizeof memo, mSettingsPath.c_str());
    if (std::strcmp(memo, "true") == 0) SetParameterFromGUI(kRememberPassword, 1.0);
    if (std::strcmp(memo, "false") == 0) SetParameterFromGUI(kRememberPassword, 0.0);
}

void QDEditor::SetGroupHidden(qd::PanelGroup group, bool hide) {
    if (mPanel) mPanel->SetHidden(group, hide);
}

void QDEditor::SetManagerPanelHidden(bool hide) { SetGroupHidden(qd::kGroupManagerPage, hide); }
void QDEditor::SetManagerGroup1Hidden(bool hide) { SetGroupHidden(qd::kGroupManagerLogin, hide); }
void QDEditor::SetManagerGroup2Hidden(bool hide) { SetGroupHidden(qd::kGroupManagerDbMode, hide); }
void QDEditor::SetChorusPanelHidden(bool hide) { SetGroupHidden(qd::kGroupModulation, hide); }
void QDEditor::SetOverdrivePanelHidden(bool hide) { SetGroupHidden(qd::kGroupOverdrive, hide); }
void QDEditor::SetEqualizerBandsHidden(bool hide) { SetGroupHidden(qd::kGroupEqBands, hide); }
void QDEditor::SetEqualizerPanelHidden(bool hide) { SetGroupHidden(qd::kGroupEqGraph, hide); }
void QDEditor::SetRangeListHidden(bool hide) { SetGroupHidden(qd::kGroupRangeList, hide); }
void QDEditor::SetSourceListHidden(bool hide) { SetGroupHidden(qd::kGroupSourceList, hide); }
void QDEditor::SetCaptionGroupHidden(bool hide) { SetGroupHidden(qd::kGroupCaption, hide); }

void QDEditor::SetFlexiRangeControlsHidden(int slot, bool hide) {
    if (slot >= 0 && slot < qd::kFlexiSlotCount) SetGroupHidden(qd::PanelGroup(qd::kGroupFlexiRange1 + slot), hide);
}

void QDEditor::ApplyViewLayout(int viewMode, double, double) {
    if (viewMode == 0 && mPanel) mPanel->ApplyViewLayout();
}

void QDEditor::UpdateEqGraphFromParams() {
    if (mPanel) mPanel->UpdateEqGraph(true);
}

void QDEditor::UpdateEqGraphFromProgram() {
    if (mPanel) mPanel->UpdateEqGraph(false);
}
