#include "platform/SystemInfo.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define SORAFUNE_HAS_CPUID 1
#endif

namespace platform {

namespace {

std::string trim(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\0'))
        s.pop_back();
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    return s.substr(i);
}

// "key : value" from /proc/cpuinfo, first occurrence.
std::string cpuinfoField(const char* key)
{
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        if (trim(line.substr(0, colon)) == key)
            return trim(line.substr(colon + 1));
    }
    return {};
}

} // namespace

CpuFacts readHostCpu()
{
    CpuFacts c;
#ifdef SORAFUNE_HAS_CPUID
    unsigned a, b, cx, d;
    if (__get_cpuid(0, &a, &b, &cx, &d)) {
        char v[13] = {};
        std::memcpy(v, &b, 4);
        std::memcpy(v + 4, &d, 4);
        std::memcpy(v + 8, &cx, 4);
        c.vendor = v;
        c.identified = true;
        if (a >= 1 && __get_cpuid(1, &a, &b, &cx, &d)) {
            c.family = int((a >> 8) & 0xF);
            c.model = int((a >> 4) & 0xF);
            c.type = int((a >> 12) & 0x3);
            c.extended = ((a >> 16) & 0xF) != 0 || ((a >> 20) & 0xFF) != 0;
            c.brandIndex = int(b & 0xFF);
        }
        unsigned maxExt = __get_cpuid_max(0x80000000, nullptr);
        if (maxExt >= 0x80000004) {
            char brand[49] = {};
            for (unsigned i = 0; i < 3; ++i) {
                unsigned r[4];
                __get_cpuid(0x80000002 + i, &r[0], &r[1], &r[2], &r[3]);
                std::memcpy(brand + i * 16, r, 16);
            }
            c.brand = trim(brand);
        }
    }
#endif
    if (!c.identified) {
        c.vendor = cpuinfoField("vendor_id");
        if (c.vendor.empty())
            c.vendor = cpuinfoField("CPU implementer");
        c.brand = cpuinfoField("model name");
        c.identified = !c.vendor.empty() || !c.brand.empty();
    }
    return c;
}

double measureCpuMHz(int ms)
{
#ifdef SORAFUNE_HAS_CPUID
    using clock = std::chrono::steady_clock;
    auto t0 = clock::now();
    unsigned long long c0 = __rdtsc();
    auto until = t0 + std::chrono::milliseconds(ms);
    while (clock::now() < until) {
    }
    unsigned long long c1 = __rdtsc();
    double us = std::chrono::duration<double, std::micro>(clock::now() - t0).count();
    return us > 0 ? double(c1 - c0) / us : 0;
#else
    (void)ms;
    std::string mhz = cpuinfoField("cpu MHz");
    return mhz.empty() ? 0 : std::atof(mhz.c_str());
#endif
}

std::string readHostOs()
{
    std::string text;
    struct utsname u;
    if (uname(&u) == 0)
        text = std::string(u.sysname) + " " + u.release;
    std::ifstream in("/etc/os-release");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("PRETTY_NAME=", 0) != 0)
            continue;
        std::string v = line.substr(12);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\''))
            v = v.substr(1, v.size() - 2);
        text += text.empty() ? v : " (" + v + ")";
        break;
    }
    return text;
}

void readHostMemory(uint64_t& totalMB, uint64_t& freeMB)
{
    totalMB = freeMB = 0;
    // MemAvailable is what a program can still get; sysinfo's free leaves out the caches.
    std::ifstream in("/proc/meminfo");
    std::string key;
    uint64_t kb;
    std::string unit;
    while (in >> key >> kb) {
        std::getline(in, unit);
        if (key == "MemTotal:")
            totalMB = kb >> 10;
        else if (key == "MemAvailable:")
            freeMB = kb >> 10;
    }
    if (totalMB == 0) {
        struct sysinfo si;
        if (sysinfo(&si) == 0) {
            totalMB = (uint64_t(si.totalram) * si.mem_unit) >> 20;
            freeMB = (uint64_t(si.freeram) * si.mem_unit) >> 20;
        }
    }
}

LocalDate hostToday()
{
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return LocalDate{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

bool localTimeOf(int64_t secondsSinceEpoch, LocalTime& out)
{
    const std::time_t t = std::time_t(secondsSinceEpoch);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr)
        return false;
    out = LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
}

} // namespace platform
