#include "Runner.h"

#include "PngWriter.h"
#include "WavRecording.h"
#include "app/Application.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "script/GameScreen.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>

namespace {

bool toInt(std::string_view s, int& out)
{
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

// A loop pass that handles a message runs no frame; a frame is due within a few passes
// unless the program has stopped drawing altogether.
constexpr int kMaxPassesPerFrame = 10000;

// Screenshots shrunk to a quarter (each output pixel the mean of a 4x4 block), four to a row.
class ContactSheet {
public:
    static constexpr int kScale = 4, kPerRow = 4, kGap = 4;

    void add(const platform::Surface& s)
    {
        int w = s.width() / kScale, h = s.height() / kScale;
        std::vector<uint32_t> px(size_t(w) * size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t r = 0, g = 0, b = 0;
                for (int dy = 0; dy < kScale; ++dy)
                    for (int dx = 0; dx < kScale; ++dx) {
                        const uint8_t* p = s.data() + size_t(y * kScale + dy) * size_t(s.pitch()) +
                                           size_t(x * kScale + dx) * size_t(platform::bytesPerPixel(s.format()));
                        uint32_t argb = platform::toArgb(s.format(), p);
                        r += (argb >> 16) & 0xFF;
                        g += (argb >> 8) & 0xFF;
                        b += argb & 0xFF;
                    }
                const uint32_t n = kScale * kScale;
                px[size_t(y) * size_t(w) + size_t(x)] = 0xFF000000u | (r / n) << 16 | (g / n) << 8 | (b / n);
            }
        tiles_.push_back(Tile{w, h, std::move(px)});
    }

    bool write(const std::string& path, std::string& why) const
    {
        if (tiles_.empty()) {
            why = "no screenshots for the contact sheet";
            return false;
        }
        int tw = tiles_[0].w, th = tiles_[0].h;
        int cols = std::min<int>(kPerRow, int(tiles_.size()));
        int rows = int((tiles_.size() + kPerRow - 1) / kPerRow);
        // Made row by row into the file: the sheet is never whole in memory.
        auto row = [&](int y, uint8_t* out) {
            const int w = cols * (tw + kGap) + kGap;
            for (int x = 0; x < w; ++x) {
                uint32_t c = 0xFF303030u;
                const int col = (x - kGap) / (tw + kGap), line = (y - kGap) / (th + kGap);
                const int tx = (x - kGap) % (tw + kGap), ty = (y - kGap) % (th + kGap);
                const size_t i = size_t(line) * kPerRow + size_t(col);
                if (x >= kGap && y >= kGap && tx < tw && ty < th && i < tiles_.size()) {
                    const Tile& t = tiles_[i];
                    if (tx < t.w && ty < t.h)
                        c = t.px[size_t(ty) * size_t(t.w) + size_t(tx)];
                }
                out[x * 3] = uint8_t(c >> 16);
                out[x * 3 + 1] = uint8_t(c >> 8);
                out[x * 3 + 2] = uint8_t(c);
            }
        };
        return writeRowsPng(cols * (tw + kGap) + kGap, rows * (th + kGap) + kGap, row, path, why);
    }

private:
    struct Tile {
        int w, h;
        std::vector<uint32_t> px;
    };
    std::vector<Tile> tiles_;
};

} // namespace

const char* runnerUsage()
{
    return "usage: sorafune-runner [--program-dir DIR] [--frames N] [--step MS] [--input FILE]\n"
           "                       [--shot FRAME:FILE.png]... [--log FILE] [--audio FILE.wav]\n"
           "                       [--script NAME] [--contact-sheet FILE.png] [--frame-times] [--window]\n"
           "  --program-dir DIR  the game folder (system.dat, system.pkd, SAVE, SOUND); default .\n"
           "  --frames N         stop after N frames; 0 (default) runs until the program quits\n"
           "  --step MS          clock advance per frame, default 16\n"
           "  --input FILE       input script (see tools/runner/InputScript.h)\n"
           "  --shot N:FILE      write the back buffer after frame N as a PNG; may repeat\n"
           "  --log FILE         write the run log there (Shift-JIS, as the game writes it);\n"
           "                     without it the log is printed in UTF-8 at the end\n"
           "  --script NAME      start the game screen on SCP\\NAME from system.pkd instead of\n"
           "                     the title (the ending then returns to it as well)\n"
           "  --audio FILE.wav   write the sound the game mixed, one frame step per frame\n"
           "  --contact-sheet F  also write every screenshot, a quarter size, side by side in F\n"
           "  --frame-times      report the mean and the worst real time the frames took\n"
           "  --window           play in a real window on the real clock instead (with --script,\n"
           "                     --frames and --log; no screenshots, input script or audio file)\n"
           "exit: 0 done, 1 start-up failed, 2 program ended with an error, 3 output not written,\n"
           "      64 bad options or input\n";
}

bool parseRunnerArgs(int argc, const char* const* argv, RunnerOptions& opts, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = a + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--program-dir") {
            if (!value(opts.programDir))
                return false;
        } else if (a == "--frames") {
            if (!value(v) || !toInt(v, opts.frames) || opts.frames < 0)
                return error = error.empty() ? "--frames takes a count" : error, false;
        } else if (a == "--step") {
            if (!value(v) || !toInt(v, opts.stepMs) || opts.stepMs < 1 || opts.stepMs > 1000)
                return error = error.empty() ? "--step takes 1..1000 ms" : error, false;
        } else if (a == "--input") {
            if (!value(v))
                return false;
            std::ifstream f(v, std::ios::binary);
            if (!f) {
                error = "cannot read " + v;
                return false;
            }
            std::stringstream ss;
            ss << f.rdbuf();
            std::string why;
            if (!parseInputScript(ss.str(), opts.input, why)) {
                error = v + ": " + why;
                return false;
            }
        } else if (a == "--shot") {
            if (!value(v))
                return false;
            size_t colon = v.find(':');
            int frame = 0;
            if (colon == std::string::npos || !toInt(std::string_view(v).substr(0, colon), frame) || frame < 1 ||
                colon + 1 >= v.size()) {
                error = "--shot takes FRAME:FILE.png with a frame of 1 or more";
                return false;
            }
            opts.shots.emplace_back(frame, v.substr(colon + 1));
        } else if (a == "--log") {
            if (!value(opts.logFile))
                return false;
        } else if (a == "--script") {
            if (!value(v))
                return false;
            if (v.empty()) {
                error = "--script takes a script name";
                return false;
            }
            opts.startScript = platform::utf8ToSjis(v);
        } else if (a == "--contact-sheet") {
            if (!value(opts.contactSheet))
                return false;
        } else if (a == "--frame-times") {
            opts.frameTimes = true;
        } else if (a == "--window") {
            opts.window = true;
        } else if (a == "--audio") {
            if (!value(opts.audioFile))
                return false;
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    return true;
}

int runHeadless(const RunnerOptions& optsIn, std::ostream& report, RunnerHooks* hooks)
{
    // The game runs from its own folder (it opens "system.pkd" there); the files the runner
    // writes stay where they were named from.
    RunnerOptions opts = optsIn;
    std::error_code ec;
    for (auto& shot : opts.shots)
        shot.second = std::filesystem::absolute(shot.second, ec).string();
    for (std::string* out : {&opts.logFile, &opts.contactSheet, &opts.audioFile})
        if (!out->empty())
            *out = std::filesystem::absolute(*out, ec).string();
    const std::filesystem::path oldCwd = std::filesystem::current_path(ec);
    std::filesystem::current_path(opts.programDir, ec);
    if (ec) {
        report << "runner: cannot enter the game folder " << opts.programDir << "\n";
        return kRunnerStartFailed;
    }
    struct BackToOldFolder {
        std::filesystem::path dir;
        ~BackToOldFolder()
        {
            std::error_code e;
            std::filesystem::current_path(dir, e);
        }
    } back{oldCwd};
    platform::files::setProgramDir(std::filesystem::current_path(ec).string());
    platform::HeadlessBackend backend;
    CDirectX dx(backend.services);
    Application app(dx);

    int exitCode = kRunnerOk;
    bool started = app.start();
    if (started && !opts.startScript.empty() && !startGameScreen(dx, opts.startScript)) {
        report << "runner: cannot load SCP\\" << platform::sjisToUtf8(opts.startScript) << " from system.pkd\n";
        dx.destroyMainWindow();
        app.finish();
        started = false;
    }
    if (!started) {
        report << "runner: start-up failed\n";
        exitCode = kRunnerStartFailed;
    } else {
        if (hooks)
            hooks->afterStart(dx, backend);
        // The desktop gives the newly shown window the focus, so the player's clicks count.
        backend.window.post(platform::WindowMessage::Activate);
        const uint32_t base = backend.clock.now();
        // The sound card is pulled one frame step per frame, so streams, fades and one-shot
        // sounds run in step with the pictures.
        const uint32_t audioRate = backend.audio.mixer().outRate();
        const uint32_t audioChannels = backend.audio.mixer().outChannels();
        uint64_t audioDue = 0;
        WavRecording recording(opts.audioFile, audioRate, audioChannels);
        ContactSheet sheet;
        double frameTotalUs = 0, worstFrameUs = 0;
        int frameCount = 0, worstFrame = 0;
        size_t nextInput = 0;
        bool alive = true;
        for (int frame = 1; alive && (opts.frames == 0 || frame <= opts.frames); ++frame) {
            for (; nextInput < opts.input.size() && opts.input[nextInput].frame <= frame; ++nextInput) {
                const ScriptedInput& in = opts.input[nextInput];
                if (in.close)
                    backend.window.post(platform::WindowMessage::Close);
                else
                    backend.feedInput(in.event);
            }
            // A fixed step: the frame runs at base + frame x step, or later when the previous
            // frame's own sleeps already went past it.
            uint32_t due = base + uint32_t(frame) * uint32_t(opts.stepMs);
            if (int32_t(due - backend.clock.now()) > 0)
                backend.clock.set(due);
            const auto frameStart = std::chrono::steady_clock::now();
            for (int pass = 0; pass < kMaxPassesPerFrame; ++pass) {
                alive = app.step();
                if (!alive || app.frameRanInLastStep())
                    break;
            }
            if (opts.frameTimes) {
                double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - frameStart).count();
                frameTotalUs += us;
                ++frameCount;
                if (us > worstFrameUs) {
                    worstFrameUs = us;
                    worstFrame = frame;
                }
            }
            uint64_t audioTarget = uint64_t(frame) * uint64_t(opts.stepMs) * audioRate / 1000;
            if (audioTarget > audioDue) {
                std::vector<int16_t> block = backend.audio.pull(size_t(audioTarget - audioDue));
                audioDue = audioTarget;
                recording.append(block);
            }
            for (const auto& [shotFrame, path] : opts.shots) {
                if (shotFrame != frame)
                    continue;
                const platform::Surface* bb = backend.video.backBuffer();
                std::string why;
                if (!bb) {
                    report << "runner: no picture at frame " << frame << " for " << path << "\n";
                    exitCode = kRunnerOutputFailed;
                } else {
                    if (!writeSurfacePng(*bb, path, why)) {
                        report << "runner: " << why << "\n";
                        exitCode = kRunnerOutputFailed;
                    }
                    if (!opts.contactSheet.empty())
                        sheet.add(*bb);
                }
            }
            if (hooks)
                hooks->afterFrame(frame, dx, backend);
        }
        // Out of frames: end the way closing the window does, so the log shows the teardown.
        if (alive)
            dx.destroyMainWindow();
        int code = app.finish();
        if (opts.frameTimes && frameCount > 0)
            report << "runner: " << frameCount << " frames, mean " << frameTotalUs / frameCount << " us "
                   << "per frame (real time), worst " << worstFrameUs << " us at frame " << worstFrame << "\n";
        if (!opts.contactSheet.empty()) {
            std::string why;
            if (!sheet.write(opts.contactSheet, why)) {
                report << "runner: " << why << "\n";
                if (exitCode == kRunnerOk)
                    exitCode = kRunnerOutputFailed;
            }
        }
        if (!recording.finish()) {
            report << "runner: cannot write " << opts.audioFile << "\n";
            if (exitCode == kRunnerOk)
                exitCode = kRunnerOutputFailed;
        }
        if (code != 0 && exitCode == kRunnerOk) {
            report << "runner: the program ended with code " << code << "\n";
            exitCode = kRunnerProgramFailed;
        }
    }

    for (const auto& box : backend.messageBoxes.shown)
        report << "message box [" << platform::sjisToUtf8(box.caption) << "]: " << platform::sjisToUtf8(box.text)
               << "\n";
    if (!opts.logFile.empty()) {
        std::ofstream f(opts.logFile, std::ios::binary | std::ios::trunc);
        for (const std::string& line : runLog().lines())
            f << line;
        if (!f) {
            report << "runner: cannot write " << opts.logFile << "\n";
            if (exitCode == kRunnerOk)
                exitCode = kRunnerOutputFailed;
        }
    } else {
        for (const std::string& line : runLog().lines())
            report << platform::sjisToUtf8(line);
    }
    return exitCode;
}
