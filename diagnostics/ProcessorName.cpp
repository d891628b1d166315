#include "diagnostics/ProcessorName.h"

#include <cstring>

namespace {

struct NameRow {
    const char* vendor;
    int family;
    int model;
    const char* name;
};

// Rows for processors whose family and model are the whole identification; a later
// processor sets the extended bits and names itself through its brand string.
const NameRow kNames[] = {
    {"GenuineIntel", 4, 0, "i80486DX-25/33"}, {"GenuineIntel", 4, 1, "i80486DX-50"},
    {"GenuineIntel", 4, 2, "i80486SX"}, {"GenuineIntel", 4, 3, "i80486DX2"},
    {"GenuineIntel", 4, 4, "i80486SL"}, {"GenuineIntel", 4, 5, "i80486SX2"},
    {"GenuineIntel", 4, 7, "i80486DX2WB"}, {"GenuineIntel", 4, 8, "i80486DX4"},
    {"GenuineIntel", 4, 9, "i80486DX4WB"},
    {"GenuineIntel", 5, 0, "P5 A-step"}, {"GenuineIntel", 5, 1, "P5"}, {"GenuineIntel", 5, 2, "P54C"},
    {"GenuineIntel", 5, 3, "P24T Overdrive"}, {"GenuineIntel", 5, 4, "P55C"},
    {"GenuineIntel", 5, 7, "P54C"}, {"GenuineIntel", 5, 8, "P55C (0.25um)"},
    {"GenuineIntel", 6, 0, "PentiumPRO A-step"}, {"GenuineIntel", 6, 1, "PentiumPRO"},
    {"GenuineIntel", 6, 3, "Pentium2 (0.28um)"}, {"GenuineIntel", 6, 5, "Pentium2 (0.25um)"},
    {"GenuineIntel", 6, 6, "Pentium2 with on-die L2 cache"}, {"GenuineIntel", 6, 7, "Pentium3 (0.25um)"},
    {"GenuineIntel", 6, 8, "Pentium3 (0.18um) with 256 KB on-die L2 cache"},
    {"GenuineIntel", 6, 10, "Pentium3 (0.18um) with 1 or 2 MB on-die L2 cache"},
    {"GenuineIntel", 6, 11, "Pentium3 (0.13um) with 256 or 512 KB on-die L2 cache"},
    {"GenuineIntel", 15, 0, "Pentium4 (0.18um)"}, {"GenuineIntel", 15, 1, "Pentium4 (0.18um)"},
    {"GenuineIntel", 15, 2, "Pentium4 (0.13um)"},
    {"UMC UMC UMC ", 4, 1, "U5D"}, {"UMC UMC UMC ", 4, 2, "U5S"},
    {"AuthenticAMD", 4, 3, "80486DX2"}, {"AuthenticAMD", 4, 7, "80486DX2WB"},
    {"AuthenticAMD", 4, 8, "80486DX4"}, {"AuthenticAMD", 4, 9, "80486DX4WB"},
    {"AuthenticAMD", 4, 14, "5x86"}, {"AuthenticAMD", 4, 15, "5x86WB"},
    {"AuthenticAMD", 5, 0, "SSA5 (PR75, PR90, PR100)"}, {"AuthenticAMD", 5, 1, "5k86 (PR120, PR133)"},
    {"AuthenticAMD", 5, 2, "5k86 (PR166)"}, {"AuthenticAMD", 5, 3, "5k86 (PR200)"},
    {"AuthenticAMD", 5, 6, "K6 (0.30um)"}, {"AuthenticAMD", 5, 7, "K6 (0.25um)"},
    {"AuthenticAMD", 5, 8, "K6-2"}, {"AuthenticAMD", 5, 9, "K6-III"},
    {"AuthenticAMD", 5, 13, "K6-2+ or K6-III+ (0.18um)"},
    {"AuthenticAMD", 6, 1, "Athlon (0.25um)"}, {"AuthenticAMD", 6, 2, "Athlon (0.18um)"},
    {"AuthenticAMD", 6, 3, "Duron (SF core)"}, {"AuthenticAMD", 6, 4, "Athlon (TB core)"},
    {"AuthenticAMD", 6, 6, "Athlon (PM core)"}, {"AuthenticAMD", 6, 7, "Duron (MG core)"},
    {"AuthenticAMD", 6, 8, "Athlon (TH core)"},
    {"CyrixInstead", 4, 4, "GX, GXm"}, {"CyrixInstead", 4, 9, "5x86"}, {"CyrixInstead", 5, 2, "6x86"},
    {"CyrixInstead", 6, 0, "6x86MX"}, {"CyrixInstead", 6, 5, "Cyrix M2 core"},
    {"CyrixInstead", 6, 6, "WinChip C5A core"}, {"CyrixInstead", 6, 7, "WinChip C5B/C5C"},
    {"CyrixInstead", 6, 8, "WinChip C5C-T core"},
    {"NexGenDriven", 5, 0, "Nx586 or Nx586FPU"},
    {"CentaurHauls", 5, 4, "C6"}, {"CentaurHauls", 5, 8, "C2"}, {"CentaurHauls", 5, 9, "C3"},
    {"RiseRiseRise", 5, 0, "mP6 (0.25um)"}, {"RiseRiseRise", 5, 2, "mP6 (0.18um)"},
    {"GenuineTMx86", 5, 4, "Crusoe TM3x00 and TM5x00"}, {"GenuineTMx86", 6, 4, "Crusoe TM3x00 and TM5x00"},
};

const char* const kIntelBrands[] = {
    "0.18um Intel Celeron",
    "0.18um Intel Pentium III",
    "0.18um Intel Pentium III Xeon / 0.13um Intel Celeron",
    "0.13um Intel Pentium III",
    "0.13um Intel Pentium III mobile",
    "0.13um Intel Celeron mobile",
    "0.18um Intel Pentium 4",
    "0.13um Intel Pentium 4",
    "0.18um Intel Pentium 4 Xeon MP / 0.13um Intel Pentium 4 Xeon",
    "0.18um Intel Pentium 4 Xeon / 0.13um Intel Pentium 4 mobile",
};

} // namespace

std::string processorName(const platform::CpuFacts& cpu)
{
    if (!cpu.identified)
        return "not supported";
    if (!cpu.extended) {
        if (cpu.vendor == "GenuineIntel" && cpu.brandIndex >= 1 &&
            cpu.brandIndex <= int(sizeof kIntelBrands / sizeof kIntelBrands[0]))
            return kIntelBrands[cpu.brandIndex - 1];
        for (const NameRow& r : kNames)
            if (cpu.vendor == r.vendor && cpu.family == r.family && cpu.model == r.model)
                return r.name;
    }
    return cpu.brand.empty() ? "unknown" : cpu.brand;
}

const char* processorTypeText(int type)
{
    switch (type) {
    case 0: return "Original OEM Processor";
    case 1: return "OverDrive Processor";
    case 2: return "Dual Processor";
    default: return "Reserved";
    }
}
