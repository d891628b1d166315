#pragma once

class CTEXTURE;
class CPackArchive;
namespace platform {
class Video;
}

// Loads a 256 x 256 interface atlas from the archive into texture; false (with a log line)
// when the picture is missing or cannot be decoded, and the texture then has no content.
bool loadAtlas(CTEXTURE& texture, platform::Video* video, const CPackArchive& archive, const char* entry);
