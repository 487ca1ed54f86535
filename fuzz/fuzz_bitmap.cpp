// Any bytes as a picture file: the reader must refuse or read, never read
// past what it was given.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "render/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // fmemopen refuses a zero-length buffer; keep one byte of room.
    std::vector<unsigned char> bytes(data, data + size);
    bytes.push_back(0);
    std::FILE* stream = fmemopen(bytes.data(), size == 0 ? 1 : size, "rb");
    if (stream == nullptr) {
        return 0;
    }
    const std::optional<BitmapImage> image = read_bitmap(stream);
    if (image) {
        const std::size_t row = (static_cast<std::size_t>(image->width) * 3 + 3) / 4 * 4;
        if (image->pixels.size() != row * static_cast<std::size_t>(image->height)) {
            std::abort();
        }
    }
    return 0;
}
