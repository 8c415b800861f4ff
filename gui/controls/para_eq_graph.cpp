#include "gui/controls/para_eq_graph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "gui/igraphics.h"
#include "winapi/tick_count.h"

namespace {

constexpr float kMinBandFreq = 10.0f;
constexpr float kGainLimit = 40.0f;

// Limits a value to lo..hi, lo winning when the band's limits cross (std::clamp
// would be undefined there).
float Limit(float v, float lo, float hi) { return std::max(std::min(v, hi), lo); }

// Calls `fn(value)` for each comma-separated integer of `list`, at most `max` of
// them; an empty list has none.
template <typename Fn>
int ForEachListed(const char* list, int max, Fn fn) {
    int n = 0;
    const char* p = list;
    while (*p == ' ') ++p;
    if (!*p) return 0;
    for (; n < max; ++n) {
        fn(std::atoi(p));
        p = std::strchr(p, ',');
        if (!p) return n + 1;
        ++p;
    }
    return n;
}

// A pixel coordinate; bands and labels may lie anywhere, far off the graph.
int Px(double v) { return v == v ? int(std::clamp(v, -1e7, 1e7)) : 0; }

IColor Darker(const IColor& c, int by) {
    return IColor(c.A, std::max(c.R - by, 0), std::max(c.G - by, 0), std::max(c.B - by, 0));
}

}  // namespace

IParaGraphicEq::IParaGraphicEq(IModuleBase* plug, const IRECT& rect, int paramIdx, IParaGraphicEqSettings settings)
    : IControl(plug, rect, paramIdx), mSettings(settings) {
    // The label lists are read as C strings: make sure they end.
    mSettings.freqLabels[sizeof mSettings.freqLabels - 1] = '\0';
    mSettings.gainLabels[sizeof mSettings.gainLabels - 1] = '\0';
    Reset();
}

float IParaGraphicEq::Log2(float x) { return std::log10(x) / 0.30103f; }

float IParaGraphicEq::FreqToX(float freq) const {
    if (!(freq > 0.0f)) return 0.0f;  // log of 0 is -inf: such a band is never drawn
    return (Log2(freq) - Log2(mMinFreq)) / mOctaves;
}

float IParaGraphicEq::GainToY(float gain) const { return 0.5f + gain * GainScale(gain); }

double IParaGraphicEq::BandValue(int index) const {
    // With one band there is no other band to tell apart: its value is 0.
    return mNBands > 1 ? index / (mNBands - 1.0) : 0.0;
}

void IParaGraphicEq::Reset() {
    mNBands = std::clamp(mSettings.nBands, 0, int(kMaxBands));
    mMinFreq = mSettings.minFreq;
    mMaxFreq = mSettings.maxFreq;
    if (!(mMinFreq >= 10.0f) || mMinFreq >= mMaxFreq) mMinFreq = 20.0f;
    if (!(mMaxFreq <= 24000.0f) || mMinFreq >= mMaxFreq) mMaxFreq = 22000.0f;
    // A minimum above 22000 Hz would still leave an empty or reversed axis.
    if (mMinFreq >= mMaxFreq) mMinFreq = 20.0f;
    mOctaves = Log2(mMaxFreq) - Log2(mMinFreq);
    for (Band& b : mBands) {
        b.xPos = FreqToX(b.p.freq);
        b.recompute = true;
    }

    mNFreqLabels = 0;
    ForEachListed(mSettings.freqLabels, kMaxLabels, [this](int f) {
        if (f <= 0) return;  // no place on a log axis
        Label& l = mFreqLabels[mNFreqLabels++];
        if (f >= 1000)
            std::snprintf(l.text, sizeof l.text, "%.2gk", f / 1000.0);
        else
            std::snprintf(l.text, sizeof l.text, "%.3g", double(f));
        l.pos = FreqToX(float(f));
    });

    float minGain = mSettings.minGain, maxGain = mSettings.maxGain;
    if (minGain == 0.0f || !(std::fabs(minGain) <= kGainLimit)) minGain = -kGainLimit;
    if (maxGain == 0.0f || !(maxGain <= kGainLimit)) maxGain = kGainLimit;
    mSMin = 1.0f / std::fabs(2.0f * minGain);
    mSMax = 1.0f / std::fabs(2.0f * maxGain);

    // Capped like the frequency labels: the table holds no more.
    mNGainLabels = 0;
    ForEachListed(mSettings.gainLabels, kMaxLabels, [this](int g) {
        Label& l = mGainLabels[mNGainLabels++];
        std::snprintf(l.text, sizeof l.text, "%.4g", double(g));
        l.pos = g < 1 ? 0.5f - g * mSMin : 1.0f - (g * mSMax + 0.5f);
    });

    for (Band& b : mBands) {
        b.p.gain = b.p.width = b.p.freq = 0.0f;
        b.dragged = false;
        b.recompute = true;
    }
    mSelected = 0;
}

