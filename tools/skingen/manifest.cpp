#include "tools/skingen/manifest.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace skingen {

namespace {

// Sides beyond this are surely a typing error, and would ask for gigabytes.
constexpr int kMaxGuiSide = 4000;
constexpr int kMaxFrames = 1000;

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t end = s.find(sep, start);
        out.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return out;
        start = end + 1;
    }
}

bool toInt(const std::string& s, int lo, int hi, int& out) {
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, out);
    return r.ec == std::errc() && r.ptr == end && out >= lo && out <= hi;
}

bool validName(const std::string& s) {
    if (s.empty()) return false;
    for (const char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')) return false;
    return true;
}

}  // namespace

Manifest ParseManifest(const std::string& text) {
    Manifest m;
    std::istringstream in(text);
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const auto fields = split(line, '\t');
        auto fail = [&](const std::string& why) {
            m.images.clear();
            m.error = "manifest line " + std::to_string(lineNo) + ": " + why;
            return m;
        };
        if (fields.size() < 8) return fail("expected at least 8 tab-separated fields");
        ImageSpec spec;
        for (const auto& d : split(fields[0], '+')) {
            if (d != "orig" && d != "lcd" && d != "manager") return fail("unknown folder '" + d + "'");
            spec.dirs.push_back(d);
        }
        spec.name = fields[1];
        if (!validName(spec.name)) return fail("bad image name '" + spec.name + "'");
        if (!toInt(fields[4], 1, kMaxFrames, spec.frames)) return fail("bad frame count '" + fields[4] + "'");
        if (!toInt(fields[6], 1, kMaxGuiSide, spec.guiWidth) || !toInt(fields[7], 1, kMaxGuiSide, spec.guiHeight))
            return fail("bad size '" + fields[6] + " x " + fields[7] + "'");
        for (const auto& other : m.images)
            if (other.name == spec.name)
                for (const auto& d : spec.dirs)
                    for (const auto& od : other.dirs)
                        if (d == od) return fail("image " + d + "/" + spec.name + " listed twice");
        m.images.push_back(std::move(spec));
    }
    if (m.images.empty() && m.error.empty()) m.error = "manifest lists no images";
    return m;
}

Manifest ReadManifest(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Manifest m;
        m.error = path + ": cannot be read";
        return m;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseManifest(text.str());
}

const ImageSpec* FindImage(const Manifest& manifest, const std::string& dir, const std::string& name) {
    for (const auto& s : manifest.images)
        if (s.name == name)
            for (const auto& d : s.dirs)
                if (d == dir) return &s;
    return nullptr;
}

std::string ImagePath(const std::string& dir, const std::string& name) { return "img/" + dir + "/" + name + "-2x.png"; }

}  // namespace skingen
