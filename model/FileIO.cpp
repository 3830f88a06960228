#include "model/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/Report.h"

namespace {

// How a path is written: replaced through a temp file, or written straight through.
struct Target {
    bool straight = false; // standard output, a FIFO or a device
    std::string path;      // the file that is written: symlinks resolved
    bool exists = false;
    struct stat status {};
};

// The folder a resolved path lies in, for its temp file and the folder's flush.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symlinks to what path names in the end; a link to a missing file names that file,
// which the write then creates.
int Resolve(const std::string& path, Target& target) {
    if (path == kStandardStream) {
        target.straight = true;
        return 0;
    }
    if (path.empty()) return ENOENT;
    std::string current = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (lstat(current.c_str(), &status) != 0) {
            if (errno != ENOENT) return errno;
            // A new file; "name/" asks for a folder, which a file never is.
            if (current.back() == '/') return EISDIR;
            target.path = current;
            return 0;
        }
        if (S_ISLNK(status.st_mode)) {
            if (links >= 40) return ELOOP;
            std::string link(static_cast<size_t>(status.st_size > 0 ? status.st_size : 256) + 1, '\0');
            const ssize_t n = readlink(current.c_str(), link.data(), link.size());
            if (n < 0) return errno;
            if (static_cast<size_t>(n) >= link.size()) return ENAMETOOLONG;
            link.resize(static_cast<size_t>(n));
            current = link.front() == '/' ? link : FolderOf(current) + "/" + link;
            continue;
        }
        if (S_ISDIR(status.st_mode)) return EISDIR;
        target.path = current;
        target.exists = true;
        target.status = status;
        target.straight = !S_ISREG(status.st_mode);
        return 0;
    }
}

int WriteAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

int WriteStraight(const Target& target, std::span<const uint8_t> bytes) {
    if (target.path.empty()) {
        // What the program printed before must come first.
        std::fflush(stdout);
        return WriteAll(STDOUT_FILENO, bytes);
    }
    const int fd = open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno;
    int error = WriteAll(fd, bytes);
    if (close(fd) != 0 && error == 0) error = errno;
    return error;
}

// The process's umask, read without changing it (other threads may be creating files).
mode_t CurrentUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[128];
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, "Umask:", 6) == 0) {
                std::fclose(status);
                return static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
            }
        }
        std::fclose(status);
    }
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

// A temp file of a unique name in folder: its descriptor, or -1 with errno set.
int MakeTempFile(const std::string& folder, std::string& name) {
    // Short and fixed in length, so that every name the folder takes for the target works.
    name = folder + "/.quellin-XXXXXX";
    return mkostemp(name.data(), O_CLOEXEC);
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // Some file systems cannot flush a folder; the rename has happened all the same.
    fsync(fd);
    close(fd);
}

// A file made read-only is not replaced behind its owner's back: 0 or EACCES.
int WriteAllowed(const Target& target) {
    return target.exists && access(target.path.c_str(), W_OK) != 0 ? errno : 0;
}

int WriteReplacing(const Target& target, std::span<const uint8_t> bytes) {
    if (const int error = WriteAllowed(target); error != 0) return error;
    const std::string folder = FolderOf(target.path);
    std::string temp;
    const int fd = MakeTempFile(folder, temp);
    if (fd < 0) return errno;
    int error = WriteAll(fd, bytes);
    if (error == 0) {
        const mode_t mode = target.exists ? target.status.st_mode & 07777 : 0666 & ~CurrentUmask();
        if (fchmod(fd, mode) != 0) error = errno;
    }
    // The owner of a file replaced by another user (root, say) stays its owner where that is
    // allowed; where not, the file becomes this user's, as any editor's save makes it.
    if (error == 0 && target.exists &&
        (target.status.st_uid != geteuid() || target.status.st_gid != getegid())) {
        [[maybe_unused]] const int ignored = fchown(fd, target.status.st_uid, target.status.st_gid);
    }
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temp.c_str(), target.path.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return error;
    }
    SyncFolder(folder);
    return 0;
}

// What WriteFileSafely would find short of writing: the target may be written, and a temp file
// can be made beside it.
int ProbeWritable(const Target& target) {
    if (const int error = WriteAllowed(target); error != 0 || target.straight) return error;
    std::string temp;
    const int fd = MakeTempFile(FolderOf(target.path), temp);
    if (fd < 0) return errno;
    close(fd);
    unlink(temp.c_str());
    return 0;
}

void ShowSaveError(const std::string& path, int error) {
    ShowMessage(Format("Unable to save the file \"%s\": %s", path.c_str(), std::strerror(error)),
                MessageStyle::Error);
}

} // namespace

int WriteFileSafely(const std::string& path, std::span<const uint8_t> bytes) {
    Target target;
    if (const int error = Resolve(path, target); error != 0) return error;
    return target.straight ? WriteStraight(target, bytes) : WriteReplacing(target, bytes);
}

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
    const int error = WriteFileSafely(path, bytes);
    if (error != 0) ShowSaveError(path, error);
    return error == 0;
}

bool CheckFileWritable(const std::string& path) {
    Target target;
    int error = Resolve(path, target);
    if (error == 0) error = ProbeWritable(target);
    if (error != 0) ShowSaveError(path, error);
    return error == 0;
}

namespace {

// What a read did: the errno of a failure, and whether it was the open that failed.
struct ReadResult {
    int error = 0;
    bool opening = false;
};

ReadResult ReadBounded(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const bool standardInput = path == kStandardStream;
    const int fd = standardInput ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return {errno, true};
    ReadResult result;
    // Grows as the bytes come, so that a short file costs little whatever the bound.
    constexpr size_t kChunk = 64 * 1024;
    while (bytes.size() < limit) {
        const size_t start = bytes.size();
        bytes.resize(start + std::min(kChunk, limit - start));
        const ssize_t n = read(fd, bytes.data() + start, bytes.size() - start);
        if (n < 0 && errno == EINTR) {
            bytes.resize(start);
            continue;
        }
        bytes.resize(start + static_cast<size_t>(n > 0 ? n : 0));
        if (n < 0) result.error = errno;
        if (n <= 0) break;
    }
    if (!standardInput) close(fd);
    if (result.error != 0) bytes.clear();
    return result;
}

} // namespace

int ReadFileQuietly(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
    return ReadBounded(path, limit, bytes).error;
}

bool ReadFileUpTo(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) {
    const ReadResult result = ReadBounded(path, limit, bytes);
    if (result.error == 0) return true;
    const char* format =
        result.opening ? "Unable to open the file \"%s\": %s" : "Unable to read the file \"%s\": %s";
    ShowMessage(Format(format, path.c_str(), std::strerror(result.error)), MessageStyle::Error);
    return false;
}
