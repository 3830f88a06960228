#include "model/VF1Algorithm.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "model/PatchLayout.h"
#include "model/Report.h"
#include "model/VF1MasterEffect.h"
#include "model/tables/AlgorithmInfo.h"

VF1Algorithm::VF1Algorithm(int number_) : number(number_), category(AlgorithmDefaultCategory(number_)) {
    blocks.reserve(10);
    const AlgorithmComposition* row = AlgorithmBlocks(number);
    if (row == nullptr) {
        ShowMessage(Format("not handling algorithm %d", number), MessageStyle::Error);
    } else {
        for (const AlgorithmBlock& b : row->blocks)
            blocks.push_back(CreateEffect(b.id, b.address, b.targetBase, ""));
        auto m =
            std::make_unique<VF1MasterEffect>(row->masterId, row->masterAddress, kMasterTargetBase, this, "");
        master = m.get();
        blocks.push_back(std::move(m));
    }
    if (!blocks.empty()) SelectBlock(0);
    int found = 0;
    for (auto& b : blocks) {
        b->SetOwner(this);
        if (found < 2 && b->GetPositionParam()) positionBlocks[found++] = b.get();
    }
}

VF1Algorithm::~VF1Algorithm() = default;

const char* VF1Algorithm::GetDisplayName() const {
    return AlgorithmDisplayName(number);
}

VF1Effect* VF1Algorithm::GetBlock(int index) const {
    return index >= 0 && index < GetBlockCount() ? blocks[static_cast<size_t>(index)].get() : nullptr;
}

void VF1Algorithm::SelectBlock(int index) {
    selectedIndex = index;
    selectedBlock = GetBlock(index);
}

void VF1Algorithm::WriteHeader(uint8_t* header) {
    std::memcpy(header + kAlgorithmOffset, NibbleEncode16(number).data(), 4);
    std::memcpy(header + kCategoryOffset, NibbleEncode16(category).data(), 4);
    for (int i = 0; i < kPatchNameLength; ++i) {
        const int c = i < static_cast<int>(name.size())
                          ? static_cast<unsigned char>(name[static_cast<size_t>(i)])
                          : 0x20;
        std::memcpy(header + kNameOffset + 2 * i, NibbleEncode8(c).data(), 2);
    }
    std::fill(header + kNameEnd, header + kControlAssignAreaOffset, 0);
    if (master) master->WriteHeader(header + kControlAssignAreaOffset);
}

void VF1Algorithm::ReadHeader(const uint8_t* header) {
    category = NibbleDecode16(header + kCategoryOffset);
    std::string decoded;
    for (int i = 0; i < kPatchNameLength; ++i)
        decoded += static_cast<char>(NibbleDecode8(header + kNameOffset + 2 * i));
    const auto last = decoded.find_last_not_of(" \t\n\r\f\v");
    name = last == std::string::npos ? "" : decoded.substr(0, last + 1);
    if (master) master->ReadHeader(header + kControlAssignAreaOffset);
}

void VF1Algorithm::WriteStream(PatchStream& stream) {
    for (auto& b : blocks) b->WriteStream(stream);
}

void VF1Algorithm::ReadStream(PatchStream& stream) {
    for (auto& b : blocks) b->ReadStream(stream);
}

void VF1Algorithm::RebuildTargets() {
    if (master) master->RebuildTargets();
}

void VF1Algorithm::WritePatchData(uint8_t* patchData) {
    WriteHeader(patchData);
    PatchStream stream(patchData + kHeaderHalfSize, kStreamHalfSize);
    WriteStream(stream);
    stream.PutZeros(stream.Remaining());
}

void VF1Algorithm::OnPositionChanged(VF1Effect* block, int oldValue, int newValue) {
    VF1Effect* other = block == positionBlocks[0] ? positionBlocks[1] : positionBlocks[0];
    bool moved = false;
    if (other && other != block && other->GetPositionParam() && block->GetPositionParam()) {
        const int p = other->GetPositionParam()->GetValue();
        // "Bass Multi" has no place between its first two positions for a second effect.
        if (number == 2) {
            if (newValue == 1 && p != 0) {
                newValue = oldValue != 0 ? 0 : 2;
                block->GetPositionParam()->SetValue(newValue);
            } else if (newValue == 2 && p == 0) {
                newValue = static_cast<unsigned>(oldValue) < 2u ? 3 : 1;
                block->GetPositionParam()->SetValue(newValue);
            }
        }
        const auto o = static_cast<unsigned>(oldValue);
        const auto n = static_cast<unsigned>(newValue);
        const auto q = static_cast<unsigned>(p);
        int delta = 0;
        if (o < q && n >= q) delta = -1;
        else if (o > q && n <= q) delta = 1;
        if (delta != 0) {
            other->GetPositionParam()->SetValue(p + delta);
            moved = true;
        }
    }
    if (ownerWindow) ownerWindow->OnEffectPositionsChanged(moved);
}