void IParaGraphicEq::SetBand(const IParaGraphicEqBand& band) {
    if (band.index < 0 || band.index >= mNBands) return;
    Band& b = mBands[band.index];
    b.p = band;
    mOctaves = Log2(mMaxFreq) - Log2(mMinFreq);
    b.xPos = FreqToX(b.p.freq);
    b.recompute = true;
}

void IParaGraphicEq::GetBand(IParaGraphicEqBand* pOut) const {
    *pOut = mBands[mSelected].p;
    pOut->index = mSelected;
}

void IParaGraphicEq::UpdateSelectedPosition() {
    Band& b = mBands[mSelected];
    b.p.freq = std::max(b.p.freq, kMinBandFreq);
    b.xPos = FreqToX(b.p.freq);
    b.recompute = true;
}

void IParaGraphicEq::OnMouseDown(int x, int y, IMouseMod*) {
    x -= mRECT.L;
    y -= mRECT.T;
    mLastX = x;
    mLastY = y;
    for (int i = 0; i < mNBands; ++i) {
        Band& b = mBands[i];
        if (!(b.p.freq > 0.0f)) continue;
        const float hy = mHeight * (1.0f - GainToY(b.p.gain)), hx = mWidth * b.xPos;
        if (std::fabs(y - hy) < kGrabDistance && std::fabs(x - hx) < kGrabDistance) {
            b.dragged = true;
            mSelected = i;
            mValue = BandValue(i);
            break;
        }
    }
    SetDirty(false);
}

void IParaGraphicEq::OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) {
    x -= mRECT.L;
    y -= mRECT.T;
    mLastX = x;
    mLastY = y;
    const bool right = pMod && pMod->R;
    for (int i = 0; i < mNBands; ++i) {
        Band& b = mBands[i];
        if (!b.dragged) continue;
        if (!right) {
            // Before the first draw the graph has no size to map the mouse onto.
            if (mWidth <= 0 || mHeight <= 0) continue;
            float f = std::pow(2.0f, Log2(mMinFreq) + x * mOctaves / mWidth);
            b.p.freq = std::max(Limit(f, b.p.minFreq, b.p.maxFreq), kMinBandFreq);
            mSelected = i;
            b.xPos = FreqToX(b.p.freq);
            const float yn = float(y) / mHeight;
            b.p.gain = Limit((0.5f - yn) / (yn < 0.5f ? mSMax : mSMin), b.p.minGain, b.p.maxGain);
        } else if (dX > 0 || dY < 0) {
            b.p.width = std::min(b.p.width + 0.1f, b.p.maxWidth);
        } else if (dX < 0 || dY >= 1) {
            b.p.width = std::max(b.p.width - 0.1f, b.p.minWidth);
        }
        b.recompute = true;
        mValue = BandValue(i);
    }
    SetDirty(true);
}

void IParaGraphicEq::OnMouseUp(int, int, IMouseMod*) {
    const uint32_t now = GetTickCount();
    if (now - mLastMouseUp < kDoubleClickMs) {
        for (int i = 0; i < mNBands; ++i)
            if (mBands[i].dragged) mValue = BandValue(i);
    }
    mLastMouseUp = now;
    for (Band& b : mBands) b.dragged = false;
    SetDirty(false);
}

