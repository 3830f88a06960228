// Feeds the parsers of patch images, single-patch files and banks with damaged and random data.
// Built with AddressSanitizer and UndefinedBehaviorSanitizer: a read past the data or any other
// fault stops the run; the checks here are what every load must hold afterwards.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "library/VF1Bank.h"
#include "midi/VF1MIDI.h"
#include "model/VF1Algorithm.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

// Mutations of a valid input, chosen by the generator.
class Mutator {
  public:
    explicit Mutator(uint32_t seed) : random(seed) {}

    size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random); }
    uint8_t Byte() { return static_cast<uint8_t>(Below(256)); }

    Bytes Mutate(Bytes data) {
        const int steps = 1 + static_cast<int>(Below(6));
        for (int i = 0; i < steps && !data.empty(); ++i) {
            const size_t at = Below(data.size());
            switch (Below(6)) {
            case 0: // a byte changed
                data[at] = Byte();
                break;
            case 1: // a stray frame byte
                data[at] = Below(2) ? kSysExStart : kSysExEnd;
                break;
            case 2: // a byte lost
                data.erase(data.begin() + static_cast<long>(at));
                break;
            case 3: // a byte too many
                data.insert(data.begin() + static_cast<long>(Below(data.size() + 1)), Byte());
                break;
            case 4: // cut short
                data.resize(at);
                break;
            default: { // a run sent twice
                const size_t n = std::min<size_t>(1 + Below(600), data.size() - at);
                const Bytes run(data.begin() + static_cast<long>(at),
                                data.begin() + static_cast<long>(at + n));
                data.insert(data.begin() + static_cast<long>(Below(data.size() + 1)), run.begin(), run.end());
                break;
            }
            }
        }
        return data;
    }

    Bytes Random(size_t length) {
        Bytes data(length);
        for (auto& b : data) b = Below(8) == 0 ? (Below(2) ? kSysExStart : kSysExEnd) : Byte();
        return data;
    }

  private:
    std::mt19937 random;
};

// Parses data as a bank; loading must end with 202 slots of which the valid ones hold names
// of 13 characters, and a loaded bank can always be written.
void CheckBank(const Bytes& data) {
    // An exactly sized copy, so that any read past the end is caught.
    const auto exact = std::make_unique<uint8_t[]>(data.size() + 1);
    std::copy(data.begin(), data.end(), exact.get());
    try {
        VF1Bank bank(exact.get(), data.size());
        ASSERT_EQ(bank.GetCount(), kPatchCount);
        for (int slot = 0; slot < kPatchCount; ++slot) {
            ASSERT_NE(bank.GetAt(slot), nullptr);
            ASSERT_EQ(bank.GetAt(slot)->GetName().size(), 13u);
        }
        std::vector<uint8_t> out(kBankFileSize);
        ASSERT_EQ(bank.WriteImages(out.data()), kBankImagesSize);
    } catch (const BankParseError&) {
        ASSERT_TRUE(data.empty() || data[0] != kSysExStart);
    }
}

// A patch image that parses can be loaded into the editor whatever its values, and what the
// editor then writes is patch data it reads back as it is.
void CheckImage(PatchImage image, VF1AlgorithmList& list) {
    VF1MIDI& midi = VF1MIDI::Instance();
    VF1Patch patch;
    const bool valid = patch.SetImage(image, true);
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    ASSERT_EQ(midi.ParsePatchImage(&first, &second, image.data()), valid);
    if (!valid) return;
    if (!list.LoadFromPatchData(first, second)) return;
    // Loading corrects every value into its list, so what it writes loads back unchanged.
    std::array<uint8_t, kPatchDataSize> data{};
    list.GetCurrent()->WritePatchData(data.data());
    list.RemoveAt(list.GetCurrentIndex());
    ASSERT_TRUE(list.LoadFromPatchData(data.data(), data.data() + kHeaderHalfSize));
    std::array<uint8_t, kPatchDataSize> again{};
    list.GetCurrent()->WritePatchData(again.data());
    list.RemoveAt(list.GetCurrentIndex());
    ASSERT_EQ(again, data);
}

} // namespace

