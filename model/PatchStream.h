#pragma once
// A cursor over nibble-coded patch data. Parameters write and read their bytes at the cursor and
// move it on; nothing is ever written or read past the end of the buffer.

#include <cstdint>
#include <cstring>
#include <span>

class PatchStream {
  public:
    PatchStream(uint8_t* data, size_t size) : begin(data), pos(data), end(data + size) {}
    explicit PatchStream(std::span<uint8_t> data) : PatchStream(data.data(), data.size()) {}

    // Copies n bytes to the cursor; false (and nothing written) when they don't fit.
    bool Put(const uint8_t* bytes, size_t n) {
        if (Remaining() < n) return false;
        std::memcpy(pos, bytes, n);
        pos += n;
        return true;
    }
    bool PutZeros(size_t n) {
        if (Remaining() < n) return false;
        std::memset(pos, 0, n);
        pos += n;
        return true;
    }
    // The n bytes at the cursor, then the cursor moves past them; nullptr when they don't fit.
    const uint8_t* Take(size_t n) {
        if (Remaining() < n) return nullptr;
        const uint8_t* at = pos;
        pos += n;
        return at;
    }
    bool Skip(size_t n) { return Take(n) != nullptr; }

    size_t Offset() const { return static_cast<size_t>(pos - begin); }
    size_t Remaining() const { return static_cast<size_t>(end - pos); }
    uint8_t* Position() const { return pos; }

  private:
    uint8_t* begin;
    uint8_t* pos;
    uint8_t* end;
};
