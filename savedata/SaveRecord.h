#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A saved game: the 6336 bytes of "SAVE\\%d.dat", little-endian, in the game's own layout.
// The interpreter keeps a live copy that every text command refreshes; a save writes it
// whole and a load puts the scene, the sounds and the script back from it. Names are
// Shift-JIS and end with a NUL inside their 64-byte field; bytes no field covers stay zero.
class SaveRecord {
public:
    static constexpr size_t kSize = 6336;
    static constexpr int32_t kVersion = 1000;
    static constexpr size_t kNameField = 64;
    static constexpr int kSlots = 48;
    static constexpr int kHotSpotRegions = 7, kHotSpotSections = 32;
    static constexpr int kSoundChannels = 8;
    static constexpr int kCharacterNames = 128;
    static constexpr size_t kCharacterNameSize = 22;

    // Where each field starts.
    enum Offset : size_t {
        Version = 0,
        ScriptName = 4,
        TokenIndex = 68,
        CharacterPictures = 72, // six names: group 0 channel 0, group 0 channel 1, group 1 ...
        GroupChannel = 456,     // int32 per group
        CharacterAlpha = 468,   // int32 per channel, in the order of the names
        GroupPosition = 492,    // int32 per group, an index into ChrPositionTable
        GroupVisible = 504,     // byte per group
        GroupShadow = 507,      // group 0 only
        BackgroundNames = 508,  // channels 0 and 1
        OptionBackground = 636,
        BackgroundChannel = 700,
        CutinNames = 705,       // slots 0-3
        CutinShown = 964,
        CutinVisible = 968,
        CutinSliding = 969,
        CutinX = 972,
        CutinY = 976,
        HotSpotTable = 980,     // 7 regions x 32 entries of int32 target, byte loop, 3 zero bytes
        SectionCounter = 2772,  // int32 per region
        ScriptStart = 2800,
        ActiveRegion = 2804,
        ClickableActive = 2808,
        ClickMapPath = 2809,
        SoundEffectNames = 2873, // channels 0-7
        SoundEffectPlaying = 3385,
        SoundEffectLooping = 3393,
        MusicName = 3436,
        MusicPlaying = 3500,
        MusicLooping = 3501,
        CharacterNames = 3508, // 128 entries of 22 bytes, the layout of "@def_text"
        WindowShown = 6324,
        WeatherActive = 6325,
        WeatherKind = 6328,
        WeatherStrength = 6332,
    };

    SaveRecord() { clear(); }

    // Zero everywhere and the version set: the live record of a new game.
    void clear();

    int32_t i32(size_t offset) const;
    void setI32(size_t offset, int32_t value);
    uint8_t u8(size_t offset) const { return offset < kSize ? bytes[offset] : 0; }
    void setU8(size_t offset, uint8_t value)
    {
        if (offset < kSize)
            bytes[offset] = value;
    }
    // The name in the 64-byte field at offset, up to its NUL or, with none, the field's end.
    std::string name(size_t offset) const;
    // Stores at most 63 bytes and a NUL; the rest of the field is zeroed.
    void setName(size_t offset, std::string_view text);

    int32_t version() const { return i32(Version); }
    std::string scriptName() const { return name(ScriptName); }

    // The chapter a slot shows for the script name: "05..." is chapter 5, a number above 18
    // (or any first character but 0 or 1) is 19, no chapter.
    static int chapterIndex(std::string_view scriptName);

    std::array<uint8_t, kSize> bytes{};
};

// Outcomes of reading a slot file.
enum class SlotRead { Ok, Missing, Short, OtherVersion };

// "SAVE\\%d.dat" and "SAVE\\%d.bmp" as the game writes them.
std::string slotDataPath(int slot);
std::string slotThumbnailPath(int slot);

// Reads a slot file into record; only a whole record of version 1000 is Ok (record is then
// replaced, otherwise it is left as it was).
SlotRead readSlotFile(int slot, SaveRecord& record);
// The same checks on bytes already in memory (the fuzz target feeds them).
SlotRead readSlotBytes(const uint8_t* data, size_t size, SaveRecord& record);
// Writes the record through a temporary file and a rename, making the "SAVE" folder when it
// is missing: a failed save leaves the previous file as it was. False on failure.
bool writeSlotFile(int slot, const SaveRecord& record);

// The slot list's date label of a file time: "20%02d年%02d月%02d日(%s)\n%02d:%02d:%02d" in local
// time, Shift-JIS. Empty when the time cannot be broken down.
std::string slotDateLabel(int64_t secondsSinceEpoch);
// The chapter names the slot list shows; index 19 (and anything outside 0-18) has none.
std::string_view chapterName(int index);