TEST(ParserFuzz, Banks) {
    MessageRecorder quiet;
    const Bytes& bank = MakeBankFile();
    Mutator mutator(20240611);

    // Truncated at every few offsets, through the middle of messages.
    for (size_t length = 0; length <= bank.size(); length += 211)
        CheckBank(Bytes(bank.begin(), bank.begin() + static_cast<long>(length)));
    // Damaged.
    for (int i = 0; i < 2000; ++i) CheckBank(mutator.Mutate(bank));
    // Oversized: trailing junk and a second copy.
    Bytes twice = bank;
    twice.insert(twice.end(), bank.begin(), bank.end());
    CheckBank(twice);
    for (int i = 0; i < 20; ++i) {
        Bytes longer = bank;
        const Bytes junk = mutator.Random(1 + mutator.Below(5000));
        longer.insert(longer.end(), junk.begin(), junk.end());
        CheckBank(longer);
    }
    // Random data that starts like a message.
    for (int i = 0; i < 500; ++i) {
        Bytes data = mutator.Random(mutator.Below(3000));
        if (!data.empty()) data[0] = kSysExStart;
        CheckBank(data);
    }
    // Every patch cut down to one of its three messages.
    constexpr std::pair<int, int> kMessages[] = {{0, 175}, {175, 255}, {430, 155}};
    Bytes parts;
    for (int slot = 0; slot < kPatchCount; ++slot) {
        const auto [offset, n] = kMessages[slot % 3];
        const auto from = bank.begin() + kPatchImageSize * slot + offset;
        parts.insert(parts.end(), from, from + n);
    }
    CheckBank(parts);
}

TEST(ParserFuzz, PatchImages) {
    MessageRecorder quiet;
    Mutator mutator(777);
    VF1AlgorithmList list;
    for (int i = 0; i < 3000; ++i) {
        const PatchImage valid = MakePatchImage(static_cast<int>(mutator.Below(kPatchCount)));
        PatchImage image = valid;
        switch (i % 3) {
        case 0: // values: any nibbles in the data bytes, frame intact
            for (int n = 0; n < 20; ++n)
                image[9 + mutator.Below(575)] = static_cast<uint8_t>(mutator.Below(16));
            image[173] = 0;
            image[174] = kSysExEnd;
            image[175] = kSysExStart;
            image[429] = kSysExEnd;
            image[430] = kSysExStart;
            image[584] = kSysExEnd;
            break;
        case 1: { // whole bytes anywhere
            const Bytes mutated = mutator.Mutate(Bytes(valid.begin(), valid.end()));
            std::fill(image.begin(), image.end(), 0);
            std::copy_n(mutated.begin(), std::min(mutated.size(), image.size()), image.begin());
            break;
        }
        default: { // noise in a valid frame
            const Bytes noise = mutator.Random(kPatchImageSize);
            std::copy(noise.begin(), noise.end(), image.begin());
            for (const int at : {0, 175, 430}) {
                image[static_cast<size_t>(at)] = kSysExStart;
                image[static_cast<size_t>(at + 1)] = 0x41;
                image[static_cast<size_t>(at + 3)] = 0x00;
                image[static_cast<size_t>(at + 4)] = 0x23;
            }
            image[174] = image[429] = image[584] = kSysExEnd;
            break;
        }
        }
        CheckImage(image, list);
    }
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(ParserFuzz, PatchFiles) {
    MessageRecorder quiet;
    Mutator mutator(31337);
    VF1MIDI& midi = VF1MIDI::Instance();
    const fs::path dir = fs::temp_directory_path() / ("quellin-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path path = dir / "patch.syx";

    VF1Algorithm algorithm(0);
    ASSERT_TRUE(midi.SavePatchFile(algorithm, path.string()));
    std::ifstream in(path, std::ios::binary);
    const Bytes good{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    ASSERT_EQ(good.size(), 598u);

    VF1AlgorithmList list;
    for (int i = 0; i < 800; ++i) {
        Bytes bytes = i % 4 == 3 ? mutator.Random(mutator.Below(1200)) : mutator.Mutate(good);
        if (i % 2 == 0) bytes.resize(good.size(), 0); // mostly the right size, to get past the size check
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
        const uint8_t* first = nullptr;
        const uint8_t* second = nullptr;
        if (midi.LoadPatchFile(path.string(), &first, &second)) {
            ASSERT_EQ(bytes.size(), 598u);
            if (list.LoadFromPatchData(first, second)) list.RemoveAt(list.GetCurrentIndex());
        }
    }
    EXPECT_EQ(list.GetCount(), 1);
    fs::remove_all(dir);
}
