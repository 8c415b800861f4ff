#include <gtest/gtest.h>

#include "recording_graphics.h"

using namespace guitest;

namespace {

struct GraphicsFixture : GuiFixture {
    GraphicsFixture() : GuiFixture(3, 100, 60) {}

    void SetUp() override {
        plug.GetParam(0)->InitInt("a", 10, 0, 100);
        plug.GetParam(1)->InitDouble("b", 0.5, 0, 1, 0.01);
        plug.GetParam(2)->InitBool("c", false);
    }
    void CleanAll() {
        for (int i = 0; i < graphics->NControls(); ++i) {
            graphics->GetControl(i)->SetClean();
            graphics->GetControl(i)->SetClean();
        }
    }
    std::vector<int> Indices() {
        std::vector<int> v;
        for (int i = 0; i < graphics->NControls(); ++i) v.push_back(graphics->GetControl(i)->GetIndex());
        return v;
    }
};

}  // namespace

TEST_F(GraphicsFixture, ListEditsKeepTheBackgroundAndRenumber) {
    LogControl* c[5];
    for (int i = 0; i < 5; ++i) c[i] = Add("c", IRECT(0, 0, 1, 1));
    EXPECT_EQ(c[4]->GetIndex(), 4);
    auto* spare = new LogControl(&plug, &log, "s", IRECT());

    struct Case { int idx; bool replaced; } replaceCases[] = {{0, false}, {-1, false}, {5, false}, {4, true}};
    for (const auto& k : replaceCases) {
        IControl* before = graphics->GetControl(k.idx);
        graphics->ReplaceControl(k.idx, spare);
        EXPECT_EQ(graphics->GetControl(k.idx) == spare, k.replaced) << k.idx;
        if (!k.replaced) {
            EXPECT_EQ(graphics->GetControl(k.idx), before);
        }
    }
    EXPECT_EQ(graphics->NControls(), 5);
    graphics->ReplaceControl(4, c[4]);  // put the original back; the spare is ours again
    delete spare;

    graphics->MoveControlBehind(3, 1);
    EXPECT_EQ(graphics->GetControl(1), c[3]);
    EXPECT_EQ(graphics->GetControl(2), c[1]);
    graphics->MoveControlBehind(0, 2);  // the background stays
    EXPECT_EQ(graphics->GetControl(0), c[0]);
    graphics->SwapControls(1, 4);
    EXPECT_EQ(graphics->GetControl(1), c[4]);
    EXPECT_EQ(graphics->GetControl(4), c[3]);
    graphics->SwapControls(0, 4);
    EXPECT_EQ(graphics->GetControl(0), c[0]);
    EXPECT_EQ(Indices(), (std::vector<int>{0, 1, 2, 3, 4}));

    graphics->RemoveControl(2);
    EXPECT_EQ(graphics->NControls(), 4);
    EXPECT_EQ(graphics->GetControlIdx(c[1]), -1);
    EXPECT_EQ(Indices(), (std::vector<int>{0, 1, 2, 3}));
    graphics->RemoveControl(9);
    EXPECT_EQ(graphics->NControls(), 4);
    delete c[1];
}

TEST_F(GraphicsFixture, ParameterPathRunsUnderTheMutexInHookOrder) {
    LogControl* knob = Add("knob", IRECT(0, 0, 10, 10), 0);
    LogControl* twin = Add("twin", IRECT(20, 0, 30, 10), 0);
    LogControl* other = Add("other", IRECT(40, 0, 50, 10), 1);
    Attach();
    EXPECT_EQ(knob->GetValue(), 0.1);
    EXPECT_EQ(twin->GetDefaultValue(), 0.1);
    EXPECT_EQ(other->GetValue(), 0.5);
    CleanAll();
    log.clear();

    knob->SetValueFromUserInput(0.42);
    EXPECT_EQ(plug.GetParam(0)->Value(), 42.0);
    EXPECT_EQ(log, (Log{"inform 0", "change 0 locked"}));
    EXPECT_FALSE(plug.MutexHeldElsewhere()) << "released afterwards";

    plug.RedrawParamControls();
    EXPECT_EQ(twin->GetValue(), 0.42);
    EXPECT_TRUE(twin->IsDirty());
    EXPECT_FALSE(other->IsDirty()) << "an unchanged value redraws nothing";

    log.clear();
    plug.SetParameterFromGUI2(1, 7.0);
    EXPECT_EQ(plug.GetParam(1)->Value(), 1.0);
    EXPECT_EQ(log, (Log{"change 1 locked"}));
    log.clear();
    plug.SetParameterFromGUI(99, 0.5);
    plug.SetParameterFromGUI2(-1, 0.5);
    EXPECT_TRUE(log.empty());
}

