// A full disk for tests without root or a mount: under a file size limit (RLIMIT_FSIZE) every
// write beyond the limit fails as on a full file system, with "File too large" for the reason.
// The signal such a write raises is ignored, so the writer sees the error instead of dying.
#pragma once

#include <QProcess>

#include <csignal>
#include <sys/resource.h>

// Lowers the limit of this process while it lives.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = FOld;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldSignal);
    }
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

private:
    rlimit FOld{};
    void (*FOldSignal)(int) = SIG_DFL;
};

// Gives the program process starts the limit (set before start).
inline void LimitFileSize(QProcess &process, rlim_t bytes) {
    process.setChildProcessModifier([bytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
}
