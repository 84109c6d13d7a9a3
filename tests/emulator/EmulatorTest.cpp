// The emulated host as a validator: what it hands out, and the misuses it catches.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "emulator/core/FontFaces.h"
#include "emulator/core/SuiteRegistry.h"
#include "emulator/core/Toolbox.h"
#include "plugin/host/InterfaceSuites.h"
#include "plugin/host/Platform.h"
#include "plugin/host/PluginSuites.h"
#include "plugin/host/TextSuites.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::Host;
using testing_support::HostTest;

TEST(EmulatedHost, HandsOutSuitesByNameAndVersionOnly) {
    Host host;
    emulator::SuiteRegistry& suites = host.Suites();
    const void* table = nullptr;
    EXPECT_EQ(suites.Acquire("AI Tool Suite", 12, &table), 0);
    EXPECT_NE(table, nullptr);
    EXPECT_EQ(suites.Held("AI Tool Suite"), 1);
    EXPECT_EQ(suites.Acquire("AI Tool Suite", 11, &table), kSPSuiteNotFoundError);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(suites.Acquire("AI Tool suite", 12, &table), kSPSuiteNotFoundError);
    EXPECT_EQ(suites.Acquire("ATE TextFrame Suite", 101, &table), 0);
    EXPECT_EQ(suites.Acquire("ATE TextFrame Suite", 1, &table), kSPSuiteNotFoundError);
    EXPECT_EQ(suites.Release("AI Tool Suite", 12), 0);
    EXPECT_EQ(suites.Release("ATE TextFrame Suite", 101), 0);
    EXPECT_TRUE(suites.HeldSuites().empty());
    EXPECT_TRUE(host.Violations().empty());
}

// The suites offered have every operation present (that every suite the plug-in imports is
// offered, its start-up shows).
TEST(EmulatedHost, OffersEverySuiteWithEveryOperation) {
    Host host;
    auto operations = [&](const char* name, ASInt32 version, std::size_t size) {
        const void* table = nullptr;
        EXPECT_EQ(host.Suites().Acquire(name, version, &table), 0) << name;
        const auto* entries = static_cast<void (*const*)()>(table);
        for (std::size_t i = 0; i < size / sizeof(void (*)()); ++i) {
            EXPECT_NE(entries[i], nullptr) << name << " operation " << i;
        }
        host.Suites().Release(name, version);
    };
    operations(AIUserSuite::kName, AIUserSuite::kVersion, sizeof(AIUserSuite));
    operations(AIToolSuite::kName, AIToolSuite::kVersion, sizeof(AIToolSuite));
    operations(AIMenuSuite::kName, AIMenuSuite::kVersion, sizeof(AIMenuSuite));
    operations(AIAnnotatorSuite::kName, AIAnnotatorSuite::kVersion, sizeof(AIAnnotatorSuite));
    operations(SPPluginsSuite::kName, SPPluginsSuite::kVersion, sizeof(SPPluginsSuite));
    operations(AIContextSuite::kName, AIContextSuite::kVersion, sizeof(AIContextSuite));
}

TEST(EmulatedHost, CatchesSuitesUsedWithoutBeingHeld) {
    Host host;
    const void* table = nullptr;
    ASSERT_EQ(host.Suites().Acquire(AIUserSuite::kName, AIUserSuite::kVersion, &table), 0);
    const auto* user = static_cast<const AIUserSuite*>(table);
    host.Suites().Release(AIUserSuite::kName, AIUserSuite::kVersion);
    user->MessageAlert(u"after release");
    ASSERT_EQ(host.Violations().size(), 1u);
    EXPECT_NE(host.Violations()[0].find("AI User Suite"), std::string::npos);
    // Released once too often.
    EXPECT_NE(host.Suites().Release(AIUserSuite::kName, AIUserSuite::kVersion), 0);
    EXPECT_EQ(host.Violations().size(), 2u);
}

TEST_F(HostTest, CatchesHandlesUsedAfterDisposal) {
    Host& h = StartApplication();
    const void* table = nullptr;
    ASSERT_EQ(h.Suites().Acquire(AIUserSuite::kName, AIUserSuite::kVersion, &table), 0);
    const auto* user = static_cast<const AIUserSuite*>(table);
    AICursorManagerHandle manager = nullptr;
    ASSERT_EQ(user->CreateCursorResourceMgr(h.PluginRef(), &manager), 0);
    EXPECT_EQ(user->SetCursor(20001, manager), 0);
    EXPECT_EQ(h.CurrentCursor(), 20001);
    EXPECT_EQ(user->DisposeCursorResourceMgr(manager), 0);
    EXPECT_NE(user->DisposeCursorResourceMgr(manager), 0);
    EXPECT_NE(user->SetCursor(20002, manager), 0);
    h.Suites().Release(AIUserSuite::kName, AIUserSuite::kVersion);
    // These misuses were the test's own.
    EXPECT_EQ(h.TakeViolations().size(), 2u);
}

