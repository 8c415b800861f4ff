// Text through the cached font and the layer's own text drawing: fuzzed UTF-8, flags,
// formats, rectangles, colours and sizes (below and above the native-path line height),
// into plain bitmaps and into bitmaps with a drawing context larger than themselves.
// Pixels beyond a bitmap's width and height must never change.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_bodies.h"
#include "fuzz/fuzz_input.h"
#include "raster/cached_font.h"
#include "tests/raster/canary_bitmap.h"
#include "winapi/font.h"
#include "winapi/gdi.h"

namespace qdfuzz {
namespace {

constexpr uint32_t kFence = 0xdeadbeef;
// Cell heights below and above the native-path threshold (256) and the largest one
// that glyphs are rendered for (1023).
constexpr int kFonts = 5;
constexpr int kFirstNativeFont = 3;

// Font objects are slow to find and load, so each size is made once per process.
HGDIOBJ FontFor(int index) {
    struct Spec {
        int height;
        unsigned quality, pitch;
    };
    static const Spec kSpecs[kFonts] = {{12, 0, 0}, {-20, WAPI_QUALITY_MONO, 0}, {40, 0, WAPI_FIXED_PITCH},
                                        {300, 0, 0}, {1100, 0, 0}};
    static HGDIOBJ fonts[kFonts] = {};
    static bool made[kFonts] = {};
    const Spec& s = kSpecs[index];
    if (!made[index]) {
        fonts[index] = CreateFont(s.height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, s.quality, s.pitch, nullptr);
        made[index] = true;
    }
    return fonts[index];
}

// A bitmap with a drawing context whose storage reaches beyond the bitmap: rows wider
// than the width and, after a shrink, rows below the height. All of that is fenced.
struct ContextBitmap {
    ContextBitmap(int width, int height, int shrunkWidth, int shrunkHeight) : bm(width, height), fullHeight(height) {
        bm.resize(shrunkWidth, shrunkHeight);
        if (!bm.getBits()) return;
        auto* p = static_cast<uint32_t*>(bm.getBits());
        for (int64_t i = 0; i < int64_t(bm.getRowSpan()) * fullHeight; ++i) p[i] = Inside(i) ? 0 : kFence;
    }
    bool Inside(int64_t i) const { return i % bm.getRowSpan() < bm.getWidth() && i / bm.getRowSpan() < bm.getHeight(); }
    bool FenceIntact() const {
        const auto* p = static_cast<const uint32_t*>(bm.getBits());
        if (!p) return true;
        for (int64_t i = 0; i < int64_t(bm.getRowSpan()) * fullHeight; ++i)
            if (!Inside(i) && p[i] != kFence) return false;
        return true;
    }
    PIX_SysBitmap bm;
    int fullHeight;
};

// The layer's own text drawing on a memory context, with one of the shared fonts or
// (now and then, since finding a face is slow) a font of fuzzed size, width and style.
void DrawThroughContext(FuzzInput& in) {
    HGDIOBJ made = nullptr;
    HGDIOBJ font = FontFor(in.Below(kFonts));
    if (in.Below(8) == 0) {
        made = CreateFont(in.Int(), in.Int(), 0, 0, in.Int(), in.Byte(), 0, 0, 0, 0, 0, in.Byte(), in.Byte(), nullptr);
        font = made;
    }
    HDC dc = WAPI_CreateMemContext(nullptr, 1 + in.Below(16), 1 + in.Below(64));
    if (dc && font) {
        SelectObject(dc, font);
        SetTextColor(dc, in.U32());
        SetBkColor(dc, in.U32());
        SetBkMode(dc, in.Below(3));
        TEXTMETRIC tm;
        GetTextMetrics(dc, &tm);
        const std::string text = in.Text(24);
        RECT r{in.Int(), in.Int(), in.Int(), in.Int()};
        WAPI_DrawText(dc, text.c_str(), in.Bool() ? -1 : in.Below(int(text.size()) + 1), &r, in.U32() & 0x1ffu);
    }
    if (dc) WAPI_DeleteGfxContext(dc);
    if (made) DeleteObject(made);
}

}  // namespace

void PrepareSharedState() {
    for (int i = 0; i < kFonts; ++i) FontFor(i);
}

const char* Text(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    if (in.Below(4) == 0) {
        DrawThroughContext(in);
        return nullptr;
    }
    const int fontIndex = in.Below(kFonts);
    HGDIOBJ font = FontFor(fontIndex);
    if (!font) return nullptr;  // no face on this machine: nothing to try
    PIX_CachedFont cf;
    int flags = int(in.U32() & 0x5ff & ~PIX_FONT_OWNS_HFONT);
    // Rendering all of ASCII up front at 300 pixels and more would spend the run in the
    // rasteriser; the large sizes draw through the native path anyway.
    if (fontIndex >= kFirstNativeFont) flags &= ~PIX_FONT_FIXED_ASCII;
    cf.SetFromHFont(font, flags);
    cf.SetTextColor(in.U32());
    cf.SetBkColor(in.U32());
    cf.SetEffectColor(in.U32());
    cf.SetBkMode(in.Below(3));
    cf.SetCombineMode(in.Mode(), in.Alpha());

    const int shape = in.Byte();
    const int w = 1 + shape % 16, h = 1 + (shape >> 4) * 20;
    const bool withContext = in.Bool();
    std::unique_ptr<ContextBitmap> sys;
    std::unique_ptr<CanaryBitmap> mem;
    PIX_IBitmap* bm;
    if (withContext) {
        sys = std::make_unique<ContextBitmap>(w, h, 1 + in.Below(w), 1 + in.Below(h));
        bm = &sys->bm;
    } else {
        mem = std::make_unique<CanaryBitmap>(w, h, in.Bool(), in.Below(4));
        bm = mem.get();
    }
    for (int step = 0; step < 3 && !in.empty(); ++step) {
        if (in.Below(4) == 0) {
            const RECT clip{in.Int(), in.Int(), in.Int(), in.Int()};
            cf.DrawGlyph(bm, in.Int(), in.Int(), in.Int(), in.Bool() ? &clip : nullptr);
        } else {
            const std::string text = in.Text(24);
            const int count = in.Bool() ? -1 : in.Below(int(text.size()) + 1);
            RECT r{in.Int(), in.Int(), in.Int(), in.Int()};
            const unsigned format = in.U32() & (0x1ffu | PIX_DT_USE_TEXT_ALPHA | 0x80000000u);
            cf.DrawText(bm, text.c_str(), count, &r, format);
        }
        if (sys ? !sys->FenceIntact() : mem->damagedCanaries() != 0) return "text drawn outside its bitmap";
    }
    return nullptr;
}

}  // namespace qdfuzz
