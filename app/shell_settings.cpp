#include "app/shell_settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/folders.h"
#include "winapi/profile.h"

namespace qdapp {

namespace {

constexpr mode_t kPrivateFolder = 0700;

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

struct DeviceKey {
    const char* key;
    const char* readDefault;
    char (DeviceSettings::*field)[kDeviceNameSize];
};

constexpr DeviceKey kDeviceKeys[] = {
    {"indev", "no input", &DeviceSettings::mInDevice},
    {"inBdev", "no input", &DeviceSettings::mInBDevice},
    {"outdev", "no output", &DeviceSettings::mOutDevice},
};

}  // namespace

std::string SettingsFilePath(const std::string& configDir) {
    return configDir + "/" + kSettingsFolderName + "/" + kSettingsFileName;
}

SettingsLocation PrepareSettingsFolder(const std::string& configDir) {
    SettingsLocation where;
    const std::string folder = configDir + "/" + kSettingsFolderName;
    const bool folderExisted = IsFolder(folder);
    if (!platform::MakeFolders(folder, kPrivateFolder)) return where;
    // The umask may have taken bits away; a folder we made is exactly 0700.
    if (!folderExisted && chmod(folder.c_str(), kPrivateFolder) != 0) return where;
    where.folder = folder;
    where.iniPath = SettingsFilePath(configDir);
    where.existed = folderExisted && IsFile(where.iniPath);
    return where;
}

void LoadDeviceSettings(const SettingsLocation& where, DeviceSettings* devices) {
    for (const DeviceKey& k : kDeviceKeys) {
        char* value = devices->*k.field;
        if (where.existed)
            GetPrivateProfileString("midi", k.key, k.readDefault, value, kDeviceNameSize, where.iniPath.c_str());
        else
            std::snprintf(value, kDeviceNameSize, "%s", kDeviceOff);
        if (!where.iniPath.empty()) WritePrivateProfileString("midi", k.key, value, where.iniPath.c_str());
    }
    devices->mInChannel = devices->mInBChannel = devices->mOutChannel = 0;
}

void StoreDeviceSettings(const SettingsLocation& where, const DeviceSettings& devices) {
    if (where.iniPath.empty()) return;
    for (const DeviceKey& k : kDeviceKeys)
        WritePrivateProfileString("midi", k.key, devices.*k.field, where.iniPath.c_str());
}

}  // namespace qdapp
