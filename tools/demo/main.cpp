// sorafune_demo: writes the demo game folder from the sources under demo/.
//   sorafune_demo --source <repo>/demo --out <game folder> [--archive-dir <folder>]
//                 [--contact-sheet <file.png>]
//   sorafune_demo --disc <disc folder> --game <game folder> --setup <setup> --program <sorafune>
// The game folder gets system.pkd, the loose sounds and the folders the game writes into;
// --archive-dir also leaves the archive's entries there as plain files. --disc makes the
// install disc from a generated game folder and the two programs.
#include "platform/Fonts.h"
#include "tools/demo/Disc.h"
#include "tools/demo/FontLabels.h"
#include "tools/demo/Generator.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string source, out, archiveDir, sheet, disc, gameDir, setupProgram, gameProgram;
    for (int i = 1; i < argc; ++i) {
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "sorafune_demo: %s needs a value\n", argv[i]);
                std::exit(2);
            }
            into = argv[++i];
        };
        if (!std::strcmp(argv[i], "--source"))
            value(source);
        else if (!std::strcmp(argv[i], "--out"))
            value(out);
        else if (!std::strcmp(argv[i], "--archive-dir"))
            value(archiveDir);
        else if (!std::strcmp(argv[i], "--contact-sheet"))
            value(sheet);
        else if (!std::strcmp(argv[i], "--disc"))
            value(disc);
        else if (!std::strcmp(argv[i], "--game"))
            value(gameDir);
        else if (!std::strcmp(argv[i], "--setup"))
            value(setupProgram);
        else if (!std::strcmp(argv[i], "--program"))
            value(gameProgram);
        else {
            std::fprintf(stderr, "usage: sorafune_demo --source DIR --out DIR [--archive-dir DIR] [--contact-sheet FILE]\n");
            return 2;
        }
    }
    if (!disc.empty()) {
        if (gameDir.empty() || setupProgram.empty() || gameProgram.empty()) {
            std::fprintf(stderr, "usage: sorafune_demo --disc DIR --game DIR --setup FILE --program FILE\n");
            return 2;
        }
        platform::Fonts fonts;
        demo::DiscOptions options{disc, gameDir, setupProgram, gameProgram, demo::fontLabelPainter(fonts)};
        std::string error;
        if (!demo::writeDisc(options, error)) {
            std::fprintf(stderr, "sorafune_demo: %s\n", error.c_str());
            return 1;
        }
        std::printf("install disc: %s\n", disc.c_str());
        return 0;
    }
    if (source.empty() || out.empty()) {
        std::fprintf(stderr, "usage: sorafune_demo --source DIR --out DIR [--archive-dir DIR] [--contact-sheet FILE]\n");
        return 2;
    }
    demo::GeneratorOptions options;
    options.sourceDir = source;
    platform::Fonts fonts;
    options.label = demo::fontLabelPainter(fonts);
    const demo::GeneratedGame game = demo::generateGame(options);
    if (!game.error.empty()) {
        std::fprintf(stderr, "sorafune_demo: %s\n", game.error.c_str());
        return 1;
    }
    std::string error;
    if (!demo::writeGame(game, out, archiveDir, error)) {
        std::fprintf(stderr, "sorafune_demo: %s\n", error.c_str());
        return 1;
    }
    if (!sheet.empty()) {
        const demo::Image img = demo::contactSheet(game);
        if (!demo::writeFile(sheet, demo::encodePngRgb(img.width(), img.height(), img.rgb8()))) {
            std::fprintf(stderr, "sorafune_demo: cannot write %s\n", sheet.c_str());
            return 1;
        }
        std::printf("contact sheet: %s\n", sheet.c_str());
    }
    size_t bytes = 0;
    for (const auto& f : game.files)
        bytes += f.bytes.size();
    std::printf("demo game: %zu files, %.1f MB, in %s\n", game.files.size(), double(bytes) / 1e6, out.c_str());
    return 0;
}
