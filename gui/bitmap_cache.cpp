#include "gui/bitmap_cache.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "raster/blit.h"
#include "raster/fill.h"

namespace {

// Strip sizes come from file sizes times a user-chosen scale; anything beyond this is
// nonsense that would only end in a failed allocation.
constexpr double kMaxStripSide = 1 << 16;

int ScaledSide(int side, double scale) {
    const double v = double(side) * scale;
    if (!(v > 0.0)) return 0;  // also NaN
    return v >= kMaxStripSide ? int(kMaxStripSide) : int(v);
}

// How many image pixels make one GUI pixel, as a divisor: 0 counts as 1, and a value
// past the int range is capped rather than turning negative.
int ResourceDivisor(unsigned resourceScale) {
    if (resourceScale == 0) return 1;
    return resourceScale > unsigned(INT32_MAX) ? INT32_MAX : int(resourceScale);
}

}  // namespace

int IBitmapStrip::FrameStart(int frame) const {
    if (frames < 2 || frame < 2) return 0;
    const double side = horizontal ? width : height;
    return int(double(frame - 1) * side / frames + 0.5);
}

// ---------------------------------------------------------------------------------------
// The caches live until the process ends and are never destroyed, so that nothing torn
// down at exit can reach a cache that is already gone.

BitmapCache& BitmapCache::Instance() {
    static BitmapCache* cache = new BitmapCache;
    return *cache;
}

PIX_IBitmap* BitmapCache::Find(int id) {
    CMN_MutexLock lock(mutex_);
    for (int i = 0; i < entries_.GetSize(); ++i) {
        const Entry* e = entries_.GetAt(i);
        if (e->id == id && e->bitmap) return e->bitmap;
    }
    return nullptr;
}

bool BitmapCache::Add(int id, PIX_IBitmap* bitmap) {
    if (!bitmap) return false;
    CMN_MutexLock lock(mutex_);
    return entries_.Add({id, bitmap}) != nullptr;
}

bool BitmapCache::Holds(const PIX_IBitmap* bitmap) {
    CMN_MutexLock lock(mutex_);
    for (int i = 0; i < entries_.GetSize(); ++i)
        if (entries_.GetAt(i)->bitmap == bitmap) return true;
    return false;
}

bool BitmapCache::Remove(PIX_IBitmap* bitmap) {
    if (!bitmap) return false;
    CMN_MutexLock lock(mutex_);
    for (int i = 0; i < entries_.GetSize(); ++i)
        if (entries_.GetAt(i)->bitmap == bitmap) return entries_.Delete(i);
    return false;
}

int BitmapCache::Count() {
    CMN_MutexLock lock(mutex_);
    return entries_.GetSize();
}

ScaledBitmapList& ScaledBitmapList::Instance() {
    static ScaledBitmapList* list = new ScaledBitmapList;
    return *list;
}

IBitmapStrip* ScaledBitmapList::Add(int id, const char* fileName, const IBitmapStrip& record) {
    static IBitmapStrip outOfMemory;
    auto owned = std::make_unique<IBitmapStrip>(record);
    auto entry = std::make_unique<Entry>(Entry{id, CMN_String(fileName), owned.get()});
    if (entry->fileName.GetLength() != int(fileName ? std::strlen(fileName) : 0)) return &outOfMemory;
    CMN_MutexLock lock(mutex_);
    if (!records_.Add(owned.get())) return &outOfMemory;
    if (!entries_.Add(entry.get())) {
        // The record stays listed, so it is kept; only the walk misses it.
        return owned.release();
    }
    entry.release();
    return owned.release();
}

bool ScaledBitmapList::FindSize(int id, int* width, int* height) {
    CMN_MutexLock lock(mutex_);
    for (int i = 0; i < entries_.GetSize(); ++i) {
        const Entry* e = entries_.Get(i);
        if (e->id != id || !e->record->bitmap) continue;
        *width = e->record->width;
        *height = e->record->height;
        return true;
    }
    return false;
}

