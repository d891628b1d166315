#pragma once
// Where every interface sprite sits in the interface atlases. The engine cuts its sprites
// from these rectangles and the demo generator draws its atlases from the same rows, so
// the two cannot disagree. Plain data: no engine or platform dependencies.
//
// Adding a sprite: add its id before Count, add its row (any order; lookups go by id),
// and teach the demo generator how to draw its style.
#include <array>
#include <cstddef>
#include <cstdint>

enum class SpriteAtlas : uint8_t {
    Systex1,     // "SYSTEM\\systex1.png", 256 x 256 RGBA: pointers, game-screen and confirmation buttons
    Systex2,     // "SYSTEM\\systex2.png", 256 x 256 RGBA: save/load, galleries, music room, backlog
    Systex3,     // "SYSTEM\\systex3.png", 256 x 256 RGBA: options screen
    Logotex5,    // "SYSTEM\\logotex5.png", 256 x 256 RGBA: eight 256 x 32 title-menu strips
    Typetex,     // "SYSTEM\\typetex.png", 256 x 256 RGBA: typing game display
    TextTable1,  // "textbox\\text_table1.png", 256 x 256 A4R4G4B4 texels: click-wait mark
    TextboxBg1,  // "textbox\\textbox_bg1.png", 256 x 256 A4R4G4B4 texels: window tiles 0-63
    TextboxBg2,  // "textbox\\textbox_bg2.png", 256 x 256 A4R4G4B4 texels: window tiles 64-99, name plate
    Count
};

// How the generator paints a sprite; the engine ignores it.
enum class SpriteStyle : uint8_t {
    Pointer,       // arrow pointer
    HotPointer,    // hot-spot pointer shape n (param)
    RingDot,       // glowing dot of the busy ring
    WaitMark,      // click-wait mark, animation frame n (param, 0-13)
    Button,        // rounded button with a label
    ButtonLit,     // the same, highlighted
    RoundButton,   // circular button with an icon (param: 0 menu, 1 close)
    Heading,       // heading plate with a label
    Rule,          // thin underline
    BackButton,    // tall back button with an arrow
    Tab,           // page tab with a digit label
    TabCurrent,    // current page tab with a digit label
    Arrow,         // small arrow, param 0 left, 1 right, 2 up, 3 down
    Track,         // backlog scroll track
    Thumb,         // backlog scroll thumb
    MusicIcon,     // param 0 previous, 1 stop, 2 play, 3 next
    Digit,         // digit glyph (label holds it), or ':' for the colon
    Label,         // plain text label
    LevelPip,      // options level pip, param 0 off, 1 on
    Life,          // typing life icon
    Gauge,         // typing accuracy gauge square
    KeyWait,       // typing key-wait marker
    Banner,        // typing clear / game-over banner with a label
    MenuStrip,     // title-menu strip with a label
};

enum class SpriteId : uint16_t {
    Pointer,
    HotPointer0, HotPointer1, HotPointer2, HotPointer3, HotPointer4, HotPointer5, HotPointer6, HotPointer7,
    PointerRingDot,
    GameMenuButton, MenuCloseButton,
    AutoButton, AutoButtonLit, SkipButton, SkipButtonLit,
    ConfirmYes, ConfirmYesLit, ConfirmNo, ConfirmNoLit,
    MenuSave, MenuLoad, MenuOptions, MenuTitle,
    BacklogJump, BacklogJumpLit, BacklogReturn, BacklogReturnLit,
    BacklogUp, BacklogDown, BacklogThumb, BacklogTrack,

    HeadingSave, HeadingLoad, HeadingOptions, HeadingCg, HeadingAlbum, HeadingMusic,
    HeadingRule, BackButton,
    PageTab0, PageTab1, PageTab2, PageTab3, PageTab4, PageTab5,
    PageTabCurrent0, PageTabCurrent1, PageTabCurrent2, PageTabCurrent3, PageTabCurrent4, PageTabCurrent5,
    MusicPrevious, MusicStop, MusicPlay, MusicNext, MusicTrackLabel, MusicTimeLabel,
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9, DigitColon,

