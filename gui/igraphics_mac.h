// The window back end of the GUI engine: it owns the panel view, shows the back
// buffer, loads skin images from the application bundle's resources, and supplies the
// system services (message boxes, menus, text entry, folders, file panels, URLs,
// clipboard, cursor, tooltips) through the platform layer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/cmn_string.h"
#include "common/heap_buf.h"
#include "gui/igraphics.h"

namespace platform {
class Window;
}
class IGraphicsCocoa_vQDEditor_sa;

// A skin image from the bundle's resources: the name must end in ".png" (any letter
// case) and is looked up as "<name without extension>.png". Null when it cannot be had;
// a file there that cannot be decoded is told once (below).
PIX_IBitmap* LoadImageFromBundle(const char* bundleID, const char* fileName);

// Gets, once per file, a line naming a skin image that could not be loaded and why; the
// panel goes on without it. Process-wide; without a handler the line goes to standard
// error.
using ImageFailureHandler = std::function<void(const std::string& line)>;
void SetImageFailureHandler(ImageFailureHandler handler);

// The URL that OpenURL hands to the desktop: a text that starts with a URL scheme is
// taken as it is, anything else as a file path. Empty when no URL can be made.
std::string MakeOpenableURL(const char* text);

class IGraphicsMac : public IGraphics {
public:
    IGraphicsMac(IModuleBase* plug, int width, int height, int fps = 0);
    ~IGraphicsMac() override;

    bool DrawScreen(IRECT* pR) override;
    void EndUserInput() override;
    void Resize(int width, int height) override;
    bool WindowIsOpen() override { return mView != nullptr; }
    const char* GetGUIAPI() override { return "Cocoa GUI"; }
    int ShowMessageBox(const char* text, const char* caption, int type) override;
    IPopupMenu* CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pR) override;
    void CreateTextEntry(IControl* pControl, IText* pText, IRECT* pR, const char* str, IParam* pParam) override;
    void HostPath(CMN_String* pPath) override;
    void PluginPath(CMN_String* pPath) override;
    void DesktopPath(CMN_String* pPath) override;
    void DocumentsPath(CMN_String* pPath) override;
    void AppSupportPath(CMN_String* pPath, bool isSystem = false) override;
    void MusicPath(CMN_String* pPath) override;
    void PromptForFile(CMN_String* pFilename, int action, CMN_String* pDir, const char* extensions) override;
    bool UnusedOSQuery() override { return false; }
    bool OpenURL(const char* url) override;
    // `pParentView` is the platform::Window to show the panel in, or null.
    void* OpenWindow(void* pParentView) override;
    // `pParentWindow` is the platform::Window the borderless child window sits on.
    void OpenChildWindow(void* pParentWindow) override;
    void CloseChildWindow() override;
    void CloseWindow() override;
    void* GetWindow() override { return mView; }
    bool GetTextFromClipboard(CMN_String* pStr) override;
    void HideMouseCursor() override;
    void ShowMouseCursor() override;
    void RegisterToolTips() override;
    PIX_IBitmap* OSLoadBitmap(int id, const char* fileName) override;

    void SetBundleID(const char* id) { mBundleID.Set(id); }
    IGraphicsCocoa_vQDEditor_sa* GetView() const { return mView; }

private:
    IGraphicsCocoa_vQDEditor_sa* mView = nullptr;
    CMN_String mBundleID{nullptr, 128};
    CMN_HeapBuf mScreenCopy{4096};
    // Where the double-density copy's pixels start, and the back buffer they were taken
    // from: while all of it stays, a redraw copies only its rectangle again.
    struct ScreenCopyOf {
        const uint32_t* pixels = nullptr;
        const void* source = nullptr;
        int width = 0, height = 0;
        bool operator==(const ScreenCopyOf&) const = default;
    } mScreenCopyOf;
    platform::Window* mParentWindow = nullptr;
    std::unique_ptr<platform::Window> mChildWindow;
};