TEST_F(GraphicsFixture, AttachRecordsTheLayoutOnce) {
    Add("bg", IRECT(0, 0, 100, 60));
    LogControl* hidden = Add("h", IRECT(5, 5, 9, 9), 2);
    hidden->SetTargetRECT(IRECT(1, 1, 2, 2));
    hidden->Hide(true);
    Attach();
    LiveEditState* state = plug.GetLiveEditState();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->mAttachOrder.GetSize(), 2);
    EXPECT_EQ(state->mCurrentOrder.Get(1), hidden);
    EXPECT_EQ(*state->mAttachTargetRects.GetAt(1), IRECT(1, 1, 2, 2));
    EXPECT_EQ(*state->mAttachDrawRects.GetAt(1), IRECT(5, 5, 9, 9));
    EXPECT_TRUE(*state->mAttachVisible.GetAt(0));
    EXPECT_FALSE(*state->mAttachVisible.GetAt(1));
    EXPECT_EQ(state->mSelected, -1);
    EXPECT_EQ(state->mGroupRect, IRECT(999999999, 999999999, 0, 0));
    EXPECT_TRUE(state->mSnapshotPending);
    EXPECT_STREQ(state->mFontName, "Tahoma");
    ASSERT_NE(graphics->GetDrawBitmap(), nullptr);
    EXPECT_EQ(graphics->GetDrawBitmap()->getWidth(), 100);

    plug.AttachGraphics(graphics);
    EXPECT_EQ(state->mAttachOrder.GetSize(), 2);
    EXPECT_EQ(graphics->NControls(), 2);
    plug.AttachGraphics(nullptr);
    EXPECT_EQ(plug.GetGUI(), graphics);
}

TEST_F(GraphicsFixture, IndicesThatNameNothingChangeNothing) {
    LogControl* unbound = Add("u", IRECT(0, 0, 10, 10));
    LogControl* bound = Add("b", IRECT(0, 0, 10, 10), 2);
    Attach();
    graphics->HideControl(-1, true);
    graphics->GrayOutControl(-1, true);
    graphics->MoveControl(-1, 50, 50);
    graphics->SetParameterFromPlug(-1, 0.7, true);
    graphics->SetParameterFromPlug(3, 0.7, false);
    graphics->HideControlAt(7, true);
    graphics->SetControlFromPlugAt(-2, 0.5);
    EXPECT_FALSE(unbound->IsHidden());
    EXPECT_FALSE(unbound->IsGrayed());
    EXPECT_EQ(unbound->GetRECT()->L, 0);
    EXPECT_EQ(unbound->GetValue(), 0.0);
    EXPECT_FALSE(graphics->IsControlHidden(-1));

    graphics->HideControl(2, true);
    EXPECT_TRUE(bound->IsHidden());
    EXPECT_TRUE(graphics->IsControlHidden(2));
    graphics->MoveControl(2, 30, 40);
    EXPECT_EQ(*bound->GetRECT(), IRECT(30, 40, 40, 50));
    graphics->SetParameterFromPlug(0, 55.0, false);  // not normalised: converted first
    graphics->SetParameterFromPlug(2, 1.0, false);
    EXPECT_EQ(bound->GetValue(), 1.0);
    graphics->ClampControl(2, 0.0, 0.5, true);
    EXPECT_EQ(bound->GetClampHi(), 0.5);
    graphics->SetControlsFromUserInput(2, 0.9);
    EXPECT_EQ(bound->GetValue(), 0.5);
    EXPECT_EQ(plug.GetParam(2)->Value(), 1.0);  // 0.5 rounds to the bool's step
}

