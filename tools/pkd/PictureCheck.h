#pragma once
// Whether the game can show a PNG entry of its archive. The text window's pictures
// ("textbox\\...") are 16-bit grey texel pictures; every other picture is loaded as 8-bit RGB
// or RGBA. Shared by "pkd pack" and the author's checker.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// True for entry names the game decodes as pictures (a ".png" ending, any case).
bool isPictureEntry(std::string_view entryName);

// Empty when the game can show the picture; else why not (UTF-8), for example "a palette PNG
// (the game shows only 8-bit RGB or RGBA pictures)". A damaged PNG is found by decoding it.
std::string pictureProblem(std::string_view entryName, const uint8_t* data, size_t size);
