#include "gui/igraphics_mac.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <mutex>
#include <set>

#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "platform/folders.h"
#include "platform/platform.h"
#include "raster/png.h"

namespace {

platform::Backend* Backend() { return platform::CurrentBackend(); }

// URLs are made of ASCII; the C classes would, in a single-byte locale, take accented
// letters for letters and leave them unescaped.
bool IsAsciiAlpha(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool IsAsciiAlnum(unsigned char c) { return IsAsciiAlpha(c) || (c >= '0' && c <= '9'); }

struct ImageFailures {
    std::mutex mutex;
    ImageFailureHandler handler;
    std::set<std::string> told;  // a file is read again at each rescale: it is told once
};

ImageFailures& Failures() {
    static ImageFailures failures;
    return failures;
}

void ReportImageFailure(const std::string& path, const std::string& why) {
    ImageFailures& f = Failures();
    std::lock_guard lock(f.mutex);
    if (!f.told.insert(path).second) return;
    const std::string line = "Panel image " + path + " could not be loaded: " + why + ".";
    if (f.handler)
        f.handler(line);
    else
        std::cerr << line << std::endl;
}

}  // namespace

void SetImageFailureHandler(ImageFailureHandler handler) {
    ImageFailures& f = Failures();
    std::lock_guard lock(f.mutex);
    f.handler = std::move(handler);
}

PIX_IBitmap* LoadImageFromBundle(const char* bundleID, const char* fileName) {
    if (!bundleID || !fileName) return nullptr;
    std::string name = fileName;
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || !CMN_EqualNoCase(std::string_view(name).substr(dot + 1), "png")) return nullptr;
    platform::BundleInfo bundle;
    if (!platform::FindBundle(bundleID, &bundle)) return nullptr;
    std::string resource = name.substr(0, dot);
    if (resource.empty()) return nullptr;
    std::string path = platform::PathForResource(bundle, resource, "png");
    if (path.empty()) return nullptr;
    std::string why;
    PIX_IBitmap* image = PIX_LoadPNG(path.c_str(), nullptr, &why);
    if (!image) ReportImageFailure(path, why);
    return image;
}

std::string MakeOpenableURL(const char* text) {
    if (!text || !*text) return {};
    std::string s = text;
    // A scheme of two or more characters: one letter would be a drive name elsewhere.
    size_t colon = s.find(':');
    bool hasScheme = colon != std::string::npos && colon >= 2 && IsAsciiAlpha(s[0]);
    for (size_t i = 1; hasScheme && i < colon; ++i) {
        char c = s[i];
        hasScheme = IsAsciiAlnum(c) || c == '+' || c == '-' || c == '.';
    }
    if (hasScheme) {
        if (colon + 1 >= s.size()) return {};
        for (char c : s)
            if ((unsigned char)c <= 0x20 || c == 0x7f) return {};  // not a URL as written
        return s;
    }
    std::string path = s;
    if (path[0] != '/') {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) return {};
        path = std::string(cwd) + "/" + path;
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (IsAsciiAlnum(c) || std::strchr("/-._~!$&'()*+,;=:@", c))
            url += char(c);
        else
            url += {'%', kHex[c >> 4], kHex[c & 15]};
    }
    return url;
}

IGraphicsMac::IGraphicsMac(IModuleBase* plug, int width, int height, int fps) : IGraphics(plug, width, height, fps) {}

IGraphicsMac::~IGraphicsMac() {
    CloseChildWindow();
    CloseWindow();
}

bool IGraphicsMac::DrawScreen(IRECT* pR) {
    // A redraw that is not shown at double density leaves the copy behind.
    const ScreenCopyOf taken = mScreenCopyOf;
    mScreenCopyOf = {};
    if (!mView || !mView->nativeView()) return false;
    platform::View* view = mView->nativeView();
    if (!view->HasDrawContext()) return false;
    PIX_SysBitmap* bm = GetDrawBitmap();
    if (!PIX_HasPixels(bm)) return false;  // no image can be made of no pixels

    const uint8_t* pixels = static_cast<const uint8_t*>(bm->getBits());
    int w = bm->getWidth(), h = bm->getHeight(), span = bm->getRowSpan();
    if (view->BackingScaleFactor() > 1.9) {
        // Each pixel becomes a 2 x 2 block, so the desktop does not smooth the panel.
        const int span2 = (2 * w + 3) & ~3;
        const int64_t bytes = int64_t(2 * h) * span2 * 4 + 32;
        // A size the buffer refuses leaves its size as it was, and the panel is shown unscaled.
        void* block = mScreenCopy.Resize(bytes, false);
        if (mScreenCopy.GetSize() == bytes) {
            auto* dst = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(block) + 31) & ~uintptr_t(31));
            // The desktop shows only the rectangle being drawn, which is all that changed
            // since the copy was last taken; a new copy, or one of another back buffer, is
            // taken whole.
            const ScreenCopyOf now{dst, bm->getBits(), w, h};
            IRECT area(0, 0, w, h);
            if (pR && now == taken)
                area = IRECT(std::max(pR->L, 0), std::max(pR->T, 0), std::min(pR->R, w), std::min(pR->B, h));
            mScreenCopyOf = now;
            const auto* src = static_cast<const uint32_t*>(bm->getBits());
            for (int y = area.T; y < area.B; ++y) {
                const uint32_t* s = src + int64_t(y) * span;
                uint32_t* d0 = dst + int64_t(2 * y) * span2;
                uint32_t* d1 = d0 + span2;
                for (int x = area.L; x < area.R; ++x) d0[2 * x] = d0[2 * x + 1] = d1[2 * x] = d1[2 * x + 1] = s[x];
            }
            pixels = reinterpret_cast<const uint8_t*>(dst);
            w *= 2;
            h *= 2;
            span = span2;
        }
    }
    return view->DrawImage({pixels, w, h, span * 4}, {0, 0, double(Width()), double(Height())});
}

