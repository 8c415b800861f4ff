// Layout headers as the layout editor reads them back: the first byte picks how many
// view modes are asked for, the rest is the file. Whatever the file, each section keeps
// only whole generated lines, and a header rebuilt from the sections reads back the same.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_bodies.h"
#include "gui/live_edit_header.h"

namespace qdfuzz {

const char* LayoutHeader(const uint8_t* data, size_t size) {
    if (size == 0) return LiveEditParseLayoutHeader({}, 1) == std::vector<std::string>{""} ? nullptr : "empty input";
    const int count = data[0] % 8;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::vector<std::string> sections = LiveEditParseLayoutHeader(text, count);
    if (int(sections.size()) != count) return "one section per view mode was not returned";
    std::string rebuilt;
    for (int j = 0; j < count; ++j) {
        const std::string& s = sections[size_t(j)];
        if (!s.empty() && s.back() != '\n') return "a section ends inside a line";
        if (s.find("\n\n") != std::string::npos || s.find('\0') != std::string::npos || s.find('\r') != std::string::npos)
            return "a section holds a line of no generated shape";
        rebuilt += "\t\t// View Mode: (" + std::to_string(j) + ") -\n" + s + "\t\t// End (" + std::to_string(j) + ") -\n";
    }
    if (LiveEditParseLayoutHeader(rebuilt, count) != sections) return "sections do not read back as written";
    return nullptr;
}

}  // namespace qdfuzz
