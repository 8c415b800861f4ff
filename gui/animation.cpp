#include "gui/animation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "gui/igraphics.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = kPi / 2;
constexpr double kElasticFrequency = 13 * kHalfPi;  // 20.420352248333657

constexpr const char* kCurveLabels[IModuleAnimation::kNumCurves] = {
    "LinearInterpolation", "QuadraticEaseIn", "QuadraticEaseOut", "QuadraticEaseInOut",
    "CubicEaseIn", "CubicEaseOut", "CubicEaseInOut", "QuarticEaseIn", "QuarticEaseOut",
    "QuarticEaseInOut", "QuinticEaseIn", "QuinticEaseOut", "QuinticEaseInOut", "SineEaseIn",
    "SineEaseOut", "SineEaseInOut", "CircularEaseIn", "CircularEaseOut", "CircularEaseInOut",
    "ExponentialEaseIn", "ExponentialEaseOut", "ExponentialEaseInOut", "ElasticEaseIn",
    "ElasticEaseOut", "ElasticEaseInOut", "BackEaseIn", "BackEaseOut", "BackEaseInOut",
    "BounceEaseIn", "BounceEaseOut", "BounceEaseInOut", "BezierEase", "BezierEaseIn",
    // The stored label of curve 33 lacks its first letter; the preview shows it as stored.
    "ezierEaseOut", "BezierEaseInOut", "BezierSwiftMove", "BezierSwifterMove", "BezierHeavyMove",
    "BezierSwiftIn", "BezierSwiftOut", "BezierCustom",
};

struct BezierPoints {
    double x1, y1, x2, y2;
};

// Curves 31 to 39; curve 40 takes the record's own points.
constexpr BezierPoints kBezierCurves[9] = {
    {0.25, 0.1, 0.25, 1.0}, {0.42, 0.0, 1.0, 1.0}, {0.0, 0.0, 0.58, 1.0},
    {0.42, 0.0, 0.58, 1.0}, {0.4, 0.0, 0.2, 1.0},  {0.4, 0.0, 0.0, 1.0},
    {0.7, 0.0, 0.6, 1.0},   {0.0, 0.0, 0.2, 1.0},  {0.4, 0.0, 1.0, 1.0},
};

double Bounce(double q) {
    if (q < 4.0 / 11.0) return (121.0 * q * q) / 16.0;
    if (q < 8.0 / 11.0) return (363.0 / 40.0 * q * q) - (99.0 / 10.0 * q) + 17.0 / 5.0;
    if (q < 0.9) return (4356.0 / 361.0 * q * q) - (35442.0 / 1805.0 * q) + 16061.0 / 1805.0;
    return (54.0 / 5.0 * q * q) - (513.0 / 25.0 * q) + 268.0 / 25.0;
}

double BackIn(double f) { return f * f * f - f * std::sin(f * kPi); }

double CubicBezier(const BezierPoints& b, double p) {
    const double cx = 3.0 * b.x1, bx = 3.0 * (b.x2 - b.x1) - cx, ax = 1.0 - cx - bx;
    const double cy = 3.0 * b.y1, by = 3.0 * (b.y2 - b.y1) - cy, ay = 1.0 - cy - by;

    constexpr int kMaxSteps = 10;
    constexpr double kTolerance = 0.001;
    double s = p;
    for (int i = 0; i < kMaxSteps; ++i) {
        const double d = ((ax * s + bx) * s + cx) * s - p;
        if (std::fabs(d) < kTolerance) break;
        const double slope = (3.0 * ax * s + 2.0 * bx) * s + cx;
        // A flat spot would divide by zero; the parameter reached so far stands.
        if (slope == 0.0) break;
        s -= d / slope;
    }
    return ((ay * s + by) * s + cy) * s;
}

}  // namespace

int IModuleAnimation::sActiveCount = 0;

IModuleAnimation::~IModuleAnimation() {
    sActiveCount -= mActiveCount;
    mNames.DeleteAll(true);
}

void IModuleAnimation::SetActive(int i, bool active) {
    bool& flag = mActive.Get()[i];
    const int change = int(active) - int(flag);
    flag = active;
    mActiveCount += change;
    sActiveCount += change;
}

