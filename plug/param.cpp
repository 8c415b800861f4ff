#include "plug/param.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void CopyField(char* dst, const char* src) {
    std::snprintf(dst, kParamTextFieldSize, "%s", src ? src : "");
}

// Truncation toward zero that saturates instead of being undefined for values
// outside int (and gives 0 for NaN); display lookups and "%d" use it.
int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return int(v);
}

// Decimal places that show every multiple of `step` (0.01 -> 2), at most 6.
int PrecisionForStep(double step) {
    step = std::fabs(step);
    if (!(step > 0.0)) return 2;
    int digits = 0;
    while (digits < 6 && std::fabs(step - std::round(step)) > 1e-9 * std::fmax(1.0, step)) {
        step *= 10.0;
        ++digits;
    }
    return digits;
}

}  // namespace

IParam::IParam() = default;

void IParam::InitCommon(EParamType type, const char* name, double defaultValue, double minVal, double maxVal,
                        double step, const char* label, double shape) {
    mType = type;
    mName.Set(name ? name : "");
    CopyField(mLabel, label);
    mMin = minVal;
    mMax = maxVal;
    mStep = step;
    // A shape of 0 or below (or NaN) would make the curve exponent infinite or
    // negative; such a parameter maps linearly instead.
    mShape = shape > 0.0 ? shape : 1.0;
    Set(defaultValue);
}

void IParam::InitBool(const char* name, bool defaultValue, const char* label, const char*) {
    InitCommon(kTypeBool, name, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 1.0, label, 1.0);
    mDisplayPrecision = 0;
}

void IParam::InitEnum(const char* name, int defaultValue, int nEnums, const char* label, const char*) {
    InitCommon(kTypeEnum, name, defaultValue, 0.0, nEnums > 1 ? nEnums - 1 : 0, 1.0, label, 1.0);
    mDisplayPrecision = 0;
}

void IParam::InitInt(const char* name, int defaultValue, int minVal, int maxVal, const char* label,
                     const char*) {
    InitCommon(kTypeInt, name, defaultValue, minVal, maxVal, 1.0, label, 1.0);
    mDisplayPrecision = 0;
}

void IParam::InitDouble(const char* name, double defaultValue, double minVal, double maxVal, double step,
                        const char* label, const char*, double shape) {
    InitCommon(kTypeDouble, name, defaultValue, minVal, maxVal, step, label, shape);
    mDisplayPrecision = PrecisionForStep(step);
}

int IParam::Int() const { return TruncToInt(mValue); }

void IParam::Set(double value) {
    if (std::isnan(value)) value = mMin;
    if (value > mMax) value = mMax;
    if (value < mMin) value = mMin;
    mValue = value;
}

void IParam::SetDisplayText(int value, const char* text) {
    const int n = mDisplayTexts.GetSize();
    for (int i = 0; i < n; ++i) {
        DisplayText* dt = mDisplayTexts.GetAt(i);
        if (dt->value == value) {
            CopyField(dt->text, text);
            return;
        }
    }
    DisplayText dt{};
    dt.value = value;
    CopyField(dt.text, text);
    mDisplayTexts.Add(dt);
}

double IParam::GetNormalized() const { return GetNormalized(mValue); }

double IParam::GetNormalized(double value) const {
    // An empty or inverted range (the resize control's view index is -1..-1) has
    // nothing to map onto; 0 keeps NaN out of every control value.
    const double range = mMax - mMin;
    if (!(range > 0.0) || std::isnan(value)) return 0.0;
    if (value > mMax) value = mMax;
    if (value < mMin) value = mMin;
    const double x = (value - mMin) / range;
    return mShape == 1.0 ? x : std::pow(x, 1.0 / mShape);
}

double IParam::FromNormalized(double normalized) const {
    // Only 0..1 means anything; outside it pow() of a negative base is NaN.
    if (!(normalized > 0.0)) normalized = 0.0;
    if (normalized > 1.0) normalized = 1.0;
    const double x = mShape == 1.0 ? normalized : std::pow(normalized, mShape);
    return mMin + (mMax - mMin) * x;
}

void IParam::SetNormalized(double normalized) {
    double value = FromNormalized(normalized);
    // A step of 0 would divide by zero; such a parameter keeps its exact value.
    if (mType != kTypeDouble && mStep != 0.0) value = std::floor(value / mStep + 0.5) * mStep;
    if (value > mMax) value = mMax;
    if (value < mMin) value = mMin;
    mValue = value;
}

void IParam::GetDisplayForHost(double value, bool normalized, char* text, bool withDisplayText) const {
    if (!text) return;
    if (normalized) value = FromNormalized(value);
    if (withDisplayText) {
        const char* dt = GetDisplayText(TruncToInt(value));
        if (dt[0]) {
            std::snprintf(text, kParamDisplayTextSize, "%s", dt);
            return;
        }
    }
    if (mNegateDisplay) value = -value;
    if (mDisplayPrecision == 0) {
        std::snprintf(text, kParamDisplayTextSize, "%d", TruncToInt(value));
    } else {
        // Precision beyond what a double carries only pads zeros; keep it sane.
        const int precision = mDisplayPrecision < 0 ? 0 : (mDisplayPrecision > 17 ? 17 : mDisplayPrecision);
        std::snprintf(text, kParamDisplayTextSize, "%.*f", precision, value);
    }
}

const char* IParam::GetDisplayText(int value) const {
    const int n = mDisplayTexts.GetSize();
    for (int i = 0; i < n; ++i) {
        const DisplayText* dt = mDisplayTexts.GetAt(i);
        if (dt->value == value) return dt->text;
    }
    return "";
}

bool IParam::MapDisplayText(const char* text, int* value) const {
    if (!text) return false;
    const int n = mDisplayTexts.GetSize();
    for (int i = 0; i < n; ++i) {
        const DisplayText* dt = mDisplayTexts.GetAt(i);
        if (std::strcmp(dt->text, text) == 0) {
            if (value) *value = dt->value;
            return true;
        }
    }
    return false;
}

const char* IParam::GetLabelForHost() const {
    return GetDisplayText(TruncToInt(mValue))[0] ? "" : mLabel;
}
