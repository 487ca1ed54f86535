#include "render/textures.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <optional>

#include "render/bitmap.h"

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

TextureName load_texture_file(const char* path) {
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) {
        std::fputs("Image could not be opened\n", stdout);
        std::fflush(stdout);
        return 0;
    }
    return load_bitmap_texture(stream);
}

TextureName load_bitmap_texture(std::FILE* stream) {
    const std::optional<BitmapImage> image = read_bitmap(stream);
    if (!image) {
        std::fputs("Not a proper BMP file\n", stdout);
        std::fflush(stdout);
        return 0;
    }
    TextureName name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image->width, image->height, 0, GL_BGR_EXT,
                 GL_UNSIGNED_BYTE, image->pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    return name;
}

void load_all_textures() {
    for (const TextureFile& file : kTextureFiles) {
        textures.*file.field = load_texture_file(file.path);
    }
}
