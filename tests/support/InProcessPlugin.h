// The plug-in's code run in the test's own process against an emulated host: the suites
// are acquired into the plug-in's process-wide pointers, as its start-up does, so that its
// inner functions can be called and measured directly.
#pragma once

#include <memory>
#include <string>

#include "emulator/core/Host.h"
#include "emulator/core/SuiteRegistry.h"
#include "emulator/svg/SvgImport.h"
#include "plugin/drawing/DimensionRecords.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/tools/AreaScanIndex.h"

namespace testing_support {

class InProcessPlugin {
  public:
    explicit InProcessPlugin(const std::string& svg, emulator::HostOptions options = {})
        : host_(std::move(options)) {
        std::string error;
        host_.OpenDocument(emulator::ReadSvg(svg, &error));
        sSPBasic = host_.Suites().Basic();
        Suites::SetAcquisitionCount(0);
        suites_ = std::make_unique<Suites>();
        // A new document: nothing counted or indexed in another one holds.
        drawing::ForgetLinkNumbers();
        tools::ForgetAreaScanIndex();
    }
    ~InProcessPlugin() {
        suites_.reset();
        sSPBasic = nullptr;
    }
    InProcessPlugin(const InProcessPlugin&) = delete;
    InProcessPlugin& operator=(const InProcessPlugin&) = delete;

    emulator::Host& Host() { return host_; }
    bool Ready() const { return suites_ != nullptr && suites_->Error() == 0; }

  private:
    emulator::Host host_;
    std::unique_ptr<Suites> suites_;
};

}  // namespace testing_support
