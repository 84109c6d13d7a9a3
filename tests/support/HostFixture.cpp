#include "tests/support/HostFixture.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>

#include "app/PluginsFolder.h"
#include "emulator/core/SuiteRegistry.h"
#include "plugin/host/PluginSuites.h"

namespace testing_support {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("mesra-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FixedFonts() {
    return {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSansMono", "DejaVuSerif"};
}

fs::path BuiltPlugin() {
    return MESRA_PLUGIN_PATH;
}

fs::path InstallIn(const fs::path& folder) {
    std::string error;
    auto installed = app::InstallPlugin(folder, BuiltPlugin(), &error);
    EXPECT_TRUE(installed.has_value()) << error;
    return installed.value_or(fs::path());
}

PinnedPlugin::PinnedPlugin(const fs::path& file)
    : handle_(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    EXPECT_NE(handle_, nullptr) << dlerror();
}

PinnedPlugin::~PinnedPlugin() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

HeldSuites::~HeldSuites() {
    for (const auto& [name, version] : held_) {
        EXPECT_EQ(host_.Suites().Release(name, version), 0) << name;
    }
    EXPECT_EQ(host_.Violations(), std::vector<std::string>());
}

const void* HeldSuites::Table(const char* name, ASInt32 version) {
    const void* table = nullptr;
    EXPECT_EQ(host_.Suites().Acquire(name, version, &table), 0) << name;
    if (table != nullptr) {
        held_.emplace_back(name, version);
    }
    return table;
}

void HostTest::SetUp() {
    folder_ = std::make_unique<TemporaryFolder>();
    plugin_ = InstallIn(folder_->Path());
    // A first run leaves the preferences file, as after installing the plug-in, so that
    // tests start from a quiet start-up.
    StartApplication();
    EndHost();
}

void HostTest::TearDown() {
    EndHost();
    folder_.reset();
}

emulator::Host& HostTest::StartHost(emulator::HostOptions options) {
    EndHost();
    if (!options.fonts) {
        options.fonts = FixedFonts();
    }
    host_ = std::make_unique<emulator::Host>(std::move(options));
    std::string error;
    EXPECT_TRUE(host_->LoadPlugin(plugin_, &error)) << error;
    return *host_;
}

emulator::Host& HostTest::StartApplication(emulator::HostOptions options) {
    emulator::Host& h = StartHost(std::move(options));
    EXPECT_EQ(h.Startup(), 0);
    EXPECT_EQ(h.Notify(kAIApplicationStartedNotifier), 0);
    return h;
}

void HostTest::EndHost() {
    if (host_ == nullptr) {
        return;
    }
    if (host_->PluginStarted()) {
        EXPECT_EQ(host_->Quit(), 0);
    }
    for (const std::string& violation : host_->Violations()) {
        ADD_FAILURE() << "the plug-in misused the host: " << violation;
    }
    host_.reset();
}

}  // namespace testing_support
