// The plug-in core: the parameters, the graphics it owns, and the hooks through
// which the GUI and the host reach the plug-in.
#pragma once

#include "common/mutex.h"
#include "common/ptr_list.h"
#include "plug/live_edit_state.h"
#include "plug/midi_message.h"
#include "plug/param.h"

class IGraphics;
class IModuleGUIResize;

// The plug-in's effect name; the GUI-resize control appends it to the application
// support folder to find its settings.
inline constexpr const char* kPlugEffectName = "RODiradu4";

class IModuleBase {
public:
    explicit IModuleBase(int nParams);
    virtual ~IModuleBase();
    IModuleBase(const IModuleBase&) = delete;
    IModuleBase& operator=(const IModuleBase&) = delete;

    // Parameter i, or null for an index that names no parameter.
    IParam* GetParam(int idx) const { return mParams.Get(idx); }
    int NParams() const { return mParams.GetSize(); }

    IGraphics* GetGUI() const { return mGraphics; }
    // Null while the plug-in has no GUI-resize control.
    IModuleGUIResize* GetGUIResize() const { return mGUIResize; }
    // The plug-in owns the control until AttachGraphics hands it to the graphics.
    void SetGUIResize(IModuleGUIResize* resize);
    LiveEditState* GetLiveEditState() const { return mLiveEditState; }
    CMN_Mutex* GetMutex() { return &mMutex; }

    // Hooks whose defaults do nothing; the plug-in overrides what it needs.
    virtual void OnParamChange(int /*paramIdx*/) {}
    virtual void OnIdle() {}
    virtual void ApplyViewLayout(int /*viewMode*/, double /*width*/, double /*height*/) {}
    virtual void ReloadGUIScale();

    // Parameter setters and the GUI link, with working defaults.
    virtual void SetParameterFromGUI(int paramIdx, double normalizedValue);
    virtual void SetParameterFromGUI2(int paramIdx, double value);
    virtual void RedrawParamControls();
    virtual void AttachGraphics(IGraphics* graphics);

    // Sends nothing and reports failure unless a form of the plug-in has an output.
    virtual bool SendSysEx(ISysExMessage* /*msg*/) { return false; }

    // Supplied by the form the plug-in runs in (the standalone application).
    virtual void InformHostOfParamChange(int paramIdx, double normalizedValue) = 0;
    virtual void BeginInformHostOfParamChange(int paramIdx) = 0;
    virtual void EndInformHostOfParamChange(int paramIdx) = 0;
    virtual void ResizeGraphics(int width, int height) = 0;
    virtual bool SendMidiMsg(IMidiMessage* msg) = 0;

    void RecordLiveEditLayout(IGraphics* graphics);
    void DestroyLiveEditState();

protected:
    CMN_PtrList<IParam> mParams;
    IGraphics* mGraphics = nullptr;
    IModuleGUIResize* mGUIResize = nullptr;
    LiveEditState* mLiveEditState = nullptr;
    CMN_Mutex mMutex;
};
