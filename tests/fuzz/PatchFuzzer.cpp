// The patch image and the single-patch file: any 585 bytes as an image, any 598 as a file (shorter
// inputs padded with zeros), any 410 as the unit's reply, each taken as far as the program takes it.

#include <algorithm>
#include <array>
#include <span>

#include "midi/VF1MIDI.h"
#include "model/PatchImage.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Patch.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Loads patch data as the editor does; a patch it loads writes the same bytes again once loaded
// from what it wrote.
void Load(const uint8_t* headerHalf, const uint8_t* streamHalf) {
    VF1AlgorithmList list;
    if (!list.LoadFromPatchData(headerHalf, streamHalf)) return;
    PatchData once{};
    list.GetCurrent()->WritePatchData(once.data());
    VF1AlgorithmList again;
    FUZZ_CHECK(again.LoadFromPatchData(once.data(), once.data() + kHeaderHalfSize));
    PatchData twice{};
    again.GetCurrent()->WritePatchData(twice.data());
    FUZZ_CHECK(once == twice);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceMessages();
    PatchFileBytes file{};
    std::copy_n(data, std::min(size, file.size()), file.begin());

    // The image as the librarian keeps it: a valid one has its frames and only data bytes inside.
    for (const bool fixChecksum : {false, true}) {
        PatchImage image{};
        std::copy_n(file.begin(), image.size(), image.begin());
        VF1Patch patch;
        if (patch.SetImage(image, fixChecksum)) {
            FUZZ_CHECK(ImageFramesOk(patch.Image()));
            FUZZ_CHECK(StrayStatusBytes(patch.Image()).empty());
            FUZZ_CHECK(patch.GetName().size() == static_cast<size_t>(kPatchNameLength));
        }
    }

    // The file as the editor's Load takes it.
    VF1MIDI& midi = VF1MIDI::Instance();
    const uint8_t* first = nullptr;
    const uint8_t* second = nullptr;
    if (midi.CheckPatchFile(file) && midi.ParsePatchImage(&first, &second, file.data())) Load(first, second);

    // The unit's answer to a request, which the reception takes apart unchecked.
    if (size >= static_cast<size_t>(kPatchReplySize)) {
        PatchData reply{};
        ReplyToPatchData(std::span<const uint8_t, kPatchReplySize>(data, kPatchReplySize), reply);
        Load(reply.data(), reply.data() + kHeaderHalfSize);
    }
    return 0;
}
