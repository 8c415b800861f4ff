// Texts the user types: a click opens a text entry without a parameter, and the
// entered text comes back through TextFromTextEntry.
#pragma once

#include "common/cmn_string.h"
#include "common/heap_buf.h"
#include "gui/control.h"

class IUserTextControl : public IControl {
public:
    // A style with the secure entry kind makes a password field.
    IUserTextControl(IModuleBase* plug, const IRECT& rect, const IText* pText, const char* str = "");
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void TextFromTextEntry(const char* str) override;
    bool Draw(IGraphics* pGraphics) override;

    void SetText(const char* str);
    // The text with its terminating zero; an empty buffer when it cannot grow.
    void GetText(CMN_HeapBuf* pOut) const;
    using IControl::GetText;  // the style, still reachable beside the text
    const char* GetTextString() const { return mStr.Get(); }
    bool IsSecure() const { return mSecure; }

protected:
    CMN_String mStr{nullptr, 128};
    bool mSecure;
};

// A text display with typed entry.
class AlgDisplay : public IControl {
public:
    AlgDisplay(IModuleBase* plug, const IRECT& rect, const IText* pText = nullptr, const char* str = "");
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void TextFromTextEntry(const char* str) override;
    bool Draw(IGraphics* pGraphics) override;

protected:
    CMN_String mStr{nullptr, 128};
};

// Longest text a text entry hands back; more is cut off.
inline constexpr int kMaxEnteredText = 65536;