void IGraphicsMac::EndUserInput() {
    if (mView) mView->endUserInput();
}

void IGraphicsMac::Resize(int width, int height) {
    mBackEndWidth = width;
    mBackEndHeight = height;
    IGraphics::Resize(width, height);
    if (mView && mView->nativeView()) {
        mView->nativeView()->SetFrameSize(width, height);
        mView->nativeView()->SetNeedsDisplay();
    }
}

int IGraphicsMac::ShowMessageBox(const char* text, const char* caption, int type) {
    platform::Backend* backend = Backend();
    if (!backend) return 0;
    platform::AlertSetup setup;
    setup.header = caption ? caption : "";
    setup.message = text ? text : "";
    switch (type) {
        case 4: setup.defaultButton = "Yes", setup.alternateButton = "No"; break;
        case 3: setup.defaultButton = "Yes", setup.alternateButton = "No", setup.otherButton = "Cancel"; break;
        case 1: setup.alternateButton = "Cancel"; break;
        default: break;
    }
    const bool hasCancel = type == 1 || type == 3;
    platform::AlertResponse response = platform::AlertResponse::Closed;
    // The watchdog asks from its own thread; the alert runs where the windows live.
    backend->PerformOnMainThreadAndWait([&] { response = backend->RunAlert(setup); });
    switch (response) {
        case platform::AlertResponse::Default: return 1;
        case platform::AlertResponse::Alternate: return setup.alternateButton == "Cancel" ? 2 : 7;
        case platform::AlertResponse::Other: return 2;
        case platform::AlertResponse::Closed: return hasCancel ? 2 : 0;
    }
    return 0;
}

IPopupMenu* IGraphicsMac::CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pR) {
    ClearMouseCapture();
    if (!mView || !pMenu || !pR) return nullptr;
    return mView->createIPopupMenu(pMenu, IGraphicsCocoa_vQDEditor_sa::ToViewRect(*pR, Height()));
}

void IGraphicsMac::CreateTextEntry(IControl* pControl, IText* pText, IRECT* pR, const char* str, IParam* pParam) {
    if (!mView || !pR) return;
    mView->createTextEntry(pControl, pParam, pText, str, IGraphicsCocoa_vQDEditor_sa::ToViewRect(*pR, Height()));
}

void IGraphicsMac::HostPath(CMN_String* pPath) {
    platform::BundleInfo b;
    if (pPath && platform::FindBundle(ToNSString(mBundleID.Get()), &b) && !b.executablePath.empty())
        pPath->Set(b.executablePath.c_str());
}

void IGraphicsMac::PluginPath(CMN_String* pPath) {
    platform::BundleInfo b;
    if (!pPath || !platform::FindBundle(ToNSString(mBundleID.Get()), &b) || b.bundlePath.empty()) return;
    std::string folder = b.bundlePath.substr(0, b.bundlePath.rfind('/') + 1);
    if (folder.empty()) return;
    pPath->Set(folder.c_str());
}

void IGraphicsMac::DesktopPath(CMN_String* pPath) {
    if (pPath) pPath->Set(platform::UserFolderPath(platform::UserFolder::Desktop).c_str());
}

void IGraphicsMac::DocumentsPath(CMN_String* pPath) {
    if (pPath) pPath->Set(platform::UserFolderPath(platform::UserFolder::Documents).c_str());
}

void IGraphicsMac::AppSupportPath(CMN_String* pPath, bool isSystem) {
    if (pPath) pPath->Set(platform::ConfigDirectory(isSystem).c_str());
}

void IGraphicsMac::MusicPath(CMN_String* pPath) {
    if (pPath) pPath->Set(platform::UserFolderPath(platform::UserFolder::Music).c_str());
}

