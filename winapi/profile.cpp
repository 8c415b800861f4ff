#include "winapi/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/cmn_string.h"
#include "common/regular_file.h"

namespace {

// A settings file is a few hundred bytes; anything far larger is not one of ours, and
// rewriting it would risk losing data, so it is treated as unreadable.
constexpr size_t kMaxSettingsFileBytes = 16 << 20;

// Readers and the read-modify-write of writers from the watchdog and main threads must
// not interleave.
std::recursive_mutex& ProfileMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::string_view Trim(std::string_view s) {
    const char* ws = " \t\r\n\f\v";
    size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

constexpr const char* kByteOrderMark = "\xef\xbb\xbf";

// Only a regular file is a settings file: anything else under the name reads as
// missing and is never written through (ReadRegularFile refuses it).
bool ReadSettingsFile(const char* fileName, bool* exists, std::string* data) {
    const FileRead read = ReadRegularFile(fileName, kMaxSettingsFileBytes, data);
    *exists = read != FileRead::kMissing;
    return read != FileRead::kRefused;
}

// Lines of the file without their line ends (LF or CRLF). nullopt: unreadable file;
// an empty vector: a missing or empty one.
std::optional<std::vector<std::string>> ReadLines(const char* fileName, bool* exists, bool* byteOrderMark = nullptr) {
    std::string data;
    if (!ReadSettingsFile(fileName, exists, &data)) return std::nullopt;

    std::vector<std::string> lines;
    // Editors on other systems may put a byte-order mark before the first section. A
    // rewrite keeps it: dropping it would let a second mark behind it take its place
    // and change what the first line means.
    bool mark = data.compare(0, 3, kByteOrderMark) == 0;
    if (byteOrderMark) *byteOrderMark = mark;
    size_t pos = mark ? 3 : 0;
    while (pos < data.size()) {
        size_t end = data.find('\n', pos);
        if (end == std::string::npos) end = data.size();
        std::string line = data.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    return lines;
}

// "[name]" gives the name; anything else is not a section line.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// "key=value" with the key matching; lines without "=" (garbage, comments) never match.
bool KeyMatches(std::string_view line, std::string_view key, std::string_view* value) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    std::string_view k = Trim(line.substr(0, eq));
    if (k.empty() || k.front() == ';' || k.front() == '#' || !CMN_EqualNoCase(k, key)) return false;
    if (value) *value = Trim(line.substr(eq + 1));
    return true;
}

struct Location {
    long sectionLine = -1;  // index of the "[section]" line
    long sectionEnd = -1;   // one past the last non-blank line of the section
    long keyLine = -1;
};

Location Find(const std::vector<std::string>& lines, std::string_view section, std::string_view key) {
    Location loc;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i])) {
            if (inSection) break;  // the first matching section is the one used
            inSection = CMN_EqualNoCase(*name, section);
            if (inSection) {
                loc.sectionLine = long(i);
                loc.sectionEnd = long(i) + 1;
            }
            continue;
        }
        if (!inSection) continue;
        if (!Trim(lines[i]).empty()) loc.sectionEnd = long(i) + 1;
        if (loc.keyLine < 0 && KeyMatches(lines[i], key, nullptr)) loc.keyLine = long(i);
    }
    return loc;
}

