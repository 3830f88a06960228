#pragma once
// Places the parameters of a block while the block creates them one after the other: each takes
// the next stream offset and, by its rule, a target number. The block that builds its parameters
// owns the placer and hands it down (a slot hands it to its sub-effects), so building one block
// never depends on what was built before it.

// Target rules of the parameters.
inline constexpr int kNextTarget = -1; // the next index after the last one given
inline constexpr int kNoTarget = -2;   // none; a rule N >= 0 gives index N, and later ones follow it

class ParamPlacer {
  public:
    explicit ParamPlacer(int targetBase = 0, int streamOffset = 0)
        : targetBase(targetBase), streamOffset(streamOffset) {}

    // Starts the numbering of another block: its target base and the offset of its first byte.
    void Restart(int base, int offset = 0) {
        targetBase = base;
        streamOffset = offset;
        nextIndex = 0;
    }
    // The offset of a parameter of width bytes; the next parameter lies behind it.
    int Place(int width) {
        const int offset = streamOffset;
        streamOffset += width;
        return offset;
    }
    // The target number a rule gives, -1 for none.
    int Target(int rule) {
        if (rule == kNextTarget) return targetBase + nextIndex++;
        if (rule < 0) return -1;
        nextIndex = rule + 1;
        return targetBase + rule;
    }
    // Goes on at another offset: the modes of a block lie over the same bytes.
    void MoveTo(int offset) { streamOffset = offset; }
    int StreamOffset() const { return streamOffset; }

  private:
    int targetBase;
    int streamOffset;
    int nextIndex = 0;
};