TEST_F(GraphicsFixture, DirtyRectangleIsTheUnionOfDirtyControls) {
    Add("bg", IRECT(0, 0, 100, 60));
    LogControl* a = Add("a", IRECT(10, 10, 20, 20));
    LogControl* b = Add("b", IRECT(50, 5, 60, 15));
    LogControl* zero = Add("zero", IRECT());
    CleanAll();
    a->SetDirty(false);
    b->SetDirty(false);
    zero->SetDirty(false);
    IRECT r;
    EXPECT_TRUE(graphics->IsDirty(&r));
    EXPECT_EQ(r, IRECT(10, 5, 60, 20));

    CleanAll();
    zero->SetDirty(false);
    IRECT z;
    EXPECT_TRUE(graphics->IsDirty(&z));
    EXPECT_TRUE(z.Empty()) << "a zero-size control never widens the rectangle";
}

TEST_F(GraphicsFixture, IdleHookRunsOnEverySecondQuietTick) {
    LogControl* a = Add("a", IRECT(10, 10, 20, 20));
    CleanAll();
    struct Tick { bool dirtyControl; bool idle; } ticks[] = {
        {false, false}, {false, true}, {false, false}, {true, false}, {false, false}, {false, true},
        {false, false}, {false, true},
    };
    int n = 0;
    for (const auto& t : ticks) {
        if (t.dirtyControl) a->SetDirty(false);
        log.clear();
        IRECT r;
        EXPECT_EQ(graphics->IsDirty(&r), t.dirtyControl) << "tick " << n;
        EXPECT_EQ(log == Log{"idle"}, t.idle) << "tick " << n;
        a->SetClean();
        ++n;
    }
}

TEST_F(GraphicsFixture, RectangleRedrawDrawsWhatMeetsAndCleansEverything) {
    Add("bg", IRECT(0, 0, 100, 60));
    Add("edge", IRECT(40, 0, 50, 10));    // starts at the requested right edge: drawn
    Add("below", IRECT(10, 30, 20, 40));  // starts at the bottom edge: drawn
    Add("left", IRECT(0, 0, 10, 10));     // ends at the left edge: not drawn
    LogControl* hidden = Add("hidden", IRECT(20, 20, 30, 30));
    LogControl* zero = Add("zero", IRECT());
    hidden->Hide(true);
    graphics->PrepDraw();
    IRECT r(10, 5, 40, 30);
    log.clear();
    EXPECT_TRUE(graphics->Draw(&r));
    EXPECT_EQ(log, (Log{"bg draw", "edge draw", "below draw", "screen"}));
    EXPECT_EQ(graphics->screens.back(), r);
    EXPECT_EQ(*graphics->GetDrawRECT(), r);
    EXPECT_TRUE(hidden->IsDirty()) << "hiding asked for one more redraw";
    EXPECT_FALSE(zero->IsDirty());
    graphics->Draw(&r);
    EXPECT_FALSE(hidden->IsDirty());

    graphics->screenResult = false;
    EXPECT_FALSE(graphics->Draw(&r));
}

