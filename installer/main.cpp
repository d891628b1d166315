// setup: installs the game from its disc, records the installation and makes its
// launchers; started again from the installed folder, removes it all.
#include "installer/SetupProgram.h"
#include "platform/sdl/SdlBackend.h"

int main()
{
    platform::SdlBackend backend;
    SetupProgram program(backend.services);
    if (!program.start())
        return program.exitCode();
    program.run(true);
    program.finish();
    return program.exitCode();
}