    OptWindow, OptFullScreen, OptSlower, OptFaster, OptDecoNone, OptDecoShadow, OptDecoOutline,
    OptAfterStop, OptAfterKeep, OptSkipRead, OptSkipAll, OptEffectNormal, OptEffectDouble, OptEffectOff,
    OptOff, OptOn, OptTest, OptDetail, OptLevelOff, OptLevelOn,
    OptRowScreen, OptRowTextSpeed, OptRowDecoration, OptRowAuto, OptRowSkip, OptRowEffect,
    OptRowBgm, OptRowSe, OptRowVoice, OptRowCharacters,

    TitleNewGame, TitleContinue, TitleAlbum, TitleGallery, TitleMusic, TitleOptions, TitleQuit, TitleSpare,

    TypeDigit0, TypeDigit1, TypeDigit2, TypeDigit3, TypeDigit4, TypeDigit5, TypeDigit6, TypeDigit7,
    TypeDigit8, TypeDigit9,
    TypeLife, TypeKeyWait, TypeGauge,
    TypeLabelLife, TypeLabelStreak, TypeLabelCombo, TypeLabelAccuracy, TypeLabelScore,
    TypeClearBanner, TypeGameOverBanner,

    WaitMark0, WaitMark1, WaitMark2, WaitMark3, WaitMark4, WaitMark5, WaitMark6, WaitMark7,
    WaitMark8, WaitMark9, WaitMark10, WaitMark11, WaitMark12, WaitMark13,

    Count
};

struct InterfaceSprite {
    SpriteId id;
    SpriteAtlas atlas;
    int16_t x, y, w, h;
    SpriteStyle style;
    uint8_t param;
    const char* label;   // UTF-8 caption drawn on it, or nullptr
    const char* what;    // what it shows, for people
};

