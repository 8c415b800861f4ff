// Turns a fuzzer's byte string into the arguments of raster and settings calls. Every
// read succeeds: past the end of the input it answers zeros, so any input is a case.
#pragma once

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace qdfuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    bool empty() const { return mPos >= mSize; }

    uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }

    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
        return v;
    }

    bool Bool() { return Byte() & 1; }

    // 0..n-1.
    int Below(int n) { return n > 0 ? int(Byte() % unsigned(n)) : 0; }

    // Mostly small values near the bitmaps, sometimes the extremes and raw words, since
    // the faults live at the edges of the int range.
    int Int() {
        static const int kEdges[] = {INT_MIN, INT_MIN + 1, -65536, -1, 0, 1, 2, 255, 256, 65536, INT_MAX - 1, INT_MAX};
        const uint8_t k = Byte();
        if (k < 160) return int(k % 48) - 16;
        if (k < 224) return kEdges[k % (sizeof kEdges / sizeof *kEdges)];
        return int(U32());
    }

    // The same for floats: near the bitmaps, fractions, the extremes, NaN and infinities.
    float Float() {
        static const float kEdges[] = {-FLT_MAX, FLT_MAX, -1e10f, 1e10f, -1e9f, 1e9f, 2147483648.0f, -2147483648.0f,
                                       std::numeric_limits<float>::infinity(),
                                       -std::numeric_limits<float>::infinity(),
                                       std::numeric_limits<float>::quiet_NaN(), FLT_MIN, -0.0f, 0.5f, 1e-30f};
        const uint8_t k = Byte();
        if (k < 128) return float(int(k % 64) - 16) + float(Byte() % 4) * 0.25f;
        if (k < 200) return kEdges[k % (sizeof kEdges / sizeof *kEdges)];
        const uint32_t bits = U32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }

    // An opacity: mostly 0..1, sometimes beyond, negative or not a number.
    float Alpha() {
        const uint8_t k = Byte();
        if (k < 200) return float(k % 5) * 0.25f;
        return Float();
    }

    // A blend mode with its flags, or a raw mode word.
    uint32_t Mode() {
        const uint8_t k = Byte();
        if (k < 240) return uint32_t(k % 6) | (k & 0x40 ? 0x10000u : 0u) | (k & 0x80 ? 0x100u : 0u);
        return U32();
    }

    // Up to maxLength bytes, without zero bytes so that the text survives as a C string.
    std::string Text(size_t maxLength) {
        const size_t n = Below(int(maxLength + 1));
        std::string s;
        for (size_t i = 0; i < n && !empty(); ++i) {
            const char c = char(Byte());
            if (c) s.push_back(c);
        }
        return s;
    }

    // All that is left.
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(mData + mPos), mSize - mPos);
        mPos = mSize;
        return s;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

}  // namespace qdfuzz
