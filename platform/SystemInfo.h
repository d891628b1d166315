#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// What the processor says about itself.
struct CpuFacts {
    bool identified = false;   // false: the processor could not be asked
    std::string vendor;        // the 12-character vendor string, or the kernel's vendor text
    int family = 0;            // base family (leaf 1 bits 8-11)
    int model = 0;             // base model (leaf 1 bits 4-7)
    bool extended = false;     // extended family/model bits are set: the base numbers are not the whole story
    int brandIndex = 0;        // leaf 1 EBX low byte
    int type = 0;              // leaf 1 bits 12-13
    std::string brand;         // the processor's own brand string
    double mhz = 0;            // measured at start-up
};

struct AudioDeviceFacts {
    std::string name;
    int rateHz = 0;
    int bits = 0;
    int channels = 0;
};

// The machine as one run of the program sees it. Texts are UTF-8 (host names).
struct SystemFacts {
    CpuFacts cpu;
    std::string os;            // kernel name and release, and the distribution's name
    uint64_t totalMemoryMB = 0;
    uint64_t freeMemoryMB = 0;
    std::vector<std::string> displayAdapters;
    int monitors = 0;
    int desktopWidth = 0, desktopHeight = 0, desktopBits = 0;
    std::vector<AudioDeviceFacts> audioDevices;
    std::string audioDriver;   // the host sound system the devices belong to
    std::string renderer;      // the presentation in use
    bool accelerated = false;
    // Textures live in system memory: the budget is what the program may still take.
    uint64_t textureBudgetBytes = 0;
};

struct LocalDate {
    int year = 0, month = 0, day = 0;
};

// A moment broken down in the host's local time zone; weekday 0 is Sunday.
struct LocalTime {
    int year = 0, month = 0, day = 0, weekday = 0, hour = 0, minute = 0, second = 0;
};
// False when the host cannot break the time down.
bool localTimeOf(int64_t secondsSinceEpoch, LocalTime& out);

// Facts about the machine and the local date.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual SystemFacts facts() = 0;
    virtual LocalDate today() = 0;
};

// The host's own answers, shared by the backends.
CpuFacts readHostCpu();
// Busy-waits about the given milliseconds against the time-stamp counter; 0 where there is none.
double measureCpuMHz(int ms);
std::string readHostOs();
void readHostMemory(uint64_t& totalMB, uint64_t& freeMB);
LocalDate hostToday();

} // namespace platform
