#include "tools/demo/ClickMaps.h"

#include <sstream>

namespace demo {

uint32_t clickRegionColour(char letter)
{
    static const uint32_t colours[7] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    return letter >= 'A' && letter <= 'G' ? colours[letter - 'A'] : 0;
}

bool clickMapFromSource(const std::string& text, Image& map, std::string& error)
{
    constexpr int W = 800, H = 600;
    map = Image(W, H, hex(0x000000));
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string letter;
        if (!(words >> letter) || letter[0] == '#')
            continue;
        int x = 0, y = 0, w = 0, h = 0;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (letter.size() != 1 || clickRegionColour(letter[0]) == 0) {
            error = where + "a region is one letter A-G, not '" + letter + "'";
            return false;
        }
        if (!(words >> x >> y >> w >> h)) {
            error = where + "a region needs x, y, width and height";
            return false;
        }
        if (w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > W || y + h > H) {
            error = where + "the rectangle leaves the 800 x 600 picture";
            return false;
        }
        const Color c = hex(clickRegionColour(letter[0]));
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px)
                map.plot(px, py, c, 1.0f);
    }
    return true;
}

} // namespace demo
