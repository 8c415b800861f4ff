#include "app/editor_app.h"

#include <algorithm>
#include <iostream>

#include "editor/menu_commands.h"
#include "editor/qd_editor.h"
#include "gui/igraphics_mac.h"
#include "gui/standalone_window.h"
#include "screens/editor_screens.h"

namespace qdapp {

platform::Point CentredOrigin(const platform::Rect& area, int width, int height) {
    const double x = area.x + std::max(0.0, (area.width - width) / 2.0);
    const double y = area.y + std::max(0.0, (area.height - height) / 2.0);
    return {double(int(x)), double(int(y))};
}

EditorApp::EditorApp(platform::Backend* backend, AppOptions options)
    : backend_(backend),
      options_(std::move(options)),
      out_(options_.out ? *options_.out : std::cout),
      midiLog_(options_.err ? *options_.err : std::cerr),
      output_(&midiLog_),
      instrumentIn_(&midiLog_, nullptr),  // the instrument's short messages are not used
      keyboardIn_(&midiLog_, [this](const uint8_t* bytes, int size) { OnKeyboardInput(bytes, size); }) {}

EditorApp::~EditorApp() { Stop(); }

void EditorApp::OpenMidi() {
    const std::vector<std::string> ports = output_.PortNames();
    out_ << "MIDI output ports (put one in [midi] outdev of " << settings_.iniPath << "):" << std::endl;
    if (ports.empty()) out_ << "  (none)" << std::endl;
    for (const std::string& name : ports) out_ << "  " << name << std::endl;

    if (!devices_.OutputIsOff() && !output_.Open(devices_.mOutDevice)) {
        // A name missing from a port list that could be read is forgotten; when MIDI
        // itself failed the user's choice stays in the file for the next start.
        const bool portsReadable = midiLog_.Count() == 0;  // no failure so far
        std::snprintf(devices_.mOutDevice, kDeviceNameSize, "%s", kDeviceOff);
        if (portsReadable) StoreDeviceSettings(settings_, devices_);
    }
}

bool EditorApp::Start() {
    if (!backend_) return false;
    settings_ = PrepareSettingsFolder(options_.configDir);
    LoadDeviceSettings(settings_, &devices_);
    OpenMidi();

    QDEditorSetup setup;
    setup.midiOut = output_.IsOpen() ? &output_ : nullptr;
    setup.devices = &devices_;
    setup.settingsPath = settings_.iniPath;
    setup.bundleID = options_.bundleID;
    setup.makePanel = qd::MakeEditorScreens;
    editor_ = std::make_unique<QDEditor>(setup);

    instrumentIn_.Open(devices_.mInDevice);
    keyboardIn_.Open(devices_.mInBDevice);

    IGraphicsMac* graphics = editor_->Graphics();
    window_ = backend_->CreateWindow(kWindowTitle, graphics->Width(), graphics->Height());
    if (!window_) return false;
    window_->SetCloseHandler([this] {
        backend_->QuitMainLoop();
        return true;
    });
    BuildMenuBar();
    window_->SetMenuBar(menuBar_.get());
    if (!graphics->OpenWindow(window_.get())) out_ << "couldn't attach gui" << std::endl;
    standaloneWindow_ = std::make_unique<PlatformStandaloneWindow>(window_.get());
    editor_->SetMainWindow(standaloneWindow_.get());
    // A stored scale too tall for this screen is lowered before the window is placed.
    FitGUIScaleToScreen(editor_.get());
    const platform::Point at = CentredOrigin(backend_->WorkArea(), graphics->Width(), graphics->Height());
    window_->SetPosition(int(at.x), int(at.y));
    window_->Show();
    return true;
}

void EditorApp::BuildMenuBar() {
    menuBar_ = std::make_unique<platform::Menu>();
    commands_.clear();
    platform::Menu* current = nullptr;
    const char* currentTitle = nullptr;
    for (const qd::MenuEntry& entry : qd::MenuEntries()) {
        if (!currentTitle || std::string(currentTitle) != entry.menu) {
            platform::MenuItem& top = menuBar_->AddItem(entry.menu, nullptr);
            menuBar_->SetSubmenu(top, std::make_unique<platform::Menu>());
            current = top.submenu.get();
            currentTitle = entry.menu;
        }
        if (!entry.text) {
            current->AddSeparatorItem();
            continue;
        }
        platform::MenuItem& item = current->AddItem(entry.text, this);
        commands_[&item] = entry.command;
    }
}

void EditorApp::OnMenuSelection(platform::MenuItem* item) {
    auto it = commands_.find(item);
    if (it == commands_.end()) return;
    if (it->second == qd::kMenuQuit) {
        backend_->QuitMainLoop();
        return;
    }
    if (editor_) editor_->OnMenuCommand(it->second);
}

void EditorApp::OnKeyboardInput(const uint8_t* bytes, int size) {
    if (!editor_ || size < 3) return;
    const IMidiMessage msg(0, bytes[0], bytes[1], bytes[2]);
    editor_->ProcessKeyboardMidi(msg);
}

void EditorApp::Run() {
    if (backend_ && window_) backend_->RunMainLoop();
}

void EditorApp::Stop() {
    instrumentIn_.Close();
    keyboardIn_.Close();
    editor_.reset();
    standaloneWindow_.reset();
    output_.Close();
    if (window_) window_->Hide();
    window_.reset();
    menuBar_.reset();
    commands_.clear();
}

}  // namespace qdapp