void ScaledBitmapList::ForgetBitmap(const PIX_IBitmap* bitmap) {
    if (!bitmap) return;
    CMN_MutexLock lock(mutex_);
    for (int i = entries_.GetSize() - 1; i >= 0; --i)
        if (entries_.Get(i)->record->bitmap == bitmap) entries_.Delete(i, true);
    for (int i = 0; i < records_.GetSize(); ++i) {
        IBitmapStrip* r = records_.Get(i);
        if (r->bitmap == bitmap) *r = IBitmapStrip{nullptr, 0, 0, r->frames, r->horizontal};
    }
}

std::vector<ScaledBitmapList::Entry> ScaledBitmapList::Snapshot() {
    CMN_MutexLock lock(mutex_);
    std::vector<Entry> copy;
    copy.reserve(size_t(entries_.GetSize()));
    for (int i = 0; i < entries_.GetSize(); ++i) copy.push_back(*entries_.Get(i));
    return copy;
}

int ScaledBitmapList::Count() {
    CMN_MutexLock lock(mutex_);
    return entries_.GetSize();
}

// ---------------------------------------------------------------------------------------

void ResampleArea(const PIX_IBitmap& src, int sx, int sy, int sw, int sh,
                  PIX_IBitmap& dst, int dx, int dy, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || !PIX_HasPixels(&src) || !PIX_HasPixels(&dst)) return;

    // Readable source: the area as far as it lies inside the bitmap.
    const int64_t ax0 = std::max(sx, 0), ay0 = std::max(sy, 0);
    const int64_t ax1 = std::min<int64_t>(int64_t(sx) + sw, src.getWidth());
    const int64_t ay1 = std::min<int64_t>(int64_t(sy) + sh, src.getHeight());
    // Written destination: the area as far as it lies inside the bitmap.
    const int xBegin = int(std::clamp<int64_t>(-int64_t(dx), 0, dw));
    const int xEnd = int(std::clamp<int64_t>(int64_t(dst.getWidth()) - dx, 0, dw));
    const int yBegin = int(std::clamp<int64_t>(-int64_t(dy), 0, dh));
    const int yEnd = int(std::clamp<int64_t>(int64_t(dst.getHeight()) - dy, 0, dh));
    if (xBegin >= xEnd || yBegin >= yEnd) return;

    // One source pixel per destination pixel (double-size artwork at a GUI scale of 2):
    // every tap but the pixel itself weighs 0, so the rows are copied as they are.
    if (sw == dw && sh == dh && ax0 == sx && ay0 == sy && ax1 == int64_t(sx) + sw && ay1 == int64_t(sy) + sh) {
        for (int y = yBegin; y < yEnd; ++y)
            std::memmove(PIX_PixelAddress(dst, dx + xBegin, dy + y), PIX_PixelAddress(src, sx + xBegin, sy + y),
                         size_t(xEnd - xBegin) * 4);
        return;
    }

    const double rx = double(sw) / dw, ry = double(sh) / dh;
    const int kx = std::max(int(rx + 0.99999999999), 0);
    const int ky = std::max(int(ry + 0.99999999999), 0);
    const double n = double(kx) * ky;
    const double norm = n > 0 ? 1.0 / n : 1.0;

    // Every tap's 2 x 2 bilinear neighbourhood overlaps the next one's, so the kx x ky
    // taps add up to one pass over (kx + 1) x (ky + 1) source pixels, each weighted by
    // its column's and its row's share: (1 - w) for the first, w for the last and 1 in
    // between. The sums are the same; the work is a quarter of it.
    std::vector<int64_t> firstColumn(size_t(xEnd - xBegin));
    std::vector<double> columnFraction(firstColumn.size());
    for (int x = xBegin; x < xEnd; ++x) {
        const double fx = rx * x;
        firstColumn[size_t(x - xBegin)] = int64_t(sx) + int(fx);
        columnFraction[size_t(x - xBegin)] = fx - int(fx);
    }
    auto rowShare = [ky](int j, double w) { return j == 0 ? 1 - w : j == ky ? w : 1.0; };
    std::vector<const uint8_t*> rows(size_t(ky) + 1);

    for (int y = yBegin; y < yEnd; ++y) {
        const double fy = ry * y;
        const int iy = int(fy);
        const double wy = fy - iy;
        for (int j = 0; j <= ky; ++j) {
            const int64_t r = int64_t(sy) + iy + j;
            rows[size_t(j)] =
                r >= ay0 && r < ay1 ? reinterpret_cast<const uint8_t*>(PIX_PixelAddress(src, 0, int(r))) : nullptr;
        }
        auto* out = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dst, dx + xBegin, dy + y));
        for (size_t k = 0; k < firstColumn.size(); ++k, out += 4) {
            const int64_t c0 = firstColumn[k];
            const double wx = columnFraction[k];
            // Columns outside the area (or the bitmap) count as 0.
            const int iBegin = int(std::clamp<int64_t>(ax0 - c0, 0, kx + 1));
            const int iEnd = int(std::clamp<int64_t>(ax1 - c0, 0, kx + 1));
            double sum[4] = {0, 0, 0, 0};
            for (int j = 0; j <= ky; ++j) {
                const uint8_t* row = rows[size_t(j)];
                if (!row) continue;
                // The column shares split the row into its first column, the inner ones
                // (share 1) and its last column (kx >= 1, so they never coincide), which
                // keeps the share test out of the per-pixel loop.
                double rowSum[4] = {0, 0, 0, 0};
                const uint8_t* p = row + (c0 + iBegin) * 4;
                int i = iBegin;
                if (i == 0 && i < iEnd) {
                    for (int c = 0; c < 4; ++c) rowSum[c] += p[c] * (1 - wx);
                    ++i;
                    p += 4;
                }
                for (const int inner = std::min(iEnd, kx); i < inner; ++i, p += 4)
                    for (int c = 0; c < 4; ++c) rowSum[c] += p[c];
                if (i < iEnd)
                    for (int c = 0; c < 4; ++c) rowSum[c] += p[c] * wx;
                const double v = rowShare(j, wy);
                for (int c = 0; c < 4; ++c) sum[c] += rowSum[c] * v;
            }
            for (int c = 0; c < 4; ++c) out[c] = uint8_t(std::min(int(sum[c] * norm), 255));
        }
    }
}