// The file a write through `fileName` replaces: the end of its chain of links, even
// when that end does not exist yet. A link to a file not made yet (dotfiles kept
// elsewhere, a folder not mounted) stays a link: the file is made where it points,
// or, when that folder is missing, the write fails and the link is kept. Empty for a
// chain that never ends.
std::string LinkTarget(const std::string& fileName) {
    constexpr int kMaxLinks = 40;  // the kernel's own limit
    std::string path = fileName;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char buf[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
        if (n <= 0 || n == ssize_t(sizeof buf - 1)) return {};  // a full buffer may be cut short
        const std::string link(buf, size_t(n));
        const size_t slash = path.rfind('/');
        path = link[0] == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    return {};
}

bool WriteAtomically(const char* fileName, const std::vector<std::string>& lines, bool exists, bool byteOrderMark) {
    std::string data = byteOrderMark ? kByteOrderMark : "";
    for (const std::string& l : lines) data.append(l).push_back('\n');

    const std::string target = LinkTarget(fileName);
    if (target.empty()) return false;
    fileName = target.c_str();
    std::string tmpl = target + ".XXXXXX";
    int fd = mkstemp(tmpl.data());
    if (fd < 0) return false;
    // A new file is its owner's alone: settings are private, and a link may lead the
    // file out of its private folder. A replaced file keeps the mode it had.
    mode_t mode = 0600;
    struct stat st {};
    if (exists && stat(fileName, &st) == 0) mode = st.st_mode & 07777;
    fchmod(fd, mode);

    const char* p = data.data();
    size_t left = data.size();
    bool ok = true;
    while (left > 0) {
        ssize_t w = write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += w;
        left -= size_t(w);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && std::rename(tmpl.c_str(), fileName) != 0) ok = false;
    if (!ok) {
        unlink(tmpl.c_str());
        return false;
    }
    // The rename itself must reach the disk for the new file to survive a crash.
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

}  // namespace

unsigned GetPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* out,
                                 unsigned outSize, const char* fileName) {
    if (!out || outSize == 0) return 0;
    std::string value = defaultValue ? defaultValue : "";
    if (section && key && fileName) {
        std::lock_guard lock(ProfileMutex());
        bool exists;
        if (auto lines = ReadLines(fileName, &exists)) {
            Location loc = Find(*lines, section, key);
            std::string_view v;
            if (loc.keyLine >= 0 && KeyMatches((*lines)[size_t(loc.keyLine)], key, &v)) value.assign(v);
        }
    }
    size_t n = std::min<size_t>(value.size(), outSize - 1);
    // A cut inside a UTF-8 sequence would hand on a broken character.
    if (n < value.size())
        while (n > 0 && (static_cast<unsigned char>(value[n]) & 0xc0) == 0x80) --n;
    std::memcpy(out, value.data(), n);
    out[n] = '\0';
    return unsigned(n);
}

int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* fileName) {
    // A sentinel that no real value can hold tells "missing" from "present".
    static const char kMissing[] = "\x01missing";
    char buf[64];
    GetPrivateProfileString(section, key, kMissing, buf, sizeof buf, fileName);
    if (std::strcmp(buf, kMissing) == 0) return defaultValue;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(buf, &end, 10);
    if (end == buf) return 0;
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

namespace {

// A name the reader would find under another spelling, or not at all, is refused:
// otherwise the write reports success for a value nobody can read, appends a new copy
// on every further write, or (a key starting with "[" whose line ends in "]") turns
// into a section header that hides the keys after it.
bool StorableNames(std::string_view section, std::string_view key) {
    auto trimmed = [](std::string_view s) { return Trim(s).size() == s.size(); };
    if (key.empty() || !trimmed(key) || !trimmed(section)) return false;
    if (key.front() == ';' || key.front() == '#' || key.front() == '[') return false;
    return key.find_first_of("=\r\n") == std::string_view::npos &&
           section.find_first_of("]\r\n") == std::string_view::npos;
}

// The read-modify-write of one value; false when the file could not be read or
// replaced.
bool Rewrite(const char* section, const char* key, const char* value, const char* fileName) {
    bool exists, mark = false;
    auto read = ReadLines(fileName, &exists, &mark);
    if (!read) return false;  // never replace a file we could not read
    std::vector<std::string>& lines = *read;
    Location loc = Find(lines, section, key);

    if (!value) {
        if (loc.keyLine < 0) return true;
        lines.erase(lines.begin() + loc.keyLine);
        return WriteAtomically(fileName, lines, exists, mark);
    }
    std::string entry = std::string(key) + "=" + value;
    // A value with a line break would split into a garbage line and a stray key.
    entry.erase(std::remove_if(entry.begin(), entry.end(), [](char c) { return c == '\n' || c == '\r'; }),
                entry.end());
    if (loc.keyLine >= 0) {
        lines[size_t(loc.keyLine)] = entry;
    } else if (loc.sectionLine >= 0) {
        lines.insert(lines.begin() + loc.sectionEnd, entry);
    } else {
        if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
        // Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) on "[" + string.
        std::string header = "[";
        header.append(section).append("]");
        lines.push_back(std::move(header));
        lines.push_back(entry);
    }
    return WriteAtomically(fileName, lines, exists, mark);
}

ProfileWriteFailureHandler& FailureHandler() {
    static ProfileWriteFailureHandler handler;
    return handler;
}

}  // namespace

bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* fileName) {
    if (!section || !key || !fileName || !*fileName || !StorableNames(section, key)) return false;
    std::lock_guard lock(ProfileMutex());
    if (Rewrite(section, key, value, fileName)) return true;
    if (FailureHandler()) FailureHandler()(fileName);
    return false;
}

void SetProfileWriteFailureHandler(ProfileWriteFailureHandler handler) {
    std::lock_guard lock(ProfileMutex());
    FailureHandler() = std::move(handler);
}
