#pragma once
#include <string>

class CDirectX;

// The interpreter's own commands: flow control, the unlock flags and the system commands.
void cmdEndingStart(CDirectX& dx, const std::string& token);
void cmdFpsCapture(CDirectX& dx, const std::string& token);
void cmdTestTitle(CDirectX& dx, const std::string& token);
void cmdIf(CDirectX& dx, const std::string& token);
void cmdEndif(CDirectX& dx, const std::string& token);
void cmdOmoideFlagSet(CDirectX& dx, const std::string& token);
void cmdExit(CDirectX& dx, const std::string& token);
void cmdQuitToOp(CDirectX& dx, const std::string& token);
void cmdWait(CDirectX& dx, const std::string& token);
void cmdLoad(CDirectX& dx, const std::string& token);

// Records how far the current script was read, then loads the named scenario script and
// logs the outcome. True when it loaded.
bool loadScenario(CDirectX& dx, const std::string& name);
