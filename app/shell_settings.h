// The shell's settings folder and the MIDI device choice in its settings.ini.
#pragma once

#include <string>

#include "plug/device_settings.h"

namespace qdapp {

inline constexpr const char* kSettingsFolderName = "RODiradu4";
inline constexpr const char* kSettingsFileName = "settings.ini";

struct SettingsLocation {
    std::string folder;  // empty when it could not be made
    std::string iniPath;
    bool existed = false;  // folder and settings.ini were both there already
};

// `<configDir>/RODiradu4/settings.ini`, whether or not it can be made.
std::string SettingsFilePath(const std::string& configDir);

// Makes `<configDir>/RODiradu4` when it is missing, readable by the user alone: it
// holds private data.
SettingsLocation PrepareSettingsFolder(const std::string& configDir);

// The device names in settings.ini too long for the records of DeviceSettings. A cut
// name could match another port than the one the user meant, so such a device is "off"
// for the run, and its key is never written: the file keeps what the user wrote.
struct LongDeviceNames {
    bool in = false, inB = false, out = false;
};

// Reads [midi] indev, inBdev and outdev (defaults "no input", "no input", "no output")
// and writes them back; on a first run writes "off" for all three instead. Either way
// `devices` ends up with what the file holds, but for the names answered as too long.
LongDeviceNames LoadDeviceSettings(const SettingsLocation& where, DeviceSettings* devices);

// Writes the device names of `devices` (after a stored name was not found among the
// ports and became "off"), all but those in `keep`.
void StoreDeviceSettings(const SettingsLocation& where, const DeviceSettings& devices,
                         const LongDeviceNames& keep = {});

}  // namespace qdapp
