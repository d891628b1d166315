#include "diagnostics/SystemReport.h"

#include "app/CDirectX.h"
#include "core/ProgramVersion.h"
#include "core/RunLog.h"
#include "diagnostics/ProcessorName.h"
#include "platform/Text.h"
#include "platform/Video.h"
#include "script/CommandTable.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

namespace {

// "%16s : %s" with a Shift-JIS label: the width counts bytes, as the game's printf did.
std::string labelled(const std::string& labelSjis, const std::string& valueSjis)
{
    std::string line(labelSjis.size() < 16 ? 16 - labelSjis.size() : 0, ' ');
    return line + labelSjis + " : " + valueSjis;
}

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

// The best of the formats the game asked a sound device for that the device can play.
const char* bestSoundFormat(const platform::AudioDeviceFacts& d)
{
    bool wide = d.bits >= 16;
    if (d.rateHz >= 44100)
        return wide ? "44.1   kHz(16-bit)" : "44.1   kHz(8-bit)";
    if (d.rateHz >= 22050)
        return wide ? "22.05  kHz(16-bit)" : "22.05  kHz,(8-bit)";
    if (d.rateHz >= 11025)
        return wide ? "11.025 kHz(16-bit)" : "11.025 kHz(8-bit)";
    return "disable";
}

std::string host(const std::string& utf8)
{
    return platform::utf8ToSjis(utf8);
}

} // namespace

std::vector<std::string> systemReportLines(CDirectX& dx)
{
    platform::SystemFacts f;
    if (dx.sys.systemInfo)
        f = dx.sys.systemInfo->facts();
    std::vector<std::string> out;
    out.push_back(dx.title + "/" + kProgramVersion);
    out.push_back(SJ("■システム情報■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■"));
    out.push_back(SJ("【Windows System Info】"));
    out.push_back(labelled("CPU", host(f.cpu.vendor) + " " + host(processorName(f.cpu)) + " (" +
                                      processorTypeText(f.cpu.type) + ") " + format("%.2fMHz", f.cpu.mhz)));
    out.push_back(labelled("OS", host(f.os)));
    out.push_back(labelled("TotalMemory", format("%" PRIu64 " MB", f.totalMemoryMB)) + "\n" +
                  labelled("FreeMemory", format("%" PRIu64 " MB", f.freeMemoryMB)) + "\n");
    for (const std::string& a : f.displayAdapters)
        out.push_back(labelled("DisplayAdapter", host(a)));
    out.push_back(labelled(SJ("モニタ数"), format("%d", f.monitors)));
    out.push_back(labelled(SJ("解像度"), format("%dx%dx%dbit", f.desktopWidth, f.desktopHeight, f.desktopBits)));
    for (size_t i = 0; i < f.audioDevices.size(); ++i) {
        const platform::AudioDeviceFacts& d = f.audioDevices[i];
        out.push_back(format(" SoundAdapter(%d) : ", int(i + 1)) + host(d.name) + " (" + bestSoundFormat(d) + " " +
                      (d.channels >= 2 ? "Stereo" : "Mono") + ")");
    }
    out.push_back(SJ("\n【DirectX5 Info】"));
    // Textures live in system memory: the budget is what the program may still take, and
    // what the device's surfaces already hold is not free.
    uint64_t used = dx.sys.video ? dx.sys.video->surfaceBytes() : 0;
    uint64_t total = f.textureBudgetBytes;
    uint64_t freeBytes = total > used ? total - used : 0;
    out.push_back(labelled(SJ("搭載VRAM"), format("%" PRIu64 "MB(%" PRIu64 ")", total >> 20, total)));
    out.push_back(labelled(SJ("空きVRAM"), format("%" PRIu64 "MB(%" PRIu64 ")", freeBytes >> 20, freeBytes)));
    out.push_back(f.accelerated ? SJ("  　　　３Ｄ支援 : 有") : SJ("  　　　３Ｄ支援 : 無"));
    // The rasteriser samples textures but keeps no depth buffer.
    out.push_back(SJ("　　テクスチャー : 有"));
    out.push_back(SJ("　　Ｚバッファー : 無"));
    out.push_back("Direct3D DEVICE : " +
                  std::string(f.accelerated ? "accelerated presentation" : "software presentation") + " / " +
                  host(f.renderer));
    for (const platform::AudioDeviceFacts& d : f.audioDevices)
        out.push_back("DirectSound DEVICE : " + host(d.name) + " / " + host(f.audioDriver));
    out.push_back("-----------------------------------------------------------------------");
    out.push_back(SJ("使用可能なTextureFormat : ") + "A4R4G4B4 R5G6B5 A8R8G8B8 X8R8G8B8");
    out.push_back(SJ("■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■■"));
    return out;
}

bool WriteSystemReport(CDirectX& dx, std::string_view fileNameSjis)
{
    // A queue of its own, so the report goes out in one step and the run log keeps its lines.
    RunLog report;
    for (const std::string& line : systemReportLines(dx))
        report.append(1, line);
    return report.saveAppend(fileNameSjis);
}

std::string benchmarkLogName(const platform::LocalDate& date)
{
    return SJ("みろてっくベンチマーク\\") +
           format("mirotek-log_%02d%02d%02d.txt", (date.year - 2000 + 100) % 100, date.month, date.day);
}

void cmdAnalyze(CDirectX& dx, const std::string&)
{
    platform::LocalDate date = dx.sys.systemInfo ? dx.sys.systemInfo->today() : platform::hostToday();
    std::string name = benchmarkLogName(date);
    // Without the folder the report has nowhere to go, and the run log must not lose its lines.
    if (WriteSystemReport(dx, name))
        runLog().saveAppend(name);
}

void registerDiagnostics(CDirectX&)
{
    setCommandHandler("@analyze", cmdAnalyze);
}
