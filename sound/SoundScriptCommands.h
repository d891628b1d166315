#pragma once
#include <string>

class CDirectX;

// The script's sound commands: "@bgm_load", "@bgm", "@bgm_fade", "@se_load", "@se",
// "@se_fade". Each reads its argument token from the script.
void cmdBgmLoad(CDirectX& dx, const std::string& token);
void cmdBgm(CDirectX& dx, const std::string& token);
void cmdBgmFade(CDirectX& dx, const std::string& token);
void cmdSeLoad(CDirectX& dx, const std::string& token);
void cmdSe(CDirectX& dx, const std::string& token);
void cmdSeFade(CDirectX& dx, const std::string& token);