inline constexpr std::array<InterfaceSprite, std::size_t(SpriteId::Count)> kInterfaceSprites{{
    // ---- systex1: pointers, game screen, confirmation box, in-game menu, backlog buttons
    {SpriteId::Pointer, SpriteAtlas::Systex1, 0, 0, 32, 32, SpriteStyle::Pointer, 0, nullptr, "pointer arrow (hot point at 4, 0)"},
    {SpriteId::HotPointer0, SpriteAtlas::Systex1, 32, 0, 32, 32, SpriteStyle::HotPointer, 0, nullptr, "hot-spot pointer 0: hand"},
    {SpriteId::HotPointer1, SpriteAtlas::Systex1, 64, 0, 32, 32, SpriteStyle::HotPointer, 1, nullptr, "hot-spot pointer 1: magnifier"},
    {SpriteId::HotPointer2, SpriteAtlas::Systex1, 96, 0, 32, 32, SpriteStyle::HotPointer, 2, nullptr, "hot-spot pointer 2: speech"},
    {SpriteId::HotPointer3, SpriteAtlas::Systex1, 128, 0, 32, 32, SpriteStyle::HotPointer, 3, nullptr, "hot-spot pointer 3: walk arrow up"},
    {SpriteId::HotPointer4, SpriteAtlas::Systex1, 160, 0, 32, 32, SpriteStyle::HotPointer, 4, nullptr, "hot-spot pointer 4: walk arrow left"},
    {SpriteId::HotPointer5, SpriteAtlas::Systex1, 192, 0, 32, 32, SpriteStyle::HotPointer, 5, nullptr, "hot-spot pointer 5: walk arrow right"},
    {SpriteId::HotPointer6, SpriteAtlas::Systex1, 224, 0, 32, 32, SpriteStyle::HotPointer, 6, nullptr, "hot-spot pointer 6: star"},
    {SpriteId::HotPointer7, SpriteAtlas::Systex1, 0, 32, 32, 32, SpriteStyle::HotPointer, 7, nullptr, "hot-spot pointer 7: question mark ring"},
    {SpriteId::PointerRingDot, SpriteAtlas::Systex1, 32, 32, 16, 16, SpriteStyle::RingDot, 0, nullptr, "glowing dot of the pointer's busy ring"},
    {SpriteId::GameMenuButton, SpriteAtlas::Systex1, 64, 32, 32, 32, SpriteStyle::RoundButton, 0, nullptr, "game screen: round button opening the in-game menu (752, 412)"},
    {SpriteId::MenuCloseButton, SpriteAtlas::Systex1, 96, 32, 32, 32, SpriteStyle::RoundButton, 1, nullptr, "in-game menu: round close button, turns when highlighted"},
    {SpriteId::AutoButton, SpriteAtlas::Systex1, 128, 32, 64, 16, SpriteStyle::Button, 0, "オート", "game screen: auto-mode button (688, 428)"},
    {SpriteId::AutoButtonLit, SpriteAtlas::Systex1, 192, 32, 64, 16, SpriteStyle::ButtonLit, 0, "オート", "game screen: auto-mode button while on"},
    {SpriteId::SkipButton, SpriteAtlas::Systex1, 128, 48, 64, 16, SpriteStyle::Button, 0, "スキップ", "game screen: skip-mode button (624, 428)"},
    {SpriteId::SkipButtonLit, SpriteAtlas::Systex1, 192, 48, 64, 16, SpriteStyle::ButtonLit, 0, "スキップ", "game screen: skip-mode button while on"},
    {SpriteId::ConfirmYes, SpriteAtlas::Systex1, 0, 64, 128, 32, SpriteStyle::Button, 0, "はい", "confirmation box: yes button"},
    {SpriteId::ConfirmYesLit, SpriteAtlas::Systex1, 128, 64, 128, 32, SpriteStyle::ButtonLit, 0, "はい", "confirmation box: yes button highlighted"},
    {SpriteId::ConfirmNo, SpriteAtlas::Systex1, 0, 96, 128, 32, SpriteStyle::Button, 0, "いいえ", "confirmation box: no button"},
    {SpriteId::ConfirmNoLit, SpriteAtlas::Systex1, 128, 96, 128, 32, SpriteStyle::ButtonLit, 0, "いいえ", "confirmation box: no button highlighted"},
    {SpriteId::MenuSave, SpriteAtlas::Systex1, 0, 128, 128, 32, SpriteStyle::Button, 0, "セーブ", "in-game menu: save"},
    {SpriteId::MenuLoad, SpriteAtlas::Systex1, 128, 128, 128, 32, SpriteStyle::Button, 0, "ロード", "in-game menu: load"},
    {SpriteId::MenuOptions, SpriteAtlas::Systex1, 0, 160, 128, 32, SpriteStyle::Button, 0, "オプション", "in-game menu: options"},
    {SpriteId::MenuTitle, SpriteAtlas::Systex1, 128, 160, 128, 32, SpriteStyle::Button, 0, "タイトルへ", "in-game menu: return to title"},
    {SpriteId::BacklogJump, SpriteAtlas::Systex1, 0, 192, 128, 16, SpriteStyle::Button, 0, "ここに戻る", "backlog: jump back to this message"},
    {SpriteId::BacklogJumpLit, SpriteAtlas::Systex1, 128, 192, 128, 16, SpriteStyle::ButtonLit, 0, "ここに戻る", "backlog: jump back, highlighted"},
    {SpriteId::BacklogReturn, SpriteAtlas::Systex1, 0, 208, 64, 16, SpriteStyle::Button, 0, "閉じる", "backlog: close"},
    {SpriteId::BacklogReturnLit, SpriteAtlas::Systex1, 64, 208, 64, 16, SpriteStyle::ButtonLit, 0, "閉じる", "backlog: close, highlighted"},
    {SpriteId::BacklogUp, SpriteAtlas::Systex1, 128, 208, 16, 16, SpriteStyle::Arrow, 2, nullptr, "backlog: up arrow (760, 446)"},
    {SpriteId::BacklogDown, SpriteAtlas::Systex1, 144, 208, 16, 16, SpriteStyle::Arrow, 3, nullptr, "backlog: down arrow (760, 533)"},
    {SpriteId::BacklogThumb, SpriteAtlas::Systex1, 160, 208, 16, 16, SpriteStyle::Thumb, 0, nullptr, "backlog: scroll thumb"},
    {SpriteId::BacklogTrack, SpriteAtlas::Systex2, 192, 48, 16, 67, SpriteStyle::Track, 0, nullptr, "backlog: scroll track 16 x 67"},

    // ---- systex2: save/load, galleries, music room
    {SpriteId::HeadingSave, SpriteAtlas::Systex2, 0, 0, 64, 16, SpriteStyle::Heading, 0, "セーブ", "save screen heading (16, 16)"},
    {SpriteId::HeadingLoad, SpriteAtlas::Systex2, 64, 0, 64, 16, SpriteStyle::Heading, 0, "ロード", "load screen heading (16, 16)"},
    {SpriteId::HeadingOptions, SpriteAtlas::Systex2, 128, 0, 96, 16, SpriteStyle::Heading, 0, "オプション", "options screen heading"},
    {SpriteId::HeadingCg, SpriteAtlas::Systex2, 0, 16, 128, 16, SpriteStyle::Heading, 0, "ＣＧギャラリー", "CG gallery heading"},
    {SpriteId::HeadingAlbum, SpriteAtlas::Systex2, 128, 16, 128, 16, SpriteStyle::Heading, 0, "アルバム", "album heading"},
    {SpriteId::HeadingMusic, SpriteAtlas::Systex2, 0, 32, 128, 16, SpriteStyle::Heading, 0, "音楽室", "music room heading"},
    {SpriteId::HeadingRule, SpriteAtlas::Systex2, 128, 32, 128, 2, SpriteStyle::Rule, 0, nullptr, "128 x 2 rule under a heading"},
    {SpriteId::BackButton, SpriteAtlas::Systex2, 224, 40, 32, 64, SpriteStyle::BackButton, 0, nullptr, "back button 32 x 64 (720, 520)"},
    {SpriteId::PageTab0, SpriteAtlas::Systex2, 0, 48, 32, 32, SpriteStyle::Tab, 0, "1", "save/load page tab 1"},
    {SpriteId::PageTab1, SpriteAtlas::Systex2, 32, 48, 32, 32, SpriteStyle::Tab, 0, "2", "save/load page tab 2"},
    {SpriteId::PageTab2, SpriteAtlas::Systex2, 64, 48, 32, 32, SpriteStyle::Tab, 0, "3", "save/load page tab 3"},
    {SpriteId::PageTab3, SpriteAtlas::Systex2, 96, 48, 32, 32, SpriteStyle::Tab, 0, "4", "save/load page tab 4"},
    {SpriteId::PageTab4, SpriteAtlas::Systex2, 128, 48, 32, 32, SpriteStyle::Tab, 0, "5", "save/load page tab 5"},
    {SpriteId::PageTab5, SpriteAtlas::Systex2, 160, 48, 32, 32, SpriteStyle::Tab, 0, "6", "save/load page tab 6"},
    {SpriteId::PageTabCurrent0, SpriteAtlas::Systex2, 0, 80, 48, 48, SpriteStyle::TabCurrent, 0, "1", "current page tab 1"},
    {SpriteId::PageTabCurrent1, SpriteAtlas::Systex2, 48, 80, 48, 48, SpriteStyle::TabCurrent, 0, "2", "current page tab 2"},
    {SpriteId::PageTabCurrent2, SpriteAtlas::Systex2, 96, 80, 48, 48, SpriteStyle::TabCurrent, 0, "3", "current page tab 3"},
    {SpriteId::PageTabCurrent3, SpriteAtlas::Systex2, 144, 80, 48, 48, SpriteStyle::TabCurrent, 0, "4", "current page tab 4"},
    {SpriteId::PageTabCurrent4, SpriteAtlas::Systex2, 0, 128, 48, 48, SpriteStyle::TabCurrent, 0, "5", "current page tab 5"},
    {SpriteId::PageTabCurrent5, SpriteAtlas::Systex2, 48, 128, 48, 48, SpriteStyle::TabCurrent, 0, "6", "current page tab 6"},
    {SpriteId::MusicPrevious, SpriteAtlas::Systex2, 112, 128, 32, 32, SpriteStyle::MusicIcon, 0, nullptr, "music room: previous track"},
    {SpriteId::MusicStop, SpriteAtlas::Systex2, 144, 128, 32, 32, SpriteStyle::MusicIcon, 1, nullptr, "music room: stop"},
    {SpriteId::MusicPlay, SpriteAtlas::Systex2, 176, 128, 32, 32, SpriteStyle::MusicIcon, 2, nullptr, "music room: play"},
    {SpriteId::MusicNext, SpriteAtlas::Systex2, 208, 128, 32, 32, SpriteStyle::MusicIcon, 3, nullptr, "music room: next track"},
    {SpriteId::MusicTrackLabel, SpriteAtlas::Systex2, 0, 176, 64, 16, SpriteStyle::Label, 0, "トラック", "music room: track label (288, 252)"},
    {SpriteId::MusicTimeLabel, SpriteAtlas::Systex2, 0, 192, 64, 16, SpriteStyle::Label, 0, "タイム", "music room: time label (288, 284)"},
    {SpriteId::Digit0, SpriteAtlas::Systex2, 0, 208, 16, 16, SpriteStyle::Digit, 0, "0", "digit 0, 16 x 16"},
    {SpriteId::Digit1, SpriteAtlas::Systex2, 16, 208, 16, 16, SpriteStyle::Digit, 0, "1", "digit 1"},
    {SpriteId::Digit2, SpriteAtlas::Systex2, 32, 208, 16, 16, SpriteStyle::Digit, 0, "2", "digit 2"},
    {SpriteId::Digit3, SpriteAtlas::Systex2, 48, 208, 16, 16, SpriteStyle::Digit, 0, "3", "digit 3"},
    {SpriteId::Digit4, SpriteAtlas::Systex2, 64, 208, 16, 16, SpriteStyle::Digit, 0, "4", "digit 4"},
    {SpriteId::Digit5, SpriteAtlas::Systex2, 80, 208, 16, 16, SpriteStyle::Digit, 0, "5", "digit 5"},
    {SpriteId::Digit6, SpriteAtlas::Systex2, 96, 208, 16, 16, SpriteStyle::Digit, 0, "6", "digit 6"},
    {SpriteId::Digit7, SpriteAtlas::Systex2, 112, 208, 16, 16, SpriteStyle::Digit, 0, "7", "digit 7"},
    {SpriteId::Digit8, SpriteAtlas::Systex2, 128, 208, 16, 16, SpriteStyle::Digit, 0, "8", "digit 8"},
    {SpriteId::Digit9, SpriteAtlas::Systex2, 144, 208, 16, 16, SpriteStyle::Digit, 0, "9", "digit 9"},
    {SpriteId::DigitColon, SpriteAtlas::Systex2, 160, 208, 16, 16, SpriteStyle::Digit, 0, ":", "colon between minutes and seconds"},

    // ---- systex3: options screen
    {SpriteId::OptWindow, SpriteAtlas::Systex3, 0, 0, 64, 16, SpriteStyle::Button, 0, "ウィンドウ", "options 0: window mode"},
    {SpriteId::OptFullScreen, SpriteAtlas::Systex3, 64, 0, 96, 16, SpriteStyle::Button, 0, "フルスクリーン", "options 1: full screen"},
    {SpriteId::OptSlower, SpriteAtlas::Systex3, 160, 0, 16, 16, SpriteStyle::Arrow, 0, nullptr, "options: decrease (left arrow)"},
    {SpriteId::OptFaster, SpriteAtlas::Systex3, 176, 0, 16, 16, SpriteStyle::Arrow, 1, nullptr, "options: increase (right arrow)"},
    {SpriteId::OptDecoNone, SpriteAtlas::Systex3, 192, 0, 32, 16, SpriteStyle::Button, 0, "なし", "options 4: no decoration"},
    {SpriteId::OptDecoShadow, SpriteAtlas::Systex3, 0, 16, 64, 16, SpriteStyle::Button, 0, "影", "options 5: shadow"},
    {SpriteId::OptDecoOutline, SpriteAtlas::Systex3, 64, 16, 64, 16, SpriteStyle::Button, 0, "縁取り", "options 6: outline"},
    {SpriteId::OptAfterStop, SpriteAtlas::Systex3, 128, 16, 64, 16, SpriteStyle::Button, 0, "解除", "options 9, 13: stop after a choice"},
    {SpriteId::OptAfterKeep, SpriteAtlas::Systex3, 0, 32, 96, 16, SpriteStyle::Button, 0, "継続", "options 10, 14: keep going after a choice"},
    {SpriteId::OptSkipRead, SpriteAtlas::Systex3, 96, 32, 64, 16, SpriteStyle::Button, 0, "既読のみ", "options 11: skip read text only"},
    {SpriteId::OptSkipAll, SpriteAtlas::Systex3, 160, 32, 64, 16, SpriteStyle::Button, 0, "全て", "options 12: skip all text"},
    {SpriteId::OptEffectNormal, SpriteAtlas::Systex3, 0, 48, 64, 16, SpriteStyle::Button, 0, "標準", "options 15: effects at standard speed"},
    {SpriteId::OptEffectDouble, SpriteAtlas::Systex3, 64, 48, 64, 16, SpriteStyle::Button, 0, "倍速", "options 16: effects at double speed"},
    {SpriteId::OptEffectOff, SpriteAtlas::Systex3, 128, 48, 64, 16, SpriteStyle::Button, 0, "なし", "options 17: no effects"},
    {SpriteId::OptOff, SpriteAtlas::Systex3, 224, 0, 32, 16, SpriteStyle::Button, 0, "OFF", "options 18, 22, 26: off"},
    {SpriteId::OptOn, SpriteAtlas::Systex3, 224, 16, 32, 16, SpriteStyle::Button, 0, "ON", "options 19, 23, 27: on"},
    {SpriteId::OptTest, SpriteAtlas::Systex3, 224, 32, 32, 16, SpriteStyle::Button, 0, "試聴", "options 31, 32: test play"},
    {SpriteId::OptDetail, SpriteAtlas::Systex3, 192, 48, 64, 16, SpriteStyle::Button, 0, "詳細", "options 30: per-character settings"},
    {SpriteId::OptLevelOff, SpriteAtlas::Systex3, 192, 16, 16, 16, SpriteStyle::LevelPip, 0, nullptr, "options: level pip, unlit"},
    {SpriteId::OptLevelOn, SpriteAtlas::Systex3, 208, 16, 16, 16, SpriteStyle::LevelPip, 1, nullptr, "options: level pip, lit"},
    {SpriteId::OptRowScreen, SpriteAtlas::Systex3, 0, 64, 128, 16, SpriteStyle::Label, 0, "画面モード", "options row heading: display mode"},
    {SpriteId::OptRowTextSpeed, SpriteAtlas::Systex3, 128, 64, 128, 16, SpriteStyle::Label, 0, "文字の速さ", "options row heading: text speed"},
    {SpriteId::OptRowDecoration, SpriteAtlas::Systex3, 0, 80, 128, 16, SpriteStyle::Label, 0, "文字の装飾", "options row heading: decoration"},
    {SpriteId::OptRowAuto, SpriteAtlas::Systex3, 128, 80, 128, 16, SpriteStyle::Label, 0, "オート", "options row heading: auto wait"},
    {SpriteId::OptRowSkip, SpriteAtlas::Systex3, 0, 96, 128, 16, SpriteStyle::Label, 0, "スキップ", "options row heading: skip"},
    {SpriteId::OptRowEffect, SpriteAtlas::Systex3, 128, 96, 128, 16, SpriteStyle::Label, 0, "エフェクト", "options row heading: effects"},
    {SpriteId::OptRowBgm, SpriteAtlas::Systex3, 0, 112, 128, 16, SpriteStyle::Label, 0, "ＢＧＭ", "options row heading: music"},
    {SpriteId::OptRowSe, SpriteAtlas::Systex3, 128, 112, 128, 16, SpriteStyle::Label, 0, "効果音", "options row heading: sound effects"},
    {SpriteId::OptRowVoice, SpriteAtlas::Systex3, 0, 128, 128, 16, SpriteStyle::Label, 0, "音声", "options row heading: voices"},
    {SpriteId::OptRowCharacters, SpriteAtlas::Systex3, 128, 128, 128, 16, SpriteStyle::Label, 0, "キャラ別音声", "options row heading: per character"},

    // ---- logotex5: title menu strips, strip k at rows 32k..32k+31
    {SpriteId::TitleNewGame, SpriteAtlas::Logotex5, 0, 0, 256, 32, SpriteStyle::MenuStrip, 0, "はじめから", "title menu 0: new game"},
    {SpriteId::TitleContinue, SpriteAtlas::Logotex5, 0, 32, 256, 32, SpriteStyle::MenuStrip, 1, "つづきから", "title menu 1: load"},
    {SpriteId::TitleAlbum, SpriteAtlas::Logotex5, 0, 64, 256, 32, SpriteStyle::MenuStrip, 2, "アルバム", "title menu 2: album"},
    {SpriteId::TitleGallery, SpriteAtlas::Logotex5, 0, 96, 256, 32, SpriteStyle::MenuStrip, 3, "ＣＧギャラリー", "title menu 3: CG gallery"},
    {SpriteId::TitleMusic, SpriteAtlas::Logotex5, 0, 128, 256, 32, SpriteStyle::MenuStrip, 4, "音楽室", "title menu 4: music room"},
    {SpriteId::TitleOptions, SpriteAtlas::Logotex5, 0, 160, 256, 32, SpriteStyle::MenuStrip, 5, "オプション", "title menu 5: options"},
    {SpriteId::TitleQuit, SpriteAtlas::Logotex5, 0, 192, 256, 32, SpriteStyle::MenuStrip, 6, "終了", "title menu 6: quit"},
    {SpriteId::TitleSpare, SpriteAtlas::Logotex5, 0, 224, 256, 32, SpriteStyle::MenuStrip, 7, nullptr, "title menu strip 7 (unused, plain)"},

    // ---- typetex: typing game display (all 32 x 32 unless stated)
    {SpriteId::TypeDigit0, SpriteAtlas::Typetex, 0, 0, 32, 32, SpriteStyle::Digit, 1, "0", "typing digit 0"},
    {SpriteId::TypeDigit1, SpriteAtlas::Typetex, 32, 0, 32, 32, SpriteStyle::Digit, 1, "1", "typing digit 1"},
    {SpriteId::TypeDigit2, SpriteAtlas::Typetex, 64, 0, 32, 32, SpriteStyle::Digit, 1, "2", "typing digit 2"},
    {SpriteId::TypeDigit3, SpriteAtlas::Typetex, 96, 0, 32, 32, SpriteStyle::Digit, 1, "3", "typing digit 3"},
    {SpriteId::TypeDigit4, SpriteAtlas::Typetex, 128, 0, 32, 32, SpriteStyle::Digit, 1, "4", "typing digit 4"},
    {SpriteId::TypeDigit5, SpriteAtlas::Typetex, 160, 0, 32, 32, SpriteStyle::Digit, 1, "5", "typing digit 5"},
    {SpriteId::TypeDigit6, SpriteAtlas::Typetex, 192, 0, 32, 32, SpriteStyle::Digit, 1, "6", "typing digit 6"},
    {SpriteId::TypeDigit7, SpriteAtlas::Typetex, 224, 0, 32, 32, SpriteStyle::Digit, 1, "7", "typing digit 7"},
    {SpriteId::TypeDigit8, SpriteAtlas::Typetex, 0, 32, 32, 32, SpriteStyle::Digit, 1, "8", "typing digit 8"},
    {SpriteId::TypeDigit9, SpriteAtlas::Typetex, 32, 32, 32, 32, SpriteStyle::Digit, 1, "9", "typing digit 9"},
    {SpriteId::TypeLife, SpriteAtlas::Typetex, 64, 32, 32, 32, SpriteStyle::Life, 0, nullptr, "typing: one life (heart)"},
    {SpriteId::TypeKeyWait, SpriteAtlas::Typetex, 96, 32, 32, 32, SpriteStyle::KeyWait, 0, nullptr, "typing: key-wait marker"},
    {SpriteId::TypeGauge, SpriteAtlas::Typetex, 128, 32, 32, 32, SpriteStyle::Gauge, 0, nullptr, "typing: accuracy gauge square (drawn additively, scaled)"},
    {SpriteId::TypeLabelLife, SpriteAtlas::Typetex, 0, 64, 64, 32, SpriteStyle::Label, 1, "ライフ", "typing label at (30, 570)"},
    {SpriteId::TypeLabelStreak, SpriteAtlas::Typetex, 64, 64, 64, 32, SpriteStyle::Label, 1, "連続", "typing label at (300, 570)"},
    {SpriteId::TypeLabelCombo, SpriteAtlas::Typetex, 128, 64, 64, 32, SpriteStyle::Label, 1, "回", "typing label at (372, 572)"},
    {SpriteId::TypeLabelAccuracy, SpriteAtlas::Typetex, 0, 96, 128, 32, SpriteStyle::Label, 1, "正確さ", "typing label 128 x 32 at (500, 570)"},
    {SpriteId::TypeLabelScore, SpriteAtlas::Typetex, 128, 96, 128, 32, SpriteStyle::Label, 1, "スコア", "typing label 128 x 32 at (672, 570)"},
    {SpriteId::TypeClearBanner, SpriteAtlas::Typetex, 0, 128, 256, 64, SpriteStyle::Banner, 0, "クリア！", "typing clear banner (drawn 320 x 64)"},
    {SpriteId::TypeGameOverBanner, SpriteAtlas::Typetex, 0, 192, 256, 64, SpriteStyle::Banner, 1, "ゲームオーバー", "typing game-over banner (drawn 640 x 128)"},

    // ---- text_table1: click-wait mark, 14 frames of 32 x 32
    {SpriteId::WaitMark0, SpriteAtlas::TextTable1, 0, 0, 32, 32, SpriteStyle::WaitMark, 0, nullptr, "click-wait mark frame 0"},
    {SpriteId::WaitMark1, SpriteAtlas::TextTable1, 32, 0, 32, 32, SpriteStyle::WaitMark, 1, nullptr, "click-wait mark frame 1"},
    {SpriteId::WaitMark2, SpriteAtlas::TextTable1, 64, 0, 32, 32, SpriteStyle::WaitMark, 2, nullptr, "click-wait mark frame 2"},
    {SpriteId::WaitMark3, SpriteAtlas::TextTable1, 96, 0, 32, 32, SpriteStyle::WaitMark, 3, nullptr, "click-wait mark frame 3"},
    {SpriteId::WaitMark4, SpriteAtlas::TextTable1, 128, 0, 32, 32, SpriteStyle::WaitMark, 4, nullptr, "click-wait mark frame 4"},
    {SpriteId::WaitMark5, SpriteAtlas::TextTable1, 160, 0, 32, 32, SpriteStyle::WaitMark, 5, nullptr, "click-wait mark frame 5"},
    {SpriteId::WaitMark6, SpriteAtlas::TextTable1, 192, 0, 32, 32, SpriteStyle::WaitMark, 6, nullptr, "click-wait mark frame 6"},
    {SpriteId::WaitMark7, SpriteAtlas::TextTable1, 224, 0, 32, 32, SpriteStyle::WaitMark, 7, nullptr, "click-wait mark frame 7"},
    {SpriteId::WaitMark8, SpriteAtlas::TextTable1, 0, 32, 32, 32, SpriteStyle::WaitMark, 8, nullptr, "click-wait mark frame 8"},
    {SpriteId::WaitMark9, SpriteAtlas::TextTable1, 32, 32, 32, 32, SpriteStyle::WaitMark, 9, nullptr, "click-wait mark frame 9"},
    {SpriteId::WaitMark10, SpriteAtlas::TextTable1, 64, 32, 32, 32, SpriteStyle::WaitMark, 10, nullptr, "click-wait mark frame 10"},
    {SpriteId::WaitMark11, SpriteAtlas::TextTable1, 96, 32, 32, 32, SpriteStyle::WaitMark, 11, nullptr, "click-wait mark frame 11"},
    {SpriteId::WaitMark12, SpriteAtlas::TextTable1, 128, 32, 32, 32, SpriteStyle::WaitMark, 12, nullptr, "click-wait mark frame 12"},
    {SpriteId::WaitMark13, SpriteAtlas::TextTable1, 160, 32, 32, 32, SpriteStyle::WaitMark, 13, nullptr, "click-wait mark frame 13"},
}};

