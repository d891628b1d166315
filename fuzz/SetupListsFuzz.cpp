// Arbitrary bytes as the installer's header, copy list and uninstall record: nothing outside
// the install root may change, whatever the lists say.
#include "SetupListsFuzzDriver.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path sandbox = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() / ("setup-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    if (!runSetupListBytes(sandbox, data, size))
        std::abort();
    return 0;
}
