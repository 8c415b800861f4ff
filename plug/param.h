// One plug-in parameter: its range, its mapping to the normalised 0..1 value the
// controls work with, and the texts the panel shows for it.
#pragma once

#include "common/cmn_string.h"
#include "common/typed_buf.h"

// Room for any text the display formatter produces, terminating NUL included.
inline constexpr int kParamDisplayTextSize = 128;
// Size of the fixed label, group and display-text fields, NUL included.
inline constexpr int kParamTextFieldSize = 32;

class IParam {
public:
    enum EParamType { kTypeNone = 0, kTypeBool = 1, kTypeInt = 2, kTypeEnum = 3, kTypeDouble = 4 };

    struct DisplayText {
        int value;
        char text[kParamTextFieldSize];
    };

    IParam();

    // The group is a host's grouping of parameters; the standalone form has no host
    // to show it, so it is not kept.
    void InitBool(const char* name, bool defaultValue, const char* label = "", const char* group = "");
    void InitEnum(const char* name, int defaultValue, int nEnums, const char* label = "", const char* group = "");
    void InitInt(const char* name, int defaultValue, int minVal, int maxVal, const char* label = "",
                 const char* group = "");
    void InitDouble(const char* name, double defaultValue, double minVal, double maxVal, double step,
                    const char* label = "", const char* group = "", double shape = 1.0);

    EParamType Type() const { return mType; }
    double Value() const { return mValue; }
    int Int() const;
    double GetMin() const { return mMin; }
    double GetMax() const { return mMax; }
    double GetStep() const { return mStep; }
    bool GetNegateDisplay() const { return mNegateDisplay; }

    // Stores a value in the parameter's own units, clamped to its range.
    void Set(double value);
    void SetDisplayPrecision(int precision) { mDisplayPrecision = precision; }
    void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
    // Adds the text for `value`, or replaces the one it already has.
    void SetDisplayText(int value, const char* text);

    double GetNormalized() const;
    double GetNormalized(double value) const;
    void SetNormalized(double normalized);
    // The value in the parameter's own units that `normalized` stands for, unrounded.
    double FromNormalized(double normalized) const;

    // Writes at most kParamDisplayTextSize bytes (NUL included) into `text`.
    void GetDisplayForHost(double value, bool normalized, char* text, bool withDisplayText = true) const;
    void GetDisplayForHost(char* text, bool withDisplayText = true) const {
        GetDisplayForHost(mValue, false, text, withDisplayText);
    }
    const char* GetDisplayText(int value) const;
    int GetNDisplayTexts() const { return mDisplayTexts.GetSize(); }
    bool MapDisplayText(const char* text, int* value) const;
    const char* GetNameForHost() const { return mName.Get(); }
    const char* GetLabelForHost() const;

private:
    void InitCommon(EParamType type, const char* name, double defaultValue, double minVal, double maxVal,
                    double step, const char* label, double shape);

    EParamType mType = kTypeNone;
    double mValue = 0.0;
    double mMin = 0.0;
    double mMax = 1.0;
    double mStep = 1.0;
    double mShape = 1.0;
    int mDisplayPrecision = 0;
    // Kept whole: the panel's tooltips show it, and a 32-character name would lose
    // its last letter in a 32-byte field.
    CMN_String mName{nullptr, 64};
    char mLabel[kParamTextFieldSize] = {};
    bool mNegateDisplay = false;
    CMN_TypedBuf<DisplayText> mDisplayTexts{128};
};