// The row of a sprite (rows are kept in id order; a compile-time check below holds it).
constexpr const InterfaceSprite& interfaceSprite(SpriteId id) { return kInterfaceSprites[std::size_t(id)]; }

namespace interface_sprites_detail {
constexpr bool rowsInIdOrder()
{
    for (std::size_t i = 0; i < kInterfaceSprites.size(); ++i)
        if (std::size_t(kInterfaceSprites[i].id) != i)
            return false;
    return true;
}
} // namespace interface_sprites_detail
static_assert(interface_sprites_detail::rowsInIdOrder(), "kInterfaceSprites rows must follow SpriteId order");

// The text window's pictures are cut into 32 x 32 cells: window tile k (row r, column c of
// the 25 x 4 grid at (0, 444), k = 25r + c) sits in textbox_bg1 for k < 64 and textbox_bg2
// for the rest, at cell (k mod 64) in rows of eight.
struct WindowTileCell {
    SpriteAtlas atlas;
    int16_t x, y;
};
constexpr WindowTileCell windowTileCell(int k)
{
    const int local = k % 64;
    return WindowTileCell{k < 64 ? SpriteAtlas::TextboxBg1 : SpriteAtlas::TextboxBg2, int16_t(32 * (local % 8)),
                          int16_t(32 * (local / 8))};
}
inline constexpr int kWindowTileCount = 100;
// The 224 x 48 name plate drawn at (0, 396), in textbox_bg2 below the last window tiles.
inline constexpr InterfaceSprite kNamePlate{SpriteId::Count, SpriteAtlas::TextboxBg2, 0, 176, 224, 48,
                                            SpriteStyle::Label, 0, nullptr, "name-window plate 224 x 48"};
