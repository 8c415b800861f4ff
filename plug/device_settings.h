// The shell's MIDI device choice: port names as settings.ini stores them ("off" for
// none) and the channels of the preferences, which last only while the program runs.
#pragma once

#include <cstring>

inline constexpr int kDeviceNameSize = 100;
inline constexpr const char* kDeviceOff = "off";

struct DeviceSettings {
    char mInDevice[kDeviceNameSize] = "off";   // the instrument's input
    char mInBDevice[kDeviceNameSize] = "off";  // the keyboard's input
    char mOutDevice[kDeviceNameSize] = "off";  // to the instrument
    int mInChannel = 0;
    int mInBChannel = 0;
    int mOutChannel = 0;

    bool OutputIsOff() const { return std::strcmp(mOutDevice, kDeviceOff) == 0; }
};
