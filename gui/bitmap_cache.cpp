#include "gui/bitmap_cache.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "raster/blit.h"
#include "raster/fill.h"
#include "raster/strip_resample.h"
#include "raster/vector_spans.h"

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
    // A frame far past the strip's end gives an offset past its end, which draws nothing;
    // it must not wrap round to some frame inside it.
    return pix::SatInt(double(frame - 1) * side / frames + 0.5);
}

// ---------------------------------------------------------------------------------------
// The caches live until the process ends and are never destroyed, so that nothing torn
// down at exit can reach a cache that is already gone.

BitmapCache& BitmapCache::Instance() {
    static BitmapCache* cache = new BitmapCache;
    return *cache;
}

PIX_IBitmap* BitmapCache::Find(int id) {
    CMN_MutexLock lock(mMutex);
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        const Entry* e = mEntries.GetAt(i);
        if (e->id == id && e->bitmap) return e->bitmap;
    }
    return nullptr;
}

bool BitmapCache::Add(int id, PIX_IBitmap* bitmap) {
    if (!bitmap) return false;
    CMN_MutexLock lock(mMutex);
    return mEntries.Add({id, bitmap}) != nullptr;
}

bool BitmapCache::Holds(const PIX_IBitmap* bitmap) {
    CMN_MutexLock lock(mMutex);
    for (int i = 0; i < mEntries.GetSize(); ++i)
        if (mEntries.GetAt(i)->bitmap == bitmap) return true;
    return false;
}

bool BitmapCache::Remove(PIX_IBitmap* bitmap) {
    if (!bitmap) return false;
    CMN_MutexLock lock(mMutex);
    for (int i = 0; i < mEntries.GetSize(); ++i)
        if (mEntries.GetAt(i)->bitmap == bitmap) return mEntries.Delete(i);
    return false;
}

ScaledBitmapList& ScaledBitmapList::Instance() {
    static ScaledBitmapList* list = new ScaledBitmapList;
    return *list;
}

IBitmapStrip* ScaledBitmapList::Add(int id, const char* fileName, const IBitmapStrip& record,
                                    std::shared_ptr<const PIX_IBitmap> source) {
    static IBitmapStrip outOfMemory;
    auto owned = std::make_unique<IBitmapStrip>(record);
    auto entry = std::make_unique<Entry>(Entry{id, CMN_String(fileName), owned.get(), std::move(source)});
    if (entry->fileName.GetLength() != int(fileName ? std::strlen(fileName) : 0)) return &outOfMemory;
    CMN_MutexLock lock(mMutex);
    if (!mRecords.Add(owned.get())) return &outOfMemory;
    if (!mEntries.Add(entry.get())) {
        // The record stays listed, so it is kept; only the walk misses it.
        return owned.release();
    }
    entry.release();
    return owned.release();
}

namespace {
bool SameFile(const CMN_String& kept, const char* fileName) {
    return std::strcmp(kept.Get() ? kept.Get() : "", fileName ? fileName : "") == 0;
}
}  // namespace

std::shared_ptr<const PIX_IBitmap> ScaledBitmapList::FindSource(int id, const char* fileName) {
    CMN_MutexLock lock(mMutex);
    Entry* holder = nullptr;
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        Entry* e = mEntries.Get(i);
        if (e->id != id || !SameFile(e->fileName, fileName)) continue;
        if (e->source) return e->source;
        if (e->sourceWidth > 0 && e->record->bitmap && !holder) holder = e;
    }
    if (!holder) return nullptr;
    auto image = std::make_shared<PIX_MemBitmap>(holder->sourceWidth, holder->sourceHeight, 4);
    if (!PIX_HasPixels(image.get())) return nullptr;
    UnscaleStripCopy(*holder->record->bitmap, *image, holder->record->frames, holder->record->horizontal);
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        Entry* e = mEntries.Get(i);
        if (e->id == id && SameFile(e->fileName, fileName)) e->source = image, e->sourceWidth = e->sourceHeight = 0;
    }
    return image;
}

void ScaledBitmapList::HandOverSource(int id, const char* fileName, int sourceWidth, int sourceHeight) {
    CMN_MutexLock lock(mMutex);
    const Entry* first = nullptr;
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        const Entry* e = mEntries.Get(i);
        if (e->id != id) continue;
        if (!first) first = e;
        if (!SameFile(e->fileName, fileName) || e->record->bitmap != first->record->bitmap ||
            e->record->frames != first->record->frames || e->record->horizontal != first->record->horizontal)
            return;
    }
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        Entry* e = mEntries.Get(i);
        if (e->id == id) e->source.reset(), e->sourceWidth = sourceWidth, e->sourceHeight = sourceHeight;
    }
}

void ScaledBitmapList::DropSource(int id, const char* fileName) {
    CMN_MutexLock lock(mMutex);
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        Entry* e = mEntries.Get(i);
        if (e->id == id && SameFile(e->fileName, fileName)) e->source.reset();
    }
}

void ScaledBitmapList::KeepSource(int id, const char* fileName, const std::shared_ptr<const PIX_IBitmap>& source) {
    CMN_MutexLock lock(mMutex);
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        Entry* e = mEntries.Get(i);
        if (e->id == id && !e->source && SameFile(e->fileName, fileName)) e->source = source;
    }
}

