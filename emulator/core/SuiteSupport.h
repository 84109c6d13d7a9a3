// Helpers shared by the implementations of the emulated host's suites.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "emulator/core/ArtTree.h"
#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "plugin/host/ResultCodes.h"

namespace emulator {

// The current host, after checking that the plug-in holds `Suite` (a use without it is
// recorded as a violation, and the call still answers). Null when there is no host.
template <typename Suite>
Host* Enter() {
    Host* host = Host::Current();
    if (host == nullptr) {
        return nullptr;
    }
    // Every call of the suite checks it: its count is found once per registry.
    static thread_local std::uint64_t serial = 0;
    static thread_local const int* held = nullptr;
    SuiteRegistry& registry = host->Suites();
    if (serial != registry.Serial()) {
        held = registry.HeldCount(Suite::kName);
        serial = registry.Serial();
    }
    if (held == nullptr || *held <= 0) {
        registry.Check(Suite::kName);
    }
    return host;
}

// The current host and the art of `handle`, after the check of Enter; the art is null (and a
// violation recorded) when the handle is dead, the host null when there is none.
template <typename Suite>
std::pair<Host*, Art*> EnterArt(AIArtHandle handle) {
    Host* host = Enter<Suite>();
    return {host, host != nullptr ? host->FindArt(handle) : nullptr};
}

// The same for a layer handle.
template <typename Suite>
std::pair<Host*, Layer*> EnterLayer(AILayerHandle handle) {
    Host* host = Enter<Suite>();
    return {host, host != nullptr ? host->FindLayer(handle) : nullptr};
}

// True when `plugin` is the plug-in the host loaded; a violation otherwise.
inline bool IsOurPlugin(Host* host, SPPluginRef plugin) {
    if (host->PluginLoaded() && plugin == host->PluginRef()) {
        return true;
    }
    host->RecordViolation("unknown plug-in reference");
    return false;
}

// Copies `text` into a caller's buffer: NUL-terminated when capacity > 0, the full length
// in *length; kBufferTooSmallErr when the buffer cannot hold it all.
inline ASErr CopyOut(const std::string& text, char* buffer, ASInt32 capacity, ASInt32* length) {
    if (length == nullptr || capacity < 0 || (capacity > 0 && buffer == nullptr)) {
        return kBadParameterErr;
    }
    *length = static_cast<ASInt32>(text.size());
    if (capacity == 0) {
        return text.empty() ? 0 : kBufferTooSmallErr;
    }
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(capacity) - 1);
    text.copy(buffer, n);
    buffer[n] = '\0';
    return n < text.size() ? kBufferTooSmallErr : 0;
}

// Copies UTF-16 `text` into a caller's buffer with the rules of CopyOut (lengths in code
// units).
inline ASErr CopyOutUnicode(const std::u16string& text, ASUnicode* buffer, ASInt32 capacity,
                            ASInt32* length) {
    if (length == nullptr || capacity < 0 || (capacity > 0 && buffer == nullptr)) {
        return kBadParameterErr;
    }
    *length = static_cast<ASInt32>(text.size());
    if (capacity == 0) {
        return text.empty() ? 0 : kBufferTooSmallErr;
    }
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(capacity) - 1);
    text.copy(buffer, n);
    buffer[n] = u'\0';
    return n < text.size() ? kBufferTooSmallErr : 0;
}

// Places new `art` relative to the art of `prep` by `paintOrder` (with a null `prep`, in the
// current layer) and gives its handle in *placed: what creating or duplicating art does.
inline ASErr PlaceArt(Host* host, std::unique_ptr<Art> art, ASInt32 paintOrder, AIArtHandle prep,
                      AIArtHandle* placed) {
    Document* document = host->CurrentDocument();
    if (document == nullptr) {
        return kNoDocumentErr;
    }
    Art* reference = nullptr;
    if (prep != nullptr && (reference = host->FindArt(prep)) == nullptr) {
        return kBadParameterErr;
    }
    if (reference == nullptr && document->currentLayer == nullptr) {
        return kNoDocumentErr;
    }
    Layer& layer = reference != nullptr ? *reference->layer : *document->currentLayer;
    Art* inserted = InsertArt(layer, reference, paintOrder, std::move(art));
    if (inserted == nullptr) {
        return kBadParameterErr;
    }
    *placed = host->HandleOf(inserted);
    host->ArtPlaced(*inserted);
    return 0;
}

// Offers a suite table under its declared name and version.
template <typename Suite>
void Offer(SuiteRegistry& registry, const Suite& table) {
    registry.Offer(Suite::kName, Suite::kVersion, &table);
}

// The text of a NUL-terminated UTF-16 string, or "" for null.
inline std::u16string UnicodeText(const ASUnicode* text) {
    return text != nullptr ? std::u16string(text) : std::u16string();
}

}  // namespace emulator
