// The pictures of the game as OpenGL textures, loaded once at start-up.
#pragma once

#include <cstdio>

using TextureName = unsigned int;  // 0 for a picture that did not load

struct TextureSet {
    TextureName board;
    TextureName seed1_mask;
    TextureName seed1;
    TextureName menu;
    TextureName vsplayer;
    TextureName vsplayer1;
    TextureName vsplayer2;
    TextureName host;
    TextureName connect;
    TextureName back;
    TextureName vscomputer;
    TextureName instruction;
    TextureName exit;
    TextureName instruction2;
    TextureName controls;
    TextureName select_1;
    TextureName select_mask1;
    TextureName select_2;
    TextureName select_mask2;
    TextureName exit_question_box;
    TextureName yes;
    TextureName no;
};

extern TextureSet textures;

struct TextureFile {
    TextureName TextureSet::*field;
    const char* path;
};

constexpr int kTextureFileCount = 22;
extern const TextureFile kTextureFiles[kTextureFileCount];

// Opens a picture file and loads it; reports a file that cannot be opened.
TextureName load_texture_file(const char* path);
// Loads one picture from an open stream, which it closes.
TextureName load_bitmap_texture(std::FILE* stream);
// All 22 pictures, in table order. Needs a current OpenGL context.
void load_all_textures();
