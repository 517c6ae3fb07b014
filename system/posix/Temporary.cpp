#include "system/posix/Temporary.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <mutex>
#include <random>

namespace tessaly {
namespace {

// Names stay below the 255-byte limit of a name whatever the target's length.
constexpr std::size_t kNameRoom = 200;
constexpr std::size_t kRandomLetters = 8;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// A write takes milliseconds; a temporary untouched this long belongs to no live write.
constexpr std::time_t kStaleSeconds = 60;

constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGTERM};
constexpr int kSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// The temporaries that exist now, where the signal handler can read them, written from any
// thread: a slot is claimed (kClaimed), its name written, then marked kHeld, which the handler
// takes back to kClaimed before it reads the name; it is freed before the name changes. A batch
// writes a few devices at once, each one file at a time.
constexpr int kSlots = 16;
constexpr int kFree = 0;
constexpr int kClaimed = 1;
constexpr int kHeld = 2;
char slotNames[kSlots][PATH_MAX];
std::atomic<int> slotState[kSlots];
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

// The actions the handler replaced, while any temporary exists.
std::mutex watching;
int temporariesAlive = 0;
bool replaced[kSignalCount];
struct sigaction previous[kSignalCount];

extern "C" void RemoveTemporariesAndEnd(int signal) {
    for (int i = 0; i < kSlots; ++i) {
        // Taken, so that no thread frees the slot and writes another name while it is read.
        int held = kHeld;
        if (slotState[i].compare_exchange_strong(held, kClaimed)) {
            ::unlink(slotNames[i]);
        }
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    // Held back until the handler returns, then ends the program as the signal would have.
    ::raise(signal);
}

void WatchSignals() {
    const std::lock_guard lock(watching);
    if (temporariesAlive++ > 0) {
        return;
    }
    for (int i = 0; i < kSignalCount; ++i) {
        replaced[i] = false;
        if (::sigaction(kEndingSignals[i], nullptr, &previous[i]) != 0 ||
            (previous[i].sa_flags & SA_SIGINFO) != 0 || previous[i].sa_handler != SIG_DFL) {
            continue;  // ignored, or someone else's: left as it is
        }
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int other : kEndingSignals) {
            sigaddset(&action.sa_mask, other);
        }
        replaced[i] = ::sigaction(kEndingSignals[i], &action, nullptr) == 0;
    }
}

void UnwatchSignals() {
    const std::lock_guard lock(watching);
    if (--temporariesAlive > 0) {
        return;
    }
    for (int i = 0; i < kSignalCount; ++i) {
        if (replaced[i]) {
            ::sigaction(kEndingSignals[i], &previous[i], nullptr);
        }
    }
}

// Holds the ending signals back while a temporary comes or goes, so that none is on the disk
// without the handler knowing it.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kEndingSignals) {
            sigaddset(&set, signal);
        }
        ::pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_;
};

// The folder part of `path` (with its slash, or empty) and the name a temporary starts from.
std::pair<std::string, std::string> FolderAndName(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = path.substr(folder.size()).substr(0, kNameRoom);
    return {std::move(folder), std::move(name)};
}

// A file no one may write to.
bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

Temporary::Temporary(std::string path) : path_(std::move(path)) {
    WatchSignals();
    thread_local std::mt19937_64 random(std::random_device{}() ^
                                        static_cast<std::uint64_t>(::getpid()));
    const auto [folder, name] = FolderAndName(path_);
    const SignalsHeld held;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        std::string letters(kRandomLetters, ' ');
        for (char& c : letters) {
            c = kLetters[random() % (sizeof kLetters - 1)];
        }
        name_ = folder + "." + name + "." + letters + ".tmp";
        fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        name_.clear();  // another's, or none: nothing of ours to remove
        return;
    }
    lock_ = ::open(name_.c_str(), O_RDONLY | O_CLOEXEC);
    if (lock_ >= 0) {
        ::flock(lock_, LOCK_EX | LOCK_NB);
    }
    // Without a free slot (or with a name too long for one) a signal leaves this temporary
    // behind, for the next run to remove.
    for (int i = 0; i < kSlots && name_.size() < PATH_MAX; ++i) {
        int free = kFree;
        if (slotState[i].compare_exchange_strong(free, kClaimed)) {
            std::memcpy(slotNames[i], name_.c_str(), name_.size() + 1);
            slotState[i].store(kHeld);
            slot_ = i;
            break;
        }
    }
}

Temporary::~Temporary() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!name_.empty()) {
        const SignalsHeld held;
        ::unlink(name_.c_str());
        Forget();
    }
    if (lock_ >= 0) {
        ::close(lock_);
    }
    UnwatchSignals();
}

void Temporary::Forget() {
    if (slot_ >= 0) {
        int held = kHeld;
        slotState[slot_].compare_exchange_strong(held, kFree);  // unless the handler has it
        slot_ = -1;
    }
    name_.clear();
}

bool Temporary::Finish(bool complete) {
    // close can report a write the kernel could not finish (NFS), so it counts too.
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    const SignalsHeld held;
    const bool renamed =
        complete && closed && !IsReadOnlyFile(path_) && ::rename(name_.c_str(), path_.c_str()) == 0;
    if (!renamed) {
        ::unlink(name_.c_str());
    }
    Forget();
    return renamed;
}

int RemoveStaleTemporaries(const std::string& path) {
    const auto [folder, name] = FolderAndName(path);
    const std::string start = "." + name + ".";
    const std::string_view end = ".tmp";
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
        return 0;
    }
    int removed = 0;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view entryName = entry->d_name;
        if (entryName.size() != start.size() + kRandomLetters + end.size() ||
            !entryName.starts_with(start) || !entryName.ends_with(end) ||
            entryName.substr(start.size(), kRandomLetters).find_first_not_of(kLetters) !=
                std::string_view::npos) {
            continue;
        }
        const std::string file = folder + std::string(entryName);
        struct stat seen {};
        if (::lstat(file.c_str(), &seen) != 0 || !S_ISREG(seen.st_mode) ||
            now - seen.st_mtime < kStaleSeconds) {
            continue;
        }
        // A write in progress holds the lock; the file checked is the one locked.
        const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat held {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            held.st_dev == seen.st_dev && held.st_ino == seen.st_ino &&
            ::unlink(file.c_str()) == 0) {
            ++removed;
        }
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

}  // namespace tessaly
