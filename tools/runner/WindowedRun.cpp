#include "WindowedRun.h"

#include "app/Application.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/sdl/SdlBackend.h"
#include "script/GameScreen.h"

#include <filesystem>
#include <fstream>
#include <ostream>

int runWindowed(const RunnerOptions& opts, std::ostream& report)
{
    std::error_code ec;
    std::string logFile = opts.logFile.empty() ? std::string() : std::filesystem::absolute(opts.logFile, ec).string();
    std::filesystem::current_path(opts.programDir, ec);
    if (ec) {
        report << "runner: cannot enter the game folder " << opts.programDir << "\n";
        return kRunnerStartFailed;
    }
    platform::files::setProgramDir(std::filesystem::current_path(ec).string());

    auto backend = platform::createSdlBackend();
    CDirectX dx(backend->services);
    Application app(dx);
    if (!app.start()) {
        report << "runner: start-up failed\n";
        return kRunnerStartFailed;
    }
    if (!opts.startScript.empty() && !startGameScreen(dx, opts.startScript)) {
        report << "runner: cannot load SCP\\" << platform::sjisToUtf8(opts.startScript) << " from system.pkd\n";
        dx.destroyMainWindow();
        app.finish();
        return kRunnerStartFailed;
    }
    int frames = 0;
    while (app.step()) {
        if (app.frameRanInLastStep() && opts.frames > 0 && ++frames >= opts.frames)
            dx.destroyMainWindow();
    }
    int code = app.finish();

    if (!logFile.empty()) {
        std::ofstream f(logFile, std::ios::binary | std::ios::trunc);
        for (const std::string& line : runLog().lines())
            f << line;
        if (!f) {
            report << "runner: cannot write " << logFile << "\n";
            return kRunnerOutputFailed;
        }
    }
    if (code != 0) {
        report << "runner: the program ended with code " << code << "\n";
        return kRunnerProgramFailed;
    }
    return kRunnerOk;
}
