#include "gui/live_edit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "gui/control.h"
#include "gui/igraphics.h"
#include "gui/live_edit_header.h"
#include "gui/live_edit_views.h"
#include "gui/popup_menu.h"
#include "plug/module_base.h"
#include "raster/fill.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "winapi/cursor.h"

namespace {

constexpr int kLabelHeight = 15;
constexpr int kLabelTextSize = 15;
constexpr int kDashOn = 2, kDashOff = 2;

bool Holds(const CMN_TypedBuf<int>& list, int value) {
    const int* p = list.Get();
    return p && std::find(p, p + list.GetSize(), value) != p + list.GetSize();
}

PIX_PixelValue Pixel(const IColor& c) { return PIX_MakePixel(c.A, c.R, c.G, c.B); }

int AttachIndex(const LiveEditState* s, const IControl* c) { return s->attachOrder.Find(const_cast<IControl*>(c)); }

// Controls past this index (the GUI-resize control and its handles) are never edited.
int EditableEnd(const LiveEditFrame* f) { return f->graphics->NControls() - (f->views ? 3 : 0); }

IControl* EditableControl(const LiveEditFrame* f, int idx) {
    if (idx < 1 || idx >= EditableEnd(f)) return nullptr;
    IControl* c = f->graphics->GetControl(idx);
    return c && !LiveEditIsDeleted(f->state, c) ? c : nullptr;
}

IRECT ModeRect(const IControl* c, int mode) {
    switch (mode) {
        case kLiveEditTarget: return *c->GetTargetRECT();
        case kLiveEditDraw: return *c->GetRECT();
        case kLiveEditBoth: return *c->GetRECT() == *c->GetTargetRECT() ? *c->GetRECT() : IRECT();
        default: return IRECT();
    }
}

IColor ModeColor(const LiveEditState* s, int mode) {
    switch (mode) {
        case kLiveEditTarget: return s->targetColor;
        case kLiveEditDraw: return s->drawColor;
        default: return s->neutralColor;
    }
}

bool OnGrip(const IRECT& r, int handle, int x, int y) {
    return !r.Empty() && x >= r.R - handle && x < r.R && y >= r.B - handle && y < r.B;
}

void SetCursor(int id) { WAPI_SetCursor(WAPI_LoadCursor(id)); }

IRECT Moved(const IRECT& r, int dx, int dy) { return {r.L + dx, r.T + dy, r.R + dx, r.B + dy}; }

// Puts the draw rectangle (modes both and draw) and the target rectangle (modes both
// and target) on the control.
void Apply(IControl* c, int mode, const IRECT& draw, const IRECT& target) {
    if (mode == kLiveEditBoth || mode == kLiveEditDraw) *c->GetRECT() = draw;
    if (mode == kLiveEditBoth || mode == kLiveEditTarget) c->SetTargetRECT(target);
}

void DashedRect(PIX_IBitmap* bm, const IRECT& r, const IColor& color) {
    const PIX_PixelValue p = Pixel(color);
    PIX_DashedLine(bm, r.L, r.T, r.R, r.T, kDashOn, kDashOff, p, 1.0f, PIX_MODE_COPY);
    PIX_DashedLine(bm, r.L, r.B, r.R, r.B, kDashOn, kDashOff, p, 1.0f, PIX_MODE_COPY);
    PIX_DashedLine(bm, r.L, r.T, r.L, r.B, kDashOn, kDashOff, p, 1.0f, PIX_MODE_COPY);
    PIX_DashedLine(bm, r.R, r.T, r.R, r.B, kDashOn, kDashOff, p, 1.0f, PIX_MODE_COPY);
}

IText LabelText(const LiveEditState* s) {
    return IText(kLabelTextSize, s->neutralColor, s->fontName ? s->fontName : "Monaco", IText::kStyleNormal,
                 IText::kAlignNear, 0, 3);
}

// Draws `text` on a label-background box kLabelHeight high whose top-left is (x, y);
// answers the box's width.
int DrawLabel(LiveEditFrame* f, const char* text, int x, int y) {
    IText style = LabelText(f->state);
    IRECT measured(x, y, x, y + kLabelHeight);
    f->graphics->MeasureIText(&style, text, &measured);
    const int w = std::max(measured.W(), 0);
    IRECT box(x, y, x + w, y + kLabelHeight);
    PIX_FillRect(f->buffer, box.L, box.T, w, kLabelHeight, Pixel(f->state->labelBackground), 1.0f,
                 PIX_MODE_USE_SOURCE_ALPHA);
    f->graphics->DrawIText(&style, text, &box);
    return w;
}

int Mode(const LiveEditFrame* f) { return *f->editMode; }

void ClearGroup(LiveEditState* s) {
    s->groupActive = false;
    s->groupRect = kLiveEditNoRect;
    s->group.Resize(0);
    s->groupDrawRects.Resize(0);
    s->groupTargetRects.Resize(0);
}

void ClearSelection(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    s->selected = -1;
    *f->selected = -1;
    s->selectionDraw = s->selectionTarget = IRECT();
    s->dragStartDraw = s->dragStartTarget = IRECT();
}

LiveEditSnapshot TakeSnapshot(const LiveEditFrame* f) {
    const LiveEditState* s = f->state;
    LiveEditSnapshot snap;
    for (int a = 0; a < s->attachOrder.GetSize(); ++a) {
        const IControl* c = s->attachOrder.Get(a);
        snap.draw.push_back(*c->GetRECT());
        snap.target.push_back(*c->GetTargetRECT());
        snap.hidden.push_back(c->IsHidden());
    }
    for (int k = 0; k < f->graphics->NControls(); ++k) snap.order.push_back(f->graphics->GetControl(k));
    for (int d = 0; d < s->deleted.GetSize(); ++d) snap.deleted.push_back(*s->deleted.GetAt(d));
    return snap;
}

// Sizes the per-view-mode lists; answers the current view mode's index into them.
size_t SizeHistories(LiveEditState* s) {
    const size_t count = size_t(std::max(s->viewModeCount, 1));
    if (s->histories.size() < count) s->histories.resize(count);
    if (s->currentSnapshots.size() < count) s->currentSnapshots.resize(count);
    return size_t(std::clamp(s->viewMode, 0, int(count) - 1));
}

double HistoryScale(const LiveEditFrame* f) { return f->views ? f->views->GUIScaleRatio() : 1.0; }

void WriteHeader(LiveEditFrame* f, double scale, int viewMode) {
    LiveEditWriteLayoutHeader(scale, f->state, f->graphics, f->views, viewMode);
}

// Hides the controls marked for deletion in every other view mode too, writing each
// view mode's text, and comes back to the current one.
void ApplyDeletedToOtherViews(LiveEditFrame* f, const std::vector<int>& attachIdx, bool hide) {
    if (!f->views) return;
    LiveEditState* s = f->state;
    const int current = s->viewMode;
    for (int j = 0; j < s->viewModeCount; ++j) {
        if (j == current) continue;
        f->views->ShowViewMode(j);
        for (int a : attachIdx)
            if (IControl* c = s->attachOrder.Get(a)) c->Hide(hide);
        WriteHeader(f, f->scale, j);
    }
    f->views->ShowViewMode(current);
}

void RestoreSnapshot(LiveEditFrame* f, const LiveEditSnapshot& snap) {
    LiveEditState* s = f->state;
    IGraphics* g = f->graphics;
    // Only a permutation of today's list can be put back.
    if (int(snap.order.size()) == g->NControls())
        for (int k = 1; k < EditableEnd(f); ++k) g->ReplaceControl(k, snap.order[size_t(k)]);
    const int n = std::min<int>(s->attachOrder.GetSize(), int(snap.draw.size()));
    for (int a = 0; a < n; ++a) {
        IControl* c = s->attachOrder.Get(a);
        *c->GetRECT() = snap.draw[size_t(a)];
        c->SetTargetRECT(snap.target[size_t(a)]);
        c->Hide(snap.hidden[size_t(a)]);
    }
    std::vector<int> before;
    for (int d = 0; d < s->deleted.GetSize(); ++d) before.push_back(*s->deleted.GetAt(d));
    if (before == snap.deleted) return;
    s->deleted.Resize(0);
    for (int d : snap.deleted) s->deleted.Add(d);
    std::vector<int> nowDeleted, undeleted;
    for (int d : snap.deleted)
        if (std::find(before.begin(), before.end(), d) == before.end()) nowDeleted.push_back(d);
    for (int d : before)
        if (std::find(snap.deleted.begin(), snap.deleted.end(), d) == snap.deleted.end()) undeleted.push_back(d);
    ApplyDeletedToOtherViews(f, nowDeleted, true);
    ApplyDeletedToOtherViews(f, undeleted, false);
}

// ---- Snapping ----

// Among the pairs of the moved span's edges and centre against another span's, the
// nearest non-zero-or-zero offset within `dist`; the non-negative one wins a tie.
struct AxisSnap {
    int dist;
    int bestPos = 1 << 30, bestNeg = -(1 << 30);
    int posLine = 0, negLine = 0;
    void Compare(int lo, int hi, int olo, int ohi) {
        const int mine[3] = {lo, (lo + hi) / 2, hi}, theirs[3] = {olo, (olo + ohi) / 2, ohi};
        for (int a : mine)
            for (int b : theirs) {
                const int d = b - a;
                if (d >= 0 && d <= dist && d < bestPos) bestPos = d, posLine = b;
                if (d <= 0 && d >= -dist && d > bestNeg) bestNeg = d, negLine = b;
            }
    }
    // The offset to apply (0: none) and the aligned coordinate.
    int Offset(int* line) const {
        const bool havePos = bestPos <= dist, haveNeg = bestNeg >= -dist;
        if (havePos && (!haveNeg || bestPos <= -bestNeg)) return *line = posLine, bestPos;
        if (haveNeg) return *line = negLine, bestNeg;
        return 0;
    }
};

// Shifts `moved` to line up with the other editable controls (members of the group
// are skipped); in a resize only the right and bottom edges move.
void SnapToControls(LiveEditFrame* f, IRECT* moved, bool resize, bool skipGroup) {
    LiveEditState* s = f->state;
    AxisSnap h{f->snapDistance}, v{f->snapDistance};
    for (int k = 1; k < EditableEnd(f); ++k) {
        IControl* c = EditableControl(f, k);
        if (!c || k == s->selected) continue;
        if (skipGroup && Holds(s->group, k)) continue;
        const IRECT o = ModeRect(c, s->snapReferenceMode);
        if (o.Empty()) continue;
        h.Compare(moved->L, moved->R, o.L, o.R);
        v.Compare(moved->T, moved->B, o.T, o.B);
    }
    const PIX_PixelValue guide = Pixel(ModeColor(s, s->snapReferenceMode));
    int line = 0;
    if (const int dx = h.Offset(&line)) {
        moved->R += dx;
        if (!resize) moved->L += dx;
        PIX_DashedLine(f->buffer, line, 0, line, f->height, kDashOn, kDashOff, guide, 1.0f, PIX_MODE_COPY);
    }
    if (const int dy = v.Offset(&line)) {
        moved->B += dy;
        if (!resize) moved->T += dy;
        PIX_DashedLine(f->buffer, 0, line, f->width, line, kDashOn, kDashOff, guide, 1.0f, PIX_MODE_COPY);
    }
}

// ---- Dragging ----

void DragControl(LiveEditFrame* f, bool hoverOnGrip, bool pressed) {
    LiveEditState* s = f->state;
    s->selected = *f->selected;
    IControl* c = EditableControl(f, s->selected);
    if (!c) return;
    s->selectionDraw = *c->GetRECT();
    s->selectionTarget = *c->GetTargetRECT();
    // A new press starts a new drag even on the control dragged last time, so that
    // the control does not jump by the distance between release and press.
    if (s->selected != s->previousSelected || pressed) {
        s->pressX = f->mouseX;
        s->pressY = f->mouseY;
        s->dragStartDraw = s->selectionDraw;
        s->dragStartTarget = s->selectionTarget;
        s->resizeGripActive = OnGrip(ModeRect(c, Mode(f)), s->handleSize, f->mouseX, f->mouseY);
        SetCursor(s->resizeGripActive || hoverOnGrip ? IDC_SIZENWSE : IDC_ARROW);
    }
    if (!*f->mouseDragged && !f->mod.S) return;

    const int dx = f->mouseX - s->pressX, dy = f->mouseY - s->pressY;
    IRECT draw = s->dragStartDraw, target = s->dragStartTarget;
    if (s->resizeGripActive) {
        draw.R += dx, draw.B += dy, target.R += dx, target.B += dy;
    } else {
        draw = Moved(draw, dx, dy);
        target = Moved(target, dx, dy);
    }
    if (!f->mod.A) {
        const int g = s->gridStep;
        if (s->resizeGripActive) {
            const int rx = draw.R % g, ry = draw.B % g;
            draw.R -= rx, draw.B -= ry, target.R -= rx, target.B -= ry;
        } else {
            const int rx = draw.L % g, ry = draw.T % g;
            draw = Moved(draw, -rx, -ry);
            target = Moved(target, -rx, -ry);
        }
    }
    if (f->mod.S) {
        const int mode = Mode(f);
        IRECT* snapped = mode == kLiveEditTarget ? &target : &draw;
        const IRECT before = *snapped;
        SnapToControls(f, snapped, s->resizeGripActive, false);
        IRECT* other = snapped == &draw ? &target : &draw;
        other->L += snapped->L - before.L, other->R += snapped->R - before.R;
        other->T += snapped->T - before.T, other->B += snapped->B - before.B;
    }
    if (s->snapshotPending) {
        LiveEditPushUndo(f);
        s->snapshotPending = false;
    }
    Apply(c, Mode(f), draw, target);
    LiveEditStoreCurrentLayout(f);
    LiveEditDropDuplicateUndo(f);
    s->selectionDraw = *c->GetRECT();
    s->selectionTarget = *c->GetTargetRECT();
}

void RecordGroupRects(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    s->groupDrawRects.Resize(0);
    s->groupTargetRects.Resize(0);
    for (int m = 0; m < s->group.GetSize(); ++m) {
        const IControl* c = f->graphics->GetControl(*s->group.GetAt(m));
        s->groupDrawRects.Add(c ? *c->GetRECT() : IRECT());
        s->groupTargetRects.Add(c ? *c->GetTargetRECT() : IRECT());
    }
}

void DragGroup(LiveEditFrame* f, bool leftChanged) {
    LiveEditState* s = f->state;
    const int mode = Mode(f);
    s->selected = -1;
    if (f->mod.C && f->mod.L) {
        const IRECT band(std::min(s->lastPressX, f->mouseX), std::min(s->lastPressY, f->mouseY),
                         std::max(s->lastPressX, f->mouseX), std::max(s->lastPressY, f->mouseY));
        DashedRect(f->buffer, band, ModeColor(s, s->snapReferenceMode));
        s->group.Resize(0);
        IRECT bounds;
        for (int k = 1; k < EditableEnd(f); ++k) {
            const IControl* c = EditableControl(f, k);
            if (!c) continue;
            const IRECT r = ModeRect(c, mode);
            if (r.Empty() || r.L < band.L || r.T < band.T || r.R > band.R || r.B > band.B) continue;
            s->group.Add(k);
            bounds.Union(r);
        }
        RecordGroupRects(f);
        s->groupActive = s->group.GetSize() > 0;
        s->groupRect = s->groupActive ? bounds : kLiveEditNoRect;
    }
    if (leftChanged) {
        RecordGroupRects(f);
        s->secondRect = s->groupRect;  // the group rectangle when its drag began
        if (f->mod.L && s->groupActive) LiveEditPushUndo(f);
    }
    if (f->mod.L && !f->mod.C && s->groupActive) {
        IRECT r = Moved(s->secondRect, f->mouseX - s->lastPressX, f->mouseY - s->lastPressY);
        if (!f->mod.A) r = Moved(r, -(r.L % s->gridStep), -(r.T % s->gridStep));
        if (f->mod.S) SnapToControls(f, &r, false, true);
        s->groupRect = r;
        if (*f->mouseDragged) {
            const int dx = r.L - s->secondRect.L, dy = r.T - s->secondRect.T;
            for (int m = 0; m < s->group.GetSize(); ++m)
                if (IControl* c = f->graphics->GetControl(*s->group.GetAt(m)))
                    Apply(c, mode, Moved(*s->groupDrawRects.GetAt(m), dx, dy),
                          Moved(*s->groupTargetRects.GetAt(m), dx, dy));
        }
        LiveEditStoreCurrentLayout(f);
        LiveEditDropDuplicateUndo(f);
    }
    if (s->groupActive) DashedRect(f->buffer, s->groupRect, s->groupColor);
}

// ---- Drawing ----

void DrawGrid(LiveEditFrame* f) {
    const PIX_PixelValue c = Pixel(f->state->neutralColor);
    const int g = f->state->gridStep;
    if (g < 2) {
        PIX_FillRect(f->buffer, 0, 0, f->width, f->height, c, 0.11f, PIX_MODE_COPY);
        return;
    }
    for (int x = 0; x < f->width; x += g) PIX_Line(f->buffer, x, 0, x, f->height, c, 0.17f, PIX_MODE_COPY, true);
    for (int y = 0; y < f->height; y += g) PIX_Line(f->buffer, 0, y, f->width, y, c, 0.17f, PIX_MODE_COPY, true);
}

void DrawDeletedList(LiveEditFrame* f) {
    const LiveEditState* s = f->state;
    if (s->deleted.GetSize() == 0) return;
    int x = DrawLabel(f, " Delete this controls: ", 0, 0), y = 0;
    for (int d = 0; d < s->deleted.GetSize(); ++d) {
        const int a = *s->deleted.GetAt(d);
        std::string name = LiveEditClassName(s->attachOrder.Get(a));
        if (name.rfind("class ", 0) == 0) name.erase(0, 6);
        const std::string text = std::to_string(a) + " (" + name + "), ";
        IText style = LabelText(s);
        IRECT measured(0, 0, 0, kLabelHeight);
        f->graphics->MeasureIText(&style, text.c_str(), &measured);
        if (x + measured.W() > f->width) x = 0, y += kLabelHeight;
        x += DrawLabel(f, text.c_str(), x, y);
    }
}

void DrawOverlay(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    const int mode = Mode(f);
    for (int k = 1; k < EditableEnd(f); ++k) {
        const IControl* c = EditableControl(f, k);
        if (!c) continue;
        if (*c->GetRECT() == *c->GetTargetRECT()) {
            DashedRect(f->buffer, *c->GetRECT(), s->neutralColor);
        } else {
            DashedRect(f->buffer, *c->GetTargetRECT(), s->targetColor);
            DashedRect(f->buffer, *c->GetRECT(), s->drawColor);
        }
    }
    if (const IControl* c = s->selected > 0 ? EditableControl(f, s->selected) : nullptr) {
        const IRECT draw = *c->GetRECT(), target = *c->GetTargetRECT();
        if (mode == kLiveEditBoth && draw == target) {
            f->graphics->DrawRectOutline(&s->neutralColor, &draw);
        } else {
            f->graphics->DrawRectOutline(&s->targetColor, &target);
            f->graphics->DrawRectOutline(&s->drawColor, &draw);
        }
        if (draw != target)
            PIX_Line(f->buffer, (draw.L + draw.R) / 2, (draw.T + draw.B) / 2, (target.L + target.R) / 2,
                     (target.T + target.B) / 2, Pixel(s->neutralColor), 1.0f, PIX_MODE_COPY, true);
    }
    const PIX_PixelValue grip = Pixel(ModeColor(s, mode));
    const int h = s->handleSize;
    for (int k = 1; k < EditableEnd(f); ++k) {
        const IControl* c = EditableControl(f, k);
        const IRECT r = c ? ModeRect(c, mode) : IRECT();
        if (r.Empty()) continue;
        PIX_FillTriangle(f->buffer, r.R - h, r.B, r.R, r.B, r.R, r.B - h, grip, 1.0f, PIX_MODE_USE_SOURCE_ALPHA);
    }
    if (s->gridShown) DrawGrid(f);

    const IControl* sel = EditableControl(f, s->selected);
    IRECT label = mode == kLiveEditTarget ? s->selectionTarget : s->selectionDraw;
    if (mode == kLiveEditBoth && s->selectionDraw != s->selectionTarget) label = IRECT();
    if (sel && !label.Empty()) {
        char text[96];
        std::snprintf(text, sizeof text, "N:%i IRECT(%i,%i,%i,%i)%s", s->selected, label.L, label.T, label.R, label.B,
                      sel->IsHidden() ? " (HIDDEN)" : "");
        DrawLabel(f, text, label.L, label.T < kLabelHeight ? label.B : label.T - kLabelHeight);
    }
    if (s->mouseCoordinatesShown) {
        char text[48];
        std::snprintf(text, sizeof text, "x: %i, y: %i", f->mouseX, f->mouseY);
        const IColor color = mode >= kLiveEditBoth && mode <= kLiveEditTarget ? ModeColor(s, mode) : COLOR_BLACK;
        IText style(20, color, s->fontName ? s->fontName : "Monaco", IText::kStyleNormal, IText::kAlignCenter);
        IRECT box(f->width - 150, f->height - 20, f->width, f->height);
        f->graphics->DrawIText(&style, text, &box);
    }
}

// ---- Menu actions ----

void SetSelectionCopies(LiveEditState* s, const IControl* c) {
    s->selectionDraw = *c->GetRECT();
    s->selectionTarget = *c->GetTargetRECT();
}

void MoveInOrder(LiveEditFrame* f, int from, int to, bool swap) {
    LiveEditState* s = f->state;
    IControl* c = f->graphics->GetControl(from);
    if (!c || to < 1 || to >= EditableEnd(f) || to == from) return;
    if (swap) f->graphics->SwapControls(from, to);
    else f->graphics->MoveControlBehind(from, to);
    s->zOrderFrom.Add(from);
    s->zOrderTo.Add(to);
    s->selected = c->GetIndex();
}

void DeleteSelected(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    IControl* c = EditableControl(f, s->selected);
    const int a = c ? AttachIndex(s, c) : -1;
    if (a < 0) return;
    const std::string text = "If you confirm this dialog, you need to delete control number " + std::to_string(a) +
                             "!\n\nDelete control from plugin constructor immediately, otherwise your GUI layout "
                             "will be messed up after next recompile...\n\nIf you want to add new control, just "
                             "place it after last attached control in plugin constructor.";
    if (f->graphics->ShowMessageBox(text.c_str(), "Warning!!!", 1) != 1) return;
    LiveEditPushUndo(f);
    s->deleted.Add(a);
    ApplyDeletedToOtherViews(f, {a}, true);
    c->Hide(true);
    ClearSelection(f);
    WriteHeader(f, f->scale, s->viewMode);
    LiveEditStoreCurrentLayout(f);
}

void ResetView(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    const int end = std::min(EditableEnd(f), s->attachOrder.GetSize());
    for (int a = 1; a < end; ++a) f->graphics->ReplaceControl(a, s->attachOrder.Get(a));
    auto scaled = [f](const IRECT& r) {
        auto c = [f](int v) { return int(std::trunc((v + 0.4999) * f->scale)); };
        return IRECT(c(r.L), c(r.T), c(r.R), c(r.B));
    };
    for (int a = 1; a < end; ++a) {
        IControl* c = s->attachOrder.Get(a);
        *c->GetRECT() = scaled(*s->attachDrawRects.GetAt(a));
        c->SetTargetRECT(scaled(*s->attachTargetRects.GetAt(a)));
        if (!LiveEditIsDeleted(s, c)) c->Hide(!*s->attachVisible.GetAt(a));
    }
    ClearSelection(f);
}

// The rectangles of the edit mode get back their attach-time place (`position`) or
// size, times the GUI scale, keeping the other half as it is.
void ResetRects(LiveEditFrame* f, IControl* sel, bool position) {
    const LiveEditState* s = f->state;
    const int a = AttachIndex(s, sel);
    if (a < 0) return;  // attached after the layout was recorded: no attach-time layout
    auto atScale = [f](int v) { return int(v * f->scale); };
    auto reset = [&](const IRECT& r, const IRECT& r0) {
        if (position) return IRECT(atScale(r0.L), atScale(r0.T), atScale(r0.L) + r.W(), atScale(r0.T) + r.H());
        return IRECT(r.L, r.T, r.L + atScale(r0.W()), r.T + atScale(r0.H()));
    };
    Apply(sel, Mode(f), reset(*sel->GetRECT(), *s->attachDrawRects.GetAt(a)),
          reset(*sel->GetTargetRECT(), *s->attachTargetRects.GetAt(a)));
}

void MergeRects(LiveEditFrame* f, IControl* sel) {
    if (Mode(f) == kLiveEditDraw) *sel->GetRECT() = *sel->GetTargetRECT();
    if (Mode(f) == kLiveEditTarget) sel->SetTargetRECT(*sel->GetRECT());
}

}  // namespace

