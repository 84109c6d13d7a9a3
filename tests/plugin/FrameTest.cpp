// The frame's own rules, tested on the plug-in's code directly: routing, error reports,
// the files beside the plug-in, the smart-guide colour, and a malformed entry call.
#include <gtest/gtest.h>

#include <string>

#include "plugin/frame/Cursors.h"
#include "plugin/frame/ErrorReport.h"
#include "plugin/frame/Plugin.h"
#include "plugin/host/Platform.h"
#include "plugin/hostaccess/PluginFiles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/ClickSounds.h"
#include "plugin/ui/SmartGuideColor.h"

extern "C" ASErr PluginMain(const char* caller, const char* selector, void* message);

namespace {

// A clock the test moves by hand.
class FakePlatform : public platform::Services {
  public:
    bool KeyHeld(platform::Key) override { return false; }
    void PlaySoundFile(const std::string& path) override { played.push_back(path); }
    std::int64_t CurrentSeconds() override { return now; }

    std::int64_t now = 1000;
    std::vector<std::string> played;
};

class PlatformOverride {
  public:
    explicit PlatformOverride(platform::Services* services) { platform::Override(services); }
    ~PlatformOverride() { platform::Override(nullptr); }
};

// Records which of its operations the dispatch reached.
class RecordingPlugin : public Plugin {
  public:
    RecordingPlugin() : Plugin(nullptr) {}
    std::string called;

#define MESRA_RECORD(Method, Message) \
    ASErr Method(Message*) override { \
        called = #Method;             \
        return 0;                     \
    }
    MESRA_RECORD(GoAction, SPMessageData)
    MESRA_RECORD(GoMenuItem, AIMenuMessage)
    MESRA_RECORD(UpdateMenuItem, AIMenuMessage)
    MESRA_RECORD(GetFilterParameters, SPMessageData)
    MESRA_RECORD(GoFilter, SPMessageData)
    MESRA_RECORD(PluginGroupUpdate, SPMessageData)
    MESRA_RECORD(GetFileFormatParameters, SPMessageData)
    MESRA_RECORD(GoFileFormat, SPMessageData)
    MESRA_RECORD(FileFormatAction, SPMessageData)
    MESRA_RECORD(EditTool, AIToolMessage)
    MESRA_RECORD(DeselectTool, AIToolMessage)
    MESRA_RECORD(Timer, SPMessageData)
    MESRA_RECORD(GoClipboard, SPMessageData)
#undef MESRA_RECORD

