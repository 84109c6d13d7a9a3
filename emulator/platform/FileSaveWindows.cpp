// Whole-file saves on Windows: the bytes go to a temporary file in the same folder, flushed
// to disk, which then takes the file's place in one move written through to the disk.
#include <windows.h>

#include <algorithm>
#include <random>
#include <system_error>
#include <utility>

#include "emulator/core/Unicode.h"
#include "emulator/platform/FileSave.h"

namespace emulator {
namespace {

// Closes a file handle when it goes out of scope.
class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Open() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    bool Close() {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return handle == INVALID_HANDLE_VALUE || handle == nullptr || CloseHandle(handle) != 0;
    }

  private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// True when no running process has the number `pid`.
bool ProcessIsGone(unsigned long pid) {
    if (pid == 0) {
        return false;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD status = 0;
    const bool gone = GetExitCodeProcess(process, &status) && status != STILL_ACTIVE;
    CloseHandle(process);
    return gone;
}

// Removes the temporary files of saves of `file` whose process has died.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::wstring& prefix) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::wstring name = entries->path().filename().native();
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        // ".NAME.tmp-PID-N": only names of this form are ours.
        std::size_t at = prefix.size();
        unsigned long pid = 0;
        while (at < name.size() && name[at] >= L'0' && name[at] <= L'9' && pid < 0xFFFFFFFFul) {
            pid = pid * 10 + static_cast<unsigned long>(name[at] - L'0');
            ++at;
        }
        if (at == prefix.size() || at >= name.size() || name[at] != L'-') {
            continue;
        }
        if (ProcessIsGone(pid)) {
            std::error_code ignored;
            std::filesystem::remove(entries->path(), ignored);
        }
    }
}

std::string LastError() {
    return "system error " + std::to_string(GetLastError());
}

}  // namespace

std::string TemporaryPrefix(const std::filesystem::path& file) {
    // Built with += (g++ 12 at -O3 warns falsely on a literal + a string).
    std::string prefix = ".";
    prefix += Utf8FromPath(file.filename());
    prefix += ".tmp-";
    return prefix;
}

bool WriteFileWhole(const std::filesystem::path& file, std::string_view bytes, std::string* error) {
    const auto fail = [&](const std::string& reason) {
        if (error) {
            *error = Utf8FromPath(file) + ": " + reason;
        }
        return false;
    };
    const std::filesystem::path folder = file.parent_path();
    const std::wstring prefix = PathFromUtf8(TemporaryPrefix(file)).native();
    RemoveStaleTemporaries(folder, prefix);

    std::random_device random;
    const std::filesystem::path temporary =
        folder / (prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(random() % 1000000000u));
    Handle out(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.Open()) {
        return fail("cannot be written (cannot create a file in its folder: " + LastError() + ")");
    }
    const auto discard = [&](const std::string& reason) {
        out.Close();
        DeleteFileW(temporary.c_str());
        return fail(reason);
    };
    // On disk before the move: otherwise a power cut could leave the new name on a file
    // whose data never arrived.
    if (!WriteAll(out.Get(), bytes) || !FlushFileBuffers(out.Get()) || !out.Close()) {
        return discard("cannot be written: " + LastError());
    }
    if (!MoveFileExW(temporary.c_str(), file.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return discard("cannot be written: " + LastError());
    }
    return true;
}

}  // namespace emulator