void IParaGraphicEq::RebuildCurve(Band& band) {
    const int width = mWidth;
    band.curve.assign(size_t(std::max(width, 0)), 0.0f);
    band.recompute = false;
    if (width <= 0 || !(band.p.freq > 0.0f)) return;
    float* curve = band.curve.data();
    // Every write goes through here: a peak or shelf near an edge reaches past it.
    auto put = [curve, width](long col, double v) {
        if (col >= 0 && col < width && std::isfinite(v)) curve[col] = float(v);
    };
    const double a = -(double(mHeight) * band.p.gain * GainScale(band.p.gain));
    const double xPos = band.xPos;
    const long c = Px(xPos * width);

    if (band.p.type == IParaGraphicEqBand::kPeak) {
        const double bw = band.p.width;
        const double wd = std::trunc(2.0 * width * bw / mOctaves);
        const long h = std::isfinite(wd) ? long(std::clamp(wd, 0.0, 4.0 * width)) / 2 : 0;
        const double k = 0.02 * bw + 0.05, b = 1.0 - 1.0 / k, d = -0.81818175 - b;
        auto shape = [b, d](double t) { return t / ((t - 1.0) * (d * t + b) + t); };
        for (long j = 1; j <= h; ++j) put(c - h + j - 1, a * shape(double(j) / h));
        put(c, a);
        for (long j = std::min(h, long(width) - c) + 1; j >= 2; --j) put(c + j - 1, a * shape(1.0 - double(j) / h));
    } else if (band.p.type == IParaGraphicEqBand::kLowShelf || band.p.type == IParaGraphicEqBand::kHighShelf) {
        const double w = 0.1 * band.p.width;
        const long s0 = long(std::clamp(std::trunc(width * (xPos - w / 2.0)), -4.0 * width, 4.0 * width));
        const long n = long(std::clamp(std::trunc(w * width), -4.0 * width, 4.0 * width));
        const long m = s0 + n > width ? width - s0 : n;
        const bool low = band.p.type == IParaGraphicEqBand::kLowShelf;
        const double phase = low ? 3.0 * std::numbers::pi / 2.0 : std::numbers::pi / 2.0;
        if (low) {
            for (long col = 0; col < std::min<long>(s0, width); ++col) put(col, a);
        } else {
            const long e0 = long(std::clamp(std::trunc(width * (xPos + w / 2.0)), -1.0, double(width)));
            for (long col = std::max(e0, 0L); col < width; ++col) put(col, a);
        }
        for (long j = s0 < 0 ? -s0 : 0; j < m; ++j) put(s0 + j, a * (0.5 - 0.5 * std::sin(j * std::numbers::pi / m + phase)));
        if (!low) put(s0 + m, a);
    }
    // Other band types have no shape of their own: they add nothing.
}

