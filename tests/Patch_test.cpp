#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "midi/VF1MIDI.h"
#include "model/SysEx.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Patch.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFormattingError = "SysEx formatting error - unable to load.";
constexpr const char* kSizeError = "Incorrect SysEx file size.  A single patch file will be 598 bytes.";

// Message starts and data lengths of the three messages of an image.
constexpr std::pair<int, int> kMessages[] = {{0, 164}, {175, 244}, {430, 144}};

bool ChecksumRight(const uint8_t* image, int start, int length) {
    const uint8_t* m = image + start;
    return m[9 + length] == SysExChecksum(m[6] + m[7] + m[8], std::span<const uint8_t>(m + 9, length));
}

PatchImage ImageOf(VF1Algorithm& algorithm) {
    PatchImage image{};
    VF1MIDI::Instance().BuildPatchImage(algorithm, image.data());
    return image;
}

PatchImage NamedImage(const std::string& name, int number = 0) {
    VF1Algorithm algorithm(number);
    algorithm.SetName(name);
    return ImageOf(algorithm);
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Configures a device ID for the scope of a test.
class DeviceId {
  public:
    explicit DeviceId(int id) : previous(VF1MIDI::Instance().GetDeviceID()) {
        VF1MIDI::Instance().SetDeviceID(id);
    }
    ~DeviceId() { VF1MIDI::Instance().SetDeviceID(previous); }

  private:
    int previous;
};

// A directory of its own for each test's files.
class PatchFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / ("quellin-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

} // namespace

TEST(SysEx, Checksums) {
    struct Case {
        int addressSum;
        std::vector<uint8_t> data;
        uint8_t checksum;
    };
    const Case cases[] = {
        {0x10, {}, 0x70},                     // 10 00 00, no data
        {0x60, {0x00, 0x00}, 0x20},           // the single-patch file's closing message
        {0x10 + 0x01 + 0x74, {}, 0x7B},       // message 3 of an image at 10 00 00
        {0x70, {0x00, 0x00}, 0x10},           // the end-of-bulk message
        {0x00, {0x7F, 0x7F, 0x7F}, 0x03},     // sums past 127 wrap
        {0x00, {}, 0x00},                     // a total of 0 gives 0, not 128
        {0x7F * 3, {0x0F, 0x0F, 0x0F}, 0x56}, // only the total mod 128 counts
    };
    for (const Case& c : cases)
        EXPECT_EQ(SysExChecksum(c.addressSum, c.data), c.checksum) << "address sum " << c.addressSum;
}

TEST(SysEx, PatchAddresses) {
    struct Case {
        int patch;
        PatchAddressBytes address;
    };
    const Case cases[] = {
        {0, {0x00, 0x00, 0x00}},   {1, {0x00, 0x04, 0x00}},   {31, {0x00, 0x7C, 0x00}},
        {32, {0x01, 0x00, 0x00}},  {100, {0x03, 0x10, 0x00}}, {101, {0x04, 0x00, 0x00}},
        {102, {0x04, 0x04, 0x00}}, {201, {0x07, 0x10, 0x00}},
    };
    for (const Case& c : cases) EXPECT_EQ(PatchAddress(c.patch), c.address) << "patch " << c.patch;
}

TEST(SysEx, NibbleCoding) {
    using Two = std::array<uint8_t, 2>;
    using Four = std::array<uint8_t, 4>;
    EXPECT_EQ(NibbleEncode8(0x9A), (Two{0x09, 0x0A}));
    EXPECT_EQ(NibbleEncode8(300), (Two{0x02, 0x0C})); // bits above 7 dropped
    EXPECT_EQ(NibbleEncode16(0x1234), (Four{0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(NibbleEncode16(0x1FFFF), (Four{0x0F, 0x0F, 0x0F, 0x0F}));

    const uint8_t eight[] = {0x19, 0x2A}; // upper nibbles ignored
    EXPECT_EQ(NibbleDecode8(eight), 0x9A);
    const uint8_t sixteen[] = {0x71, 0x72, 0x73, 0x74};
    EXPECT_EQ(NibbleDecode16(sixteen), 0x1234);
    for (const int v : {0, 1, 0x80, 0xFF}) EXPECT_EQ(NibbleDecode8(NibbleEncode8(v).data()), v);
    for (const int v : {0, 0x7F, 0x8000, 0xFFFF}) EXPECT_EQ(NibbleDecode16(NibbleEncode16(v).data()), v);
}

// Only the start, manufacturer, model and end bytes of the three messages decide; device ID,
// command, address and checksums are not looked at.
TEST(PatchImage, FrameChecks) {
    MessageRecorder messages;
    VF1MIDI& midi = VF1MIDI::Instance();
    const PatchImage good = NamedImage("Frame");
    struct Case {
        const char* what;
        std::vector<int> offsets;
        uint8_t value;
        bool valid;
    };
    const Case cases[] = {
        {"unchanged", {}, 0, true},
        {"all checksums wrong", {173, 428, 583}, 0x55, true},
        {"device ID 7F", {2, 177, 432}, 0x7F, true},
        {"command 11", {5, 180, 435}, 0x11, true},
        {"addresses elsewhere", {6, 7, 181, 436}, 0x7E, true},
        {"message 1 start byte", {0}, 0xF1, false},
        {"message 1 manufacturer", {1}, 0x42, false},
        {"message 1 end byte", {174}, 0x7F, false},
        {"message 2 start byte", {175}, 0x00, false},
        {"message 2 model byte 1", {178}, 0x01, false},
        {"message 2 end byte", {429}, 0xF0, false},
        {"message 3 model byte 2", {434}, 0x24, false},
        {"message 3 end byte", {584}, 0x00, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PatchImage image = good;
        for (int offset : c.offsets) image[static_cast<size_t>(offset)] = c.value;
        const PatchImage before = image;

        messages.Clear();
        EXPECT_EQ(midi.ParseImage(image.data(), true, false), c.valid);
        EXPECT_EQ(messages.Messages(),
                  c.valid ? std::vector<std::string>{} : std::vector<std::string>{kFormattingError});
        EXPECT_EQ(image, before);
        if (c.valid) {
            EXPECT_TRUE(std::equal(good.begin() + 184, good.begin() + 428, midi.PatchData()))
                << "patch data from message 2";
        }

        messages.Clear();
        EXPECT_EQ(midi.ParseImage(image.data(), false, false), c.valid);
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        EXPECT_EQ(midi.ParsePatchImage(&first, &second, image.data()), c.valid);
        if (c.valid) {
            EXPECT_EQ(first, midi.PatchData());
            EXPECT_EQ(second, midi.PatchData() + kHeaderHalfSize);
        }

        VF1Patch patch;
        EXPECT_EQ(patch.SetImage(image, false), c.valid);
        EXPECT_EQ(patch.GetName(), c.valid ? "Frame        " : "empty        ");
        EXPECT_STREQ(patch.GetAlgorithmName(), c.valid ? "Gtr Multi 1" : "");
        EXPECT_EQ(patch.Image(), before) << "a cleared patch keeps its bytes";
        EXPECT_EQ(messages.Messages().size(), c.valid ? 0u : 1u) << "only ParsePatchImage reports";
    }
}

TEST(PatchImage, FixChecksumRepairsOnlyMessageOne) {
    const PatchImage good = NamedImage("Sums");
    for (const auto& [start, length] : kMessages) EXPECT_TRUE(ChecksumRight(good.data(), start, length));
    PatchImage wrong = good;
    for (const int at : {173, 428, 583}) wrong[static_cast<size_t>(at)] ^= 0x40;

    PatchImage image = wrong;
    ASSERT_TRUE(VF1MIDI::Instance().ParseImage(image.data(), false, false));
    EXPECT_EQ(image, wrong);
    ASSERT_TRUE(VF1MIDI::Instance().ParseImage(image.data(), false, true));
    EXPECT_EQ(image[173], good[173]);
    EXPECT_EQ(image[428], wrong[428]);
    EXPECT_EQ(image[583], wrong[583]);

    VF1Patch patch;
    ASSERT_TRUE(patch.SetImage(wrong, true));
    EXPECT_EQ(patch.Image()[173], good[173]);
    EXPECT_EQ(patch.Image()[428], wrong[428]);
    ASSERT_TRUE(patch.SetImage(wrong, false));
    EXPECT_EQ(patch.Image(), wrong);
}

// Parsing reads other messages' headers into scratch space: the next message the program
// builds still carries the configured device ID and ends with F7.
TEST_F(PatchFileTest, ParsingKeepsTheConfiguredHeader) {
    MessageRecorder messages;
    VF1MIDI& midi = VF1MIDI::Instance();
    const DeviceId configured(0x10);

    PatchImage foreign = NamedImage("Foreign");
    for (const int at : {2, 177, 432}) foreign[static_cast<size_t>(at)] = 0x7F;
    foreign[174] = 0x00;
    EXPECT_FALSE(midi.ParseImage(foreign.data(), false, false));
    foreign[174] = kSysExEnd;
    ASSERT_TRUE(midi.ParseImage(foreign.data(), false, false));

    std::vector<uint8_t> file(foreign.begin(), foreign.end());
    const uint8_t closing[] = {0xF0, 0x41, 0x7F, 0x00, 0x23, 0x12, 0x60, 0x00, 0x00, 0x00, 0x00, 0x20, 0x7F};
    file.insert(file.end(), std::begin(closing), std::end(closing));
    WriteFile(dir / "bad-end.syx", file);
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    EXPECT_FALSE(midi.LoadPatchFile((dir / "bad-end.syx").string(), &first, &second));
    file.back() = kSysExEnd;
    WriteFile(dir / "foreign.syx", file);
    EXPECT_TRUE(midi.LoadPatchFile((dir / "foreign.syx").string(), &first, &second));

    std::array<uint8_t, kTerminatorSize> terminator{};
    midi.BuildTerminator(terminator.data());
    EXPECT_EQ(terminator, (std::array<uint8_t, 13>{0xF0, 0x41, 0x10, 0x00, 0x23, 0x12, 0x70, 0x00, 0x00, 0x00,
                                                   0x00, 0x10, 0xF7}));
    VF1Algorithm algorithm(0);
    const PatchImage built = ImageOf(algorithm);
    for (const auto& [start, length] : kMessages) {
        EXPECT_EQ(built[static_cast<size_t>(start + 2)], 0x10);
        EXPECT_EQ(built[static_cast<size_t>(start + 10 + length)], kSysExEnd);
    }
}

TEST_F(PatchFileTest, SaveWritesTheImageAndTheClosingMessage) {
    MessageRecorder messages;
    VF1MIDI& midi = VF1MIDI::Instance();
    const DeviceId configured(0x05);

    VF1Algorithm algorithm(2);
    algorithm.SetName("Bass line");
    algorithm.GetBlock(3)->GetParam(2)->SetValue(20); // Distortion "Drive"
    const fs::path path = dir / "bass.syx";
    ASSERT_TRUE(midi.SavePatchFile(algorithm, path.string()));
    const std::vector<uint8_t> saved = ReadFile(path);
    ASSERT_EQ(saved.size(), 598u);

    const PatchImage image = ImageOf(algorithm);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), saved.begin()));
    EXPECT_EQ(
        std::vector<uint8_t>(saved.begin() + 585, saved.end()),
        (std::vector<uint8_t>{0xF0, 0x41, 0x05, 0x00, 0x23, 0x12, 0x60, 0x00, 0x00, 0x00, 0x00, 0x20, 0xF7}));
    for (const auto& [start, length] : kMessages) EXPECT_TRUE(ChecksumRight(saved.data(), start, length));
    EXPECT_EQ(std::vector<uint8_t>(saved.begin() + 6, saved.begin() + 9),
              (std::vector<uint8_t>{0x10, 0x00, 0x00}));
    EXPECT_EQ(std::vector<uint8_t>(saved.begin() + 436, saved.begin() + 439),
              (std::vector<uint8_t>{0x10, 0x01, 0x74}));

    // Load it into the editor's list and save that: the same 598 bytes.
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    ASSERT_TRUE(midi.LoadPatchFile(path.string(), &first, &second));
    VF1AlgorithmList list;
    ASSERT_TRUE(list.LoadFromPatchData(first, second));
    EXPECT_EQ(list.GetCurrent()->GetName(), "Bass line");
    const fs::path again = dir / "again.syx";
    ASSERT_TRUE(midi.SavePatchFile(*list.GetCurrent(), again.string()));
    EXPECT_EQ(ReadFile(again), saved);

    // Saving over an existing file replaces it.
    ASSERT_TRUE(midi.SavePatchFile(*list.GetAt(0), again.string()));
    EXPECT_EQ(ReadFile(again).size(), 598u);
    EXPECT_NE(ReadFile(again), saved);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(PatchFileTest, LoadChecks) {
    MessageRecorder messages;
    VF1MIDI& midi = VF1MIDI::Instance();
    VF1Algorithm algorithm(21);
    algorithm.SetName("Echo");
    const fs::path written = dir / "echo.syx";
    ASSERT_TRUE(midi.SavePatchFile(algorithm, written.string()));
    const std::vector<uint8_t> good = ReadFile(written);
    std::array<uint8_t, kPatchDataSize> data{};
    algorithm.WritePatchData(data.data());

    struct Case {
        const char* what;
        size_t size;
        std::vector<std::pair<int, uint8_t>> changes;
        const char* message; // nullptr: loads
    };
    const Case cases[] = {
        {"as written", 598, {}, nullptr},
        {"closing address 70 00 00", 598, {{591, 0x70}}, nullptr},
        {"closing device, command and checksum differ",
         598,
         {{587, 0x7F}, {590, 0x11}, {596, 0x33}},
         nullptr},
        {"closing data 00 01", 598, {{595, 0x01}}, kFormattingError},
        {"closing data 01 00", 598, {{594, 0x01}}, kFormattingError},
        {"closing end byte", 598, {{597, 0x00}}, kFormattingError},
        {"closing start byte", 598, {{585, 0xF7}}, kFormattingError},
        {"closing model byte", 598, {{589, 0x24}}, kFormattingError},
        {"image end byte", 598, {{429, 0x00}}, kFormattingError},
        {"one byte short", 597, {}, kSizeError},
        {"one byte long", 599, {}, kSizeError},
        {"a bank's worth", kBankFileSize, {}, kSizeError},
        {"empty", 0, {}, kSizeError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        bytes.resize(c.size, 0x00);
        for (const auto& [at, value] : c.changes) bytes[static_cast<size_t>(at)] = value;
        const fs::path path = dir / "case.syx";
        WriteFile(path, bytes);

        messages.Clear();
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        const bool loaded = midi.LoadPatchFile(path.string(), &first, &second);
        EXPECT_EQ(loaded, c.message == nullptr);
        EXPECT_EQ(messages.Messages(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        if (loaded) {
            EXPECT_TRUE(std::equal(data.begin(), data.begin() + kHeaderHalfSize, first));
            EXPECT_TRUE(std::equal(data.begin() + kHeaderHalfSize, data.end(), second));
        }
    }

    messages.Clear();
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    EXPECT_FALSE(midi.LoadPatchFile((dir / "missing.syx").string(), &first, &second));
    EXPECT_EQ(messages.Messages().size(), 1u);
}

// A save that cannot be completed says so and returns false, and a file already at the path
// keeps its old contents.
TEST_F(PatchFileTest, FailedSaveReportsAndKeepsTheOldFile) {
    MessageRecorder messages;
    VF1MIDI& midi = VF1MIDI::Instance();
    VF1Algorithm algorithm(29);
    const std::vector<uint8_t> old = {'o', 'l', 'd'};

    // No such directory.
    EXPECT_FALSE(midi.SavePatchFile(algorithm, (dir / "missing" / "p.syx").string()));
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_FALSE(fs::exists(dir / "missing"));

    // The path names a directory.
    messages.Clear();
    fs::create_directory(dir / "folder.syx");
    EXPECT_FALSE(midi.SavePatchFile(algorithm, (dir / "folder.syx").string()));
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(fs::is_directory(dir / "folder.syx"));

    // The disk fills up part way (a file size limit works the same for every user).
    messages.Clear();
    const fs::path path = dir / "full.syx";
    WriteFile(path, old);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = 100;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool ok = midi.SavePatchFile(algorithm, path.string());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(ReadFile(path), old);

    // Nothing is left behind beside the files.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.syx", "full.syx"}));
}

TEST(VF1Patch, ClearedAndDecoded) {
    VF1Patch patch;
    EXPECT_FALSE(patch.IsValid());
    EXPECT_EQ(patch.GetName(), "empty        ");
    EXPECT_EQ(patch.GetName().size(), 13u);
    EXPECT_STREQ(patch.GetAlgorithmName(), "");

    // The name keeps all 13 characters, the algorithm name comes from message 1.
    struct Case {
        int algorithm; // as stored in message 1
        const char* algorithmName;
    };
    const Case cases[] = {{0, "Gtr Multi 1"}, {19, "Delay"}, {36, "Spkr Model"}, {37, ""}, {0xFFFF, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.algorithm);
        PatchImage image = NamedImage("Hi");
        const auto nibbles = NibbleEncode16(c.algorithm);
        std::copy(nibbles.begin(), nibbles.end(), image.begin() + 9);
        ASSERT_TRUE(patch.SetImage(image, false)) << "the librarian keeps any algorithm number";
        EXPECT_EQ(patch.GetName(), "Hi           ");
        EXPECT_STREQ(patch.GetAlgorithmName(), c.algorithmName);
    }

    // Clear leaves the image alone; Revalidate decides again from the image.
    const PatchImage image = patch.Image();
    patch.Clear();
    EXPECT_FALSE(patch.IsValid());
    EXPECT_EQ(patch.GetName(), "empty        ");
    EXPECT_EQ(patch.Image(), image);
    patch.Revalidate();
    EXPECT_TRUE(patch.IsValid());
    EXPECT_EQ(patch.GetName(), "Hi           ");
    patch.GetImage()[429] = 0x00;
    patch.Revalidate();
    EXPECT_FALSE(patch.IsValid());
    EXPECT_EQ(patch.GetName(), "empty        ");

    VF1Patch copy;
    patch.GetImage()[429] = kSysExEnd;
    patch.Revalidate();
    copy.CopyFrom(patch);
    EXPECT_TRUE(copy.IsValid());
    EXPECT_EQ(copy.GetName(), patch.GetName());
    EXPECT_EQ(copy.Image(), patch.Image());
}

TEST(VF1Patch, SetPatchNumberRewritesAddressesAndChecksums) {
    PatchImage image = NamedImage("Slots", 11);
    for (const int at : {2, 177, 432}) image[static_cast<size_t>(at)] = 0x11; // another device ID
    VF1Patch patch;
    ASSERT_TRUE(patch.SetImage(image, false));

    for (const int number : {0, 1, 32, 100, 101, 150, 201}) {
        SCOPED_TRACE(number);
        patch.SetPatchNumber(number);
        const PatchImage& renumbered = patch.Image();
        const PatchAddressBytes a = PatchAddress(number);
        EXPECT_EQ((PatchAddressBytes{renumbered[6], renumbered[7], renumbered[8]}), a);
        EXPECT_EQ((PatchAddressBytes{renumbered[181], renumbered[182], renumbered[183]}), a);
        EXPECT_EQ((PatchAddressBytes{renumbered[436], renumbered[437], renumbered[438]}),
                  (PatchAddressBytes{a[0], static_cast<uint8_t>(a[1] + 1), 0x74}));
        for (const auto& [start, length] : kMessages)
            EXPECT_TRUE(ChecksumRight(renumbered.data(), start, length));
        // Everything but addresses and checksums stays.
        for (size_t i = 0; i < renumbered.size(); ++i) {
            const bool rewritten = (i >= 6 && i <= 8) || (i >= 181 && i <= 183) || (i >= 436 && i <= 438) ||
                                   i == 173 || i == 428 || i == 583;
            if (!rewritten) {
                EXPECT_EQ(renumbered[i], image[i]) << "byte " << i;
            }
        }
        EXPECT_TRUE(patch.IsValid());
        EXPECT_EQ(patch.GetName(), "Slots        ");
        EXPECT_STREQ(patch.GetAlgorithmName(), "Reverb 1");
    }
}
