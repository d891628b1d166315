#pragma once
#include <functional>
#include <string_view>

namespace platform {

// The debugger-output channel ("ADV_SYSTEM: ..." messages). It goes to standard error as
// UTF-8 and never into the run log. Tests may catch it with a sink of their own.
void debugOutput(std::string_view sjisText);
void setDebugOutputSink(std::function<void(std::string_view)> sink);

} // namespace platform
