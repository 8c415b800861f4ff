#include "gui/controls/user_text_controls.h"

#include <cstring>

#include "gui/controls/text_controls.h"
#include "gui/igraphics.h"
#include "plug/module_base.h"

namespace {

void OpenEntry(IControl* pControl, IModuleBase* plug, IText* pText, IRECT* pR, const char* str) {
    IGraphics* graphics = plug ? plug->GetGUI() : nullptr;
    if (graphics) graphics->CreateTextEntry(pControl, pText, pR, str, nullptr);
}

}  // namespace

IUserTextControl::IUserTextControl(IModuleBase* plug, const IRECT& rect, const IText* pText, const char* str)
    : IControl(plug, rect, -1) {
    if (pText) mText = *pText;
    mStr.Set(str ? str : "");
    mSecure = mText.entryKind == IText::kEntrySecure;
}

void IUserTextControl::OnMouseDown(int, int, IMouseMod*) { OpenEntry(this, mPlug, &mText, &mRECT, mStr.Get()); }

void IUserTextControl::TextFromTextEntry(const char* str) {
    mStr.Set(str ? str : "", kMaxEnteredText);
    SetDirty(false);
}

bool IUserTextControl::Draw(IGraphics* pGraphics) {
    return DrawTextInside(pGraphics, &mText, mSecure ? SecureMask(mStr.GetLength()) : mStr.Get(), mRECT);
}

void IUserTextControl::SetText(const char* str) {
    mStr.Set(str ? str : "");
    SetDirty(false);
}

void IUserTextControl::GetText(CMN_HeapBuf* pOut) const {
    const int size = mStr.GetLength() + 1;
    pOut->Resize(size, false);
    if (pOut->GetSize() != size) {
        pOut->Resize(0);
        return;
    }
    std::memcpy(pOut->Get(), mStr.Get(), size);
}

AlgDisplay::AlgDisplay(IModuleBase* plug, const IRECT& rect, const IText* pText, const char* str)
    : IControl(plug, rect, -1) {
    if (pText) mText = *pText;
    mStr.Set(str ? str : "");
}

void AlgDisplay::OnMouseDown(int, int, IMouseMod*) { OpenEntry(this, mPlug, &mText, &mRECT, mStr.Get()); }

void AlgDisplay::TextFromTextEntry(const char* str) {
    mStr.Set(str ? str : "", kMaxEnteredText);
    SetDirty(false);
}

bool AlgDisplay::Draw(IGraphics* pGraphics) {
    DrawTextInside(pGraphics, &mText, mStr.Get(), mRECT);
    return true;
}
