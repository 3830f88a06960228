#pragma once
// The three values the program remembers between runs: the unit's device ID and the MIDI In and
// Out device indexes, in the 27-byte text file settings.cfg. Beside it, in a small file of their
// own written whenever settings.cfg is, the names of the devices at those indexes, so that a
// device can be found again when the lists have moved (midi/DeviceChoice.h).

#include <optional>
#include <string>

class VF1Settings {
  public:
    static VF1Settings& Instance();
    static void Release();

    int GetDevID() const { return DevID; }
    int GetInIdx() const { return InIdx; }
    int GetOutIdx() const { return OutIdx; }
    void SetDevID(int v) { DevID = v; }
    void SetInIdx(int v) { InIdx = v; }
    void SetOutIdx(int v) { OutIdx = v; }
    // The names of the devices at InIdx and OutIdx; empty when none is known.
    const std::string& GetInName() const { return InName; }
    const std::string& GetOutName() const { return OutName; }
    void SetInName(std::string name) { InName = std::move(name); }
    void SetOutName(std::string name) { OutName = std::move(name); }
    // Writes the file, and the names file.
    void Save();

    ~VF1Settings();
    VF1Settings(const VF1Settings&) = delete;
    VF1Settings& operator=(const VF1Settings&) = delete;

    // The file's name, set before the first Instance (Locate gives the program's).
    static void SetPath(std::string path);
    static const std::string& Path();

    // Where settings.cfg is looked for: the file the command line names; else settings.cfg in the
    // working folder, where a portable copy of the program keeps it; else quellin/settings.cfg in
    // the user's configuration folder ($XDG_CONFIG_HOME, by default ~/.config), which is where a
    // new one is made. An installed program started from a menu runs in the home folder, where
    // the file has no business.
    struct Places {
        std::string given;            // from the command line; empty when none
        bool inWorkingFolder = false; // a settings.cfg stands in the working folder
        std::string configHome;       // $XDG_CONFIG_HOME, empty when unset
        std::string home;             // the user's home folder, empty when unknown
    };
    static std::string PathFor(const Places& places);
    // PathFor with the working folder and the user's environment as they are now.
    static std::string Locate(const std::string& given);

    // The names file of a settings file: "settings.cfg" keeps its names in "settings.devices.cfg".
    // It holds the indexes the names were written for; names written for other indexes than the
    // settings file's (a settings.cfg written by another program) are not taken.
    static std::string NamesPath(const std::string& settingsPath);

    // The three values the file holds now, with the names, read without creating, opening for
    // writing or changing it (the command-line tool takes its default ports from them); none when
    // the file is missing or not 27 bytes long.
    struct Values {
        int devId = 0;
        int inIdx = 0;
        int outIdx = 0;
        std::string inName;
        std::string outName;
    };
    static std::optional<Values> ReadValues();

  private:
    VF1Settings();

    int DevID = 0;
    int InIdx = 0;
    int OutIdx = 0;
    std::string InName;
    std::string OutName;
};

inline constexpr int kSettingsFileSize = 27;
