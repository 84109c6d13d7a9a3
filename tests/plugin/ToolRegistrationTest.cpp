// The five tools as the host's toolbox receives them, and where they are placed.
#include <gtest/gtest.h>

#include "emulator/core/Unicode.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::Host;
using emulator::Tool;
using testing_support::HostTest;

std::vector<const Tool*> PluginTools(const Host& host) {
    std::vector<const Tool*> tools;
    for (const Tool& tool : host.Tools().All()) {
        if (tool.owner != nullptr) {
            tools.push_back(&tool);
        }
    }
    return tools;
}

emulator::HostOptions WithTools(std::vector<std::string> tools) {
    emulator::HostOptions options;
    options.extraTools = std::move(tools);
    return options;
}

const Tool& HostTool(const Host& host, const std::string& name) {
    return *host.Tools().Find(*host.Tools().NumberOf(name));
}

TEST_F(HostTest, ToolsHaveTheirTitlesTipsIconsAndInfoVariables) {
    const struct {
        const char* title;
        const char* tip;
        ASInt32 icon;
        ASInt32 darkIcon;
    } expected[] = {
        {"Outil Segment", "Outil Segment 8.5", 16051, 16052},
        {"Outil Angle", "Outil Angle 8.5", 16053, 16054},
        {"Outil Cercle", "Outil Cercle 8.5", 16055, 16056},
        {"Outil Bézier", "Outil Bézier 8.5", 16057, 16058},
        // Singular "Longueur", and no "Outil" in the tip.
        {"Outil Longueur & Aires", "Longueur & Aires 8.5", 16059, 16060},
    };
    Host& h = StartApplication();
    const auto tools = PluginTools(h);
    ASSERT_EQ(tools.size(), 5u);
    for (std::size_t i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(emulator::Utf8FromWindows1252(tools[i]->name), expected[i].title);
        EXPECT_EQ(emulator::Utf8FromWindows1252(tools[i]->tooltip), expected[i].tip);
        EXPECT_EQ(tools[i]->icon, expected[i].icon);
        EXPECT_EQ(tools[i]->darkIcon, expected[i].darkIcon);
        EXPECT_EQ(tools[i]->options, 1);
        EXPECT_EQ(tools[i]->infoVariables, (std::vector<ASInt32>{15, 16, 23, 19}));
    }
    // The Lengths & Areas tool keeps one art set for what it measures.
    EXPECT_EQ(h.ArtSets().Size(), 1u);
}

TEST_F(HostTest, ToolsFormANewGroupWithoutSiblingTools) {
    Host& h = StartApplication();
    const auto tools = PluginTools(h);
    ASSERT_EQ(tools.size(), 5u);
    EXPECT_TRUE(tools[0]->newGroup);
    EXPECT_TRUE(tools[0]->newToolset);
    for (const Tool* tool : tools) {
        EXPECT_EQ(tool->group, tools[0]->group);
        EXPECT_EQ(tool->toolset, tools[0]->toolset);
    }
}

TEST_F(HostTest, SegmentToolJoinsTheFirstSiblingToolTheHostKnows) {
    const struct {
        std::vector<std::string> siblings;
        const char* joined;
    } cases[] = {
        {{"Outil Quilbe"}, "Outil Quilbe"},
        {{"Outil Zandre", "Outil Quilbe"}, "Outil Quilbe"},
        {{"Outil Zandre", "Outil Morvane", "Outil Quilbe"}, "Outil Morvane"},
        {{"Outil Zandre"}, "Outil Zandre"},
    };
    for (const auto& c : cases) {
        Host& h = StartApplication(WithTools(c.siblings));
        const auto tools = PluginTools(h);
        ASSERT_EQ(tools.size(), 5u);
        const Tool& sibling = HostTool(h, c.joined);
        EXPECT_EQ(tools[0]->group, sibling.group) << c.joined;
        // The group is shared, the toolset is the plug-in's own.
        EXPECT_NE(tools[0]->toolset, sibling.toolset) << c.joined;
        EXPECT_EQ(tools[4]->toolset, tools[0]->toolset) << c.joined;
        EndHost();
    }
}

// Once one of the tools has been selected, a later start-up in the same process puts the
// tools with the Eyedropper.
TEST_F(HostTest, AfterAToolWasSelectedTheNextStartupJoinsTheEyedropper) {
    testing_support::PinnedPlugin pinned(plugin());
    {
        Host& h = StartApplication(WithTools({"Outil Quilbe"}));
        ASSERT_EQ(h.SelectToolByName("Outil Angle"), 0);
        EndHost();
    }
    Host& h = StartApplication(WithTools({"Outil Quilbe"}));
    const Tool& eyedropper = HostTool(h, "Eyedropper Tool");
    for (const Tool* tool : PluginTools(h)) {
        EXPECT_EQ(tool->group, eyedropper.group);
        EXPECT_EQ(tool->toolset, eyedropper.toolset);
    }
}

// A plug-ins folder deeper than any fixed buffer: the paths are taken whole.
TEST(ToolRegistrationPaths, LongPluginsFolderStartsNormally) {
    testing_support::TemporaryFolder root;
    std::filesystem::path deep = root.Path();
    for (int i = 0; i < 8; ++i) {
        deep /= std::string(60, static_cast<char>('a' + i));
    }
    const auto plugin = testing_support::InstallIn(deep);
    ASSERT_GT(plugin.string().size(), 500u);
    Host h;
    std::string error;
    ASSERT_TRUE(h.LoadPlugin(plugin, &error)) << error;
    EXPECT_EQ(h.Startup(), 0);
    EXPECT_EQ(PluginTools(h).size(), 5u);
    EXPECT_EQ(h.Quit(), 0);
    EXPECT_TRUE(h.Violations().empty());
}

}  // namespace