bool ScaledBitmapList::FindSize(int id, int* width, int* height) {
    CMN_MutexLock lock(mMutex);
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        const Entry* e = mEntries.Get(i);
        if (e->id != id || !e->record->bitmap) continue;
        *width = e->record->width;
        *height = e->record->height;
        return true;
    }
    return false;
}

void ScaledBitmapList::ForgetBitmap(const PIX_IBitmap* bitmap) {
    if (!bitmap) return;
    CMN_MutexLock lock(mMutex);
    for (int i = mEntries.GetSize() - 1; i >= 0; --i)
        if (mEntries.Get(i)->record->bitmap == bitmap) mEntries.Delete(i, true);
    for (int i = 0; i < mRecords.GetSize(); ++i) {
        IBitmapStrip* r = mRecords.Get(i);
        if (r->bitmap == bitmap) *r = IBitmapStrip{nullptr, 0, 0, r->frames, r->horizontal};
    }
}

std::vector<ScaledBitmapList::Entry> ScaledBitmapList::Snapshot() {
    CMN_MutexLock lock(mMutex);
    std::vector<Entry> copy;
    copy.reserve(size_t(mEntries.GetSize()));
    // Without the sources: a walk that lets one go must not keep it alive.
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        copy.push_back(*mEntries.Get(i));
        copy.back().source.reset();
    }
    return copy;
}

// ---------------------------------------------------------------------------------------

namespace {

// Under the cache's lock: a new record sharing the bitmap already cached under the id.
// Its size is the one the first record of that id has, not the bitmap's: before the
// first rescale a 2x resource is only a 1 x 1 placeholder. It takes no source of its
// own: the next rescale finds the one its file has, if any.
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
    std::shared_ptr<const PIX_IBitmap> source;
    if (const int rs = ResourceDivisor(resourceScale); rs >= 2) {
        // The pixels arrive with the first rescale; until then only the GUI size is
        // known. The decoded image is kept for that rescale, so start-up decodes each
        // file once.
        record.width = image->getWidth() / rs;
        record.height = image->getHeight() / rs;
        source.reset(image);
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
        source.reset();
    }
    return ScaledBitmapList::Instance().Add(id, fileName, record, std::move(source));
}

namespace {

void RescaleEntry(const ImageLoader& load, int rs, double scale, const ScaledBitmapList::Entry& e) {
    ScaledBitmapList& list = ScaledBitmapList::Instance();
    IBitmapStrip& record = *e.record;
    if (!record.bitmap) return;
    // An entry sharing a cached id under another file name has no source of its own
    // until its first rescale, which loads that file once.
    std::shared_ptr<const PIX_IBitmap> image = list.FindSource(e.id, e.fileName.Get());
    if (!image) {
        if (!load) return;
        image.reset(load(e.id, e.fileName.Get()));
        if (!PIX_HasPixels(image.get())) return;
        // Other entries of the same id and file share it for the rest of this walk.
        // At the resource scale itself the cached bitmap is the image, and a rescale
        // overwrites it: such images are read again each time, as before.
        if (rs >= 2) list.KeepSource(e.id, e.fileName.Get(), image);
    }

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
    if (!record.bitmap) return;
    // A bitmap that grows in place keeps a quarter more than it needs; emptied first,
    // it takes exactly the new size.
    if (record.bitmap->getWidth() != temp.getWidth() || record.bitmap->getHeight() != temp.getHeight())
        record.bitmap->resize(0, 0);
    PIX_Copy(record.bitmap, &temp);
    record.width = temp.getWidth();
    record.height = temp.getHeight();
    // Only a strip that really took the pixels may stand in for the image.
    const bool copied = PIX_HasPixels(record.bitmap) && PIX_HasPixels(&temp) &&
                        record.bitmap->getWidth() == temp.getWidth() &&
                        record.bitmap->getHeight() == temp.getHeight();
    if (rs >= 2 && copied &&
        StripScaleCopiesEveryPixel(image->getWidth(), image->getHeight(), temp.getWidth(), temp.getHeight(),
                                   record.frames, record.horizontal))
        list.HandOverSource(e.id, e.fileName.Get(), image->getWidth(), image->getHeight());
}

}  // namespace

namespace {
std::atomic<int> sStripRescales{0};
}  // namespace

int StripRescaleCount() { return sStripRescales.load(); }

void RescaleStrips(const ImageLoader& load, unsigned resourceScale, double scale) {
    ++sStripRescales;
    const int rs = ResourceDivisor(resourceScale);
    ScaledBitmapList& list = ScaledBitmapList::Instance();
    const std::vector<ScaledBitmapList::Entry> entries = list.Snapshot();
    for (auto e = entries.begin(); e != entries.end(); ++e) {
        RescaleEntry(load, rs, scale, *e);
        // A double-size image is never kept beside its scaled copy: the next scale change
        // decodes the file again, or takes the pixels back out of a strip that holds them
        // all (see HandOverSource). Later entries of the same file share it till the last;
        // dropped at once, one decoded image at a time reuses the memory of the one before.
        if (std::none_of(e + 1, entries.end(), [&](const ScaledBitmapList::Entry& o) {
                return o.id == e->id && SameFile(o.fileName, e->fileName.Get());
            }))
            list.DropSource(e->id, e->fileName.Get());
    }
    // The images let go lie between blocks still in use, where the allocator would keep
    // them from the system for good.
    if (!entries.empty()) malloc_trim(0);
}