bool LiveEditIsDeleted(const LiveEditState* state, const IControl* control) {
    if (!state || !control) return false;
    const int a = AttachIndex(state, control);
    return a >= 0 && Holds(state->deleted, a);
}

void LiveEditPushUndo(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    LiveEditHistory& h = s->histories[SizeHistories(s)];
    h.position = std::max(h.position, -1) + 1;
    h.snapshots.resize(size_t(h.position) + 1);
    h.snapshots.back() = TakeSnapshot(f);
}

void LiveEditStoreCurrentLayout(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    s->lastWasUndo = s->lastWasRedo = false;
    s->currentSnapshots[SizeHistories(s)] = TakeSnapshot(f);
}

void LiveEditDropDuplicateUndo(LiveEditFrame* f) {
    LiveEditHistory& h = f->state->histories[SizeHistories(f->state)];
    const size_t n = h.snapshots.size();
    if (n >= 2 && h.snapshots[n - 1] == h.snapshots[n - 2]) {
        h.snapshots.pop_back();
        h.position = std::min(h.position, int(h.snapshots.size()) - 1);
    }
}

void LiveEditUndo(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    LiveEditHistory& h = s->histories[SizeHistories(s)];
    s->lastWasUndo = true;
    s->lastWasRedo = false;
    h.position = std::min(h.position, int(h.snapshots.size()) - 1);
    // An entry equal to what is shown (the one a redo just brought back) is stepped over.
    const LiveEditSnapshot now = TakeSnapshot(f);
    while (h.position >= 0 && h.snapshots[size_t(h.position)] == now) --h.position;
    if (h.position >= 0) {
        RestoreSnapshot(f, h.snapshots[size_t(h.position)]);
        --h.position;
    }
    WriteHeader(f, HistoryScale(f), s->viewMode);
    ClearSelection(f);
}

