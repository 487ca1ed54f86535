#include "render/textures.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <optional>

#include "render/bitmap.h"

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
