// A plug-in's whole life in the host, through its entry point only.
#include <gtest/gtest.h>

#include "emulator/core/SuiteRegistry.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/PluginSuites.h"
#include "tests/support/HostFixture.h"

namespace {

using emulator::Host;
using testing_support::HostTest;

const std::string kAboutAlert =
    "Vorn-Cotaline (CS6) 8.5 (avril 2020).\\r\\rVorn-Cotaline, des outils pour mesurer "
    "facilement.";

AIMenuItemHandle AboutItem(const Host& host) {
    return host.FindMenuItem(emulator::Windows1252FromUtf8("Vorn-Cotaline…"));
}

// Every name of the host's import table that the plug-in holds once started.
int SuitesHeld(const Host& host) {
    int held = 0;
    for (const auto& [name, count] : host.Suites().HeldSuites()) {
        held += count;
    }
    return held;
}

TEST_F(HostTest, WholeLifeFromStartupToShutdown) {
    Host& h = StartHost();
    ASSERT_EQ(h.Startup(), 0);
    EXPECT_TRUE(h.PluginStarted());
    // 7 base suites, 35 of the plug-in's own and 87 of the text engine, each once.
    EXPECT_EQ(SuitesHeld(h), 7 + 35 + 87);
    EXPECT_EQ(h.AccessLocks(), 1);
    EXPECT_EQ(h.PluginName(), "Mesra");
    EXPECT_EQ(h.PluginOptions() & kPluginWantsResultsAutoSelectedOption,
              kPluginWantsResultsAutoSelectedOption);

    ASSERT_EQ(h.Notify(kAIApplicationStartedNotifier), 0);
    const emulator::Tool* selected = h.Tools().Find(h.Tools().Selected());
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->name, "Select Tool");
    EXPECT_EQ(h.CursorManagers().Size(), 1u);

    EXPECT_EQ(h.ChooseMenuItem(AboutItem(h)), 0);
    EXPECT_EQ(h.Alerts(), std::vector<std::string>{kAboutAlert});

    // A purge request: nothing was purged, so the answer is 0.
    EXPECT_EQ(h.Purge(), 0);

    ASSERT_EQ(h.Unload(), 0);
    EXPECT_EQ(SuitesHeld(h), 0);
    // While unloaded, a message reaches no handler.
    EXPECT_EQ(h.ChooseMenuItem(AboutItem(h)), 0);
    EXPECT_EQ(h.Alerts().size(), 1u);

    ASSERT_EQ(h.Reload(), 0);
    EXPECT_EQ(SuitesHeld(h), 7 + 35 + 87);
    EXPECT_EQ(h.ChooseMenuItem(AboutItem(h)), 0);
    EXPECT_EQ(h.Alerts().size(), 2u);

    ASSERT_EQ(h.Quit(), 0);
    EXPECT_FALSE(h.PluginStarted());
    EXPECT_EQ(SuitesHeld(h), 0);
    EXPECT_EQ(h.CursorManagers().Size(), 0u);
    // Without an object, only a start-up does anything.
    EXPECT_EQ(h.ChooseMenuItem(AboutItem(h)), 0);
    EXPECT_EQ(h.Alerts().size(), 2u);
}

// A second life in the same process must not see what the first one left: a stale
// acquisition count, for one, would leave every suite pointer null.
TEST_F(HostTest, SecondStartupInTheSameProcessBehavesLikeTheFirst) {
    testing_support::PinnedPlugin pinned(plugin());
    std::vector<std::vector<std::string>> logs;
    std::vector<std::vector<std::string>> tools;
    for (int life = 0; life < 2; ++life) {
        Host& h = StartApplication();
        EXPECT_EQ(h.ChooseMenuItem(AboutItem(h)), 0);
        EXPECT_EQ(h.Quit(), 0);
        logs.push_back(h.Suites().Log());
        std::vector<std::string> names;
        for (const emulator::Tool& tool : h.Tools().All()) {
            names.push_back(tool.name + " " + std::to_string(tool.group) + "/" +
                            std::to_string(tool.toolset));
        }
        tools.push_back(names);
        EXPECT_EQ(h.Alerts(), std::vector<std::string>{kAboutAlert});
        EndHost();
    }
    EXPECT_EQ(logs[0], logs[1]);
    EXPECT_EQ(tools[0], tools[1]);
}

