#include "app/shell_settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

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
    bool LongDeviceNames::*tooLong;
};

constexpr DeviceKey kDeviceKeys[] = {
    {"indev", "no input", &DeviceSettings::inDevice, &LongDeviceNames::in},
    {"inBdev", "no input", &DeviceSettings::inBDevice, &LongDeviceNames::inB},
    {"outdev", "no output", &DeviceSettings::outDevice, &LongDeviceNames::out},
};

// Room for a name one byte too long even after the reader steps back to the start of a
// UTF-8 sequence (at most three bytes).
constexpr unsigned kNameProbeSize = kDeviceNameSize + 4;

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

LongDeviceNames LoadDeviceSettings(const SettingsLocation& where, DeviceSettings* devices) {
    LongDeviceNames tooLong;
    for (const DeviceKey& k : kDeviceKeys) {
        char read[kNameProbeSize] = "";
        if (where.existed)
            GetPrivateProfileString("midi", k.key, k.readDefault, read, sizeof read, where.iniPath.c_str());
        else
            std::snprintf(read, sizeof read, "%s", kDeviceOff);
        if (std::strlen(read) >= size_t(kDeviceNameSize)) {
            tooLong.*k.tooLong = true;
            std::snprintf(devices->*k.field, kDeviceNameSize, "%s", kDeviceOff);
            continue;
        }
        std::memcpy(devices->*k.field, read, kDeviceNameSize);  // the name and zeros after it
        if (!where.iniPath.empty()) WritePrivateProfileString("midi", k.key, read, where.iniPath.c_str());
    }
    devices->inChannel = devices->inBChannel = devices->outChannel = 0;
    return tooLong;
}

void StoreDeviceSettings(const SettingsLocation& where, const DeviceSettings& devices, const LongDeviceNames& keep) {
    if (where.iniPath.empty()) return;
    for (const DeviceKey& k : kDeviceKeys)
        if (!(keep.*k.tooLong)) WritePrivateProfileString("midi", k.key, devices.*k.field, where.iniPath.c_str());
}

}  // namespace qdapp