bool IParaGraphicEq::Draw(IGraphics* pGraphics) {
    const int L = mRECT.L, T = mRECT.T;
    mHeight = mRECT.H();
    mWidth = mRECT.W();
    if (mHeight != mPrevHeight || mWidth != mPrevWidth) {
        for (Band& b : mBands) b.recompute = true;
        mPrevHeight = mHeight;
        mPrevWidth = mWidth;
    }
    const int width = std::max(mWidth, 0), height = mHeight;

    if (!mSettings.hideGrid) {
        IText labelText(9, mSettings.gridColor, "Monaco", IText::kStyleBold, IText::kAlignCenter);
        for (int i = 0; i < mNFreqLabels; ++i) {
            const int x = Px(L + double(mFreqLabels[i].pos) * width);
            pGraphics->DrawLine(&mSettings.gridColor, float(x), float(T), float(x), float(T + height - 9));
            IRECT box(x - 4, T + height - 8, x + 4, T + height);
            pGraphics->DrawIText(&labelText, mFreqLabels[i].text, &box);
        }
        labelText.align = IText::kAlignFar;
        for (int i = 0; i < mNGainLabels; ++i) {
            const int y = Px(T + double(mGainLabels[i].pos) * height);
            pGraphics->DrawLine(&mSettings.gridColor, float(L), float(y), float(L + width - 16), float(y));
            IRECT box(L + width - 8, y - 4, L + width, y + 4);
            pGraphics->DrawIText(&labelText, mGainLabels[i].text, &box);
        }
    }

    mSum.assign(size_t(width), 0.0f);
    for (int i = 0; i < mNBands; ++i) {
        Band& b = mBands[i];
        if (b.recompute || int(b.curve.size()) != width) RebuildCurve(b);
        for (int x = 0; x < width; ++x) mSum[x] += b.curve[x];
    }

    if (width >= 17) {
        const IColor shade = Darker(mSettings.curveColor, 50);
        const float mid = (T + mRECT.B) / 2.0f;
        auto yAt = [&](int x) { return mSum[x] + mid; };
        for (int x = 0; x < width - 16; ++x) {
            const float y0 = yAt(x), y1 = yAt(x + 1), y2 = yAt(x + 2);
            if (!(y0 > T && y0 < mRECT.B)) continue;
            const float x0 = float(L + x);
            pGraphics->DrawQBezier(&mSettings.curveColor, x0, y0, x0 + 1, y1, x0 + 2, y2, 1.0f);
            pGraphics->DrawQBezier(&shade, x0, y0 - 1, x0 + 1, y1 - 1, x0 + 2, y2 - 1, 0.2f);
            pGraphics->DrawQBezier(&shade, x0, y0 + 1, x0 + 1, y1 + 1, x0 + 2, y2 + 1, 0.2f);
        }
    }

    if (mSettings.hideHandles || mNBands == 0) return true;
    const float r = mSettings.handleRadius;
    for (int i = 0; i < mNBands; ++i) {
        const Band& b = mBands[i];
        if (!(b.p.freq > 0.0f)) continue;
        const float hy = height * (1.0f - GainToY(b.p.gain));
        const int cx = Px(L + double(width) * b.xPos), cy = Px(T + double(hy));
        pGraphics->FillCircle(&COLOR_BLACK, cx, cy, 1.4f * r, nullptr, true);
        pGraphics->FillCircle(&mSettings.handleColor, cx, cy, r, nullptr, true);
    }

    if (mSettings.hideValueLabel) return true;
    for (int i = 0; i < mNBands; ++i) {
        const Band& b = mBands[i];
        if (!b.dragged) continue;
        const float hy = height * (1.0f - GainToY(b.p.gain)), hx = width * b.xPos;
        const int dx = hx > width - 50 ? -50 : 0, dy = hy < 40 ? 20 : -40;
        const int bx = Px(L + double(Px(hx)) + dx), by = Px(T + double(Px(hy)) + dy);
        IRECT box(bx, by, bx + 45, by + 36);
        pGraphics->FillIRect(&mSettings.labelBGColor, &box);
        char text[96];
        IParaGraphicEqBand p = b.p;
        FormatValueLabel(p, text, sizeof text);
        IText labelText(12, mSettings.handleColor, "Monaco", IText::kStyleBold, IText::kAlignFar);
        pGraphics->DrawIText(&labelText, text, &box);
    }
    return true;
}

void IParaGraphicEq::FormatValueLabel(const IParaGraphicEqBand& band, char* out, int size) {
    char freq[32], third[32];
    if (band.freq < 1000.0f)
        std::snprintf(freq, sizeof freq, "%5.2fHz", double(band.freq));
    else
        std::snprintf(freq, sizeof freq, "%5.2fkHz", band.freq / 1000.0);
    if (band.type == IParaGraphicEqBand::kLowShelf || band.type == IParaGraphicEqBand::kHighShelf) {
        std::snprintf(third, sizeof third, "S=%.3g", double(band.maxWidth + band.minWidth - band.width));
    } else if (band.type == IParaGraphicEqBand::kPeak) {
        const double p = std::pow(2.0, double(band.width));
        std::snprintf(third, sizeof third, "Q=%.3g", std::sqrt(p) / (p - 1.0));
    } else {
        std::snprintf(third, sizeof third, "B=%.3g", double(band.width));
    }
    std::snprintf(out, size_t(size), "%s\n%.3gdB\n%s", freq, double(band.gain), third);
}
