// The picture files and the texture names they load into. Kept apart from the
// loading, which needs OpenGL, so frames can be composed without it.
#include "render/textures.h"

TextureSet textures;

// clang-format off
const TextureFile kTextureFiles[kTextureFileCount] = {
    {&TextureSet::board,             "Images/board.bmp"},
    {&TextureSet::seed1_mask,        "Images/seed1_mask.bmp"},
    {&TextureSet::seed1,             "Images/seed1.bmp"},
    {&TextureSet::menu,              "Images/Menu.bmp"},
    {&TextureSet::vsplayer,          "Images/vsplayer.bmp"},
    {&TextureSet::vsplayer1,         "Images/vsplayer1.bmp"},
    {&TextureSet::vsplayer2,         "Images/vsplayer2.bmp"},
    {&TextureSet::host,              "Images/host.bmp"},
    {&TextureSet::connect,           "Images/connect.bmp"},
    {&TextureSet::back,              "Images/back.bmp"},
    {&TextureSet::vscomputer,        "Images/vscomputer.bmp"},
    {&TextureSet::instruction,       "Images/instruction.bmp"},
    {&TextureSet::exit,              "Images/exit.bmp"},
    {&TextureSet::instruction2,      "Images/Instruction2.bmp"},
    {&TextureSet::controls,          "Images/Controls.bmp"},
    {&TextureSet::select_1,          "Images/Select_1.bmp"},
    {&TextureSet::select_mask1,      "Images/Select_Mask1.bmp"},
    {&TextureSet::select_2,          "Images/Select_2.bmp"},
    {&TextureSet::select_mask2,      "Images/Select_Mask2.bmp"},
    {&TextureSet::exit_question_box, "Images/exit_question_box.bmp"},
    {&TextureSet::yes,               "Images/yes.bmp"},
    {&TextureSet::no,                "Images/no.bmp"},
};
// clang-format on
