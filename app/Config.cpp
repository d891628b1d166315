// Loading and saving the settings record "system.dat" beside the program.
#include "app/CDirectX.h"
#include "platform/Files.h"

#include <cstdio>

namespace {
const char* const kConfigFile = "system.dat";
}

bool CDirectX::loadConfig()
{
    std::FILE* f = platform::files::open(platform::files::programPath(kConfigFile), "rb");
    if (!f)
        return false;
    uint8_t buf[SystemConfig::kSize];
    size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    // An empty file holds nothing to keep: treat it like a missing one.
    if (n == 0)
        return false;
    // A short file keeps the defaults for the fields it does not reach, and values out of
    // range are clamped, so no table is ever indexed outside its eight entries.
    config.applyDefaults();
    config.fromBytes(buf, n);
    config.clampToRanges();
    display.setWindowed(config.windowed != 0);
    return true;
}

void CDirectX::applyDefaultConfig()
{
    config.applyDefaults();
}

bool CDirectX::saveConfig()
{
    config.windowed = display.windowed() ? 1 : 0;
    std::array<uint8_t, SystemConfig::kSize> bytes = config.toBytes();
    return platform::files::writeFileAtomic(platform::files::programPath(kConfigFile), bytes.data(), bytes.size());
}
