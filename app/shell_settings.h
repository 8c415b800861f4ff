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

// Reads [midi] indev, inBdev and outdev (defaults "no input", "no input", "no output")
// and writes them back; on a first run writes "off" for all three instead. Either way
// `devices` ends up with what the file holds.
void LoadDeviceSettings(const SettingsLocation& where, DeviceSettings* devices);

// Writes the three device names of `devices` (after a stored name was not found among
// the ports and became "off").
void StoreDeviceSettings(const SettingsLocation& where, const DeviceSettings& devices);

}  // namespace qdapp
