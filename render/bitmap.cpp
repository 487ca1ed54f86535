#include "render/bitmap.h"

#include <cstdint>

namespace {

// Large enough for any picture of the game, small enough that a hostile
// header cannot make us allocate gigabytes.
constexpr std::int64_t kMaxDimension = 8192;

std::uint32_t read_u32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

std::int32_t read_i32(const unsigned char* bytes) {
    return static_cast<std::int32_t>(read_u32(bytes));
}

std::uint16_t read_u16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

std::optional<BitmapHeader> parse_bitmap_header(const unsigned char* header, std::size_t size) {
    if (size < kBitmapHeaderSize || header[0] != 'B' || header[1] != 'M') {
        return std::nullopt;
    }
    const std::int64_t width = read_i32(header + 18);
    // A negative height marks a top-down file, which would show upside down.
    const std::int64_t height = read_i32(header + 22);
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) {
        return std::nullopt;
    }
    if (read_u16(header + 28) != 24 || read_u32(header + 30) != 0) {
        return std::nullopt;  // palettes, other depths and compression are not ours
    }
    const std::size_t row_size = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t padded_size = row_size * static_cast<std::size_t>(height);
    const std::size_t declared_size = read_u32(header + 34);
    // The upload reads whole padded rows; an image-size field that counts
    // fewer bytes would send it past the buffer. Zero means "work it out".
    if (declared_size != 0 && declared_size < padded_size) {
        return std::nullopt;
    }
    return BitmapHeader{static_cast<int>(width), static_cast<int>(height), row_size, padded_size};
}

std::optional<BitmapImage> read_bitmap(std::FILE* stream) {
    unsigned char header[kBitmapHeaderSize];
    const std::size_t header_read = std::fread(header, 1, sizeof header, stream);
    const std::optional<BitmapHeader> layout = parse_bitmap_header(header, header_read);
    if (!layout) {
        std::fclose(stream);
        return std::nullopt;
    }
    BitmapImage image{layout->width, layout->height, {}};
    image.pixels.resize(layout->pixel_bytes);
    // A file cut short shows black where its pixels are missing: the buffer
    // is zero-filled, so the upload never reads past what was allocated.
    [[maybe_unused]] const std::size_t pixels_read =
        std::fread(image.pixels.data(), 1, image.pixels.size(), stream);
    std::fclose(stream);
    return image;
}
