#pragma once
// The runner in a real window: the same start-up and message loop as the game, on the SDL
// backend and the real clock, starting a chosen script for authors (and for the play
// command until the title screen exists).
#include "Runner.h"

#include <iosfwd>

int runWindowed(const RunnerOptions& opts, std::ostream& report);
