// The response of a parametric equalizer on a logarithmic frequency axis, with a
// handle per band: a left drag moves a band's frequency and gain, a right drag its
// width or slope. The control's value only tells which band moved.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/control.h"

struct IParaGraphicEqSettings {
    int nBands = 4;
    bool hideGrid = false;
    bool hideHandles = false;
    bool hideValueLabel = false;
    float minFreq = 20.0f;
    float maxFreq = 22000.0f;
    float minGain = -30.0f;
    float maxGain = 30.0f;
    float handleRadius = 2.0f;
    IColor gridColor = COLOR_WHITE;
    IColor curveColor = COLOR_RED;
    IColor handleColor = COLOR_YELLOW;
    IColor fourthColor = COLOR_YELLOW;
    IColor labelBGColor{100, 0, 0, 0};
    char freqLabels[100] = "";  // comma-separated integers, Hz
    char gainLabels[100] = "";  // comma-separated integers, dB
};

struct IParaGraphicEqBand {
    enum EType { kPeak = 0, kLowShelf = 1, kHighShelf = 2 };

    int index = 0;
    int type = kPeak;
    float gain = 0.0f;   // dB
    float freq = 0.0f;   // Hz
    float width = 0.0f;  // octaves for a peak, slope for a shelf
    float minFreq = 0.0f, maxFreq = 0.0f;
    float minGain = 0.0f, maxGain = 0.0f;
    float minWidth = 0.0f, maxWidth = 0.0f;
};

class IParaGraphicEq : public IControl {
public:
    static constexpr int kMaxBands = 10;
    static constexpr int kMaxWidth = 8192;
    static constexpr int kMaxLabels = 20;
    static constexpr int kLabelChars = 32;
    // Pixels from a handle's centre that still grab it (exclusive).
    static constexpr int kGrabDistance = 10;
    // Two mouse-ups closer than this make a double click.
    static constexpr uint32_t kDoubleClickMs = 400;

    IParaGraphicEq(IModuleBase* plug, const IRECT& rect, int paramIdx, IParaGraphicEqSettings settings);

    void Reset();
    // A band index outside the band count is ignored.
    void SetBand(const IParaGraphicEqBand& band);
    void GetBand(IParaGraphicEqBand* pOut) const;
    void UpdateSelectedPosition();

    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseUp(int x, int y, IMouseMod* pMod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    bool Draw(IGraphics* pGraphics) override;

    // The axis as Reset leaves it.
    // 0..1 along the axis.
    float FreqToX(float freq) const;
    // 0 bottom .. 1 top, 0.5 at 0 dB.
    float GainToY(float gain) const;
    int NFreqLabels() const { return mNFreqLabels; }
    int NGainLabels() const { return mNGainLabels; }
    const char* FreqLabelText(int i) const { return mFreqLabels[i].text; }
    const char* GainLabelText(int i) const { return mGainLabels[i].text; }
    float FreqLabelPos(int i) const { return mFreqLabels[i].pos; }
    float GainLabelPos(int i) const { return mGainLabels[i].pos; }
    // The three lines of the value label for a band.
    static void FormatValueLabel(const IParaGraphicEqBand& band, char* out, int size);
    // The summed curve (pixel offsets per column) of the last draw.
    const std::vector<float>& SummedCurve() const { return mSum; }

protected:
    struct Band {
        IParaGraphicEqBand p;
        float xPos = 0.0f;
        bool recompute = true;
        bool dragged = false;
        std::vector<float> curve;
    };
    struct Label {
        char text[kLabelChars] = "";
        float pos = 0.0f;
    };

    static float Log2(float x);
    void RebuildCurve(Band& band);
    float GainScale(float gain) const { return gain > 0.0f ? mSMax : mSMin; }
    double BandValue(int index) const;

    IParaGraphicEqSettings mSettings;
    int mNBands = 0;
    Band mBands[kMaxBands];
    float mMinFreq = 20.0f, mMaxFreq = 22000.0f, mOctaves = 0.0f;
    float mSMin = 0.0f, mSMax = 0.0f;
    Label mFreqLabels[kMaxLabels];
    Label mGainLabels[kMaxLabels];
    int mNFreqLabels = 0, mNGainLabels = 0;
    int mHeight = 0, mWidth = 0, mPrevHeight = -1, mPrevWidth = -1;
    int mSelected = 0;
    int mLastX = 0, mLastY = 0;
    uint32_t mLastMouseUp = 0;
    std::vector<float> mSum;
};
