// Reading the one kind of bitmap file the game's pictures come in:
// uncompressed 24-bit BMP, bottom-up rows, pixel data right behind a
// 54-byte header.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <vector>

constexpr std::size_t kBitmapHeaderSize = 54;

struct BitmapHeader {
    int width;
    int height;
    std::size_t row_size;     // bytes per row, padded to a multiple of 4
    std::size_t pixel_bytes;  // height * row_size: what the upload reads
};

struct BitmapImage {
    int width;
    int height;
    std::vector<unsigned char> pixels;  // blue, green, red; bottom row first
};

// Checks a header; refuses anything the upload could not read safely.
std::optional<BitmapHeader> parse_bitmap_header(const unsigned char* header, std::size_t size);

// Reads one image from the stream and closes it on every path. Returns
// nothing for a file that is not a bitmap we can show.
std::optional<BitmapImage> read_bitmap(std::FILE* stream);
