#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "render/bitmap.h"

namespace {

void put_u32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// A 54-byte header and `pixel_bytes` bytes numbered from 1.
std::vector<unsigned char> bitmap_file(std::int32_t width, std::int32_t height,
                                       std::uint32_t image_size, std::size_t pixel_bytes,
                                       int bit_count = 24, std::uint32_t compression = 0) {
    std::vector<unsigned char> bytes(kBitmapHeaderSize + pixel_bytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put_u32(bytes, 10, 1078);  // a pixel-data offset that is never read
    put_u32(bytes, 18, static_cast<std::uint32_t>(width));
    put_u32(bytes, 22, static_cast<std::uint32_t>(height));
    bytes[28] = static_cast<unsigned char>(bit_count);
    put_u32(bytes, 30, compression);
    put_u32(bytes, 34, image_size);
    for (std::size_t i = 0; i < pixel_bytes; ++i) {
        bytes[kBitmapHeaderSize + i] = static_cast<unsigned char>(i + 1);
    }
    return bytes;
}

std::optional<BitmapImage> read_from_memory(std::vector<unsigned char> bytes) {
    return read_bitmap(fmemopen(bytes.data(), bytes.size(), "rb"));
}

TEST(Bitmap, ReadsWholePaddedRowsRightBehindTheHeader) {
    struct Row {
        int width, height;
        std::uint32_t image_size;
        std::size_t in_file, read;
    };
    const Row rows[] = {
        {4, 2, 0, 24, 24},           // no padding; a zero size means width x height x 3
        {3, 2, 24, 24, 24},          // three pixels a row, stored as twelve bytes
        {3, 2, 0, 24, 24},           // a zero size stands for the padded size
        {3, 2, 40, 40, 24},          // bytes beyond the padded rows are not needed
        {4, 2, 0, 20, 24},           // a file cut short: the rest stays black
        {8192, 1, 0, 24576, 24576},  // the largest width taken
    };
    for (const Row& row : rows) {
        const auto image =
            read_from_memory(bitmap_file(row.width, row.height, row.image_size, row.in_file));
        ASSERT_TRUE(image) << &row - rows;
        EXPECT_EQ(image->width * 10 + image->height, row.width * 10 + row.height);
        ASSERT_EQ(image->pixels.size(), row.read);
        EXPECT_EQ(image->pixels.front(), 1);
        const std::size_t last_read = std::min(row.in_file, row.read);
        EXPECT_EQ(image->pixels[last_read - 1], static_cast<unsigned char>(last_read));
        EXPECT_EQ(
            std::vector<unsigned char>(image->pixels.begin() + last_read, image->pixels.end()),
            std::vector<unsigned char>(row.read - last_read, 0));
    }
}

TEST(Bitmap, RefusesFilesThatAreNotOurKindOfBitmap) {
    auto wrong_signature = bitmap_file(4, 2, 0, 24);
    wrong_signature[1] = 'N';
    auto short_header = bitmap_file(4, 2, 0, 0);
    short_header.resize(kBitmapHeaderSize - 1);
    const std::vector<unsigned char> refused[] = {
        wrong_signature,
        short_header,
        {},
        bitmap_file(4, -2, 0, 24),        // top-down
        bitmap_file(0, 2, 0, 0),          // no width
        bitmap_file(4, 0, 0, 0),          // no height
        bitmap_file(4, 2, 0, 32, 32),     // 32-bit
        bitmap_file(4, 2, 0, 8, 8),       // a palette
        bitmap_file(4, 2, 0, 24, 24, 1),  // compressed
        bitmap_file(8193, 1, 0, 24580),   // too large to be one of ours
        bitmap_file(1, 8193, 0, 32772),
        bitmap_file(3, 2, 18, 24),  // a size that leaves out the padding
    };
    for (const auto& bytes : refused) {
        EXPECT_FALSE(read_from_memory(bytes)) << &bytes - refused;
    }
}

}  // namespace
