#pragma once
#include <array>
#include <cstdint>
#include <string>

// The interpreter's side of the game screen: the "@wait" timer, ending mode, the open
// hot-spot block, the benchmark values and the line buffer for script errors.
class ScriptState {
public:
    // "@wait": runScript is not called while the timer runs.
    uint8_t waitActive = 0;
    int32_t waitElapsed = 0;
    int32_t waitDuration = 0;

    // "@ending_start": Escape or a right click leaves through a fade to black (GameState::EndingFade).
    uint8_t endingMode = 0;
    int32_t endingFade = 0;

    // A hot-spot block is open.
    uint8_t clickableActive = 0;

    // "@fps_capture" divides the frames the game screen drew since the current script was
    // loaded by the milliseconds those frames took.
    int32_t fpsResult = 0;
    uint64_t benchFrames = 0;
    uint64_t benchElapsedMs = 0;
    uint32_t benchLoadSerial = 0;
    std::string testTitle;

    // The script the game starts with; the ending returns here while no title screen exists.
    std::string startScript = "startup.scp";

    // Set by an argument error in the command that is running.
    bool argumentErrorRaised = false;
    uint64_t commandsRun = 0;

    std::array<char, 4096> messageBuffer{};
};