void LiveEditRedo(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    const size_t v = SizeHistories(s);
    LiveEditHistory& h = s->histories[v];
    s->lastWasRedo = true;
    const int last = int(h.snapshots.size()) - 1;
    if (s->lastWasUndo && h.position < last) ++h.position;
    s->lastWasUndo = false;
    if (h.position < last) {
        ++h.position;
        RestoreSnapshot(f, h.snapshots[size_t(h.position)]);
    } else if (h.position >= 0 && !s->currentSnapshots[v].order.empty()) {
        RestoreSnapshot(f, s->currentSnapshots[v]);
    }
    WriteHeader(f, HistoryScale(f), s->viewMode);
    ClearSelection(f);
}

namespace {

// ---- The context menu ----

// What the menu's enabled tests and changing texts look at.
struct MenuContext {
    const LiveEditState* state;
    IControl* selected;  // null without a selection, and while a group exists
};

bool HasSelection(const MenuContext& m) { return m.selected; }
bool RectsDiffer(const MenuContext& m) { return m.selected && *m.selected->GetRECT() != *m.selected->GetTargetRECT(); }
bool RectsEqual(const MenuContext& m) { return !RectsDiffer(m); }
bool SelectionHidden(const MenuContext& m) { return m.selected && m.selected->IsHidden(); }
bool GroupExists(const MenuContext& m) { return m.state->groupActive; }
bool GridShown(const MenuContext& m) { return m.state->gridShown; }
bool CoordinatesShown(const MenuContext& m) { return m.state->mouseCoordinatesShown; }

using A = LiveEditMenuAction;

// One row of the menu. Rows marked `edit` change the layout: an undo snapshot is
// pushed before them, and the header written and the layout stored after them.
struct MenuRow {
    A action;
    const char* text;  // null: a separator
    const char* otherText = nullptr;
    bool (*showOther)(const MenuContext&) = nullptr;  // shows `otherText` instead
    bool (*enabled)(const MenuContext&) = nullptr;    // null: always
    void (*run)(LiveEditFrame*, IControl* selected) = nullptr;
    bool edit = false;
};

constexpr MenuRow kSeparatorRow{A::kSeparator, nullptr};

constexpr MenuRow kMenuRows[] = {
    {A::kUndo, "Undo", nullptr, nullptr, nullptr, [](LiveEditFrame* f, IControl*) { LiveEditUndo(f); }},
    {A::kRedo, "Redo", nullptr, nullptr, nullptr, [](LiveEditFrame* f, IControl*) { LiveEditRedo(f); }},
    kSeparatorRow,
    {A::kResetPosition, "Reset Control Position", nullptr, nullptr, HasSelection,
     [](LiveEditFrame* f, IControl* c) { ResetRects(f, c, true); }, true},
    {A::kResetSize, "Reset Control Size", nullptr, nullptr, HasSelection,
     [](LiveEditFrame* f, IControl* c) { ResetRects(f, c, false); }, true},
    {A::kMerge, "Merge Draw and Target Rect", "Merge Draw and Target IRECT", RectsEqual, RectsDiffer, MergeRects, true},
    kSeparatorRow,
    {A::kHide, "Hide Control", "Show Control", SelectionHidden, HasSelection,
     [](LiveEditFrame*, IControl* c) { c->Hide(!c->IsHidden()); }, true},
    kSeparatorRow,
    {A::kBringToFront, "Bring to Front", nullptr, nullptr, HasSelection,
     [](LiveEditFrame* f, IControl*) { MoveInOrder(f, f->state->selected, EditableEnd(f) - 1, false); }, true},
    {A::kSendToBack, "Send to Back", nullptr, nullptr, HasSelection,
     [](LiveEditFrame* f, IControl*) { MoveInOrder(f, f->state->selected, 1, false); }, true},
    kSeparatorRow,
    {A::kBringForward, "Bring Forward", nullptr, nullptr, HasSelection,
     [](LiveEditFrame* f, IControl*) { MoveInOrder(f, f->state->selected, f->state->selected + 1, true); }, true},
    {A::kSendBackward, "Send Backward", nullptr, nullptr, HasSelection,
     [](LiveEditFrame* f, IControl*) { MoveInOrder(f, f->state->selected, f->state->selected - 1, true); }, true},
    kSeparatorRow,
    {A::kDeselect, "Deselect", nullptr, nullptr, GroupExists,
     [](LiveEditFrame* f, IControl*) { ClearGroup(f->state); }},
    {A::kGrid, "Show Grid", "Hide Grid", GridShown, nullptr,
     [](LiveEditFrame* f, IControl*) { f->state->gridShown = !f->state->gridShown; }},
    {A::kMouseCoordinates, "Show Mouse Coordinates", "Hide Mouse Coordinates", CoordinatesShown, nullptr,
     [](LiveEditFrame* f, IControl*) { f->state->mouseCoordinatesShown = !f->state->mouseCoordinatesShown; }},
    kSeparatorRow,
    {A::kResetView, "Reset View to Default", nullptr, nullptr, nullptr,
     [](LiveEditFrame* f, IControl*) { ResetView(f); }, true},
    kSeparatorRow,
    // Asks first, and pushes its snapshot only when confirmed.
    {A::kDelete, "Delete Control !!!", nullptr, nullptr, HasSelection,
     [](LiveEditFrame* f, IControl*) { DeleteSelected(f); }},
};

void AddRow(IPopupMenu* menu, const MenuRow& row, const MenuContext& m) {
    if (!row.text) {
        menu->AddSeparator();
        return;
    }
    const bool other = row.showOther && row.showOther(m);
    const bool enabled = !row.enabled || row.enabled(m);
    menu->AddItem(other ? row.otherText : row.text, -1, enabled ? 0 : IPopupMenuItem::kDisabled);
}

void RunRow(LiveEditFrame* f, const MenuRow& row, IControl* selected) {
    if (!row.edit) return row.run(f, selected);
    LiveEditState* s = f->state;
    LiveEditPushUndo(f);
    row.run(f, selected);
    if (selected && s->selected >= 0) SetSelectionCopies(s, selected);
    WriteHeader(f, f->scale, s->viewMode);
    LiveEditStoreCurrentLayout(f);
}

// ---- The overlay frame's steps ----

bool FrameIsComplete(const LiveEditFrame* f) {
    return f && f->state && f->graphics && f->editMode && f->lastKey && f->holdsMouse && f->selected && f->mouseDragged;
}

// Grid step and view modes for this frame; the header is read on the first one.
bool PrepareFrame(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    // The snap arithmetic divides by the step: at a scale below 1 it must not become 0.
    s->gridStep = std::max(1, f->views ? int(f->gridSetting * f->scale) : f->gridSetting);
    s->viewMode = f->views ? f->views->ViewModeIndex() : 0;
    s->viewModeCount = f->views ? std::max(f->views->ViewModeCount(), 1) : 1;
    s->viewMode = std::clamp(s->viewMode, 0, s->viewModeCount - 1);
    while (s->viewModeTexts.GetSize() < s->viewModeCount)
        if (!s->viewModeTexts.Add(new CMN_String)) return false;
    if (!s->headerRead) LiveEditReadLayoutHeader(s);
    return true;
}

// E holds or releases the mouse; B, D and T choose the edit mode, or with Shift only
// the rectangles that snapping compares with.
void TakeKey(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    const int key = *f->lastKey;
    if (key == kLiveEditKeyHold) *f->holdsMouse = !*f->holdsMouse;
    const int chosenMode = key == kLiveEditKeyBoth     ? kLiveEditBoth
                           : key == kLiveEditKeyDraw   ? kLiveEditDraw
                           : key == kLiveEditKeyTarget ? kLiveEditTarget
                                                       : -1;
    if (chosenMode >= 0) {
        if (f->mod.S) {
            s->snapReferenceMode = chosenMode;
        } else {
            *f->editMode = chosenMode;
            s->selected = -1;
            ClearGroup(s);
        }
    }
    *f->lastKey = -1;
    if (!f->mod.S) s->snapReferenceMode = *f->editMode;
}

// Whether the mouse is on the grip of an editable control (never while a group
// exists); the cursor says so unless a drag is under way.
bool HoverOnGrip(const LiveEditFrame* f) {
    const LiveEditState* s = f->state;
    bool onGrip = false;
    if (!s->groupActive)
        for (int k = 1; k < EditableEnd(f) && !onGrip; ++k)
            if (const IControl* c = EditableControl(f, k))
                onGrip = OnGrip(ModeRect(c, Mode(f)), s->handleSize, f->mouseX, f->mouseY);
    if (!*f->mouseDragged) SetCursor(onGrip ? IDC_SIZENWSE : IDC_ARROW);
    return onGrip;
}

// The right button selects what lies under the press, as the left one does: where no
// control lies, nothing stays selected, so the menu's selection rows are disabled
// rather than acting on a control away from the pointer.
void SelectUnderRightPress(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    IControl* c = EditableControl(f, *f->selected);
    if (!c) {
        ClearSelection(f);
        return;
    }
    SetSelectionCopies(s, c);
    s->selected = *f->selected;
    if (s->selected == s->previousSelected) return;
    s->pressX = f->mouseX;
    s->pressY = f->mouseY;
    s->dragStartDraw = s->selectionDraw;
    s->dragStartTarget = s->selectionTarget;
    s->resizeGripActive = OnGrip(ModeRect(c, Mode(f)), s->handleSize, f->mouseX, f->mouseY);
}

struct ButtonEdges {
    bool leftChanged;
    bool leftPressed;
};

// Press positions and the pending snapshot follow the buttons' edges; a press outside
// the group without Control removes the group.
ButtonEdges TrackButtons(LiveEditFrame* f) {
    LiveEditState* s = f->state;
    if (!f->mod.L) s->snapshotPending = true;
    const ButtonEdges edges{f->mod.L != s->lastLeft, f->mod.L != s->lastLeft && f->mod.L};
    if (edges.leftChanged || f->mod.R != s->lastRight) {
        s->lastPressX = f->mouseX;
        s->lastPressY = f->mouseY;
    }
    s->lastLeft = f->mod.L;
    s->lastRight = f->mod.R;
    if (f->mod.L && !f->mod.C && s->groupActive && !s->groupRect.Contains(f->mouseX, f->mouseY) && edges.leftPressed)
        ClearGroup(s);
    return edges;
}

void OpenContextMenu(LiveEditFrame* f) {
    // The release happens inside the menu and never reaches the engine, which would
    // have dropped the button and the control the press found; without that, the
    // next press would find the old control again.
    if (f->rightButton) *f->rightButton = false;
    LiveEditContextMenu(f);
    *f->selected = -1;
}

}  // namespace

