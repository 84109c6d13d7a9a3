#include "plugin/host/Platform.h"

namespace platform {

// The build's own services: WindowsPlatform.cpp or HostedPlatform.cpp.
Services& NativeServices();

namespace {
Services* sOverride = nullptr;
}  // namespace

Services& Current() {
    return sOverride != nullptr ? *sOverride : NativeServices();
}

void Override(Services* services) {
    sOverride = services;
}

}  // namespace platform
