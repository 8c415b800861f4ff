#include "app/editor_app.h"

#include <sys/stat.h>
#include <unistd.h>

#include <iostream>

#include "editor/menu_commands.h"
#include "editor/qd_editor.h"
#include "gui/igraphics_mac.h"
#include "gui/standalone_window.h"
#include "platform/folders.h"
#include "screens/editor_screens.h"
#include "winapi/profile.h"

namespace qdapp {

namespace {

bool IsReadableFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           access(path.c_str(), R_OK | X_OK) == 0;
}

}  // namespace

EditorApp::EditorApp(platform::Backend* backend, AppOptions options)
    : backend_(backend),
      options_(std::move(options)),
      out_(options_.out ? *options_.out : std::cout),
      err_(options_.err ? *options_.err : std::cerr),
      midiLog_(err_),
      output_(&midiLog_),
      instrumentIn_(&midiLog_, nullptr),  // the instrument's short messages are not used
      keyboardIn_(&midiLog_, [this](const uint8_t* bytes, int size) { OnKeyboardInput(bytes, size); }) {}

EditorApp::~EditorApp() { Stop(); }

void EditorApp::OpenMidi() {
    const std::vector<std::string> ports = output_.PortNames();
    if (settings_.iniPath.empty())
        out_ << "MIDI output ports (no settings file to put a choice in):" << std::endl;
    else
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
    // Whatever writes the settings (scale, skin, MIDI ports, manager view), a choice
    // that cannot be kept is told once, not dropped without a word.
    SetProfileWriteFailureHandler([this](const char* fileName) { ReportUnwritableSettings(fileName); });
    if (settings_.iniPath.empty()) ReportUnwritableSettings(SettingsFilePath(options_.configDir).c_str());
    ReportMissingImages();
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
    // A stored scale too large for this screen is lowered before the window is placed.
    FitGUIScaleToScreen(editor_.get(), window_.get());
    window_->Show();
    return true;
}

void EditorApp::ReportUnwritableSettings(const char* fileName) {
    if (settingsReported_.exchange(true)) return;
    err_ << "Cannot write the settings file " << fileName << ": choices made now will not be kept." << std::endl;
}

void EditorApp::ReportMissingImages() {
    platform::BundleInfo bundle;
    const bool known = platform::FindBundle(options_.bundleID, &bundle);
    if (known && IsReadableFolder(bundle.resourcesPath)) return;
    err_ << "Panel images not found: looked in " << (bundle.resourcesPath.empty() ? "no folder" : bundle.resourcesPath)
         << "." << std::endl;
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
    editor_.reset();  // stores the editor's settings: failures are still told
    SetProfileWriteFailureHandler(nullptr);
    standaloneWindow_.reset();
    output_.Close();
    if (window_) window_->Hide();
    window_.reset();
    menuBar_.reset();
    commands_.clear();
}

}  // namespace qdapp
