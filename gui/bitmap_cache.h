// Skin image strips: the process-wide caches every IGraphics shares, the loading of
// strips at the resource scale and their rescaling for the GUI scale.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "common/cmn_string.h"
#include "common/mutex.h"
#include "common/ptr_list.h"
#include "common/typed_buf.h"
#include "raster/bitmap.h"

// An image strip as the controls see it. Width and height are those of the whole strip
// in GUI pixels (after a rescale they include the one-pixel gap after each frame).
struct IBitmapStrip {
    PIX_IBitmap* bitmap = nullptr;
    int width = 0;
    int height = 0;
    int frames = 1;
    bool horizontal = false;

    // Offset of 1-based frame `frame` along the strip's direction.
    int FrameStart(int frame) const;
    // A strip whose image could not be had; drawing and rescaling skip it.
    bool IsEmpty() const { return !bitmap; }
};

// The loader the back end offers (IGraphics::OSLoadBitmap): a new bitmap the caller
// owns, or null when the image cannot be had.
using ImageLoader = std::function<PIX_IBitmap*(int id, const char* fileName)>;

// Every bitmap the caches own, by resource id (-1 for bitmaps made or kept at run time).
class BitmapCache {
public:
    static BitmapCache& Instance();

    // First bitmap stored under the id, or null.
    PIX_IBitmap* Find(int id);
    // Takes ownership of the bitmap; false (bitmap not taken) when memory cannot be had.
    bool Add(int id, PIX_IBitmap* bitmap);
    bool Holds(const PIX_IBitmap* bitmap);
    // Gives up and returns ownership of the bitmap; false when the cache does not hold it.
    bool Remove(PIX_IBitmap* bitmap);

    CMN_Mutex& Mutex() { return mMutex; }

private:
    BitmapCache() = default;
    struct Entry {
        int id;
        PIX_IBitmap* bitmap;
    };
    CMN_Mutex mMutex;
    CMN_TypedBuf<Entry> mEntries;
};

// One entry per IGraphics::LoadBitmapStrip call, walked by every rescale. The list owns
// the strip records; a record lives until the process ends, so controls may keep it.
class ScaledBitmapList {
public:
    static ScaledBitmapList& Instance();

    struct Entry {
        int id;
        CMN_String fileName;  // a copy: callers may pass a temporary name
        IBitmapStrip* record;
        // The decoded double-size image a rescale starts from, shared by the entries of
        // one id and file: kept from the load to the end of the first rescale, and during
        // a rescale; null otherwise (and for images at the GUI size).
        std::shared_ptr<const PIX_IBitmap> source;
        int sourceWidth = 0, sourceHeight = 0;  // the source's size while the record holds it
    };

    // Never null: when memory runs out the caller gets a shared empty record.
    IBitmapStrip* Add(int id, const char* fileName, const IBitmapStrip& record,
                      std::shared_ptr<const PIX_IBitmap> source = nullptr);
    // The source kept for the id and file name, taken back out of the record's bitmap
    // when that holds it; null when there is none.
    std::shared_ptr<const PIX_IBitmap> FindSource(int id, const char* fileName);
    // After a rescale that copied every source pixel into the record's bitmap (at the
    // artwork's own resolution) the source is a second copy of the same pixels: it is
    // let go until the next rescale needs it, when FindSource takes it back out. Only
    // when every entry of the id shows the same file the same way.
    void HandOverSource(int id, const char* fileName, int sourceWidth, int sourceHeight);
    // Lets go of the source of every entry of the id and file name.
    void DropSource(int id, const char* fileName);
    // Keeps `source` for every entry of the id and file name that has none yet.
    void KeepSource(int id, const char* fileName, const std::shared_ptr<const PIX_IBitmap>& source);
    // Size of the first record loaded under the id; false when there is none.
    bool FindSize(int id, int* width, int* height);
    // Takes every entry whose record shows the bitmap out of the walk and blanks its
    // record, so nothing draws from or rescales into a bitmap about to be deleted.
    void ForgetBitmap(const PIX_IBitmap* bitmap);
    // The entries as they are now, sources left out (FindSource gives them).
    std::vector<Entry> Snapshot();

    CMN_Mutex& Mutex() { return mMutex; }

private:
    ScaledBitmapList() = default;
    CMN_Mutex mMutex;
    CMN_PtrList<Entry> mEntries;
    CMN_PtrList<IBitmapStrip> mRecords;  // every record ever handed out, kept for good
};

// The strip loader and rescaler behind IGraphics::LoadBitmapStrip and
// IGraphics::RescaleBitmaps; `resourceScale` is how many image pixels make one GUI pixel.
IBitmapStrip* LoadStrip(const ImageLoader& load, unsigned resourceScale, int id,
                        const char* fileName, int frames, bool horizontal);
void RescaleStrips(const ImageLoader& load, unsigned resourceScale, double scale);
// How many times RescaleStrips has walked the strips in this process: every walk decodes
// or rescales every image, the costliest step of a start or a scale change.
int StripRescaleCount();
