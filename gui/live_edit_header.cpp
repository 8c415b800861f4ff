#include "gui/live_edit_header.h"

#include <cxxabi.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "common/regular_file.h"
#include "gui/control.h"
#include "gui/igraphics.h"
#include "gui/live_edit.h"
#include "gui/live_edit_views.h"
#include "plug/live_edit_state.h"

namespace {

// Longer lines than this are none that the writer makes.
constexpr size_t kMaxLineBytes = 1024;
constexpr const char* kClassLinePrefix = "        // ";
constexpr const char* kLayoutCallPrefix = "\t\tpGUIResize->LiveEditSetLayout(";

void Appendf(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Appendf(std::string* out, const char* format, ...) {
    char buf[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    if (n < 0) return;
    if (size_t(n) < sizeof buf) {
        out->append(buf, size_t(n));
        return;
    }
    std::string big(size_t(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(big.data(), big.size(), format, args);
    va_end(args);
    out->append(big.data(), size_t(n));
}

std::string StartMarker(int j) { return "\t\t// View Mode: (" + std::to_string(j) + ")"; }
std::string EndMarker(int j) { return "\t\t// End (" + std::to_string(j) + ")"; }

// The line starts with `marker` followed by a blank or nothing.
bool IsMarkerLine(std::string_view line, const std::string& marker) {
    return line.substr(0, marker.size()) == marker && (line.size() == marker.size() || line[marker.size()] == ' ');
}

// A small reader of the generated shapes: each step consumes what it expects or fails.
struct LineReader {
    std::string_view rest;
    bool Lit(std::string_view s) {
        if (rest.substr(0, s.size()) != s) return false;
        rest.remove_prefix(s.size());
        return true;
    }
    bool Int() {
        const size_t start = !rest.empty() && rest[0] == '-' ? 1 : 0;
        size_t i = start;
        long long v = 0;
        while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9' && i - start < 10) v = v * 10 + (rest[i++] - '0');
        if (i == start || (i < rest.size() && rest[i] >= '0' && rest[i] <= '9')) return false;
        if (v > 2147483647LL + (start == 1 ? 1 : 0)) return false;
        rest.remove_prefix(i);
        return true;
    }
    bool Rect() { return Lit("IRECT(") && Int() && Lit(", ") && Int() && Lit(", ") && Int() && Lit(", ") && Int() && Lit(")"); }
};

// "        // <class name> <index>" with a printable name.
bool IsClassLine(std::string_view line) {
    LineReader r{line};
    if (!r.Lit(kClassLinePrefix)) return false;
    const size_t blank = r.rest.rfind(' ');
    if (blank == std::string_view::npos || blank == 0) return false;
    for (size_t i = 0; i < blank; ++i)
        if (r.rest[i] < 0x20 || r.rest[i] > 0x7e) return false;
    r.rest.remove_prefix(blank + 1);
    return r.Int() && r.rest.empty();
}

bool IsLayoutCallLine(std::string_view line) {
    LineReader r{line};
    if (!(r.Lit(kLayoutCallPrefix) && r.Int() && r.Lit(", ") && r.Int() && r.Lit(", ") && r.Int() && r.Lit(", ") &&
          r.Rect() && r.Lit(", ") && r.Rect() && r.Lit(", ")))
        return false;
    return (r.Lit("true") || r.Lit("false")) && r.Lit(");") && r.rest.empty();
}

// Line ends that an editor or version control changed to CR LF, and blanks they left
// at line ends, read as the writer's own lines; otherwise every section would read as
// empty and the next write would drop the other view modes' layouts.
std::string_view WithoutTrailingBlanks(std::string_view line) {
    const size_t end = line.find_last_not_of(" \t\r\f\v");
    return line.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

IRECT Unscaled(const IRECT& r, double scale) {
    auto u = [scale](int c) { return int(std::trunc((c + 0.4999) / scale)); };
    return {u(r.L), u(r.T), u(r.R), u(r.B)};
}

void AppendRect(std::string* out, const IRECT& r) { Appendf(out, "IRECT(%i, %i, %i, %i)", r.L, r.T, r.R, r.B); }

}  // namespace

std::string LiveEditClassName(const IControl* control) {
    if (!control) return "class ?";
    const char* mangled = typeid(*control).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = "class ";
    name += status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    return name;
}

std::vector<std::string> LiveEditParseLayoutHeader(std::string_view text, int count) {
    std::vector<std::string> sections(size_t(std::max(count, 0)));
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        lines.push_back(WithoutTrailingBlanks(text.substr(0, eol)));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    }
    for (int j = 0; j < count; ++j) {
        const std::string start = StartMarker(j), end = EndMarker(j);
        size_t i = 0;
        while (i < lines.size() && !IsMarkerLine(lines[i], start)) ++i;
        size_t k = i + 1;
        while (k < lines.size() && !IsMarkerLine(lines[k], end)) ++k;
        if (i >= lines.size() || k >= lines.size()) continue;
        std::string& out = sections[size_t(j)];
        for (size_t m = i + 1; m < k; ++m) {
            const std::string_view line = lines[m];
            if (line.size() > kMaxLineBytes || !(IsClassLine(line) || IsLayoutCallLine(line))) continue;
            out.append(line);
            out += '\n';
        }
    }
    return sections;
}

void LiveEditReadLayoutHeader(LiveEditState* state, const char* path) {
    if (!state) return;
    state->headerRead = true;
    const int count = state->viewModeCount;
    while (state->viewModeTexts.GetSize() < count)
        if (!state->viewModeTexts.Add(new CMN_String)) return;
    for (int j = 0; j < count; ++j) state->viewModeTexts.Get(j)->Set("");

    std::string text;
    // Only a regular file is a header: a FIFO under the name would stop the first
    // overlay frame waiting for a writer.
    if (ReadRegularFile(path, kLiveEditMaxHeaderBytes, &text) != FileRead::kRead) return;

    const std::vector<std::string> sections = LiveEditParseLayoutHeader(text, count);
    for (int j = 0; j < count; ++j) state->viewModeTexts.Get(j)->Set(sections[size_t(j)].c_str());
}

std::string LiveEditBuildLayoutHeader(double guiScale, LiveEditState* state, IGraphics* graphics,
                                      LiveEditViews* views, int viewMode) {
    std::string out;
    if (!state || !graphics) return out;
    // A scale of 0 (or worse) would divide the layout by nothing.
    if (!(guiScale > 0.0)) guiScale = 1.0;
    const int n = state->attachOrder.GetSize() - (views ? 3 : 0);

    out += "// Do not edit. All of this is generated automatically \n";
    out += "// Written by the layout editor; include it after the controls are attached.\n";
    out += "\n#ifndef _LIVEEDITLAYOUT_\n#define _LIVEEDITLAYOUT_\n\n#include <vector>\n";
    out += "#include \"IGraphics.h\" \n#include \"IModuleGUIResize.h\" \n\n";
    out += "class LiveEditLayout \n{ \npublic: \n\tLiveEditLayout() {} \n \n\t~LiveEditLayout() {} \n \n";
    out += "\tvoid SetDefaultViewLayout(IGraphics* pGraphics) \n\t{ \n";

    state->currentOrder.DeleteAll(false);
    for (int k = 0; k < graphics->NControls(); ++k) state->currentOrder.Add(graphics->GetControl(k));

    if (!views) {
        out += "\t    // Backup original control pointers\n\t\tfor (int i = 0; i < pGraphics->GetNControls(); i++) \n"
               "\t\t\toriginalPointers.push_back(pGraphics->GetControl(i));\n\n"
               "\t    // --------------------------------------------------------------------\n\n";
        for (int i = 1; i < n; ++i) {
            const IControl* c = state->attachOrder.Get(i);
            Appendf(&out, "        // %s %i\n", LiveEditClassName(c).c_str(), i);
            Appendf(&out, "\t\tpGraphics->GetControl(%i)->Hide(%s); \n", i, c->IsHidden() ? "true" : "false");
            Appendf(&out, "\t\tpGraphics->GetControl(%i)->SetDrawRECT(", i);
            AppendRect(&out, *c->GetRECT());
            Appendf(&out, "); \n\t\tpGraphics->GetControl(%i)->SetTargetRECT(", i);
            AppendRect(&out, *c->GetTargetRECT());
            out += "); \n\n";
        }
        out += "\t    // --------------------------------------------------------------------\n\n"
               "\t    // Reordering control layers\n";
        for (int i = 0; i < n; ++i)
            Appendf(&out, "\t\tpGraphics->ReplaceControl(%i, originalPointers[%i]); \n",
                    state->currentOrder.Find(state->attachOrder.Get(i)), i);
    }
    out += "\t}\n\n\tvoid SetGUIResizeLayout(IGraphics* pGraphics, IModuleGUIResize* pGUIResize)\n\t{\n";

    if (views) {
        while (state->viewModeTexts.GetSize() < state->viewModeCount)
            if (!state->viewModeTexts.Add(new CMN_String)) break;
        std::string text;
        int deletedSoFar = 0;
        for (int i = 0; i < n; ++i) {
            IControl* c = state->attachOrder.Get(i);
            const int k = state->currentOrder.Find(c);
            const IRECT draw = Unscaled(*c->GetRECT(), guiScale), target = Unscaled(*c->GetTargetRECT(), guiScale);
            views->SetLayout(viewMode, i, k, draw, target, c->IsHidden());
            if (LiveEditIsDeleted(state, c)) {
                ++deletedSoFar;
                continue;
            }
            // The gap closes over deleted controls that stand below this one in the
            // current order (their attach indices say nothing about where they stand).
            int deletedUpToK = 0;
            for (int d = 0; d < state->deleted.GetSize(); ++d) {
                const int at = state->currentOrder.Find(state->attachOrder.Get(*state->deleted.GetAt(d)));
                deletedUpToK += at >= 0 && at < k;
            }
            Appendf(&text, "        // %s %i\n", LiveEditClassName(c).c_str(), i - deletedSoFar);
            Appendf(&text, "%s%i, %i, %i, ", kLayoutCallPrefix, viewMode, i - deletedSoFar, k - deletedUpToK);
            AppendRect(&text, draw);
            text += ", ";
            AppendRect(&text, target);
            text += c->IsHidden() ? ", true);\n" : ", false);\n";
        }
        if (CMN_String* stored = state->viewModeTexts.Get(viewMode)) stored->Set(text.c_str());
        for (int j = 0; j < state->viewModeTexts.GetSize(); ++j) {
            Appendf(&out, "\n\t\t// View Mode: (%i) %s\n", j, std::string(96, '-').c_str());
            out += state->viewModeTexts.Get(j)->Get() ? state->viewModeTexts.Get(j)->Get() : "";
            Appendf(&out, "\t\t// End (%i) %s\n\n", j, std::string(103, '-').c_str());
        }
    }
    out += "    }\n\nprivate:\n\tstd::vector <IControl*> originalPointers;\n};\n #endif";
    return out;
}

bool LiveEditWriteLayoutHeader(double guiScale, LiveEditState* state, IGraphics* graphics, LiveEditViews* views,
                               int viewMode, const char* path) {
    if (!state || !graphics) return false;
    std::string text = LiveEditBuildLayoutHeader(guiScale, state, graphics, views, viewMode);
    if (text == state->lastHeaderText) return !state->headerWriteFailed;
    const bool saved = LiveEditSaveLayoutFile(text, path);
    // Told once until a write succeeds again: a drag changes the layout every frame.
    if (!saved && !state->headerWriteFailed) {
        const int error = errno;
        std::fprintf(stderr, "Layout editor: cannot write %s: %s\n", path,
                     IsOtherThanRegularFile(path) ? "not a regular file" : std::strerror(error));
    }
    state->headerWriteFailed = !saved;
    state->lastHeaderText = std::move(text);
    return saved;
}

bool LiveEditSaveLayoutFile(const std::string& text, const char* path) {
    if (!path || !*path) return false;
    // Whatever else stands under the name is the user's; it is not replaced.
    if (IsOtherThanRegularFile(path)) return false;
    std::string tmp = std::string(path) + ".XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0) return false;
    bool ok = fchmod(fd, 0644) == 0;
    size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t w = write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR) continue;
        ok = w > 0;
        if (ok) done += size_t(w);
    }
    ok = close(fd) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), path) == 0;
    if (!ok) {
        const int saved = errno;
        unlink(tmp.c_str());
        errno = saved;
    }
    return ok;
}
