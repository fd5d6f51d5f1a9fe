// The About window's logo: the bytes of logo.png (a 128 x 128 RGBA PNG),
// compiled into the program's constant data.
#pragma once

#include <cstddef>

extern const unsigned char LogoPng[];
extern const std::size_t LogoPngLength;