const char* IModuleAnimation::CurveLabel(int curve) {
    return curve >= 0 && curve < kNumCurves ? kCurveLabels[curve] : nullptr;
}

double IModuleAnimation::CurveValue(int k, double p) const {
    switch (k) {
        case 1: return p * p;
        case 2: return -(p * (p - 2));
        case 3: return p < 0.5 ? 2 * p * p : (-2 * p * p) + (4 * p) - 1;
        case 4: return p * p * p;
        case 5: { const double f = p - 1; return f * f * f + 1; }
        case 6: {
            if (p < 0.5) return 4 * p * p * p;
            const double f = 2 * p - 2;
            return 0.5 * f * f * f + 1;
        }
        case 7: return p * p * p * p;
        case 8: { const double f = p - 1; return f * f * f * (1 - p) + 1; }
        case 9: {
            if (p < 0.5) return 8 * p * p * p * p;
            const double f = p - 1;
            return -8 * f * f * f * f + 1;
        }
        case 10: return p * p * p * p * p;
        case 11: { const double f = p - 1; return f * f * f * f * f + 1; }
        case 12: {
            if (p < 0.5) return 16 * p * p * p * p * p;
            const double f = 2 * p - 2;
            return 0.5 * f * f * f * f * f + 1;
        }
        case 13: return std::sin((p - 1) * kHalfPi) + 1;
        case 14: return std::sin(p * kHalfPi);
        case 15: return 0.5 * (1 - std::cos(p * kPi));
        case 16: return 1 - std::sqrt(1 - p * p);
        case 17: return std::sqrt((2 - p) * p);
        case 18:
            if (p < 0.5) return 0.5 * (1 - std::sqrt(1 - 4 * (p * p)));
            return 0.5 * (std::sqrt(-((2 * p) - 3) * ((2 * p) - 1)) + 1);
        case 19: return p == 0.0 ? p : std::pow(2, 10 * (p - 1));
        case 20: return p == 1.0 ? p : 1 - std::pow(2, -10 * p);
        case 21:
            if (p == 0.0 || p == 1.0) return p;
            if (p < 0.5) return 0.5 * std::pow(2, (20 * p) - 10);
            return -0.5 * std::pow(2, (-20 * p) + 10) + 1;
        case 22: return std::sin(kElasticFrequency * p) * std::pow(2, 10 * (p - 1));
        case 23: return std::sin(-kElasticFrequency * (p + 1)) * std::pow(2, -10 * p) + 1;
        case 24:
            if (p < 0.5) return 0.5 * std::sin(kElasticFrequency * (2 * p)) * std::pow(2, 10 * ((2 * p) - 1));
            return 0.5 * (std::sin(-kElasticFrequency * ((2 * p - 1) + 1)) * std::pow(2, -10 * (2 * p - 1)) + 2);
        case 25: return BackIn(p);
        case 26: return 1 - BackIn(1 - p);
        case 27:
            if (p < 0.5) return 0.5 * BackIn(2 * p);
            return 0.5 * (1 - BackIn(1 - (2 * p - 1))) + 0.5;
        case 28: return 1 - Bounce(1 - p);
        case 29: return Bounce(p);
        case 30:
            if (p < 0.5) return 0.5 * (1 - Bounce(1 - p * 2));
            return 0.5 * Bounce(p * 2 - 1) + 0.5;
        case kCustomBezierCurve: return CubicBezier({mBezierX1, mBezierY1, mBezierX2, mBezierY2}, p);
        default:
            if (k >= 31 && k < kCustomBezierCurve) return CubicBezier(kBezierCurves[k - 31], p);
            return p;
    }
}

double IModuleAnimation::Ease(int curve, double from, double to, double t) {
    if (mSmoothNext) t = t * t * (3 - 2 * t);
    // An unknown curve gives 0.0 and leaves a pending smoothing for the next call.
    if (curve < 0 || curve >= kNumCurves) return 0.0;
    const double e = CurveValue(curve, t);
    mSmoothNext = false;
    return to * e + (1 - e) * from;
}

void IModuleAnimation::SetBezierPoints(double x1, double y1, double x2, double y2) {
    mBezierX1 = x1;
    mBezierY1 = y1;
    mBezierX2 = x2;
    mBezierY2 = y2;
}

