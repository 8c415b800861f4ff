#include "editor/qd_editor.h"

#include <algorithm>
#include <cstring>

#include "editor/menu_commands.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "screens/keyboard_control.h"
#include "screens/skin_choice.h"
#include "winapi/profile.h"

namespace {

// Sync divisions the LFO rate and the delay times take while they follow MIDI clock.
constexpr int kSyncedMin = 1;
constexpr int kSyncedMax = 12;
constexpr int kLfoRateParam = 45;
constexpr int kDelayTimeParams[] = {138, 142};
constexpr int kFirstFlexiRangeParam = 231;

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
    SetGUIResize(resize);
    CreateGUI(false);
    for (int p = qd::kFirstProgramParam; p < qd::kFirstProgramParam + kValueTextCount; ++p) RefreshValueText(p);

    SendKobrelGreeting();
}

QDEditor::~QDEditor() {
    if (!mSettingsPath.empty())
        WritePrivateProfileString("gui", "manager", mManagerView ? "true" : "false", mSettingsPath.c_str());
    DeleteUnattachedValueTexts();
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
        for (int n = 0; qd::ParamDisplayText(spec, n, text, sizeof text); ++n) param->SetDisplayText(spec.min + n, text);
    }
}

void QDEditor::OnParamChange(int paramIdx) {
    IParam* param = GetParam(paramIdx);
    if (!param) return;
    const int entry = paramIdx - qd::kFirstProgramParam;
    if (entry >= 0 && entry < qd::kProgramEntryCount) mProgram[entry] = param->Int();
    RefreshValueText(paramIdx);
    ReactOnScreen(paramIdx);
}

void QDEditor::OnIdle() {
    // The MIDI thread only raises the flag; the keyboard is redrawn from here, on the
    // thread that owns the controls.
    if (mKeyboardChanged.exchange(false) && mKeyboard) mKeyboard->SetDirty(false);
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
        case qd::kMenuAbout: ShowAboutBox(); return true;
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
    if (!mKeyboard || note < 0 || note > 127 || OutputOff()) return;
    const uint8_t key = uint8_t(note);
    if (on) {
        const double velocity = mKeyboard ? mKeyboard->Velocity() : 0.0;
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
    // -1 marks a slot without a destination; it names no knob.
    if (programIndex < 0) return false;
    bool found = false;
    for (int n = 0; n < kFlexiSlots; ++n) {
        if (mFlexiDest[n] != programIndex) continue;
        found = true;
        if (mGraphicsMac) {
            mGraphicsMac->HideControl(kFirstFlexiRangeParam + 2 * n, hide);
            mGraphicsMac->HideControl(kFirstFlexiRangeParam + 2 * n + 1, hide);
        }
    }
    return found;
}

void QDEditor::SetFlexiDestination(int slot, int programIndex) {
    if (slot < 0 || slot >= kFlexiSlots) return;
    mFlexiDest[slot] = programIndex >= 0 && programIndex < qd::kProgramEntryCount ? programIndex : -1;
}

void QDEditor::UpdateLfoSyncRanges(int mode) { SetSyncedRange(kLfoRateParam, mode != 0); }

void QDEditor::UpdateDelaySyncRanges(int mode) {
    for (int p : kDelayTimeParams) SetSyncedRange(p, mode != 0);
}

void QDEditor::SetSyncedRange(int paramIdx, bool synced) {
    const qd::ParamSpec& spec = qd::kParamTable[paramIdx];
    const int lo = synced ? kSyncedMin : spec.min;
    const int hi = synced ? kSyncedMax : spec.max;
    auto reinit = [&](int idx) {
        IParam* param = GetParam(idx);
        if (!param) return;
        // The value survives the new range, clamped into it.
        const double value = param->Value();
        param->InitInt(qd::kParamTable[idx].name, qd::kParamTable[idx].defaultValue, lo, hi);
        param->Set(value);
        if (mGraphics) mGraphics->SetParameterFromPlug(idx, param->GetNormalized(), true);
    };
    CMN_MutexLock lock(mMutex);
    reinit(paramIdx);
    const int entry = paramIdx - qd::kFirstProgramParam;
    for (int n = 0; n < kFlexiSlots; ++n) {
        if (mFlexiDest[n] != entry) continue;
        reinit(kFirstFlexiRangeParam + 2 * n);
        reinit(kFirstFlexiRangeParam + 2 * n + 1);
    }
}

void QDEditor::ProcessKeyboardMidi(const IMidiMessage& msg) {
    const int kind = msg.mStatus & 0xF0;
    // A Note On of velocity 0 is a Note Off by the MIDI convention running status uses.
    const bool on = kind == 0x90 && msg.mData2 > 0;
    const bool off = kind == 0x80 || (kind == 0x90 && msg.mData2 == 0);
    if (!on && !off) return;
    {
        CMN_MutexLock lock(mMutex);
        uint8_t& state = mNoteStates[msg.mData1 & 0x7F];
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

ITextControl* QDEditor::ValueText(int paramIdx) const {
    const int slot = paramIdx - qd::kFirstProgramParam;
    return slot >= 0 && slot < kValueTextCount ? mValueTexts[slot] : nullptr;
}

void QDEditor::ApplyScale(double scale) {
    if (!mGUIResize) return;
    mGUIResize->SetGUIScaleRatio(scale);
    mGUIResize->ResizeToStoredScale();
}

void QDEditor::SendKobrelGreeting() {
    if (!mDevices || !std::strstr(mDevices->mOutDevice, "Kobrel")) return;
    static const uint8_t kGreeting[] = {0xF0, 0x00, 0x21, 0x11, 0x04, 0x02, 0x72, 0x00, 0xF7};
    ISysExMessage msg(0, kGreeting, int(sizeof kGreeting));
    SendSysEx(&msg);
}
