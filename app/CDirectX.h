#pragma once
#include "app/SystemConfig.h"
#include "core/GameState.h"
#include "core/ScreenState.h"
#include "graphics/DisplayDevice.h"
#include "graphics/FontSheet.h"
#include "input/CInput.h"
#include "input/FrameInput.h"
#include "input/Pointer.h"
#include "platform/Services.h"
#include "platform/Window.h"
#include "resources/PackArchive.h"
#include "graphics/CSprite.h"
#include "savedata/SaveRecord.h"
#include "savedata/UnlockRecord.h"
#include "scene/SceneState.h"
#include "script/BranchState.h"
#include "script/ScriptFile.h"
#include "script/ScriptState.h"
#include "text/MessageHistory.h"
#include "text/MessageWindow.h"
#include "text/ReadTextRecord.h"
#include "screens/BacklogScreen.h"
#include "screens/ConfirmBox.h"
#include "screens/GalleryState.h"
#include "screens/OptionsScreen.h"
#include "screens/GameMenu.h"
#include "screens/SaveLoadScreen.h"
#include "screens/TitleScreen.h"
#include "sound/SoundSystem.h"
#include "typing/TypingMode.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The one engine object: the display device first, then all game-wide state. Each
// subsystem's state is a member object of its own class; its operations live in the
// subsystem's folder.
class CDirectX {
public:
    explicit CDirectX(platform::Services& services);
    CDirectX(const CDirectX&) = delete;
    CDirectX& operator=(const CDirectX&) = delete;
    ~CDirectX();

    platform::Services& sys;

    // ---- display device ----
    DisplayDevice display;

    // Full creation with the fallbacks to software and to a window; false when the user
    // declined them or nothing worked.
    bool Create(platform::Window* window, bool windowedMode);
    bool CreateWindowMode();
    bool CreateFullScreenMode();
    bool Destroy();
    void Present();
    // The device-lost path: release, destroy, create again and restore.
    void Reset();
    // The same for a device that was taken down on deactivation.
    void Reactivate();
    void ReleaseAllSurfaces();
    void RestoreAllSurfaces();
    // The one-time engine initialisation, run from the first successful Create.
    void Init();
    // The frame's scene: render states and the black quad; and its end.
    void beginFrameScene();
    void endFrameScene();

    // ---- application shell ----
    std::string title;          // Shift-JIS window title, also the instance-lock name
    uint32_t startTime = 0;     // clock value when the program started
    bool firstInit = true;
    bool windowActive = false;
    bool minimisedFromFullscreen = false;
    bool frameSuspended = false;
    bool quitPosted = false;    // the message loop ends at its next pass
    int quitCode = 0;
    SystemConfig config;
    CPackArchive archive{sys.clock}; // "system.pkd", opened once at start-up
    FontSheet fontSheet;             // "textbox\\default_font.bmp": the circled numbers

    // ---- frame dispatcher ----
    ScreenState screenState = ScreenState::None;
    GameState gameState = GameState::Ready;
    int32_t frameDelta = 1;
    uint32_t lastFrameTime = 0;
    uint32_t thisFrameTime = 0;
    // The pointer and the clicks of this frame, read once before the logic phase.
    FrameInput frameInput;
    bool updateHoldActive = false;
    int32_t updateHoldFrames = 0;
    bool displayModeToggleRequested = false;
    int32_t modeToggleCooldown = 0;
    bool inputIgnoreActive = false;
    bool quitRequested = false;
    bool confirmOpen = false;
    uint64_t framesDrawn = 0;

    // Sine and cosine of i tenths of a degree.
    std::array<float, 3600> sinTable{};
    std::array<float, 3600> cosTable{};
    // ---- input ----
    CInput input;
    // The in-game pointer (input/Pointer.cpp), drawn at the end of the frame's scene while
    // the pointer is over the picture.
    Pointer pointer;
    // The interface atlases "SYSTEM\\systex1-3.png" (graphics/SystemAtlas.cpp); the pointer
    // sprites are cut from the first.
    std::array<CTEXTURE, 3> systemAtlas;
    void loadSystemAtlases();

    struct ScreenPhases {
        std::function<void(CDirectX&)> logic;
        std::function<void(CDirectX&)> draw;
    };
    std::array<ScreenPhases, kScreenStates> screens;
    void registerScreen(ScreenState state, std::function<void(CDirectX&)> logic, std::function<void(CDirectX&)> draw);

    // One pass of the engine. -1 when the display device is not ready, else 0.
    int runFrame();
    // Holds the logic phase for count frames (scene rebuilds use 5).
    void holdUpdates(int32_t count);
    void toggleDisplayMode();

    // ---- configuration ("system.dat" in the program folder) ----
    bool loadConfig();
    void applyDefaultConfig();
    bool saveConfig();

    // ---- script engine ----
    ScriptFile script;          // the scenario
    ScriptState scriptState;
    ChoiceSet choices;   // "@select"
    HotSpotSet hotSpots; // "@clickable"
    ReadTextRecord readText;
    MessageWindow messageWindow;
    // The last 50 messages for the backlog; it counts with messageWindow.messageCount.
    MessageHistory messageHistory{messageWindow.messageCount};
    UnlockRecord unlocks;
    // The live save record: refreshed at every "@text," (script/SaveGame.cpp), written whole
    // by a save.
    SaveRecord saveRecord;

    // ---- scene layers (scene/) ----
    SceneState scene;

    // ---- screens (screens/) ----
    TitleState titleScreen;
    ConfirmState confirm;
    GalleryState gallery; // the CG gallery, the album and the music room
    OptionsState options;
    SaveLoadState saveLoad;
    GameMenuState gameMenu;
    BacklogState backlog;
    // The way back to the title for the layers below the screens (the ending, "@QUIT_TO_OP");
    // the title sets it when it registers.
    std::function<void(CDirectX&)> titleReturn;

    // ---- the typing game (typing/) ----
    TypingMode typing;

    // ---- main window ----
    void handleWindowMessage(const platform::WindowEvent& ev);
    // Tears the game down; the message loop ends at its next pass. The player's progress
    // (the settings and the read-text record) is written first.
    void destroyMainWindow();
    void saveProgress();
    void postQuit(int code);

    // ---- sound (sound/SoundSystem.cpp) ----
    SoundSystem sound{sys.clock};
    // Starts the sound objects with the configured volumes; without a device the game runs mute.
    bool startSound();
};
