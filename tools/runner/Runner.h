#pragma once
// The headless runner: the game's start-up and frame loop on the headless backend with a
// fixed frame step, scripted input, PNG screenshots of the back buffer and the run log.
#include "InputScript.h"

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class HeadlessBackend;
}
class CDirectX;

struct RunnerOptions {
    std::string programDir = ".";      // the game folder
    int frames = 0;                    // frames to run; 0 = until the program quits
    int stepMs = 16;                   // clock advance per frame
    std::vector<ScriptedInput> input;
    std::vector<std::pair<int, std::string>> shots; // frame, PNG path
    std::string logFile;               // run log (Shift-JIS); empty = UTF-8 on the report stream
    std::string startScript;           // Shift-JIS; non-empty: play "SCP\\" + this instead of the title
    std::string contactSheet;          // all screenshots side by side in one PNG; empty = none
    bool frameTimes = false;           // report the real time frames took (mean, worst)
    bool window = false;               // play in a real window on the real clock (no shots)
    std::string audioFile;             // the mixed sound as a 16-bit WAV; empty = mixed and dropped
};

// Exit codes of the runner.
enum RunnerExit {
    kRunnerOk = 0,
    kRunnerStartFailed = 1,     // start-up failed (the game would have exited with -1)
    kRunnerProgramFailed = 2,   // the program ended with a non-zero code
    kRunnerOutputFailed = 3,    // a screenshot or the log could not be written
    kRunnerUsage = 64,          // bad options or input script
};

// Parses the command line; on failure error says why.
bool parseRunnerArgs(int argc, const char* const* argv, RunnerOptions& opts, std::string& error);
const char* runnerUsage();

// Observes the run between frames (tests look at the engine there).
struct RunnerHooks {
    virtual ~RunnerHooks() = default;
    virtual void afterStart(CDirectX&, platform::HeadlessBackend&) {}
    virtual void afterFrame(int /*frame*/, CDirectX&, platform::HeadlessBackend&) {}
};

// Runs the game; messages and the log go to report. Returns a RunnerExit code.
int runHeadless(const RunnerOptions& opts, std::ostream& report, RunnerHooks* hooks = nullptr);
