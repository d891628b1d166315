#pragma once
#include "platform/SystemInfo.h"

namespace platform {

// A machine a test can describe: one 800x600x32 display, no sound devices, the software
// rasteriser, and a date the test sets.
class HeadlessSystemInfo final : public SystemInfo {
public:
    HeadlessSystemInfo()
    {
        machine.cpu.identified = true;
        machine.cpu.vendor = "GenuineIntel";
        machine.cpu.family = 6;
        machine.cpu.model = 8;
        machine.cpu.brand = "Headless Processor";
        machine.cpu.mhz = 1000.0;
        machine.os = "Headless";
        machine.totalMemoryMB = 512;
        machine.freeMemoryMB = 256;
        machine.displayAdapters = {"headless"};
        machine.monitors = 1;
        machine.desktopWidth = 800;
        machine.desktopHeight = 600;
        machine.desktopBits = 32;
        machine.renderer = "software rasteriser";
        machine.audioDriver = "headless";
        machine.textureBudgetBytes = 64ull << 20;
        date = LocalDate{2005, 3, 5};
    }
    SystemFacts facts() override { return machine; }
    LocalDate today() override { return date; }

    SystemFacts machine;
    LocalDate date;
};

} // namespace platform
