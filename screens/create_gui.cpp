// QDEditor::CreateGUI: the panel of the stored skin, the keyboard, the manager page,
// the about box, then the tooltips and the groups that start hidden.
#include <cstring>

#include "editor/qd_editor.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/switch_controls.h"
#include "gui/igraphics_mac.h"
#include "screens/keyboard_control.h"
#include "screens/skin_choice.h"
#include "screens/tooltips.h"
#include "winapi/profile.h"

namespace {

constexpr int kKeyboardX = 316, kKeyboardY = 728;
constexpr IRECT kAboutCloseArea(0, 0, 20, 20);

}  // namespace

void QDEditor::CreateGUI(bool redPanelOnly) {
    IGraphicsMac* g = mGraphicsMac;
    if (redPanelOnly) {
        g->AttachPanelBackground(&COLOR_RED);
        return;
    }
    g->AttachPanelBackground(&COLOR_GRAY);

    char value[qd::kSkinSettingSize] = {};
    GetPrivateProfileString("gui", "background", "", value, sizeof value, mSettingsPath.c_str());
    const qd::SkinChoice choice = qd::ChooseSkin(value);
    if (choice.writeBack)
        WritePrivateProfileString("gui", "background", qd::SkinSettingName(qd::kSkinSpace), mSettingsPath.c_str());
    mSkin = choice.skin;
    if (choice.lcdBuilder)
        BuildLcdSkinLayout();
    else
        BuildOrigSkinLayout(choice.firstBackground);

    // Every skin plays on the "orig" keyboard.
    IBitmapStrip* keys = g->LoadBitmapStrip(104, "img/orig/keys-2x.png", IKeyboardControl::kKeysFrames, false);
    IBitmapStrip* octave = g->LoadBitmapStrip(105, "img/orig/bgkb-2x.png", 1, false);
    mKeyboard = new IKeyboardControl(this, kKeyboardX, kKeyboardY, keys, octave);
    g->AttachControl(mKeyboard);

    BuildManagerPanel();
    SetManagerPanelHidden(!mManagerView);

    IBitmapStrip* about = g->LoadBitmapStrip(103, "img/orig/about-2x.png", 1, false);
    mAboutBox = new IBitmapOverlayControl(this, 70, 0, about, kAboutCloseArea);
    g->AttachControl(mAboutBox);

    AttachGraphics(g);

    for (int i = 0; i < g->NControls(); ++i) {
        IControl* control = g->GetControl(i);
        const int param = control->ParamIdx();
        if (qd::TooltipIsParamName(param)) {
            if (IParam* p = GetParam(param)) control->SetTooltip(p->GetNameForHost());
        } else if (const char* text = qd::TooltipText(param)) {
            control->SetTooltip(text);
        }
    }
    // The selectors lie over the file buttons and take their mouse-overs, so they carry
    // the buttons' texts; the pass above left the ones bound to 201, 203 and 205 empty.
    mFileSelectors[2]->SetTooltip(qd::TooltipText(qd::kTooltipLoadParam));
    mFileSelectors[3]->SetTooltip(qd::TooltipText(qd::kTooltipSaveParam));
    mFileSelectors[4]->SetTooltip(qd::TooltipText(qd::kTooltipWriteParam));
    g->HandleMouseOver(true);
    g->EnableTooltips(true);

    mSaveFromQdBg->Hide(true);
    g->HideControl(301, true);
    g->HideControl(302, true);
    SetOverdrivePanelHidden(true);
    SetEqualizerBandsHidden(true);
    SetEqualizerPanelHidden(true);
}
