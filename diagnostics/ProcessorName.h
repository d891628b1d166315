#pragma once
#include "platform/SystemInfo.h"

#include <string>

// The processor's name: the fixed tables where vendor, family and model select a row (the
// processors of the game's day), otherwise the processor's own brand string.
std::string processorName(const platform::CpuFacts& cpu);
// The processor type text of leaf 1 (OEM, OverDrive, dual).
const char* processorTypeText(int type);
