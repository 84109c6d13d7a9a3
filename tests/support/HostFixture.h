// A plug-in installed in a plug-ins folder of its own and loaded by a fresh emulated host,
// as every behaviour test needs; the host's record of misuses must stay empty.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "emulator/core/Host.h"

namespace testing_support {

// A temporary folder, removed with everything in it at the end of the test.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::filesystem::path& file);

// The font list the tests give the host, so that they do not depend on the machine's.
std::vector<std::string> FixedFonts();

// The plug-in file that the build made.
std::filesystem::path BuiltPlugin();

// Installs the built plug-in in `folder` and returns its path there.
std::filesystem::path InstallIn(const std::filesystem::path& folder);

// Keeps the plug-in's code loaded for the lifetime of the object, so that hosts created
// one after another share its process-wide records, as one host process would.
class PinnedPlugin {
  public:
    explicit PinnedPlugin(const std::filesystem::path& file);
    ~PinnedPlugin();
    PinnedPlugin(const PinnedPlugin&) = delete;
    PinnedPlugin& operator=(const PinnedPlugin&) = delete;

  private:
    void* handle_;
};

// Suites acquired from a host by name and version, as the plug-in acquires them. They are
// released when the object goes, and by then the host must have recorded no misuse.
class HeldSuites {
  public:
    explicit HeldSuites(emulator::Host& host) : host_(host) {}
    ~HeldSuites();
    HeldSuites(const HeldSuites&) = delete;
    HeldSuites& operator=(const HeldSuites&) = delete;

    // False, with a failure, when the host lacks one of them.
    template <typename... Suite>
    bool Acquire(const Suite*&... suites) {
        return (AcquireOne(suites) && ...);
    }

  private:
    template <typename Suite>
    bool AcquireOne(const Suite*& suite) {
        suite = static_cast<const Suite*>(Table(Suite::kName, Suite::kVersion));
        return suite != nullptr;
    }
    const void* Table(const char* name, ASInt32 version);

    emulator::Host& host_;
    std::vector<std::pair<const char*, ASInt32>> held_;
};

// A plug-in installed in its own plug-ins folder, with the preferences file that its first
// run wrote.
class HostTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the host (destroying any earlier one) and loads the plug-in.
    emulator::Host& StartHost(emulator::HostOptions options = {});
    // StartHost, then the plug-in's start-up and the application-started notification.
    emulator::Host& StartApplication(emulator::HostOptions options = {});
    // Destroys the host after checking that the plug-in did not misuse it.
    void EndHost();

    emulator::Host& host() { return *host_; }
    const std::filesystem::path& plugin() const { return plugin_; }
    const std::filesystem::path& pluginsFolder() const { return folder_->Path(); }

  private:
    std::unique_ptr<TemporaryFolder> folder_;
    std::filesystem::path plugin_;
    std::unique_ptr<emulator::Host> host_;
};

}  // namespace testing_support
