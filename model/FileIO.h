#pragma once
// Files in and out. Every file the program writes goes through WriteFileSafely (or
// WriteFileReplacing, which reports a failure); every file it reads through ReadFileUpTo, with a
// bound on how much it takes in.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The name that stands for standard input (reading) or standard output (writing).
inline constexpr const char* kStandardStream = "-";

// Writes bytes to path so that whoever reads path sees either the file as it was or the whole new
// one, also when several writers race or the machine stops half way: the bytes go to a temp file
// of a unique name in the target's folder, are flushed to the disk, and the temp file is renamed
// over the target; then the folder is flushed. A symlink is followed to the file it names (the
// link stays a link). A FIFO, a character or block device and "-" (standard output) are written
// straight through, never replaced by a regular file. A directory, or an existing file this user
// may not write, is refused. A replaced file keeps its permission bits; a new one gets 0666 less
// the umask. Returns 0, or the errno of the failure (nothing is left behind then).
int WriteFileSafely(const std::string& path, std::span<const uint8_t> bytes);

// WriteFileSafely, showing "Unable to save the file \"%s\": %s" with the system's reason when it
// fails; false then.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

// Whether WriteFileSafely could write path now, found by the same steps short of writing (a temp
// file is made beside the target and removed again). A failure shows the message of
// WriteFileReplacing. For a program that writes its file only at the end of a long run.
bool CheckFileWritable(const std::string& path);

// Reads path ("-" is standard input) into bytes, at most limit bytes of it: a caller that must
// tell a file that is too long passes one byte more than it accepts. The size the file system
// reports is not used, so pipes, devices and files that grow read alike. A file that cannot be
// opened shows "Unable to open the file \"%s\": %s", one that cannot be read (a directory, say)
// "Unable to read the file \"%s\": %s", each with the system's reason; false then.
bool ReadFileUpTo(const std::string& path, size_t limit, std::vector<uint8_t>& bytes);

// ReadFileUpTo without a message: 0 or the errno of the failure.
int ReadFileQuietly(const std::string& path, size_t limit, std::vector<uint8_t>& bytes);