void ScaleStripFrames(const PIX_IBitmap& src, PIX_IBitmap& dst, int frames, bool horizontal) {
    const int sw = src.getWidth(), sh = src.getHeight();
    const int dw = dst.getWidth(), dh = dst.getHeight();
    if (frames < 2) {
        ResampleArea(src, 0, 0, sw, sh, dst, 0, 0, dw, dh);
        return;
    }
    PIX_Clear(&dst, 0);
    const int srcSide = horizontal ? sw : sh;
    const int dstSide = horizontal ? dw : dh;
    const int srcFrame = srcSide / frames;
    const int dstFrame = (dstSide - frames) / frames;
    if (srcFrame < 1 || dstFrame < 1) return;  // more frames than pixels: nothing to draw
    for (int f = 0; f < frames; ++f) {
        const int s = int(double(srcSide) * f / frames + 0.5);
        const int d = int(double(dstSide) * f / frames + 0.5);
        if (horizontal)
            ResampleArea(src, s, 0, srcFrame, sh, dst, d, 0, dstFrame, dh);
        else
            ResampleArea(src, 0, s, sw, srcFrame, dst, 0, d, dw, dstFrame);
    }
}

// ---------------------------------------------------------------------------------------

namespace {

// Under the cache's lock: a new record sharing the bitmap already cached under the id.
// Its size is the one the first record of that id has, not the bitmap's: before the
// first rescale a 2x resource is only a 1 x 1 placeholder.
IBitmapStrip* ShareCached(int id, const char* fileName, int frames, bool horizontal) {
    BitmapCache& cache = BitmapCache::Instance();
    ScaledBitmapList& list = ScaledBitmapList::Instance();
    CMN_MutexLock lockCache(cache.Mutex());
    PIX_IBitmap* bm = cache.Find(id);
    if (!bm) return nullptr;
    IBitmapStrip record{bm, bm->getWidth(), bm->getHeight(), frames, horizontal};
    list.FindSize(id, &record.width, &record.height);
    return list.Add(id, fileName, record);
}

}  // namespace

