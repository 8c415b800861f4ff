#include "winapi/gdi.h"

#include <cstdlib>
#include <mutex>
#include <unordered_set>

namespace {

struct ContextRegistry {
    std::mutex mutex;
    std::unordered_set<HDC__*> live;
};

ContextRegistry& registry() {
    static ContextRegistry r;
    return r;
}

}  // namespace

bool WAPI_IsLiveContext(HDC context) {
    if (!context) return false;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return r.live.count(context) != 0;
}

HDC WAPI_CreateMemContext(HDC /*reference*/, int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    const int64_t bytes = int64_t(width) * int64_t(height) * 4;
    if (bytes > kMaxContextBytes) return nullptr;
    auto* block = static_cast<unsigned char*>(std::calloc(size_t(bytes) + 63, 1));
    if (!block) return nullptr;
    auto* ctx = new HDC__;
    ctx->block = block;
    ctx->bits = reinterpret_cast<unsigned char*>((reinterpret_cast<uintptr_t>(block) + 63) & ~uintptr_t(63));
    ctx->width = width;
    ctx->height = height;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.live.insert(ctx);
    return ctx;
}

void* WAPI_GetCtxFrameBuffer(HDC context) {
    return WAPI_IsLiveContext(context) ? context->bits : nullptr;
}

void WAPI_DeleteGfxContext(HDC context) {
    if (!context) return;
    auto& r = registry();
    {
        std::lock_guard lock(r.mutex);
        if (r.live.erase(context) == 0) return;
    }
    std::free(context->block);
    delete context;
}
