// The drawing space and the operations every picture is made of.
#pragma once

#include "render/textures.h"

void on_reshape(int width, int height);
