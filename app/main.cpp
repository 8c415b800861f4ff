#include <cstdio>

#include "app/editor_app.h"
#include "platform/folders.h"
#include "platform/gtk_backend.h"

int main() {
    std::unique_ptr<platform::Backend> backend = platform::CreateGtkBackend();
    if (!backend) {
        std::fprintf(stderr, "QD Editor needs a display.\n");
        return 1;
    }
    platform::InstallBackend(backend.get());
    platform::RegisterMainBundle(qdapp::kBundleID);

    qdapp::AppOptions options;
    options.configDir = platform::ConfigDirectory();
    {
        qdapp::EditorApp app(backend.get(), options);
        if (!app.Start()) return 1;
        app.Run();
        app.Stop();
    }
    platform::InstallBackend(nullptr);
    return 0;
}
