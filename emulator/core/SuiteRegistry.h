// The suites the emulated host offers, by name and version, with the count of each
// suite's acquisitions so that a suite used while not acquired is caught.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/host/BasicSuite.h"

namespace emulator {

class Host;

class SuiteRegistry {
  public:
    explicit SuiteRegistry(Host& host);

    // Offers `table` as the suite `name` at `version`.
    void Offer(const char* name, ASInt32 version, const void* table);
    // Stops offering `name` (a host without that suite).
    void Withhold(const std::string& name);

    // The basic suite handed out in every message.
    const SPBasicSuite* Basic() const { return &basic_; }

    ASErr Acquire(const char* name, ASInt32 version, const void** suite);
    ASErr Release(const char* name, ASInt32 version);
    // The number of acquisitions of `name` not yet released.
    int Held(std::string_view name) const;
    // Every suite still held, with its count.
    std::map<std::string, int> HeldSuites() const;
    // Names offered, in the order they were offered.
    const std::vector<std::string>& Offered() const { return order_; }
    // Every acquisition and release in order: "+NAME" or "-NAME".
    const std::vector<std::string>& Log() const { return log_; }

    // For the suites' implementations: true when `name` is held, a violation otherwise.
    bool Check(const char* name);
    // The count of acquisitions of `name` not yet released, kept up to date where it lies
    // (null for a suite not offered); valid while Serial() stays the same.
    const int* HeldCount(const char* name) const;
    std::uint64_t Serial() const { return serial_; }

  private:
    struct Entry {
        ASInt32 version = 0;
        const void* table = nullptr;
        int held = 0;
    };

    Host& host_;
    SPBasicSuite basic_;
    // Looked up by any string type without building a std::string (every suite call
    // checks its suite here).
    std::map<std::string, Entry, std::less<>> entries_;
    // Changes whenever entries come or go, so that the counts handed out by HeldCount are
    // asked for again; unique across registries.
    std::uint64_t serial_;
    std::vector<std::string> order_;
    std::vector<std::string> log_;
};

// Registers the host's suites (each group in its own source file).
void OfferPluginSuites(SuiteRegistry& registry);
void OfferInterfaceSuites(SuiteRegistry& registry);
void OfferAnnotatorDrawerSuite(SuiteRegistry& registry);
void OfferArtworkSuites(SuiteRegistry& registry);
void OfferDocumentSuites(SuiteRegistry& registry);
void OfferGeometrySuites(SuiteRegistry& registry);
void OfferOtherSuites(SuiteRegistry& registry);
void OfferPaintSuites(SuiteRegistry& registry);
void OfferTextSuites(SuiteRegistry& registry);

}  // namespace emulator
