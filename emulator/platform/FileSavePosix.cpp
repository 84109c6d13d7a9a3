#include "emulator/platform/FileSave.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
#include <random>
#include <system_error>

namespace emulator {
namespace {

// Closes a file descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now; false when the system reports that the data could not be written.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// True when no process has the number `pid` any more.
bool ProcessIsGone(long pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes the temporary files of saves of `file` whose process has died (killed during a
// save, or the machine stopped): they hold nothing anyone will read.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        // ".NAME.tmp-PID-N": only names of this form are ours.
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        long pid = 0;
        const auto [end, problem] = std::from_chars(first, last, pid);
        if (problem != std::errc() || end == first || end == last || *end != '-') {
            continue;
        }
        if (ProcessIsGone(pid)) {
            std::error_code ignored;
            std::filesystem::remove(entries->path(), ignored);
        }
    }
}

// Flushes the folder's entries (the rename) to disk. Some file systems cannot flush a
// folder; the file itself is already safe then, so that is not a failure.
void FlushFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The file a save of `file` writes: `file` itself, or the file its symbolic links lead to
// (a save through a link changes what the link points at and keeps the link). Nothing, with
// the reason, for links that go round in a circle.
std::optional<std::filesystem::path> SavedFile(const std::filesystem::path& file,
                                               std::string* reason) {
    constexpr int kMostLinks = 40;  // as the system itself follows
    std::filesystem::path target = file;
    for (int links = 0; links < kMostLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(target, error)) {
            return target;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            *reason = error.message();
            return std::nullopt;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    *reason = "too many levels of symbolic links";
    return std::nullopt;
}

}  // namespace

std::string TemporaryPrefix(const std::filesystem::path& file) {
    return std::string(".").append(file.filename().string()).append(".tmp-");
}

bool WriteFileWhole(const std::filesystem::path& named, std::string_view bytes,
                    std::string* error) {
    const auto fail = [&](const std::string& reason) {
        if (error) {
            *error = named.string() + ": " + reason;
        }
        return false;
    };
    std::string linkProblem;
    const std::optional<std::filesystem::path> saved = SavedFile(named, &linkProblem);
    if (!saved) {
        return fail("cannot be written: " + linkProblem);
    }
    const std::filesystem::path& file = *saved;
    // A file its owner made read-only stays as it is: replacing it would throw the protection
    // away with its contents.
    struct stat old {};
    const bool exists = ::stat(file.c_str(), &old) == 0;
    if (exists && ::access(file.c_str(), W_OK) != 0) {
        return fail(std::string("cannot be written: ") + std::strerror(errno));
    }
    if (exists && S_ISDIR(old.st_mode)) {
        return fail("cannot be written: it is a folder");
    }
    // A device or a pipe (/dev/null, /dev/stdout, a FIFO) is written to, as a shell's
    // redirection does: renaming a file over it would replace the device itself.
    if (exists && !S_ISREG(old.st_mode)) {
        Descriptor device(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
        if (device.Get() < 0 || !WriteAll(device.Get(), bytes) || !device.Close()) {
            return fail(std::string("cannot be written: ") + std::strerror(errno));
        }
        return true;
    }
    const std::filesystem::path folder = file.parent_path();
    const std::string prefix = TemporaryPrefix(file);
    RemoveStaleTemporaries(folder, prefix);

    std::random_device random;
    const std::filesystem::path temporary =
        folder / std::string(prefix)
                     .append(std::to_string(::getpid()))
                     .append("-")
                     .append(std::to_string(random() % 1000000000u));
    Descriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.Get() < 0) {
        return fail(std::string("cannot be written (cannot create a file in its folder: ") +
                    std::strerror(errno) + ")");
    }
    const auto discard = [&](const std::string& reason) {
        out.Close();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return fail(reason);
    };
    // The new file keeps the permissions and, where this process may give them, the owner
    // of the one it replaces.
    if (exists) {
        if (::geteuid() == 0) {
            // Some file systems keep no owners: the file is saved all the same.
            [[maybe_unused]] const int kept = ::fchown(out.Get(), old.st_uid, old.st_gid);
        }
        ::fchmod(out.Get(), old.st_mode & 07777);
    }
    if (!WriteAll(out.Get(), bytes)) {
        return discard(std::string("cannot be written: ") + std::strerror(errno));
    }
    // On disk before the rename: otherwise a power cut could leave the new name on a file
    // whose data never arrived.
    if (::fsync(out.Get()) != 0 || !out.Close()) {
        return discard(std::string("cannot be written: ") + std::strerror(errno));
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, file, renamed);
    if (renamed) {
        return discard("cannot be written: " + renamed.message());
    }
    FlushFolder(folder);
    return true;
}

}  // namespace emulator
