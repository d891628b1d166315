#include "fuzz/FuzzEntries.h"
#include "platform/DebugOutput.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = (platform::setDebugOutputSink([](std::string_view) {}), true);
    (void)quiet;
    fuzzPkdExtract(data, size);
    return 0;
}
