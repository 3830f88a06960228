#pragma once
// Makes every write past a file size fail, for as long as it lives: a full disk in miniature that
// also stops root. The write fails with EFBIG ("File too large") instead of raising SIGXFSZ.
// Header-only, because the window tests use it too.

#include <signal.h>
#include <sys/resource.h>

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous{};
    sighandler_t previousHandler = SIG_DFL;
};
