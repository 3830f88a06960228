#include "model/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "model/Report.h"

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string temp = path + ".quellin-tmp";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    int error = errno;
    bool ok = file != nullptr;
    if (ok) {
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        error = errno;
        if (std::fclose(file) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
            ok = false;
            error = errno;
        }
        if (!ok) std::remove(temp.c_str());
    }
    if (!ok)
        ShowMessage(Format("Unable to save the file \"%s\": %s", path.c_str(), std::strerror(error)),
                    MessageStyle::Error);
    return ok;
}

bool OpenToRead(const std::string& path, std::ifstream& file) {
    file.open(path, std::ios::binary);
    if (file) return true;
    ShowMessage(Format("Unable to open the file \"%s\": %s", path.c_str(), std::strerror(errno)),
                MessageStyle::Error);
    return false;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream file;
    if (!OpenToRead(path, file)) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}