bool VF1Algorithm::RepairPositions() {
    if (positionBlocks[0] == nullptr || positionBlocks[1] == nullptr) return false;
    VF1Param* first = positionBlocks[0]->GetPositionParam();
    VF1Param* second = positionBlocks[1]->GetPositionParam();
    if (first->GetValue() != second->GetValue()) return false;
    ShowMessage("Both variable-position effects can't occupy the same position!", MessageStyle::Warning);
    const int at = second->GetValue();
    second->SetStoredValue(at < second->GetMax() ? at + 1 : at - 1);
    return true;
}

void VF1Algorithm::OnLayoutChanged() {
    if (master) master->RebuildTargets();
    if (ownerWindow) ownerWindow->OnBlockLayoutChanged();
}

VF1AlgorithmList::VF1AlgorithmList() {
    algorithms.reserve(10);
    algorithms.push_back(std::make_unique<VF1Algorithm>(kDefaultAlgorithm));
    Select(0);
}

VF1AlgorithmList::~VF1AlgorithmList() = default;

VF1Algorithm* VF1AlgorithmList::GetAt(int index) const {
    return index >= 0 && index < GetCount() ? algorithms[static_cast<size_t>(index)].get() : nullptr;
}

void VF1AlgorithmList::Select(int index) {
    currentIndex = index;
    current = GetAt(index);
}

void VF1AlgorithmList::AddDefault() {
    algorithms.push_back(std::make_unique<VF1Algorithm>(kDefaultAlgorithm));
}

void VF1AlgorithmList::ReplaceCurrent(int number) {
    algorithms[static_cast<size_t>(currentIndex)] = std::make_unique<VF1Algorithm>(number);
    Select(currentIndex);
}

void VF1AlgorithmList::RemoveAt(int index) {
    // The list always keeps one patch; the window refuses to remove the last.
    if (GetCount() < 2 || index < 0 || index >= GetCount()) return;
    algorithms.erase(algorithms.begin() + index);
    Select(index < GetCount() ? index : index - 1);
}

bool VF1AlgorithmList::LoadFromPatchData(const uint8_t* headerHalf, const uint8_t* streamHalf) {
    auto algorithm = BuildFromPatchData(headerHalf, streamHalf);
    if (algorithm == nullptr) return false;
    algorithms.push_back(std::move(algorithm));
    Select(GetCount() - 1);
    return true;
}

bool VF1AlgorithmList::ReplaceCurrentFromPatchData(const uint8_t* headerHalf, const uint8_t* streamHalf) {
    auto algorithm = BuildFromPatchData(headerHalf, streamHalf);
    if (algorithm == nullptr || current == nullptr) return false;
    algorithms[static_cast<size_t>(currentIndex)] = std::move(algorithm);
    Select(currentIndex);
    return true;
}

std::unique_ptr<VF1Algorithm> VF1AlgorithmList::BuildFromPatchData(const uint8_t* headerHalf,
                                                                   const uint8_t* streamHalf) {
    const int number = NibbleDecode16(headerHalf + kAlgorithmOffset);
    try {
        auto algorithm = std::make_unique<VF1Algorithm>(number);
        if (algorithm->GetBlockCount() == 0) {
            ShowMessage("Invalid patch!  The algorithm type was invalid.  Unable to load.",
                        MessageStyle::Error);
            return nullptr;
        }
        // Reading never writes through the stream.
        PatchStream stream(const_cast<uint8_t*>(streamHalf), kStreamHalfSize);
        algorithm->ReadStream(stream);
        algorithm->RepairPositions();
        algorithm->RebuildTargets();
        algorithm->ReadHeader(headerHalf);
        return algorithm;
    } catch (const std::exception&) {
        ShowMessage("Invalid patch!  There was a critical error while trying to build the algorithm from the "
                    "patch.  Unable to load.",
                    MessageStyle::Error);
        return nullptr;
    }
}
