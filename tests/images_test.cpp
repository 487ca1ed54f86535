#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "render/bitmap.h"

namespace {

struct DrawnSize {
    const char* file;
    int width;
    int height;
};

// Each picture at the size it is drawn, so nothing is stretched on screen.
constexpr DrawnSize kPictures[] = {
    {"board", 950, 300},
    {"seed1", 18, 20},
    {"seed1_mask", 18, 20},
    {"Menu", 600, 380},
    {"Instruction2", 600, 380},
    {"Controls", 600, 380},
    {"exit_question_box", 300, 200},
    {"yes", 100, 60},
    {"no", 100, 60},
    {"vsplayer", 310, 40},
    {"vsplayer1", 310, 40},
    {"vsplayer2", 310, 40},
    {"host", 310, 40},
    {"connect", 310, 40},
    {"back", 310, 40},
    {"vscomputer", 310, 40},
    {"instruction", 310, 40},
    {"exit", 310, 40},
    {"Select_1", 310, 40},
    {"Select_Mask1", 310, 40},
    {"Select_2", 310, 40},
    {"Select_Mask2", 310, 40},
};

TEST(Images, EveryPictureLoadsThroughTheGamesReaderAtItsDrawnSize) {
    for (const DrawnSize& picture : kPictures) {
        const std::string path = std::string(SOWROW_SOURCE_DIR "/Images/") + picture.file + ".bmp";
        std::FILE* stream = std::fopen(path.c_str(), "rb");
        ASSERT_NE(stream, nullptr) << path;
        const auto image = read_bitmap(stream);
        ASSERT_TRUE(image.has_value()) << path;
        EXPECT_EQ(image->width, picture.width) << path;
        EXPECT_EQ(image->height, picture.height) << path;
        const std::size_t row = (static_cast<std::size_t>(picture.width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(image->pixels.size(), row * picture.height) << path;
    }
}

}  // namespace