TEST_F(HostTest, MessagesTheFrameDoesNotKnowAnswerZero) {
    Host& h = StartApplication();
    const struct {
        const char* caller;
        const char* selector;
    } cases[] = {
        {"Nobody", "AI Go"},
        {"AI Menu", "Nothing"},
        {"ai menu", "ai go"},       // comparison is case-sensitive
        {"SP Interface", "About"},  // the host's own About: nothing to show
        {"Workspace Manager", "Write Workspace"},
        {"AI Annotation", "AI Nothing"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(h.Send(c.caller, c.selector), 0) << c.caller << "/" << c.selector;
    }
    EXPECT_TRUE(h.Alerts().empty());
}

TEST_F(HostTest, ShutdownWithoutAnObjectDoesNothing) {
    Host& h = StartHost();
    EXPECT_EQ(h.Shutdown(), 0);
    EXPECT_EQ(SuitesHeld(h), 0);
    EXPECT_TRUE(h.Suites().Log().empty());
}

// A host without one of the suites: start-up fails with the host's error for it, gives back
// every suite acquired before it and leaves no object.
TEST_F(HostTest, MissingSuiteMakesStartupFailCleanly) {
    for (const char* missing :
         {"AI User Suite", "AI Hit Test Suite", "ATE ArrayComposerEngine Suite"}) {
        emulator::HostOptions options;
        options.withheldSuites = {missing};
        Host& h = StartHost(options);
        EXPECT_EQ(h.Startup(), kSPSuiteNotFoundError) << missing;
        EXPECT_FALSE(h.PluginStarted()) << missing;
        EXPECT_EQ(SuitesHeld(h), 0) << missing;
        EXPECT_FALSE(h.Suites().Log().empty()) << missing;
        EXPECT_TRUE(h.Alerts().empty()) << missing;
        // Later messages are ignored.
        EXPECT_EQ(h.Notify(kAIApplicationStartedNotifier), 0);
        EXPECT_EQ(h.Send("AI Tool", "AI Select"), 0);
        EXPECT_EQ(SuitesHeld(h), 0) << missing;
    }
}

TEST_F(HostTest, ShutdownNotificationBeforeTheApplicationStartedDoesNothing) {
    Host& h = StartHost();
    ASSERT_EQ(h.Startup(), 0);
    EXPECT_EQ(h.Notify(kAIApplicationShutdownNotifier), 0);
    EXPECT_EQ(h.CursorManagers().Size(), 0u);
}

TEST_F(HostTest, SelectionChangeRedrawsTheWholeViewOrFailsWithoutDocument) {
    Host& h = StartApplication();
    // No document: the view's bounds cannot be read and that error is the result.
    EXPECT_EQ(h.Notify(kAIArtSelectionChangedNotifier), kNoDocumentErr);
    EXPECT_EQ(h.AnnotationDraws(), 0);

    h.NewDocument(595, 842);
    EXPECT_EQ(h.Notify(kAIArtSelectionChangedNotifier), 0);
    // The annotator is inactive until one of the tools is selected.
    EXPECT_EQ(h.AnnotationDraws(), 0);
    // The host redraws after each action: the tool chosen, then the notification (whose
    // invalidation of the whole view is drawn in the same redraw).
    ASSERT_EQ(h.SelectToolByName("Outil Segment"), 0);
    EXPECT_EQ(h.AnnotationDraws(), 1);
    EXPECT_EQ(h.Notify(kAIArtSelectionChangedNotifier), 0);
    EXPECT_EQ(h.AnnotationDraws(), 2);
}

TEST_F(HostTest, CustomColourNotificationsAreAnswered) {
    Host& h = StartApplication();
    h.NewDocument(100, 100);
    EXPECT_EQ(h.Notify(kAIArtCustomColorChangedNotifier), 0);
    EXPECT_EQ(h.Notify(kAIDocumentOpenedNotifier), 0);
    EXPECT_TRUE(h.Alerts().empty());
}

}  // namespace
