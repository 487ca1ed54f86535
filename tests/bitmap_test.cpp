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

std::vector<unsigned char> bitmap_file(std::int32_t width, std::int32_t height,
                                       std::uint32_t image_size, std::size_t pixel_bytes,
                                       std::uint16_t bit_count = 24) {
    std::vector<unsigned char> bytes(kBitmapHeaderSize + pixel_bytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put_u32(bytes, 10, 54);
    put_u32(bytes, 14, 40);
    put_u32(bytes, 18, static_cast<std::uint32_t>(width));
    put_u32(bytes, 22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = static_cast<unsigned char>(bit_count);
    bytes[29] = static_cast<unsigned char>(bit_count >> 8);
    put_u32(bytes, 34, image_size);
    for (std::size_t i = 0; i < pixel_bytes; ++i) {
        bytes[kBitmapHeaderSize + i] = static_cast<unsigned char>(i + 1);
    }
    return bytes;
}

std::optional<BitmapImage> read_from_memory(std::vector<unsigned char> bytes) {
    std::FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
    return read_bitmap(stream);
}

TEST(Bitmap, ReadsExactlyThePixelBytesBehindTheHeader) {
    const auto image = read_from_memory(bitmap_file(4, 2, 0, 24));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 2);
    ASSERT_EQ(image->pixels.size(), 24u);
    EXPECT_EQ(image->pixels.front(), 1);
    EXPECT_EQ(image->pixels.back(), 24);
}

TEST(Bitmap, IgnoresThePixelDataOffset) {
    auto bytes = bitmap_file(4, 1, 12, 12);
    put_u32(bytes, 10, 1078);
    const auto image = read_from_memory(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels.front(), 1);
}

TEST(Bitmap, PaddedRowsAreReadWhole) {
    // Three pixels make 9 bytes a row, stored as 12.
    const auto padded = read_from_memory(bitmap_file(3, 2, 24, 24));
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->pixels.size(), 24u);

    // A zero image size stands for the padded size.
    const auto implied = read_from_memory(bitmap_file(3, 2, 0, 24));
    ASSERT_TRUE(implied);
    EXPECT_EQ(implied->pixels.size(), 24u);

    // Extra bytes beyond the padded rows are not needed.
    const auto generous = read_from_memory(bitmap_file(3, 2, 40, 40));
    ASSERT_TRUE(generous);
    EXPECT_EQ(generous->pixels.size(), 24u);
}

TEST(Bitmap, RefusesFilesThatAreNotOurKindOfBitmap) {
    auto wrong_signature = bitmap_file(4, 2, 0, 24);
    wrong_signature[0] = 'M';
    wrong_signature[1] = 'B';
    EXPECT_FALSE(read_from_memory(wrong_signature));

    auto short_header = bitmap_file(4, 2, 0, 0);
    short_header.resize(53);
    EXPECT_FALSE(read_from_memory(short_header));
    EXPECT_FALSE(read_from_memory({}));

    EXPECT_FALSE(read_from_memory(bitmap_file(4, -2, 0, 24))) << "top-down";
    EXPECT_FALSE(read_from_memory(bitmap_file(0, 2, 0, 0))) << "no width";
    EXPECT_FALSE(read_from_memory(bitmap_file(4, 2, 0, 32, 32))) << "32-bit";
    EXPECT_FALSE(read_from_memory(bitmap_file(4, 2, 0, 8, 8))) << "palette";

    auto compressed = bitmap_file(4, 2, 0, 24);
    compressed[30] = 1;
    EXPECT_FALSE(read_from_memory(compressed));

    EXPECT_FALSE(read_from_memory(bitmap_file(1 << 20, 1 << 20, 0, 16))) << "absurd size";
}

TEST(Bitmap, AFileCutShortReadsWhatIsThereAndBlackForTheRest) {
    const auto image = read_from_memory(bitmap_file(4, 2, 0, 20));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->pixels.size(), 24u);
    EXPECT_EQ(image->pixels[19], 20);
    EXPECT_EQ(std::vector<unsigned char>(image->pixels.begin() + 20, image->pixels.end()),
              std::vector<unsigned char>(4, 0));
}

TEST(Bitmap, RefusesAnImageSizeShortOfThePaddedRows) {
    // The image size leaves out the row padding: 3 x 2 x 3 = 18 < 24.
    EXPECT_FALSE(read_from_memory(bitmap_file(3, 2, 18, 24)));
    EXPECT_FALSE(read_from_memory(bitmap_file(4, 2, 8, 24)));
}

}  // namespace
