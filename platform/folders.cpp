#include "platform/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <mutex>
#include <vector>

#include "common/cmn_string.h"
#include "common/regular_file.h"

namespace platform {

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string ExpandTilde(const std::string& path) {
    if (path == "~") return HomeDirectory();
    if (path.rfind("~/", 0) == 0) return HomeDirectory() + path.substr(1);
    return path;
}

std::string ConfigDirectory(bool system) {
    if (system) {
        const char* dirs = std::getenv("XDG_CONFIG_DIRS");
        std::string first = dirs ? std::string(dirs).substr(0, std::string(dirs).find(':')) : "";
        return first.empty() || first[0] != '/' ? "/etc/xdg" : first;
    }
    // Relative values are invalid by the XDG rules and must be ignored.
    if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && c[0] == '/') return c;
    return HomeDirectory() + "/.config";
}

bool MakeFolders(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) MakeFolders(path.substr(0, slash), mode);
    return mkdir(path.c_str(), mode_t(mode)) == 0 || (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

std::string UserFolderPath(UserFolder folder) {
    const char* key = folder == UserFolder::Desktop ? "XDG_DESKTOP_DIR"
                      : folder == UserFolder::Documents ? "XDG_DOCUMENTS_DIR"
                                                        : "XDG_MUSIC_DIR";
    const char* fallback = folder == UserFolder::Desktop ? "/Desktop"
                           : folder == UserFolder::Documents ? "/Documents"
                                                             : "/Music";
    const std::string home = HomeDirectory();
    // Read only when it is a regular file: a FIFO under the name would stop the
    // file dialog that asked.
    constexpr size_t kMaxUserDirsBytes = 65536;
    std::string text;
    ReadRegularFile((ConfigDirectory() + "/user-dirs.dirs").c_str(), kMaxUserDirsBytes, &text);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // Lines read XDG_DESKTOP_DIR="$HOME/Desktop"; only "$HOME/..." or absolute paths are valid.
        size_t eq = line.find('=');
        if (eq == std::string::npos || line.compare(0, eq, key) != 0) continue;
        std::string v = line.substr(eq + 1);
        if (v.size() < 2 || v.front() != '"' || v.back() != '"') continue;
        v = v.substr(1, v.size() - 2);
        if (v.rfind("$HOME", 0) == 0) return home + v.substr(5);
        if (!v.empty() && v[0] == '/') return v;
    }
    return home + fallback;
}

std::string ExecutablePath() {
    std::vector<char> buf(4096);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return {};
    return std::string(buf.data(), size_t(n));
}

namespace {

struct BundleRegistry {
    std::mutex mutex;
    std::vector<BundleInfo> bundles;
};

BundleRegistry& Registry() {
    static BundleRegistry registry;
    return registry;
}

}  // namespace

void RegisterMainBundle(const std::string& identifier) {
    BundleInfo b;
    b.identifier = identifier;
    b.executablePath = ExecutablePath();
    size_t slash = b.executablePath.rfind('/');
    b.bundlePath = slash == std::string::npos ? "." : b.executablePath.substr(0, slash);
    b.resourcesPath = b.bundlePath + "/Resources";
    RegisterBundle(b);
}

void RegisterBundle(const BundleInfo& bundle) {
    BundleRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    for (BundleInfo& b : r.bundles) {
        if (b.identifier == bundle.identifier) {
            b = bundle;
            return;
        }
    }
    r.bundles.push_back(bundle);
}

bool FindBundle(const std::string& identifier, BundleInfo* bundle) {
    BundleRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    for (const BundleInfo& b : r.bundles) {
        if (b.identifier == identifier) {
            if (bundle) *bundle = b;
            return true;
        }
    }
    return false;
}

std::string PathForResource(const BundleInfo& bundle, const std::string& name, const std::string& type) {
    // A name that climbs out of the resources folder is no resource of the bundle.
    if (name.empty() || bundle.resourcesPath.empty() || name.find("..") != std::string::npos) return {};
    std::string path = bundle.resourcesPath + "/" + name + (type.empty() ? "" : "." + type);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return path;
}

std::string WithAllowedExtension(const std::string& path, const std::vector<std::string>& allowedTypes) {
    if (allowedTypes.empty() || path.empty()) return path;
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) {
        std::string_view ext = std::string_view(path).substr(dot + 1);
        for (const std::string& t : allowedTypes)
            if (CMN_EqualNoCase(t, ext)) return path;
    }
    return path + "." + allowedTypes.front();
}

FileFilter FileFilterFor(const std::vector<std::string>& allowedTypes) {
    FileFilter filter;
    for (const std::string& t : allowedTypes) {
        // Panel patterns are case-sensitive; a bracket pair per letter matches either
        // case. ASCII only, as the extensions are compared elsewhere, whatever the locale.
        std::string pattern = "*.";
        for (char c : t) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                pattern += {'[', char(c | 0x20), char(c & ~0x20), ']'};
            else
                pattern += c;
        }
        filter.patterns.push_back(pattern);
        filter.label += (filter.label.empty() ? "*." : " *.") + t;
    }
    return filter;
}

}  // namespace platform
