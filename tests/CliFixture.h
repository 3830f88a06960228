#pragma once
// quellin-cli as a user runs it: the built tool in a scratch directory of the test's own, its exit
// status, stdout and stderr, and the files it reads and writes there.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <nlohmann/json.hpp>

namespace fs = std::filesystem;
using nlohmann::ordered_json;
using Bytes = std::vector<uint8_t>;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The tool's messages about banks.
constexpr const char* kNotABank =
    "This doesn't appear to be a valid VF-1 patch bank file.  The first byte isn't 0xF0.";
constexpr const char* kCantSaveBank =
    "The bank you're trying to save has empty (invalid) patches.  Can't save until every patch is valid.";
constexpr const char* kSkipped = "Encountered patches with invalid SysEx formatting/corruption, and they had "
                                 "to be skipped.";

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quellin-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    // The tool with args in the test's directory; input names a file there that is piped into its
    // standard input. Its configuration folder is one of the test's own, so the settings of
    // whoever runs the tests never reach it.
    CliRun Cli(const std::vector<std::string>& args, const std::string& input = "") const {
        std::string command = "cd " + Quote(dir.string()) + " && ";
        if (!input.empty()) command += "cat " + Quote(input) + " | ";
        command += "XDG_CONFIG_HOME=" + Quote((dir / ".config").string()) + " " + Quote(QUELLIN_CLI_PATH);
        for (const std::string& arg : args) command += " " + Quote(arg);
        command += " >" + Quote((dir / ".stdout").string()) + " 2>" + Quote((dir / ".stderr").string());
        CliRun run;
        const int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadText(dir / ".stdout");
        run.err = ReadText(dir / ".stderr");
        return run;
    }

    // show --json of a file (or a bank slot), which must succeed.
    ordered_json Show(const std::string& file, const std::string& slot = "") const {
        std::vector<std::string> args = {"show", file, "--json"};
        if (!slot.empty()) args.insert(args.end(), {"--slot", slot});
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0) << file << ": " << run.err;
        return ordered_json::parse(run.out, nullptr, false);
    }

    // A fresh patch file written by `new`.
    std::string New(int algorithm, const std::string& file, std::vector<std::string> extra = {}) const {
        std::vector<std::string> args = {"new", "--algorithm", std::to_string(algorithm), "-o", file};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return file;
    }

    Bytes Read(const std::string& file) const {
        const std::string text = ReadText(dir / file);
        return Bytes(text.begin(), text.end());
    }
    void Write(const std::string& file, const Bytes& bytes) const {
        std::ofstream out(dir / file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    bool Exists(const std::string& file) const { return fs::exists(dir / file); }

    fs::path dir;
};
