#include "gui/bitmap_alpha.h"

#include <memory>
#include <unordered_map>

namespace bitmap_alpha {
namespace {

struct Measured {
    const void* bits;
    int width, height, rowSpan;
    std::unique_ptr<PIX_AlphaRuns> runs;
};

std::unordered_map<const PIX_IBitmap*, Measured>& Table() {
    static std::unordered_map<const PIX_IBitmap*, Measured> table;
    return table;
}

}  // namespace

const PIX_AlphaRuns* RunsOf(const PIX_IBitmap* bm, int64_t area) {
    if (!PIX_HasPixels(bm)) return nullptr;
    auto& table = Table();
    auto it = table.find(bm);
    if (it != table.end()) {
        const Measured& m = it->second;
        if (m.bits == bm->getBits() && m.width == bm->getWidth() && m.height == bm->getHeight() &&
            m.rowSpan == bm->getRowSpan())
            return m.runs.get();
    }
    if (area < kMinMeasuredArea) return nullptr;
    Measured m{bm->getBits(), bm->getWidth(), bm->getHeight(), bm->getRowSpan(), std::make_unique<PIX_AlphaRuns>(*bm)};
    return (table[bm] = std::move(m)).runs.get();
}

void ForgetAll() { Table().clear(); }

}  // namespace bitmap_alpha
