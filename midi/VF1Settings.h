#pragma once
// The three values the program remembers between runs: the unit's device ID and the MIDI In and
// Out device indexes, in the 27-byte text file settings.cfg in the current directory.

#include <cstdio>
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
    // Writes the file and closes it.
    void Save();

    ~VF1Settings();
    VF1Settings(const VF1Settings&) = delete;
    VF1Settings& operator=(const VF1Settings&) = delete;

    // The file's name; tests point it elsewhere before the first Instance.
    static void SetPath(std::string path);

    // The three values the file holds now, read without creating, opening for writing or changing
    // it (the command-line tool takes its default ports from them); none when the file is missing
    // or not 27 bytes long.
    struct Values {
        int devId = 0;
        int inIdx = 0;
        int outIdx = 0;
    };
    static std::optional<Values> ReadValues();

  private:
    VF1Settings();

    int DevID = 0;
    int InIdx = 0;
    int OutIdx = 0;
    std::FILE* file = nullptr;
};

inline constexpr int kSettingsFileSize = 27;
