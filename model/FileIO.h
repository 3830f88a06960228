#pragma once
// Files in and out: every file the program writes goes through WriteFileReplacing.

#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <vector>

// Replaces the file at path with bytes. They are written beside it first and renamed over it, so
// that a failed write leaves an existing file whole. A failure shows "Unable to save the file
// \"%s\": %s" with the system's reason and gives false.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

// Opens a file for reading. One that cannot be opened shows "Unable to open the file \"%s\": %s"
// with the system's reason and gives false.
bool OpenToRead(const std::string& path, std::ifstream& file);

// Reads a whole file. One that cannot be opened shows "Unable to open the file \"%s\": %s" with
// the system's reason and gives false.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
