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
    : mBackend(backend),
      mOptions(std::move(options)),
      mOut(mOptions.out ? *mOptions.out : std::cout),
      mErr(mOptions.err ? *mOptions.err : std::cerr),
      mMidiLog(mErr),
      mOutput(&mMidiLog),
      mInstrumentIn(&mMidiLog, nullptr),  // the instrument's short messages are not used
      mKeyboardIn(&mMidiLog, [this](const uint8_t* bytes, int size) { OnKeyboardInput(bytes, size); }) {}

EditorApp::~EditorApp() { Stop(); }

void EditorApp::OpenMidi() {
    const std::vector<std::string> ports = mOutput.PortNames();
    if (mSettings.iniPath.empty())
        mOut << "MIDI output ports (no settings file to put a choice in):" << std::endl;
    else
        mOut << "MIDI output ports (put one in [midi] outdev of " << mSettings.iniPath << "):" << std::endl;
    if (ports.empty()) mOut << "  (none)" << std::endl;
    for (const std::string& name : ports) mOut << "  " << name << std::endl;

    if (!mDevices.OutputIsOff() && !mOutput.Open(mDevices.outDevice)) {
        // A name missing from a port list that could be read is forgotten; when MIDI
        // itself failed the user's choice stays in the file for the next start.
        const bool portsReadable = mMidiLog.Count() == 0;  // no failure so far
        std::snprintf(mDevices.outDevice, kDeviceNameSize, "%s", kDeviceOff);
        if (portsReadable) StoreDeviceSettings(mSettings, mDevices, mLongNames);
    }
}

bool EditorApp::Start() {
    if (!mBackend) return false;
    mSettings = PrepareSettingsFolder(mOptions.configDir);
    // Whatever writes the settings (scale, skin, MIDI ports, manager view), a choice
    // that cannot be kept is told once, not dropped without a word.
    SetProfileWriteFailureHandler([this](const char* fileName) { ReportUnwritableSettings(fileName); });
    if (mSettings.iniPath.empty()) ReportUnwritableSettings(SettingsFilePath(mOptions.configDir).c_str());
    ReportMissingImages();
    // A skin image that is there but cannot be loaded is told on the same stream.
    SetImageFailureHandler([this](const std::string& line) { mErr << line << std::endl; });
    mLongNames = LoadDeviceSettings(mSettings, &mDevices);
    OpenMidi();

    // The window and its menu bar come before the editor: the room they leave on the
    // screen decides the scale the panel is built at, so the images are scaled once.
    mWindow = mBackend->CreateWindow(kWindowTitle, QDEditor::kWidth, QDEditor::kHeight);
    if (!mWindow) return false;
    mWindow->SetCloseHandler([this] {
        mBackend->QuitMainLoop();
        return true;
    });
    BuildMenuBar();
    mWindow->SetMenuBar(mMenuBar.get());

    QDEditorSetup setup;
    setup.midiOut = mOutput.IsOpen() ? &mOutput : nullptr;
    setup.devices = &mDevices;
    setup.settingsPath = mSettings.iniPath;
    setup.bundleID = mOptions.bundleID;
    setup.makePanel = qd::MakeEditorScreens;
    const PanelRoom room = PanelRoomOnScreen(mWindow.get());
    setup.fitWidth = room.width;
    setup.fitHeight = room.height;
    mEditor = std::make_unique<QDEditor>(setup);

    mInstrumentIn.Open(mDevices.inDevice);
    mKeyboardIn.Open(mDevices.inBDevice);

    IGraphicsMac* graphics = mEditor->Graphics();
    if (!graphics->OpenWindow(mWindow.get())) mOut << "couldn't attach gui" << std::endl;
    mStandaloneWindow = std::make_unique<PlatformStandaloneWindow>(mWindow.get());
    mEditor->SetMainWindow(mStandaloneWindow.get());
    // Applies the fitted scale to the window and places it.
    FitGUIScaleToScreen(mEditor.get(), mWindow.get());
    mWindow->Show();
    return true;
}

void EditorApp::ReportUnwritableSettings(const char* fileName) {
    if (mSettingsReported.exchange(true)) return;
    mErr << "Cannot write the settings file " << fileName << ": choices made now will not be kept." << std::endl;
}

void EditorApp::ReportMissingImages() {
    platform::BundleInfo bundle;
    const bool known = platform::FindBundle(mOptions.bundleID, &bundle);
    if (known && IsReadableFolder(bundle.resourcesPath)) return;
    mErr << "Panel images not found: looked in " << (bundle.resourcesPath.empty() ? "no folder" : bundle.resourcesPath)
         << "." << std::endl;
}

void EditorApp::BuildMenuBar() {
    mMenuBar = std::make_unique<platform::Menu>();
    mCommands.clear();
    platform::Menu* current = nullptr;
    const char* currentTitle = nullptr;
    for (const qd::MenuEntry& entry : qd::MenuEntries()) {
        if (!currentTitle || std::string(currentTitle) != entry.menu) {
            platform::MenuItem& top = mMenuBar->AddItem(entry.menu, nullptr);
            mMenuBar->SetSubmenu(top, std::make_unique<platform::Menu>());
            current = top.submenu.get();
            currentTitle = entry.menu;
        }
        if (!entry.text) {
            current->AddSeparatorItem();
            continue;
        }
        platform::MenuItem& item = current->AddItem(entry.text, this);
        mCommands[&item] = entry.command;
        if (entry.command == qd::kMenuQuit) {
            // The desktop's key for Quit.
            item.keyEquivalent = std::string(1, 'q');  // not "q": GCC 12 warns falsely of an overlap
            item.keyEquivalentModifierMask = platform::kControlKeyMask;
        }
    }
}

void EditorApp::OnMenuSelection(platform::MenuItem* item) {
    auto it = mCommands.find(item);
    if (it == mCommands.end()) return;
    if (it->second == qd::kMenuQuit) {
        mBackend->QuitMainLoop();
        return;
    }
    if (mEditor) mEditor->OnMenuCommand(it->second);
}

void EditorApp::OnKeyboardInput(const uint8_t* bytes, int size) {
    if (!mEditor || size < 3) return;
    const IMidiMessage msg(0, bytes[0], bytes[1], bytes[2]);
    mEditor->ProcessKeyboardMidi(msg);
}

void EditorApp::Run() {
    if (mBackend && mWindow) mBackend->RunMainLoop();
}

void EditorApp::Stop() {
    mInstrumentIn.Close();
    mKeyboardIn.Close();
    mEditor.reset();  // stores the editor's settings: failures are still told
    SetProfileWriteFailureHandler(nullptr);
    SetImageFailureHandler(nullptr);
    mStandaloneWindow.reset();
    mOutput.Close();
    if (mWindow) mWindow->Hide();
    mWindow.reset();
    mMenuBar.reset();
    mCommands.clear();
}

}  // namespace qdapp