int IModuleAnimation::FindByName(const char* name) const {
    if (!name) name = "";
    const size_t length = std::strlen(name);
    const int n = mNames.GetSize();
    for (int i = 0; i < n; ++i) {
        const CMN_String* s = mNames.Get(i);
        if (size_t(s->GetLength()) == length && std::memcmp(s->Get(), name, length) == 0) return i;
    }
    return -1;
}

bool IModuleAnimation::Append(const char* name, bool forward, int forwardSteps, int backwardSteps, double from,
                              double to) {
    const int n = mNames.GetSize();
    auto* stored = new CMN_String(nullptr, 0);
    bool ok = stored->Set(name) && mNames.Add(stored) != nullptr;
    if (!ok) {
        delete stored;
        return false;
    }
    ok = mActive.Add(false) && mForward.Add(forward) && mPosition.Add(0) && mFrom.Add(from) && mTo.Add(to) &&
         mStartValue.Add(from) && mCurrentValue.Add(0.0) && mForwardSteps.Add(forwardSteps) &&
         mBackwardSteps.Add(backwardSteps) && mJumpToEnd.Add(false);
    if (!ok) {
        // Keep the lists parallel: drop whatever part of the new entry went in.
        mNames.Delete(n, true);
        for (auto* list : {&mActive, &mForward, &mJumpToEnd}) list->Resize(n, false);
        for (auto* list : {&mPosition, &mForwardSteps, &mBackwardSteps}) list->Resize(n, false);
        for (auto* list : {&mFrom, &mTo, &mStartValue, &mCurrentValue}) list->Resize(n, false);
    }
    return ok;
}

namespace {

// The share of a reversed run already covered, in steps of the new run:
// trunc(newCount / oldCount * covered). An old count of 0 makes the whole new run the
// share instead of dividing by zero; the share is held to [0, limit] so that no run
// length goes negative (a forward run of negative length would never end) or past an int.
int ReversalShare(int newCount, int oldCount, int covered, int limit) {
    if (oldCount == 0) return std::min(newCount, limit);
    const double q = std::trunc(double(newCount) / double(oldCount) * covered);
    return int(std::clamp(q, 0.0, double(limit)));
}

}  // namespace

void IModuleAnimation::Reverse(int i, bool forward, int F, int B, double from, double to) {
    int32_t& position = mPosition.Get()[i];
    double& startValue = mStartValue.Get()[i];
    const double currentValue = mCurrentValue.Get()[i];
    int32_t& fwdSteps = mForwardSteps.Get()[i];
    int32_t& bwdSteps = mBackwardSteps.Get()[i];
    const int p = position;
    if (forward) {
        if (p < 1) {
            startValue = from;
            fwdSteps = F;
        } else {
            startValue = currentValue;
            fwdSteps = F - ReversalShare(F, B, p, F);
        }
        position = 0;
    } else if (p >= fwdSteps) {
        startValue = to;
        bwdSteps = B;
        position = B;
    } else {
        startValue = currentValue;
        position = bwdSteps = ReversalShare(B, F, p, INT32_MAX);
    }
}

double IModuleAnimation::StepForward(int i, int curve, double to) {
    int32_t& position = mPosition.Get()[i];
    const int32_t steps = mForwardSteps.Get()[i];
    mForward.Get()[i] = true;
    position = std::max<int32_t>(std::min(position, steps), 0);
    if (position == steps) {
        SetActive(i, false);
        return to;
    }
    const double t = double(position) / double(steps);
    ++position;
    SetActive(i, true);
    return mCurrentValue.Get()[i] = Ease(curve, mStartValue.Get()[i], to, t);
}

double IModuleAnimation::StepBackward(int i, int curve, double from) {
    int32_t& position = mPosition.Get()[i];
    const int32_t steps = mBackwardSteps.Get()[i];
    mForward.Get()[i] = false;
    position = std::max<int32_t>(std::min(position, steps), 0);
    if (position == 0) {
        SetActive(i, false);
        return from;
    }
    const double t = double(position) / double(steps);
    --position;
    SetActive(i, true);
    return mCurrentValue.Get()[i] = Ease(curve, mStartValue.Get()[i], from, 1 - t);
}

