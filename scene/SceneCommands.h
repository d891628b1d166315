#pragma once
#include <string>
#include <string_view>

class CDirectX;

// Loaders. Each logs its decode and upload times; a failed decode leaves the target as it was.
// name is looked up in folder of the archive ("BG\\" for the scenario, "TYPE\\" for the typing game).
bool loadBackground(CDirectX& dx, int channel, std::string_view name, std::string_view folder = "BG\\");
bool loadCharacter(CDirectX& dx, int group, int channel, std::string_view name);
bool loadOptionBackground(CDirectX& dx, std::string_view name);
bool loadCutin(CDirectX& dx, int slot, std::string_view name);

// One background channel at an offset: channel 0 as its 475 tiles, channel 1 as its twelve
// blocks. The title draws its picture with it too.
void drawBackgroundChannel(CDirectX& dx, int channel, int ox, int oy);

// The option background (channel 3) at an offset: the options screen's picture and the
// middle page of a three-page scroll.
void drawOptionBackground(CDirectX& dx, int ox, int oy);

// The game screen's picture for one frame: background, character, cut-in; the effects,
// message window and colour overlay take their places in between as they arrive.
void composeGameScreen(CDirectX& dx);
// Only the background channels of that picture, with a running cross-fade or scroll.
void composeBackgroundLayer(CDirectX& dx);
// Starts the cross-fade to the loaded background over time ms; the presentation is busy
// until it ends.
void startBackgroundCrossFade(CDirectX& dx, int32_t time);
// The interpreter may run: no blocking effect and no synced scroll.
bool scenePermitsScript(const CDirectX& dx);

// Background and cut-in commands.
void cmdBgLoad(CDirectX& dx, const std::string& token);
void cmdBgLoadExt(CDirectX& dx, const std::string& token);
void cmdBgExtExpire(CDirectX& dx, const std::string& token);
void cmdBgChange(CDirectX& dx, const std::string& token);
void cmdBgScroll(CDirectX& dx, const std::string& token);
void cmdBgScroll3(CDirectX& dx, const std::string& token);
void cmdBgScroll3Nosync(CDirectX& dx, const std::string& token);
void cmdBgSync(CDirectX& dx, const std::string& token);
void cmdCutinLoad(CDirectX& dx, const std::string& token);
void cmdCutinSlideIn(CDirectX& dx, const std::string& token);
void cmdCutinSlideOut(CDirectX& dx, const std::string& token);

// Character commands (they always act on group 0).
void cmdChrLoad(CDirectX& dx, const std::string& token);
void cmdChrChange(CDirectX& dx, const std::string& token);
void cmdChrSlideIn(CDirectX& dx, const std::string& token);
void cmdChrSlideOut(CDirectX& dx, const std::string& token);
void cmdChrTurn(CDirectX& dx, const std::string& token);
void cmdChrMove(CDirectX& dx, const std::string& token);
void cmdChrSetpos(CDirectX& dx, const std::string& token);
void cmdChrShow(CDirectX& dx, const std::string& token);
void cmdChrHide(CDirectX& dx, const std::string& token);
void cmdChrFadeIn(CDirectX& dx, const std::string& token);
void cmdChrFadeOut(CDirectX& dx, const std::string& token);
void cmdChrSwapScreen(CDirectX& dx, const std::string& token);
void cmdChrShadow(CDirectX& dx, const std::string& token);
void cmdShadow(CDirectX& dx, const std::string& token);
