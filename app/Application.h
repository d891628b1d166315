#pragma once
#include <cstdint>

class CDirectX;

// The process entry of the game: start-up in its fixed order, the message loop that runs a
// frame whenever no window message waits, and the end of the run.
class Application {
public:
    explicit Application(CDirectX& dx) : dx_(dx) {}

    // Entry steps up to the message loop. False when start-up was refused or failed; the
    // exit code is then -1.
    bool start();
    // One pass of the message loop: one waiting message, or else one frame. False once
    // the loop has ended.
    bool step();
    // After the loop: the run time line, the log dump when S is held; the exit code.
    int finish();
    // All of it.
    int run();

    // Subsystem start-up in order; true on success.
    bool startSystem();

    bool frameRanInLastStep() const { return frameRan_; }

private:
    CDirectX& dx_;
    bool frameRan_ = false;
    bool started_ = false;
};