TEST_F(GraphicsFixture, DirtyControlRedrawRepaintsWhatOverlapsEachDirtyControl) {
    LogControl* bg = Add("bg", IRECT(0, 0, 100, 60));
    Add("x", IRECT(0, 0, 30, 30));
    LogControl* y = Add("y", IRECT(20, 20, 40, 40));
    Add("far", IRECT(80, 50, 90, 55));
    LogControl* hidden = Add("hidden", IRECT(25, 25, 35, 35));
    graphics->PrepDraw();
    graphics->SetRectRedraw(false);
    CleanAll();
    hidden->Hide(true);
    hidden->SetClean();
    hidden->SetDirty(false);
    bg->SetClean();
    y->SetDirty(false);
    IRECT r(0, 0, 100, 60);
    log.clear();
    EXPECT_TRUE(graphics->Draw(&r));
    // y repaints what it overlaps; the hidden one is not drawn, but what lay under it is.
    EXPECT_EQ(log, (Log{"bg draw", "x draw", "y draw", "bg draw", "x draw", "y draw", "screen"}));
    EXPECT_FALSE(y->IsDirty());
    EXPECT_FALSE(hidden->IsDirty()) << "a hidden dirty control is cleaned without drawing";
    EXPECT_EQ(*graphics->GetDrawRECT(), IRECT(25, 25, 35, 35));

    bg->SetDirty(false);
    log.clear();
    graphics->Draw(&r);
    EXPECT_EQ(log, (Log{"bg draw", "x draw", "y draw", "far draw", "screen"}));
}

TEST_F(GraphicsFixture, DrawingWithoutBackBufferOrControls) {
    IRECT r(0, 0, 10, 10);
    EXPECT_TRUE(graphics->Draw(&r)) << "empty list";
    EXPECT_TRUE(graphics->screens.empty());
    Add("a", IRECT(0, 0, 10, 10));
    EXPECT_FALSE(graphics->Draw(&r)) << "no back buffer yet";
    EXPECT_TRUE(graphics->GetControl(0)->IsDirty());
    EXPECT_TRUE(graphics->PrepDraw());
    EXPECT_TRUE(graphics->PrepDraw());  // again: replaces, no leak
    EXPECT_TRUE(graphics->Draw(&r));
    graphics->DropBackBuffer();
    EXPECT_FALSE(graphics->Draw(&r));

    RecordingGraphics absurd(&plug, 1 << 20, 1 << 20);
    EXPECT_FALSE(absurd.PrepDraw());
    absurd.AttachControl(new LogControl(&plug, nullptr, "a", IRECT(0, 0, 1, 1)));
    EXPECT_FALSE(absurd.Draw(&r));
}

TEST_F(GraphicsFixture, RunningAnimationKeepsItsControlDirty) {
    LogControl* a = Add("a", IRECT(10, 10, 20, 20));
    CleanAll();
    a->GetAnimation()->Start("fade", true, 2, 2, 0, 0, 0.0, 1.0);  // first step: running
    IRECT r;
    EXPECT_TRUE(graphics->IsDirty(&r));
    EXPECT_EQ(r, IRECT(10, 10, 20, 20));
    a->SetClean();
    a->GetAnimation()->Start("fade", true, 2, 2, 0, 0, 0.0, 1.0);
    EXPECT_TRUE(graphics->IsDirty(&r));
    a->SetClean();
    a->GetAnimation()->Start("fade", true, 2, 2, 0, 0, 0.0, 1.0);  // at the end: stopped
    IRECT quiet;
    EXPECT_FALSE(graphics->IsDirty(&quiet));
    EXPECT_TRUE(quiet.Empty());
}

TEST_F(GraphicsFixture, ResizeRemakesTheBackBufferAndTellsThePlugIn) {
    struct ResizePlug : LogPlug {
        using LogPlug::LogPlug;
        int resizes = 0;
        void OnWindowResize() override { ++resizes; }
    } resizePlug(1, &log);
    RecordingGraphics g(&resizePlug, 100, 60);
    g.PrepDraw();
    g.Resize(150, 90);
    EXPECT_EQ(g.Width(), 150);
    EXPECT_EQ(g.Height(), 90);
    ASSERT_NE(g.GetDrawBitmap(), nullptr);
    EXPECT_EQ(g.GetDrawBitmap()->getWidth(), 150);
    EXPECT_EQ(g.GetDrawBitmap()->getHeight(), 90);
    EXPECT_EQ(resizePlug.resizes, 1);
}

