// Settings files: a fuzzed starting file, then writes, removals and reads. Every write
// that answers true must read back as written (values trimmed, CR and LF dropped) and
// keep every value written before it; a write that answers false leaves the file as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "fuzz/fuzz_bodies.h"
#include "fuzz/fuzz_input.h"
#include "winapi/profile.h"

namespace qdfuzz {
namespace {

// One file per process, in memory when the system offers it: every input rewrites it.
const std::string& SettingsPath() {
    static const std::string path = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string dir = std::string(base) + "/qd-fuzz-profile-XXXXXX";
        if (!mkdtemp(dir.data())) std::abort();
        static std::string made = dir;
        std::atexit([] {
            std::remove((made + "/settings.ini").c_str());
            rmdir(made.c_str());
        });
        return dir + "/settings.ini";
    }();
    return path;
}

std::string FileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return "\x01no file";
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Names that collide often (case, white space, comment and section marks), or fuzzed ones.
std::string Name(FuzzInput& in) {
    static const char* const kNames[] = {"s", "S", "k", "K", "other", " k", "k ", "[k", "]", ";k", "#k", "k=", "",
                                         "\tk", "[s]", "s]"};
    const uint8_t k = in.Byte();
    if (k < 128) return kNames[k % (sizeof kNames / sizeof *kNames)];
    return in.Text(6);
}

std::string Fold(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// What a value reads back as: CR and LF dropped, surrounding white space trimmed.
std::string Stored(const std::string& value) {
    std::string v;
    for (char c : value)
        if (c != '\r' && c != '\n') v.push_back(c);
    const char* ws = " \t\r\n\f\v";
    const size_t b = v.find_first_not_of(ws);
    if (b == std::string::npos) return {};
    return v.substr(b, v.find_last_not_of(ws) - b + 1);
}

constexpr const char* kMissing = "\x01missing";

std::string Read(const std::string& section, const std::string& key, const std::string& path) {
    char buf[256];
    GetPrivateProfileString(section.c_str(), key.c_str(), kMissing, buf, sizeof buf, path.c_str());
    return buf;
}

}  // namespace

const char* Profile(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const std::string& path = SettingsPath();
    {
        const int length = in.Below(97);
        std::string start;
        for (int i = 0; i < length && !in.empty(); ++i) start.push_back(char(in.Byte()));
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f << start;
    }
    // (section, key) folded as the reader folds them -> what it must read back.
    std::map<std::pair<std::string, std::string>, std::pair<std::pair<std::string, std::string>, std::string>> model;
    for (int step = 0; step < 16 && !in.empty(); ++step) {
        const int op = in.Below(4);
        const std::string section = Name(in), key = Name(in);
        if (op == 3) {
            (void)GetPrivateProfileInt(section.c_str(), key.c_str(), 7, path.c_str());
            continue;
        }
        const bool remove = op == 2;
        const std::string value = remove ? std::string() : in.Text(12);
        const std::string before = FileBytes(path);
        const bool ok =
            WritePrivateProfileString(section.c_str(), key.c_str(), remove ? nullptr : value.c_str(), path.c_str());
        if (!ok) {
            if (FileBytes(path) != before) return "a refused write changed the file";
            continue;
        }
        const auto id = std::make_pair(Fold(section), Fold(key));
        if (remove) {
            model.erase(id);
        } else {
            model[id] = {{section, key}, Stored(value)};
            if (Read(section, key, path) != Stored(value)) return "a write reported as done does not read back";
        }
        for (const auto& [folded, entry] : model)
            if (Read(entry.first.first, entry.first.second, path) != entry.second)
                return "a write lost or changed another key";
    }
    return nullptr;
}

}  // namespace qdfuzz
