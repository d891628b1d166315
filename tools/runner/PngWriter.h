#pragma once
#include "platform/Video.h"

#include <string>

// Writes a surface as an 8-bit RGB PNG (the fourth byte of 32-bit pixels is not kept).
bool writeSurfacePng(const platform::Surface& surface, const std::string& hostPath, std::string& error);
