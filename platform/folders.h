// Standard folders and the application bundle on a desktop without bundles: the
// bundle is the executable's folder and its resources are the Resources/ folder
// beside the executable.
#pragma once

#include <string>
#include <vector>

namespace platform {

std::string HomeDirectory();
// "~" or "~/..." with the home folder put in; any other text unchanged.
std::string ExpandTilde(const std::string& path);
// The user's settings folder ($XDG_CONFIG_HOME, default ~/.config), or the first
// system one ($XDG_CONFIG_DIRS, default /etc/xdg).
std::string ConfigDirectory(bool system = false);

enum class UserFolder { Desktop, Documents, Music };
// From the XDG user-folder settings, else the usual name under the home folder.
std::string UserFolderPath(UserFolder folder);

std::string ExecutablePath();

// Makes `path` and any missing parent folder with `mode`; true when the folder exists.
bool MakeFolders(const std::string& path, unsigned mode);

struct BundleInfo {
    std::string identifier;
    std::string bundlePath;      // folder of the executable
    std::string executablePath;
    std::string resourcesPath;
};

// Makes the running executable known as the bundle `identifier`.
void RegisterMainBundle(const std::string& identifier);
// Adds or replaces a bundle (tests point one at their own resources).
void RegisterBundle(const BundleInfo& bundle);
bool FindBundle(const std::string& identifier, BundleInfo* bundle);
// The path of the regular file `name`.`type` in the bundle's resources, or empty.
std::string PathForResource(const BundleInfo& bundle, const std::string& name, const std::string& type);

// A save panel that allows only some types gives the chosen name the first of them
// when it has none of them (letter case ignored).
std::string WithAllowedExtension(const std::string& path, const std::vector<std::string>& allowedTypes);

// The file panel's filter for the allowed types: a pattern per type that matches the
// extension in either letter case ("pr4" gives "*.[pP][rR]4"), and the label that
// names them ("*.pr4 *.prg").
struct FileFilter {
    std::vector<std::string> patterns;
    std::string label;
};
FileFilter FileFilterFor(const std::vector<std::string>& allowedTypes);

}  // namespace platform