double IModuleAnimation::Start(const char* name, bool forward, int forwardSteps, int backwardSteps,
                               int forwardCurve, int backwardCurve, double from, double to) {
    // A negative step count is a run that ends at once, like a count of 0.
    const int F = std::max(forwardSteps, 0);
    const int B = std::max(backwardSteps, 0);

    int i = FindByName(name);
    if (i < 0) {
        if (!Append(name ? name : "", forward, F, B, from, to)) return forward ? to : from;
        i = mNames.GetSize() - 1;
    }
    if (mJumpToEnd.Get()[i]) mPosition.Get()[i] = forward ? F : 0;
    if (forward != mForward.Get()[i]) Reverse(i, forward, F, B, from, to);
    return forward ? StepForward(i, forwardCurve, to) : StepBackward(i, backwardCurve, from);
}

IAnimationCurvePreview IModuleAnimation::BuildCurvePreview(int curve, int size, int x, int y, int bufferWidth,
                                                           int bufferHeight) {
    IAnimationCurvePreview pv;
    const int q = size / 4;
    const int u = size / 20;
    pv.left = x;
    pv.top = y;
    pv.right = int(std::clamp<int64_t>(int64_t(x) + size, INT32_MIN, INT32_MAX));
    pv.bottom = int(std::clamp<int64_t>(int64_t(y) + size, INT32_MIN, INT32_MAX));
    pv.x0 = float(double(x) + q);
    pv.xr = float(double(x) + size - q);
    pv.yt = float(double(y) + q);
    pv.yb = float(double(y) + size - q);
    pv.textSize = u;

    auto clampInt = [](double v) { return int(std::clamp(v, double(INT32_MIN), double(INT32_MAX))); };
    if (const char* label = CurveLabel(curve)) pv.labels.push_back({label, pv.left, pv.top, pv.right, pv.bottom});
    pv.labels.push_back({"XY0", clampInt(double(pv.x0) - u), clampInt(pv.yb), clampInt(pv.xr), clampInt(pv.yb)});
    pv.labels.push_back({"X1", clampInt(pv.xr), clampInt(pv.yb), clampInt(double(pv.xr) + u), clampInt(pv.yb)});
    pv.labels.push_back({"Y1", clampInt(double(pv.x0) - u), clampInt(pv.yt), clampInt(pv.xr), clampInt(pv.yb)});

    if (!(pv.xr > pv.x0)) return pv;
    const double x0 = pv.x0, xr = pv.xr, span = xr - x0;
    auto plot = [&](double i) {
        const double v = Ease(curve, pv.yb, pv.yt, i / span);
        const double px = x0 + i;
        const double py = std::trunc(v);
        if (px >= 0 && px < bufferWidth && py >= 0 && py < bufferHeight) pv.points.push_back({int(px), int(py)});
    };
    // The first column is evaluated even off-buffer, since it consumes a pending
    // smoothing flag; past it only columns inside the back buffer are worth a look.
    plot(0);
    for (double i = std::max(1.0, std::ceil(-x0)); x0 + i < xr && x0 + i < bufferWidth; i += 1) plot(i);
    return pv;
}

void IModuleAnimation::DrawCurvePreview(IGraphics* graphics, int curve, int size, int x, int y) {
    if (!graphics) return;
    const IAnimationCurvePreview pv = BuildCurvePreview(curve, size, x, y, graphics->Width(), graphics->Height());
    const IColor black(255, 0, 0, 0), white(255, 255, 255, 255), red(255, 255, 0, 0);

    const IRECT square(pv.left, pv.top, pv.right, pv.bottom);
    graphics->FillIRect(&black, &square);
    graphics->DrawLine(&white, pv.x0, pv.yb, pv.xr, pv.yb);
    graphics->DrawLine(&white, pv.x0, pv.yb, pv.x0, pv.yt);

    IText text(pv.textSize, white, "Monaco", IText::kStyleNormal, IText::kAlignNear, 0, 0);
    text.textEntryBGColor = white;
    text.textEntryFGColor = black;
    for (const auto& label : pv.labels) {
        IRECT r(label.left, label.top, label.right, label.bottom);
        graphics->DrawIText(&text, label.text, &r);
    }
    for (const auto& p : pv.points) graphics->ForcePixel(&red, p.x, p.y);
    graphics->SetAllControlsDirty();
}
