#pragma once
// What the fuzz targets share: the libFuzzer entry point they define, a quiet message handler,
// and a check that stops the run when an invariant breaks.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/Report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The program's messages go nowhere: damaged input is what the targets are fed.
inline void SilenceMessages() {
    static const bool silenced = [] {
        SetMessageHandler([](const std::string&, MessageStyle) { return 1; });
        return true;
    }();
    (void)silenced;
}

// An invariant that must hold for every input; a broken one stops the run as a finding.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
