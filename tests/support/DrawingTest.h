// Dimensions drawn in the test's own process on an emulated document: the plug-in's
// drawing records start from the default settings and are put back as they were.
#pragma once

#include <gtest/gtest.h>

#include "plugin/drawing/Arrowheads.h"
#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/LinearDimension.h"
#include "plugin/tools/ToolStates.h"
#include "tests/support/InProcessPlugin.h"

namespace testing_support {

class DrawingTest : public testing::Test {
  protected:
    explicit DrawingTest(const char* svg) : plugin_(svg, Options()), saved_(settings::Settings()) {
        settings::SetDefaults(settings::Settings(), "DejaVuSans");
        drawing::BuildStyles();
    }
    ~DrawingTest() override {
        drawing::WorkingArt() = {};
        drawing::Linear(0) = {};
        drawing::Linear(1) = {};
        tools::SegmentTool() = {};
        drawing::Styles() = {};
        settings::Settings() = saved_;
    }

    static emulator::HostOptions Options() {
        emulator::HostOptions options;
        options.fonts = std::vector<std::string>{"DejaVuSans"};
        return options;
    }

    settings::DimensionSettings& S() { return settings::Settings(); }
    emulator::Host& Host() { return plugin_.Host(); }
    emulator::Document& Document() { return *Host().CurrentDocument(); }

    InProcessPlugin plugin_;
    settings::DimensionSettings saved_;
};

}  // namespace testing_support