void IGraphicsMac::PromptForFile(CMN_String* pFilename, int action, CMN_String* pDir, const char* extensions) {
    if (!pFilename) return;
    platform::Backend* backend = Backend();
    if (!WindowIsOpen() || !backend) {
        pFilename->Set("");
        return;
    }
    platform::FilePanelSetup setup;
    setup.save = action == 1;
    setup.fileName = pFilename->Get();
    if (pDir && pDir->GetLength() > 0) {
        setup.directory = pDir->Get();
    } else {
        // The folder string keeps a real path: a literal "~" is no folder to open.
        setup.directory = platform::UserFolderPath(platform::UserFolder::Desktop);
        if (pDir) pDir->Set(setup.directory.c_str());
    }
    pFilename->Set("");
    for (const char* p = extensions ? extensions : ""; *p;) {
        const char* end = std::strchr(p, ' ');
        if (!end) end = p + std::strlen(p);
        if (end > p) setup.allowedTypes.emplace_back(p, end);
        p = *end ? end + 1 : end;
    }
    std::string chosen = backend->RunFilePanel(setup);
    if (chosen.empty()) return;
    pFilename->Set(chosen.c_str());
    if (pDir) pDir->Set(chosen.substr(0, chosen.rfind('/') + 1).c_str());
}

bool IGraphicsMac::OpenURL(const char* url) {
    std::string u = MakeOpenableURL(url);
    platform::Backend* backend = Backend();
    if (u.empty() || !backend) return false;
    return backend->OpenURL(u);
}

void* IGraphicsMac::OpenWindow(void* pParentView) {
    CloseWindow();
    if (!Backend()) return nullptr;
    mView = new IGraphicsCocoa_vQDEditor_sa(this, static_cast<platform::Window*>(pParentView));
    if (!mView->nativeView()) {
        delete mView;
        mView = nullptr;
        return nullptr;
    }
    RegisterToolTips();
    return mView;
}

void IGraphicsMac::OpenChildWindow(void* pParentWindow) {
    platform::Backend* backend = Backend();
    if (!backend || !pParentWindow) return;
    CloseChildWindow();
    mParentWindow = static_cast<platform::Window*>(pParentWindow);
    const platform::Rect parent = mParentWindow->ScreenFrame();
    int x = int(parent.x);
    if (parent.width > Width()) x += int(std::floor((parent.width - Width()) * 0.5));
    mChildWindow = backend->CreateWindow("", Width(), Height(), true);
    mChildWindow->SetTransientFor(mParentWindow);
    mChildWindow->SetPosition(x, int(parent.y));
    OpenWindow(mChildWindow.get());
    mChildWindow->Show();
}

void IGraphicsMac::CloseChildWindow() {
    if (!mChildWindow) return;
    CloseWindow();
    mChildWindow->Hide();
    mChildWindow.reset();
    mParentWindow = nullptr;
}

void IGraphicsMac::CloseWindow() {
    if (!mView) return;
    IGraphicsCocoa_vQDEditor_sa* view = mView;
    mView = nullptr;
    view->removeAllToolTips();
    view->killTimer();
    if (view->graphics() == this) {
        view->detachGraphics();
        view->removeFromSuperview();
        delete view;
    }
}

bool IGraphicsMac::GetTextFromClipboard(CMN_String* pStr) {
    std::string text;
    platform::Backend* backend = Backend();
    if (backend && backend->ClipboardText(&text)) {
        if (pStr) pStr->Set(text.c_str());
        return true;
    }
    if (pStr) pStr->Set("");
    return false;
}

void IGraphicsMac::HideMouseCursor() {
    platform::Backend* backend = Backend();
    if (mCursorHidden || !backend) return;
    if (backend->HideCursor()) mCursorHidden = true;
    platform::Point p = backend->MouseLocation();
    mHiddenCursorX = int(p.x);
    mHiddenCursorY = int(p.y);
}

void IGraphicsMac::ShowMouseCursor() {
    platform::Backend* backend = Backend();
    if (!mCursorHidden || !backend) return;
    backend->WarpCursor({double(mHiddenCursorX), double(mHiddenCursorY)});
    if (backend->ShowCursor()) mCursorHidden = false;
}

void IGraphicsMac::RegisterToolTips() {
    if (!mView || !TooltipsEnabled()) return;
    mView->removeAllToolTips();
    for (int i = 0; i < NControls(); ++i) {
        IControl* c = GetControl(i);
        if (c && !c->IsHidden() && !c->GetTargetRECT()->Empty()) mView->registerToolTip(c->GetTargetRECT());
    }
}

PIX_IBitmap* IGraphicsMac::OSLoadBitmap(int, const char* fileName) {
    return LoadImageFromBundle(mBundleID.Get(), fileName);
}