    ASErr Notify(AINotifierMessage*) override {
        called += "Notify";
        return 0;
    }
    ASErr PostStartupPlugin() override {
        called += "PostStartupPlugin ";
        return 0;
    }
    bool Purge() override {
        called = "Purge";
        return false;
    }
};

// Would catch a selector that several callers send (AI Go, AI Update, Do Action...) routed
// to another caller's operation. The cursor, mouse and selection events of the tools show
// in every session; routes to operations the plug-in leaves empty are left out.
TEST(Dispatch, EveryCallerSelectorPairReachesItsOperation) {
    const struct {
        const char* caller;
        const char* selector;
        const char* operation;
    } routes[] = {
        {"SP Cache", "Plug-in Purge", "Purge"},
        {"Action Manager", "Do Action", "GoAction"},
        {"AI Menu", "AI Go", "GoMenuItem"},
        {"AI Menu", "AI Update", "UpdateMenuItem"},
        {"AI Filter", "AI Get Parameters", "GetFilterParameters"},
        {"AI Filter", "AI Go", "GoFilter"},
        {"AI Plugin Group", "AI Update", "PluginGroupUpdate"},
        {"AI File Format", "AI Get Parameters", "GetFileFormatParameters"},
        {"AI File Format", "AI Go", "GoFileFormat"},
        {"AI File Format", "Do Action", "FileFormatAction"},
        {"AI Tool", "AI Edit Options", "EditTool"},
        {"AI Tool", "AI Deselect", "DeselectTool"},
        {"AI Timer", "AI Go", "Timer"},
        {"AI Clipboard", "AI Go", "GoClipboard"},
    };
    RecordingPlugin plugin;
    SPMessageData message{};
    for (const auto& route : routes) {
        plugin.called.clear();
        EXPECT_EQ(plugin.Message(route.caller, route.selector, &message), 0)
            << route.caller << "/" << route.selector;
        EXPECT_EQ(plugin.called, route.operation) << route.caller << "/" << route.selector;
    }
    EXPECT_EQ(plugin.Message("AI Tool", "AI Mouse down", &message), kUnhandledMsgErr);
}

// The notifier branch: the application context is pushed and popped around it, the
// application-started notification runs the post-start-up first.
TEST(Dispatch, NotificationsRunInsideTheApplicationContext) {
    static int depth = 0;
    static int pushes = 0;
    static const AIContextSuite context{[](SPPluginRef, AIAppContextHandle* handle) {
                                            ++depth;
                                            ++pushes;
                                            *handle = reinterpret_cast<AIAppContextHandle>(0x10);
                                            return ASErr{0};
                                        },
                                        [](AIAppContextHandle) {
                                            --depth;
                                            return ASErr{0};
                                        }};
    const AIContextSuite* saved = sAIContext;
    sAIContext = &context;
    RecordingPlugin plugin;
    AINotifierMessage message{};
    message.type = kAIApplicationStartedNotifier;
    EXPECT_EQ(plugin.Message("AI Notifier", "AI Notify", &message), 0);
    EXPECT_EQ(plugin.called, "PostStartupPlugin Notify");
    message.type = kAIArtSelectionChangedNotifier;
    plugin.called.clear();
    EXPECT_EQ(plugin.Message("AI Notifier", "AI Other", &message), 0);
    EXPECT_EQ(plugin.called, "");
    EXPECT_EQ(pushes, 2);
    EXPECT_EQ(depth, 0);
    sAIContext = saved;
}

TEST(ErrorReport, SameErrorIsReportedOnceWithinFiveSeconds) {
    FakePlatform clock;
    PlatformOverride use(&clock);
    Plugin plugin(nullptr);
    const ASErr error = FourCharCode("XYZ!");
    const struct {
        std::int64_t now;
        ASErr error;
        std::int64_t reportedAt;  // LastErrorTime afterwards
    } steps[] = {
        {1000, error, 1000},
        {1003, error, 1000},  // suppressed
        {1004, error, 1000},  // still inside the 5 seconds
        {1005, error, 1005},  // reported again
        {1006, FourCharCode("OTHR"), 1006},
        {1007, error, 1007},                 // the last one reported was another error
        {1008, FourCharCode("S!Fd"), 1007},  // quiet: not even recorded
        {1009, kQuietNumberErr, 1007},
    };
    for (const auto& step : steps) {
        clock.now = step.now;
        plugin.ReportError(step.error, "AI Tool", "AI Mouse Down", nullptr);
        EXPECT_EQ(plugin.LastErrorTime(), step.reportedAt) << "at " << step.now;
    }
}

TEST(PluginFilesTest, PathsBesideThePluginFile) {
    const struct {
        const char* plugin;
        const char* folder;
        const char* preferences;
    } cases[] = {
        {"/p/Vorn-Cotaline (CS6).aip", "/p", "/p/Vorn-Cotaline-Prefs.txt"},
        {"C:\\Plug-ins\\Vorn-Cotaline (CS6).aip", "C:\\Plug-ins",
         "C:\\Plug-ins\\Vorn-Cotaline-Prefs.txt"},
        // Exactly 10 characters: all of them are replaced.
        {"0123456789", "", "-Prefs.txt"},
        // Fewer than 10: the file gets its usual name in the plug-in's folder.
        {"/a/b.aip", "/a", "/a/Vorn-Cotaline-Prefs.txt"},
        {"", "", "Vorn-Cotaline-Prefs.txt"},
    };
    for (const auto& c : cases) {
        const char separator = c.folder[0] == 'C' ? '\\' : '/';
        EXPECT_EQ(PreferencesPath(c.plugin, c.folder, separator), c.preferences) << c.plugin;
    }
    const std::string folder(400, 'x');
    const PluginFiles files =
        MakePluginFiles("/" + folder + "/Vorn-Cotaline (CS6).aip", "/" + folder, '/');
    EXPECT_EQ(files.preferences, "/" + folder + "/Vorn-Cotaline-Prefs.txt");
    EXPECT_EQ(files.bezierSound, "/" + folder + "/BipBezier.wav");
}

// Each sound of a click is heard in the sessions; here, what they cannot show: an unknown
// sound id and the sound setting turned off.
TEST(PluginFilesTest, ClickSoundsPlayTheirFiles) {
    FakePlatform platform;
    PlatformOverride use(&platform);
    CurrentPluginFiles() = MakePluginFiles("/p/Vorn-Cotaline (CS6).aip", "/p", '/');
    const std::int32_t soundOn = settings::Settings().soundOn;
    settings::Settings().soundOn = 1;
    tools::PlayClickSound(static_cast<ClickSound>(1234));  // any other id: the Bézier sound
    EXPECT_EQ(platform.played, std::vector<std::string>{"/p/BipBezier.wav"});
    settings::Settings().soundOn = 0;
    tools::PlayClickSound(ClickSound::Point);
    EXPECT_EQ(platform.played.size(), 1u);
    settings::Settings().soundOn = soundOn;
    CurrentPluginFiles() = {};
}

TEST(SmartGuideColour, ComponentsAreRoundedToSixteenBits) {
    const struct {
        AIReal value;
        ASUInt16 component;
    } cases[] = {
        {1.0f, 65535}, {0.5f, 32768},
        {0.0f, 0},     {1.5f, 65535},  // out of range is clamped, not wrapped
        {-0.25f, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SmartGuideComponent(c.value), c.component) << c.value;
    }
}

TEST(SmartGuideColour, UnreadableComponentsCountAsZero) {
    static const AIPreferenceSuite preferences{[](const char*, const char* key, AIReal* value) {
        if (std::string(key) == "snapomatic/Color/red") {
            *value = 1.0f;
            return ASErr{0};
        }
        if (std::string(key) == "snapomatic/Color/green") {
            *value = 0.5f;
            return ASErr{0};
        }
        return kNameNotFoundErr;
    }};
    const AIPreferenceSuite* saved = sAIPreference;
    sAIPreference = &preferences;
    ReadSmartGuideColor();
    sAIPreference = saved;
    const SmartGuideColor colour = CurrentSmartGuideColor();
    EXPECT_EQ(colour.red, 65535);
    EXPECT_EQ(colour.green, 32768);
    EXPECT_EQ(colour.blue, 0);
}

// A host that calls without a message or without its basic suite gets an error, not a
// crash.
TEST(EntryPoint, MalformedCallsAnswerAnError) {
    EXPECT_EQ(PluginMain("SP Interface", "Startup", nullptr), kBadParameterErr);
    SPMessageData message{};
    EXPECT_EQ(PluginMain("SP Interface", "Startup", &message), kBadParameterErr);
    EXPECT_EQ(message.globals, nullptr);
    EXPECT_EQ(PluginMain(nullptr, "Startup", &message), kBadParameterErr);
}

}  // namespace