IBitmapStrip* LoadStrip(const ImageLoader& load, unsigned resourceScale, int id,
                        const char* fileName, int frames, bool horizontal) {
    if (IBitmapStrip* shared = ShareCached(id, fileName, frames, horizontal)) return shared;

    PIX_IBitmap* image = load ? load(id, fileName) : nullptr;
    if (!PIX_HasPixels(image)) {
        // A missing image leaves its control blank instead of stopping the program.
        delete image;
        return ScaledBitmapList::Instance().Add(id, fileName, {nullptr, 0, 0, frames, horizontal});
    }

    IBitmapStrip record{image, image->getWidth(), image->getHeight(), frames, horizontal};
    if (const int rs = ResourceDivisor(resourceScale); rs >= 2) {
        // The pixels arrive with the first rescale; only the GUI size is kept until then.
        record.width = image->getWidth() / rs;
        record.height = image->getHeight() / rs;
        delete image;
        record.bitmap = new PIX_MemBitmap(1, 1, 4);
        PIX_Clear(record.bitmap, 0);
    }

    BitmapCache& cache = BitmapCache::Instance();
    CMN_MutexLock lockCache(cache.Mutex());
    if (cache.Find(id)) {
        // Another thread cached the id while this one was loading: use its bitmap.
        delete record.bitmap;
        return ShareCached(id, fileName, frames, horizontal);
    }
    if (!cache.Add(id, record.bitmap)) {
        delete record.bitmap;
        record = {nullptr, 0, 0, frames, horizontal};
    }
    return ScaledBitmapList::Instance().Add(id, fileName, record);
}

void RescaleStrips(const ImageLoader& load, unsigned resourceScale, double scale) {
    const int rs = ResourceDivisor(resourceScale);
    ScaledBitmapList& list = ScaledBitmapList::Instance();
    for (const ScaledBitmapList::Entry& e : list.Snapshot()) {
        IBitmapStrip& record = *e.record;
        if (!record.bitmap || !load) continue;
        std::unique_ptr<PIX_IBitmap> image(load(e.id, e.fileName.Get()));
        if (!PIX_HasPixels(image.get())) continue;

        const int w = ScaledSide(image->getWidth() / rs, scale);
        const int h = ScaledSide(image->getHeight() / rs, scale);
        const bool strip = record.frames >= 2;
        // One gap pixel after each frame; a frame count beyond any sensible size gives an
        // empty strip rather than an overflowing one.
        const int64_t tw = strip && record.horizontal ? int64_t(w) + record.frames : w;
        const int64_t th = strip && !record.horizontal ? int64_t(h) + record.frames : h;
        PIX_MemBitmap temp(tw > kMaxStripSide ? 0 : int(tw), th > kMaxStripSide ? 0 : int(th), 4);
        ScaleStripFrames(*image, temp, record.frames, record.horizontal);

        // The copy happens under the list's lock so that a bitmap being dropped at the
        // same time is never written to.
        CMN_MutexLock lock(list.Mutex());
        if (!record.bitmap) continue;
        PIX_Copy(record.bitmap, &temp);
        record.width = temp.getWidth();
        record.height = temp.getHeight();
    }
}
