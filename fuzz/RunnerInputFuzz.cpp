// The runner's input script parser on arbitrary text.
#include "tools/runner/InputScript.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<ScriptedInput> out;
    std::string error;
    if (parseInputScript(std::string_view(reinterpret_cast<const char*>(data), size), out, error)) {
        for (size_t i = 1; i < out.size(); ++i)
            if (out[i].frame < out[i - 1].frame || out[i].frame < 1)
                __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
