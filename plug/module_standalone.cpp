#include "plug/module_standalone.h"

IModuleStandalone::IModuleStandalone(int nParams, IMidiOutput* midiOut) : IModuleBase(nParams), mMidiOut(midiOut) {}

void IModuleStandalone::ResizeGraphics(int width, int height) {
    int left = 0, top = 0, right = 0, bottom = 0;
    if (mMainWindow && mMainWindow->GetRect(&left, &top, &right, &bottom)) {
        // The top-left corner stays; the window manager owns the title bar, so the size
        // asked for is the content's own.
        mMainWindow->SetPosition(left, top, width, height);
    }
    OnWindowResize();
}

bool IModuleStandalone::SendMidiMsg(IMidiMessage* msg) {
    if (!mMidiOut || !msg) return false;
    const int size = msg->WireLength();
    if (size == 0) return false;
    const uint8_t bytes[3] = {msg->status, msg->data1, msg->data2};
    return mMidiOut->SendMessage(bytes, size);
}

bool IModuleStandalone::SendSysEx(ISysExMessage* msg) {
    if (!mMidiOut || !msg || !msg->data || msg->size <= 0) return false;
    return mMidiOut->SendMessage(msg->data, msg->size);
}
