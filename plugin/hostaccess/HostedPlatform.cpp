// The platform services when the plug-in runs inside the emulated host: the host's
// platform suite, acquired for each call, stands in for the operating system.
#include <ctime>

#include "plugin/host/Platform.h"
#include "plugin/host/PlatformSuite.h"
#include "plugin/hostaccess/Suites.h"

namespace platform {
namespace {

// Holds the host's platform suite for one call; without it every answer is neutral.
class PlatformSuiteScope {
  public:
    PlatformSuiteScope() {
        const void* suite = nullptr;
        if (sSPBasic != nullptr &&
            sSPBasic->AcquireSuite(MesraPlatformSuite::kName, MesraPlatformSuite::kVersion,
                                   &suite) == 0) {
            suite_ = static_cast<const MesraPlatformSuite*>(suite);
        }
    }
    ~PlatformSuiteScope() {
        if (suite_ != nullptr) {
            sSPBasic->ReleaseSuite(MesraPlatformSuite::kName, MesraPlatformSuite::kVersion);
        }
    }
    PlatformSuiteScope(const PlatformSuiteScope&) = delete;
    PlatformSuiteScope& operator=(const PlatformSuiteScope&) = delete;

    const MesraPlatformSuite* operator->() const { return suite_; }
    explicit operator bool() const { return suite_ != nullptr; }

  private:
    const MesraPlatformSuite* suite_ = nullptr;
};

class HostedServices final : public Services {
  public:
    bool KeyHeld(Key key) override {
        PlatformSuiteScope suite;
        return suite && suite->GetAsyncKeyState(static_cast<ASInt32>(key)) != 0;
    }

    void PlaySoundFile(const std::string& path) override {
        PlatformSuiteScope suite;
        if (suite) {
            suite->PlaySoundFile(path.c_str());
        }
    }

    std::int64_t CurrentSeconds() override {
        PlatformSuiteScope suite;
        ASInt64 seconds = 0;
        if (suite && suite->GetCurrentSeconds(&seconds) == 0) {
            return seconds;
        }
        return static_cast<std::int64_t>(std::time(nullptr));
    }
};

}  // namespace

Services& NativeServices() {
    static HostedServices services;
    return services;
}

}  // namespace platform
