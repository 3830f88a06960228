// The one writer and the bounded reader every file of the program goes through: where the bytes
// land for each kind of target, what a replaced file keeps, what two writers at once publish, and
// what a reader takes in from files that are too long, endless or no files at all.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "model/FileIO.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Filled(size_t size, uint8_t value) {
    return Bytes(size, value);
}

mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// Whatever a failed or finished write left in the folder besides the files the test made.
std::vector<std::string> Leftovers(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().rfind(".quellin-", 0) == 0)
            names.push_back(entry.path().filename());
    return names;
}

class FileIO : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quellin-fileio-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }

    fs::path dir;
};

TEST_F(FileIO, WritesTheBytesWhereThePathLeads) {
    const Bytes bytes = Filled(598, 0x42);
    fs::create_directories(dir / "real");
    WriteBytes(dir / "real" / "target.syx", Filled(10, 1));
    fs::create_symlink("real/target.syx", dir / "link.syx");
    fs::create_symlink(dir / "link.syx", dir / "chain.syx");
    fs::create_symlink("real/new.syx", dir / "dangling.syx");

    struct Case {
        const char* name;
        fs::path written; // the path given
        fs::path holds;   // where the bytes must be
    };
    const Case cases[] = {
        {"new file", dir / "new.syx", dir / "new.syx"},
        {"relative symlink", dir / "link.syx", dir / "real" / "target.syx"},
        {"symlink to a symlink", dir / "chain.syx", dir / "real" / "target.syx"},
        {"symlink to a file not there yet", dir / "dangling.syx", dir / "real" / "new.syx"},
        {"the longest name the folder takes", dir / std::string(255 - 4, 'n').append(".syx"),
         dir / std::string(255 - 4, 'n').append(".syx")},
        {"a 246-character name", dir / std::string(246 - 4, 'x').append(".syx"),
         dir / std::string(246 - 4, 'x').append(".syx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(WriteFileSafely(c.written.string(), bytes), 0);
        EXPECT_EQ(ReadBytes(c.holds), bytes);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(c.holds)));
    }
    // The links stay links.
    for (const char* link : {"link.syx", "chain.syx", "dangling.syx"})
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / link))) << link;
    EXPECT_TRUE(Leftovers(dir).empty());
    EXPECT_TRUE(Leftovers(dir / "real").empty());
}

TEST_F(FileIO, KeepsTheModeOfAReplacedFileAndGivesANewOneTheUmask) {
    const mode_t previous = umask(027);
    WriteBytes(dir / "private.syx", Filled(3, 0));
    fs::permissions(dir / "private.syx", fs::perms::owner_read | fs::perms::owner_write);
    WriteBytes(dir / "shared.syx", Filled(3, 0));
    fs::permissions(dir / "shared.syx", fs::perms(0664));
    EXPECT_EQ(WriteFileSafely((dir / "private.syx").string(), Filled(598, 7)), 0);
    EXPECT_EQ(WriteFileSafely((dir / "shared.syx").string(), Filled(598, 7)), 0);
    EXPECT_EQ(WriteFileSafely((dir / "new.syx").string(), Filled(598, 7)), 0);
    umask(previous);
    EXPECT_EQ(ModeOf(dir / "private.syx"), 0600u);
    EXPECT_EQ(ModeOf(dir / "shared.syx"), 0664u);
    EXPECT_EQ(ModeOf(dir / "new.syx"), 0640u);
    EXPECT_EQ(ReadBytes(dir / "private.syx"), Filled(598, 7));
}

TEST_F(FileIO, WritesStraightThroughAFifoAndADevice) {
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Bytes received;
    std::thread reader([&] { received = ReadBytes(fifo); });
    EXPECT_EQ(WriteFileSafely(fifo.string(), Filled(118183, 9)), 0);
    reader.join();
    EXPECT_EQ(received, Filled(118183, 9));
    EXPECT_TRUE(fs::is_fifo(fifo));

    EXPECT_EQ(WriteFileSafely("/dev/null", Filled(598, 1)), 0);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(Leftovers(dir).empty());
}

