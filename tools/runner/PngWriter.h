#pragma once
#include "platform/Video.h"

#include <cstdint>
#include <functional>
#include <string>

// Writes a surface as an 8-bit RGB PNG (the fourth byte of 32-bit pixels is not kept).
bool writeSurfacePng(const platform::Surface& surface, const std::string& hostPath, std::string& error);

// Writes a w x h 8-bit RGB PNG whose rows are made one at a time: row(y, rgb) fills w x 3
// bytes. Only one row is held.
bool writeRowsPng(int w, int h, const std::function<void(int, uint8_t*)>& row, const std::string& hostPath,
                  std::string& error);