// The host checks that every image id the plug-in uses resolves to a PNG of its size.
TEST_F(HostTest, CatchesImagesThatDoNotExist) {
    Host& h = StartApplication();
    const void* table = nullptr;
    ASSERT_EQ(h.Suites().Acquire(AIUserSuite::kName, AIUserSuite::kVersion, &table), 0);
    const auto* user = static_cast<const AIUserSuite*>(table);
    AICursorManagerHandle manager = nullptr;
    ASSERT_EQ(user->CreateCursorResourceMgr(h.PluginRef(), &manager), 0);
    for (ASInt32 id = 20000; id <= 20010; ++id) {
        EXPECT_EQ(user->SetCursor(id, manager), 0) << id;
    }
    EXPECT_TRUE(h.Violations().empty());
    EXPECT_NE(user->SetCursor(16051, manager), 0);  // an icon, not a cursor
    EXPECT_NE(user->SetCursor(20011, manager), 0);
    user->DisposeCursorResourceMgr(manager);
    h.Suites().Release(AIUserSuite::kName, AIUserSuite::kVersion);
    EXPECT_EQ(h.TakeViolations().size(), 2u);
}

// Would catch a tool added under a name already taken or beside a tool that does not exist
// (where the plug-in's own tools go is checked through their registration).
TEST(EmulatedToolbox, PlacesToolsInGroupsAndToolsets) {
    emulator::Toolbox toolbox({"Outil Quilbe"});
    emulator::Tool tool;
    tool.name = "Outil Quilbe";
    EXPECT_FALSE(toolbox.Add(tool, kNoTool, kNoTool).has_value()) << "names are unique";
    tool.name = "C";
    EXPECT_FALSE(toolbox.Add(tool, 999, kNoTool).has_value()) << "placement tools must exist";
}

// The first font is the measure text's default: sorting by name alone put a maths face
// ("DejaVuMathTeXGyre") before the plain sans-serif one.
TEST(EmulatedHost, ListsThePlainSansSerifFontFirst) {
    const std::vector<std::string> fonts = emulator::InstalledFonts();
    ASSERT_FALSE(fonts.empty());
    EXPECT_NE(fonts.front().find("Sans"), std::string::npos) << fonts.front();
    EXPECT_EQ(fonts.front().find("Math"), std::string::npos) << fonts.front();
    EXPECT_TRUE(std::is_sorted(fonts.begin() + 1, fonts.end()));
}

// The keys a session holds are those of a Windows keyboard, as the Windows build presses
// them: Shift is the left Shift key, and either Shift key holds Shift. Would catch a host
// whose left Shift does not hold Shift (a left-Shift click that selects no next tool) or
// whose Shift alone is neither key (a drag whose orientation Windows would change).
TEST(EmulatedHost, HoldsTheKeysOfAWindowsKeyboard) {
    using platform::Key;
    struct Case {
        std::set<Key> named;
        std::set<Key> held;
    };
    const Case cases[] = {
        {{Key::Shift}, {Key::Shift, Key::LeftShift}},
        {{Key::LeftShift}, {Key::Shift, Key::LeftShift}},
        {{Key::RightShift}, {Key::Shift, Key::RightShift}},
        {{Key::Shift, Key::RightShift}, {Key::Shift, Key::LeftShift, Key::RightShift}},
        {{Key::Alt, Key::Ctrl, Key::Space, Key::Esc}, {Key::Alt, Key::Ctrl, Key::Space, Key::Esc}},
        {{}, {}},
    };
    Host host;
    for (const Case& c : cases) {
        std::set<ASInt32> named;
        for (const Key key : c.named) {
            named.insert(static_cast<ASInt32>(key));
        }
        host.SetKeys(named);
        for (const Key key : {Key::Shift, Key::Ctrl, Key::Alt, Key::Esc, Key::Space, Key::LeftShift,
                              Key::RightShift}) {
            EXPECT_EQ(host.KeyHeld(static_cast<ASInt32>(key)), c.held.count(key) != 0)
                << "named " << named.size() << " keys, key " << static_cast<int>(key);
        }
    }
}

}  // namespace