TEST_F(FileIO, RefusesWhatItCannotWriteAndNamesIt) {
    fs::create_directories(dir / "folder");
    WriteBytes(dir / "kept.syx", Filled(5, 5));
    struct Case {
        const char* name;
        fs::path path;
        std::string message;
    };
    const Case cases[] = {
        {"a directory", dir / "folder", "Is a directory"},
        {"a name ending in a slash", dir / "new/", "Is a directory"},
        {"a missing folder", dir / "missing" / "out.syx", "No such file or directory"},
        {"a name too long for the folder", dir / std::string(256, 'n'), "File name too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        EXPECT_FALSE(WriteFileReplacing(c.path.string(), Filled(598, 1)));
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0],
                  "Unable to save the file \"" + c.path.string() + "\": " + c.message);
        EXPECT_FALSE(CheckFileWritable(c.path.string()));
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(Leftovers(dir).empty());

    if (geteuid() != 0) { // root may write anything
        fs::permissions(dir / "kept.syx", fs::perms::owner_read);
        MessageRecorder messages;
        EXPECT_NE(WriteFileSafely((dir / "kept.syx").string(), Filled(598, 1)), 0);
        EXPECT_EQ(ReadBytes(dir / "kept.syx"), Filled(5, 5));
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(CheckFileWritable((dir / "new.syx").string()));
        EXPECT_EQ(WriteFileSafely((dir / "new.syx").string(), Filled(598, 1)), EACCES);
    }
}

// A write that fails half way (a full disk) leaves the old file as it was, and no temp file.
TEST_F(FileIO, AFailedWriteLeavesTheOldFileWhole) {
    const Bytes old = Filled(598, 0x11);
    WriteBytes(dir / "kept.syx", old);
    MessageRecorder messages;
    {
        const FileSizeLimit diskFull(1000);
        EXPECT_FALSE(WriteFileReplacing((dir / "kept.syx").string(), Filled(118183, 0x22)));
    }
    EXPECT_EQ(ReadBytes(dir / "kept.syx"), old);
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Unable to save the file \"" + (dir / "kept.syx").string() +
                                       "\": File too large"});
    EXPECT_TRUE(Leftovers(dir).empty());
}

TEST_F(FileIO, CheckingWritabilityLeavesNothingBehind) {
    MessageRecorder messages;
    EXPECT_TRUE(CheckFileWritable((dir / "later.syx").string()));
    EXPECT_TRUE(CheckFileWritable("/dev/null"));
    EXPECT_TRUE(CheckFileWritable(kStandardStream));
    EXPECT_FALSE(fs::exists(dir / "later.syx"));
    EXPECT_TRUE(Leftovers(dir).empty());
    EXPECT_TRUE(messages.Messages().empty());
}

// Two writers of the same file at once, over and over, while a third party keeps reading it:
// every read, and the file at the end, is one writer's whole output.
TEST_F(FileIO, RacingWritersPublishOneWholeFile) {
    const fs::path target = dir / "out.syx";
    const Bytes bank = Filled(118183, 0xB1);
    const Bytes patch = Filled(598, 0x91);
    WriteBytes(target, patch);
    std::atomic<bool> done{false};
    std::atomic<int> broken{0};
    std::atomic<int> failures{0};
    std::thread reader([&] {
        while (!done) {
            const Bytes seen = ReadBytes(target);
            if (seen != bank && seen != patch) ++broken;
        }
    });
    constexpr int kRounds = 300;
    for (int round = 0; round < kRounds; ++round) {
        std::thread a([&] { failures += WriteFileSafely(target.string(), bank) != 0; });
        std::thread b([&] { failures += WriteFileSafely(target.string(), patch) != 0; });
        a.join();
        b.join();
        const Bytes published = ReadBytes(target);
        ASSERT_TRUE(published == bank || published == patch) << "round " << round << ": " << published.size();
    }
    done = true;
    reader.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(broken, 0);
    EXPECT_TRUE(Leftovers(dir).empty());
}

TEST_F(FileIO, ReadsNoMoreThanItsBound) {
    const Bytes bytes = Filled(1000, 3);
    WriteBytes(dir / "file.syx", bytes);
    struct Case {
        const char* name;
        std::string path;
        size_t limit;
        size_t expected;
    };
    const Case cases[] = {
        {"a shorter file whole", (dir / "file.syx").string(), 121000, 1000},
        {"a longer file up to the bound", (dir / "file.syx").string(), 599, 599},
        {"an endless device up to the bound", "/dev/zero", 121000, 121000},
        {"an empty device", "/dev/null", 599, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes read;
        ASSERT_TRUE(ReadFileUpTo(c.path, c.limit, read));
        EXPECT_EQ(read.size(), c.expected);
    }
}

TEST_F(FileIO, NamesTheFileAndTheReasonWhenItCannotRead) {
    fs::create_directories(dir / "folder");
    struct Case {
        const char* name;
        fs::path path;
        std::string message;
    };
    const Case cases[] = {
        {"a directory", dir / "folder",
         "Unable to read the file \"" + (dir / "folder").string() + "\": Is a directory"},
        {"a missing file", dir / "nope.syx",
         "Unable to open the file \"" + (dir / "nope.syx").string() + "\": No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        Bytes read{1, 2, 3};
        EXPECT_FALSE(ReadFileUpTo(c.path.string(), 121000, read));
        EXPECT_TRUE(read.empty());
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message});
    }
}

} // namespace
