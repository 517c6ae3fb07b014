#pragma once

#include <string>

namespace tessaly {

// The hidden temporary (".<name>.<random>.tmp") that replaces a file: created beside it, written,
// then renamed over it or removed. While one exists, SIGHUP, SIGINT and SIGTERM remove it before
// they end the program as they would have (where their action is the default; an ignored signal
// stays ignored), and a lock on it tells a later run that it is in use. Threads may each have
// their own.
class Temporary {
public:
    // Creates the temporary beside `path` with the mode a new file gets; valid() tells whether
    // the folder took it.
    explicit Temporary(std::string path);
    // Removes the temporary unless it took the target's place.
    ~Temporary();
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Closes the temporary and, when `complete` and the close succeeded, renames it over the
    // target; otherwise removes it. A read-only target (no write permission for anyone, like
    // Windows' read-only attribute) is not replaced. True when the target is the new file.
    bool Finish(bool complete);

private:
    void Forget();

    std::string path_;
    std::string name_;
    int fd_ = -1;
    int lock_ = -1;  // a second open file description, so the lock outlives the close of fd_
    int slot_ = -1;  // where the signal handler finds the name
};

// Removes the temporaries of `path` that a killed run left in its folder: those no write holds a
// lock on and that have not changed for a minute. Returns how many.
int RemoveStaleTemporaries(const std::string& path);

}  // namespace tessaly
