// The application shell: settings folder and MIDI devices, the editor, and its main
// window with the menu bar. Runs on any platform back end, so tests drive the whole
// start-up and shutdown on the headless one.
#pragma once

#include <atomic>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>

#include "app/midi_ports.h"
#include "app/shell_settings.h"
#include "platform/platform.h"
#include "plug/device_settings.h"

class PlatformStandaloneWindow;
class QDEditor;

namespace qdapp {

inline constexpr const char* kBundleID = "com.rodiradu.qdeditor";
inline constexpr const char* kWindowTitle = "QD Editor";

struct AppOptions {
    std::string configDir;  // where the settings folder goes
    std::string bundleID = kBundleID;
    std::ostream* out = nullptr;  // port list, attach failure (default std::cout)
    std::ostream* err = nullptr;  // MIDI failures, settings and images missing (default std::cerr)
};

class EditorApp : public platform::MenuReceiver {
public:
    EditorApp(platform::Backend* backend, AppOptions options);
    ~EditorApp() override;
    EditorApp(const EditorApp&) = delete;
    EditorApp& operator=(const EditorApp&) = delete;

    // Settings, MIDI, the editor and its window, shown. False only without a window.
    bool Start();
    // Until the window is closed or Quit is chosen.
    void Run();
    // Stops MIDI input, deletes the editor (which stores its settings), closes the
    // ports and the window. Safe to call twice.
    void Stop();

    void OnMenuSelection(platform::MenuItem* item) override;

    QDEditor* Editor() const { return mEditor.get(); }
    platform::Window* MainWindow() const { return mWindow.get(); }
    const DeviceSettings& Devices() const { return mDevices; }
    const SettingsLocation& Settings() const { return mSettings; }
    bool OutputOpen() const { return mOutput.IsOpen(); }

private:
    void OpenMidi();
    void BuildMenuBar();
    void OnKeyboardInput(const uint8_t* bytes, int size);
    // One line on the error stream the first time any settings write fails.
    void ReportUnwritableSettings(const char* fileName);
    // One line when the panel's images have no folder to come from.
    void ReportMissingImages();

    platform::Backend* mBackend;
    AppOptions mOptions;
    std::ostream& mOut;
    std::ostream& mErr;
    std::atomic<bool> mSettingsReported{false};
    MidiErrorLog mMidiLog;
    SettingsLocation mSettings;
    DeviceSettings mDevices;
    LongDeviceNames mLongNames;  // off for this run, never written back
    MidiOutputPort mOutput;
    MidiInputPort mInstrumentIn;
    MidiInputPort mKeyboardIn;
    std::unique_ptr<QDEditor> mEditor;
    std::unique_ptr<platform::Window> mWindow;
    std::unique_ptr<PlatformStandaloneWindow> mStandaloneWindow;
    std::unique_ptr<platform::Menu> mMenuBar;
    std::map<const platform::MenuItem*, int> mCommands;
};

}  // namespace qdapp