int LiveEditMenuRow(LiveEditMenuAction action) {
    if (action == A::kSeparator) return -1;
    for (size_t i = 0; i < std::size(kMenuRows); ++i)
        if (kMenuRows[i].action == action) return int(i);
    return -1;
}

void LiveEditContextMenu(LiveEditFrame* f) {
    const MenuContext m{f->state, f->state->groupActive ? nullptr : EditableControl(f, f->state->selected)};
    IPopupMenu menu;
    for (const MenuRow& row : kMenuRows) AddRow(&menu, row, m);

    IRECT at(f->mouseX, f->mouseY, f->mouseX, f->mouseY);
    IPopupMenu* chosen = f->graphics->CreateIPopupMenu(&menu, &at);
    const int row = chosen ? chosen->GetChosenItemIdx() : -1;
    const IPopupMenuItem* picked = menu.GetItem(row);
    if (!picked || !picked->GetEnabled() || picked->GetIsSeparator()) return;
    RunRow(f, kMenuRows[row], m.selected);
}

void LiveEdit(LiveEditFrame* f) {
    if (!FrameIsComplete(f) || !PrepareFrame(f)) return;
    LiveEditState* s = f->state;
    TakeKey(f);
    if (!*f->holdsMouse) {
        ClearGroup(s);
        return;
    }
    f->graphics->SetAllControlsDirty();
    DrawDeletedList(f);
    if (!EditableControl(f, *f->selected)) *f->selected = -1;
    s->handleSize = int(8 * f->scale);

    const bool hoverOnGrip = HoverOnGrip(f);
    if (f->mod.R) SelectUnderRightPress(f);
    const ButtonEdges edges = TrackButtons(f);
    if (f->mod.C || s->groupActive) DragGroup(f, edges.leftChanged);
    else if (f->mod.L) DragControl(f, hoverOnGrip, edges.leftPressed);

    DrawOverlay(f);
    if (f->mod.R) OpenContextMenu(f);
    WriteHeader(f, f->scale, s->viewMode);
    *f->mouseDragged = false;
    s->previousSelected = s->selected;
}

void IGraphics::RunLiveEdit() {
    LiveEditFrame f;
    f.state = mPlug ? mPlug->GetLiveEditState() : nullptr;
    f.graphics = this;
    f.views = LiveEditViewsOf(mPlug);
    f.buffer = mDrawBitmap;
    f.scale = mGUIScale;
    f.mouseX = mMouseX;
    f.mouseY = mMouseY;
    f.width = mWidth;
    f.height = mHeight;
    f.mod = mMouseMod;
    f.gridSetting = mLiveEditGrid;
    f.snapDistance = mLiveEditSnapDistance;
    f.editMode = &mLiveEditMode;
    f.lastKey = &mLastKey;
    f.holdsMouse = &mLiveEditHoldsMouse;
    f.selected = &mLiveEditSelected;
    f.mouseDragged = &mMouseDragged;
    f.rightButton = &mMouseMod.R;
    LiveEdit(&f);
}
