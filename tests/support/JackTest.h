#pragma once
// The base of the tests that run over a JACK server of their own: the server, started before each
// test (which is skipped where jackd is not installed), and a fresh folder named for the test,
// removed after it. A test that adds to SetUp calls this one first and returns if it skipped or
// failed; one that adds to TearDown ends what it started (the emulators) before calling this one.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/JackServer.h"

class JackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (JackServer::FindJackd().empty())
            GTEST_SKIP() << "jackd is not installed, so there is no MIDI server to test over "
                            "(scripts/test installs the jackd2 package)";
        server = std::make_unique<JackServer>();
        ASSERT_TRUE(server->Running()) << server->Error();
        const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() / ("quellin-" + std::string(test.test_suite_name()) +
                                                        "-" + std::to_string(getpid()) + "-" + test.name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        server.reset();
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }
    // Whether SetUp got as far as a running server and a folder.
    bool Ready() const { return !IsSkipped() && !HasFatalFailure(); }

    std::unique_ptr<JackServer> server;
    std::filesystem::path dir;
};
