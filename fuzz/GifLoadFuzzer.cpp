// Any bytes given to the GIF reader end in a model or a clean exception: no crash, no hang,
// no unbounded memory. A picture that loads must also turn into a bitmap and, when its
// colour count allows, be written and read back to the same pixels.
#include "GifUnit.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TGifFile gif;
    try {
        gif.LoadFromMemory(std::span<const uint8_t>(data, size));
    } catch (const std::exception&) {
        return 0;
    }
    if (gif.Images.empty()) return 0;
    const TIndexedBitmap bitmap = gif.ToBitmap();

    TGifFile again;
    try {
        again.LoadFromMemory(gif.SaveToMemory());
    } catch (const EGifException&) {
        return 0; // colour counts the writer refuses
    } catch (const EIndexOutOfBounds&) {
        return 0; // an image without pixels cannot be compressed
    }
    if (again.ToBitmap().Indices != bitmap.Indices) std::abort();
    return 0;
}
