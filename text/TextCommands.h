#pragma once
#include <cstdint>
#include <string>

class CDirectX;

// The text commands of the scenario language; token is the command token itself.
void cmdText(CDirectX& dx, const std::string& token);
void cmdDefText(CDirectX& dx, const std::string& token);
void cmdTextCls(CDirectX& dx, const std::string& token);
void cmdTextClear(CDirectX& dx, const std::string& token);
void cmdCharnameWindow(CDirectX& dx, const std::string& token);
void cmdTextwindowFast(CDirectX& dx, const std::string& token);
void cmdTextwindow(CDirectX& dx, const std::string& token);
void cmdTextwindowFx1(CDirectX& dx, const std::string& token);
void cmdTextwindowFx2(CDirectX& dx, const std::string& token);
void cmdFontLoad(CDirectX& dx, const std::string& token);
void cmdKeywait(CDirectX& dx, const std::string& token);

// Milliseconds per character for text speed 0..7.
int32_t textDelayForSpeed(int32_t speed);
