#include "Runner.h"
#include "WindowedRun.h"

#include <iostream>

int main(int argc, char** argv)
{
    RunnerOptions opts;
    std::string error;
    if (!parseRunnerArgs(argc, argv, opts, error)) {
        std::cerr << "sorafune-runner: " << error << "\n" << runnerUsage();
        return kRunnerUsage;
    }
    if (opts.window)
        return runWindowed(opts, std::cerr);
    return runHeadless(opts, std::cout);
}
