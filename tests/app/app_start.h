// The whole program started by a test (headless or in a real window): a settings folder of
// its own, the panel images the build draws, its messages kept for the test to read.
#pragma once

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "app/editor_app.h"
#include "gui/gui_resize.h"
#include "platform/folders.h"

namespace testutil {

// settings.ini in the settings folder under `configDir`, holding `text`.
inline std::string WriteSettings(const std::string& configDir, const std::string& text) {
    const std::string ini = configDir + "/RODiradu4/settings.ini";
    platform::MakeFolders(configDir + "/RODiradu4", 0700);
    std::ofstream(ini) << text;
    return ini;
}

// The program on `backend`, not started yet, finding its images in `resources`.
inline std::unique_ptr<qdapp::EditorApp> MakeApp(platform::Backend* backend, const std::string& configDir,
                                                 std::ostream* out, std::ostream* err,
                                                 const std::string& resources = QD_SKIN_ROOT) {
    platform::RegisterBundle({"qd.test", "", "", resources});
    IModuleGUIResize::ResetProcessState();
    return std::make_unique<qdapp::EditorApp>(backend, qdapp::AppOptions{configDir, "qd.test", out, err});
}

}  // namespace testutil
