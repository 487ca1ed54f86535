#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <tuple>
#include <vector>

#include "render/bitmap.h"

namespace {

// A 54-byte header and `pixel_bytes` bytes numbered from 1, the file cut to
// `cut_to` bytes; a pixel-data offset that is never read.
std::optional<BitmapImage> read(std::int32_t width, std::int32_t height, std::uint32_t image_size,
                                std::size_t pixel_bytes, int bits = 24, int compression = 0,
                                std::size_t cut_to = ~std::size_t{0}, char second = 'M') {
    std::vector<unsigned char> bytes(kBitmapHeaderSize + pixel_bytes, 0);
    // clang-format off
    const std::uint32_t fields[][2] = {{10, 1078}, {18, std::uint32_t(width)},
        {22, std::uint32_t(height)}, {28, std::uint32_t(bits)}, {30, std::uint32_t(compression)},
        {34, image_size}};
    // clang-format on
    for (const auto& [at, value] : fields) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
        }
    }
    bytes[0] = 'B', bytes[1] = second;
    for (std::size_t i = 0; i < pixel_bytes; ++i) {
        bytes[kBitmapHeaderSize + i] = static_cast<unsigned char>(i + 1);
    }
    bytes.resize(std::min(cut_to, bytes.size()));
    return read_bitmap(fmemopen(bytes.data(), bytes.size(), "rb"));
}

TEST(Bitmap, ReadsWholePaddedRowsRightBehindTheHeaderAndRefusesOthers) {
    // Width, height, image size field, pixel bytes in the file, pixel bytes read.
    const std::tuple<int, int, std::uint32_t, std::size_t, std::size_t> rows[] = {
        {4, 2, 0, 24, 24},          {3, 2, 24, 24, 24},  // three pixels a row, stored as twelve
        {3, 2, 0, 24, 24},          {3, 2, 40, 40, 24},  // zero or more than the padded rows
        {4, 2, 0, 20, 24},                               // a file cut short: the rest stays black
        {8192, 1, 0, 24576, 24576}, {1, 8192, 0, 32768, 32768},  // the largest sizes taken
    };
    for (const auto& [width, height, image_size, in_file, read_bytes] : rows) {
        const auto image = read(width, height, image_size, in_file);
        ASSERT_TRUE(image) << width << "x" << height << ", " << in_file << " bytes";
        EXPECT_EQ(image->width * 10 + image->height, width * 10 + height);
        ASSERT_EQ(image->pixels.size(), read_bytes);
        const std::size_t last = std::min(in_file, read_bytes);
        EXPECT_EQ(image->pixels[last - 1], static_cast<unsigned char>(last));
        EXPECT_EQ(std::vector<unsigned char>(image->pixels.begin() + last, image->pixels.end()),
                  std::vector<unsigned char>(read_bytes - last, 0));
    }
    // Not "BM", a short header, none, top-down, no width or height, other
    // depths, compressed, too large, an image size that leaves out the padding.
    EXPECT_FALSE(read(4, 2, 0, 24, 24, 0, ~0u, 'N') || read(4, 2, 0, 0, 24, 0, 53) ||
                 read(4, 2, 0, 0, 24, 0, 0));
    EXPECT_FALSE(read(4, -2, 0, 24) || read(4, INT32_MIN + 2, 0, 24) || read(0, 2, 0, 0) ||
                 read(4, 0, 0, 0) || read(4, 2, 0, 32, 32));
    EXPECT_FALSE(read(4, 2, 0, 8, 8) || read(4, 2, 0, 24, 24, 1) || read(8193, 1, 0, 24580));
    EXPECT_FALSE(read(1, 8193, 0, 32772) || read(3, 2, 18, 24));
}

}  // namespace
