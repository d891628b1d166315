#pragma once
#include "platform/SystemInfo.h"

#include <string>
#include <string_view>
#include <vector>

class CDirectX;

// The report's lines (Shift-JIS, each as the run log would queue it) for this machine.
std::vector<std::string> systemReportLines(CDirectX& dx);
// Appends the system report to fileName in the program folder, with the run log's line
// ends. False (and nothing written) when the file cannot be opened.
bool WriteSystemReport(CDirectX& dx, std::string_view fileNameSjis);
// The benchmark file of a day: "みろてっくベンチマーク\mirotek-log_YYMMDD.txt" (Shift-JIS).
std::string benchmarkLogName(const platform::LocalDate& date);

// "@analyze": the report, then the run log's pending lines, into the day's benchmark file.
void cmdAnalyze(CDirectX& dx, const std::string& token);
void registerDiagnostics(CDirectX& dx);
