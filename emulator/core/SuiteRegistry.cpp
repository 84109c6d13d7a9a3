#include "emulator/core/SuiteRegistry.h"

#include <atomic>
#include <cstring>

#include "emulator/core/Host.h"
#include "plugin/host/ResultCodes.h"

namespace emulator {
namespace {

ASErr BasicAcquire(const char* name, ASInt32 version, const void** suite) {
    Host* host = Host::Current();
    if (host == nullptr || name == nullptr || suite == nullptr) {
        return kBadParameterErr;
    }
    return host->Suites().Acquire(name, version, suite);
}

ASErr BasicRelease(const char* name, ASInt32 version) {
    Host* host = Host::Current();
    if (host == nullptr || name == nullptr) {
        return kBadParameterErr;
    }
    return host->Suites().Release(name, version);
}

std::uint64_t NextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

ASBoolean BasicIsEqual(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

}  // namespace

SuiteRegistry::SuiteRegistry(Host& host)
    : host_(host), basic_{BasicAcquire, BasicRelease, BasicIsEqual}, serial_(NextSerial()) {
    OfferPluginSuites(*this);
    OfferInterfaceSuites(*this);
    OfferArtworkSuites(*this);
    OfferDocumentSuites(*this);
    OfferGeometrySuites(*this);
    OfferOtherSuites(*this);
    OfferPaintSuites(*this);
    OfferTextSuites(*this);
}

void SuiteRegistry::Offer(const char* name, ASInt32 version, const void* table) {
    if (entries_.count(name) == 0) {
        order_.emplace_back(name);
    }
    entries_[name] = Entry{version, table, 0};
    serial_ = NextSerial();
}

void SuiteRegistry::Withhold(const std::string& name) {
    entries_.erase(name);
    serial_ = NextSerial();
}

ASErr SuiteRegistry::Acquire(const char* name, ASInt32 version, const void** suite) {
    *suite = nullptr;
    auto it = entries_.find(name);
    if (it == entries_.end() || it->second.version != version) {
        return kSPSuiteNotFoundError;
    }
    ++it->second.held;
    *suite = it->second.table;
    log_.push_back(std::string("+") + name);
    return 0;
}

ASErr SuiteRegistry::Release(const char* name, ASInt32 version) {
    auto it = entries_.find(name);
    if (it == entries_.end() || it->second.version != version) {
        return kSPSuiteNotFoundError;
    }
    if (it->second.held == 0) {
        host_.RecordViolation(std::string(name) + " released without being acquired");
        return kBadParameterErr;
    }
    --it->second.held;
    log_.push_back(std::string("-") + name);
    return 0;
}

int SuiteRegistry::Held(std::string_view name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? 0 : it->second.held;
}

std::map<std::string, int> SuiteRegistry::HeldSuites() const {
    std::map<std::string, int> held;
    for (const auto& [name, entry] : entries_) {
        if (entry.held != 0) {
            held[name] = entry.held;
        }
    }
    return held;
}

const int* SuiteRegistry::HeldCount(const char* name) const {
    const auto it = entries_.find(std::string_view(name));
    return it == entries_.end() ? nullptr : &it->second.held;
}

bool SuiteRegistry::Check(const char* name) {
    if (Held(name) > 0) {
        return true;
    }
    host_.RecordViolation(std::string(name) + " used without being acquired");
    return false;
}

}  // namespace emulator
