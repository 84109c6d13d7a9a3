// The suites of the host's user interface: alerts and cursors, menus, tools, annotators
// and preferences.
#include "plugin/host/InterfaceSuites.h"

#include <charconv>
#include <optional>

#include "emulator/core/CustomColors.h"
#include "emulator/core/SuiteSupport.h"
#include "emulator/core/Unicode.h"

namespace emulator {
namespace {

// ---- AI User Suite -----------------------------------------------------------------------

ASErr MessageAlert(const ASUnicode* text) {
    Host* host = Enter<AIUserSuite>();
    if (host == nullptr || text == nullptr) {
        return kBadParameterErr;
    }
    host->ShowAlert(UnicodeText(text));
    return 0;
}

ASErr CreateCursorResourceMgr(SPPluginRef plugin, AICursorManagerHandle* manager) {
    Host* host = Enter<AIUserSuite>();
    if (host == nullptr || manager == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    *manager = host->CursorManagers().Add(std::make_unique<CursorManager>(CursorManager{plugin}));
    return 0;
}

ASErr DisposeCursorResourceMgr(AICursorManagerHandle manager) {
    Host* host = Enter<AIUserSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    if (!host->CursorManagers().Remove(manager)) {
        host->RecordViolation("cursor manager unknown or already disposed of");
        return kBadParameterErr;
    }
    return 0;
}

ASErr SetCursor(ASInt32 cursorId, AICursorManagerHandle manager) {
    Host* host = Enter<AIUserSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    if (host->CursorManagers().Find(manager) == nullptr) {
        host->RecordViolation("cursor manager unknown or already disposed of");
        return kBadParameterErr;
    }
    const auto* png = host->Module().Bundle().Png(cursorId);
    const auto size = png != nullptr ? ReadPngSize(*png) : std::nullopt;
    const PngSize expected = cursorId == 20007 ? PngSize{14, 16} : PngSize{16, 16};
    if (!size || size->width != expected.width || size->height != expected.height) {
        host->RecordViolation("cursor " + std::to_string(cursorId) +
                              " has no PNG image of the right size");
        return kBadParameterErr;
    }
    host->ShowCursor(cursorId);
    return 0;
}

// The component `word` of a picker answer; nothing unless it is a number in 0..1.
std::optional<AIReal> PickerComponent(const std::string& word) {
    double value = 0;
    const char* end = word.data() + word.size();
    const auto [at, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc() || at != end || !(value >= 0 && value <= 1)) {
        return std::nullopt;
    }
    return static_cast<AIReal>(value);
}

// The colour the picker answers for `answer` ("gray G" with G an amount of black as in the
// host's colours, "rgb R G B", "cmyk C M Y K" or "spot NAME [C M Y K]"); nothing for
// "cancel", no answer or an answer the picker cannot give. A spot colour is the document's
// custom colour of that name, added when the document has none (with the CMYK values given,
// else a grey appearance), and becomes the current one.
std::optional<AIColor> PickerColor(Host* host, const std::vector<std::string>& answer,
                                   ASErr* error) {
    if (answer.empty()) {
        return std::nullopt;
    }
    const std::string& form = answer[0];
    std::vector<AIReal> components;
    for (std::size_t i = form == "spot" ? 2 : 1; i < answer.size(); ++i) {
        const std::optional<AIReal> component = PickerComponent(answer[i]);
        if (!component) {
            return std::nullopt;
        }
        components.push_back(*component);
    }
    const auto& c = components;
    AIColor color{};
    if (form == "gray" && c.size() == 1) {
        color.kind = kGrayColor;
        color.gray.gray = c[0];
    } else if (form == "rgb" && c.size() == 3) {
        color.kind = kThreeColor;
        color.rgb = {c[0], c[1], c[2]};
    } else if (form == "cmyk" && c.size() == 4) {
        color.kind = kFourColor;
        color.cmyk = {c[0], c[1], c[2], c[3]};
    } else if (form == "spot" && (answer.size() == 2 || c.size() == 4) && !answer[1].empty()) {
        Document* document = host->CurrentDocument();
        if (document == nullptr) {
            *error = kNoDocumentErr;
            return std::nullopt;
        }
        CustomColor* spot = FindCustomColorByName(*document, answer[1]);
        if (spot == nullptr) {
            Paint appearance;
            if (c.size() == 4) {
                appearance.kind = Paint::Kind::CMYK;
                appearance.cyan = c[0];
                appearance.magenta = c[1];
                appearance.yellow = c[2];
                appearance.black = c[3];
            } else {
                appearance.kind = Paint::Kind::RGB;
                appearance.red = appearance.green = appearance.blue = 0.5;
            }
            spot = &AddCustomColor(*document, answer[1], appearance);
        }
        MakeCurrentCustomColor(*document, *spot);
        color.kind = kCustomColor;
        color.custom = {HandleOfCustomColor(*spot), 0};
    } else {
        return std::nullopt;
    }
    return color;
}

ASErr GetColorFromPicker(const AIColor* initial, AIColor* chosen, AIBoolean* cancelled) {
    Host* host = Enter<AIUserSuite>();
    if (host == nullptr || initial == nullptr || chosen == nullptr || cancelled == nullptr) {
        return kBadParameterErr;
    }
    // The picker gives each answer once.
    const std::vector<std::string> answer = host->PickerAnswer();
    host->SetPickerAnswer({});
    if (answer.empty()) {
        // Nobody answered: a front that shows a dialog learns what was asked.
        host->NotePickerAsked(*initial);
    }
    ASErr error = 0;
    const std::optional<AIColor> color = PickerColor(host, answer, &error);
    if (error != 0) {
        return error;
    }
    *cancelled = !color;
    *chosen = color.value_or(*initial);
    return 0;
}

constexpr AIUserSuite kUser{MessageAlert, CreateCursorResourceMgr, DisposeCursorResourceMgr,
                            SetCursor, GetColorFromPicker};

// ---- AI Menu Suite -----------------------------------------------------------------------

bool GroupExists(Host* host, const std::string& name) {
    bool found = name == kAboutMenuGroup;
    host->MenuGroups().ForEach(
        [&](AIMenuGroup, const MenuGroup& group) { found = found || group.name == name; });
    return found;
}

ASErr AddMenuItem(SPPluginRef plugin, const char* name, const char* groupName,
                  const ASUnicode* text, ASInt32, AIMenuItemHandle* item) {
    Host* host = Enter<AIMenuSuite>();
    if (host == nullptr || name == nullptr || groupName == nullptr || text == nullptr ||
        item == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    if (!GroupExists(host, groupName)) {
        return kNameNotFoundErr;
    }
    if (host->FindMenuItem(name) != nullptr) {
        return kBadParameterErr;
    }
    *item = host->MutableMenuItems().Add(
        std::make_unique<MenuItem>(MenuItem{name, groupName, Utf8FromUtf16(UnicodeText(text))}));
    return 0;
}

ASErr AddMenuGroupAsSubMenu(const char* name, ASInt32, AIMenuItemHandle item, AIMenuGroup* group) {
    Host* host = Enter<AIMenuSuite>();
    if (host == nullptr || name == nullptr || group == nullptr) {
        return kBadParameterErr;
    }
    if (host->MenuItems().Find(item) == nullptr) {
        host->RecordViolation("unknown menu item");
        return kBadParameterErr;
    }
    if (GroupExists(host, name)) {
        return kBadParameterErr;
    }
    *group = host->MutableMenuGroups().Add(std::make_unique<MenuGroup>(MenuGroup{name, item}));
    return 0;
}

ASErr CountMenuGroups(ASInt32* count) {
    Host* host = Enter<AIMenuSuite>();
    if (host == nullptr || count == nullptr) {
        return kBadParameterErr;
    }
    *count = static_cast<ASInt32>(host->MenuGroups().Size());
    return 0;
}

ASErr GetNthMenuGroup(ASInt32 index, AIMenuGroup* group) {
    Host* host = Enter<AIMenuSuite>();
    if (host == nullptr || group == nullptr || index < 0) {
        return kBadParameterErr;
    }
    ASInt32 i = 0;
    *group = nullptr;
    host->MenuGroups().ForEach([&](AIMenuGroup handle, const MenuGroup&) {
        if (i++ == index) {
            *group = handle;
        }
    });
    return *group != nullptr ? 0 : kBadParameterErr;
}

ASErr GetMenuGroupName(AIMenuGroup group, const char** name) {
    Host* host = Enter<AIMenuSuite>();
    if (host == nullptr || name == nullptr) {
        return kBadParameterErr;
    }
    const MenuGroup* found = host->MenuGroups().Find(group);
    if (found == nullptr) {
        host->RecordViolation("unknown menu group");
        return kBadParameterErr;
    }
    *name = found->name.c_str();
    return 0;
}

constexpr AIMenuSuite kMenu{AddMenuItem, AddMenuGroupAsSubMenu, CountMenuGroups, GetNthMenuGroup,
                            GetMenuGroupName};

// ---- AI Tool Suite -----------------------------------------------------------------------

bool CheckIcon(Host* host, ASInt32 id) {
    const auto* png = host->Module().Bundle().Png(id);
    const auto size = png != nullptr ? ReadPngSize(*png) : std::nullopt;
    if (!size || size->width != 24 || size->height != 24) {
        host->RecordViolation("icon " + std::to_string(id) + " has no 24 x 24 PNG image");
        return false;
    }
    return true;
}

ASErr AddTool(SPPluginRef plugin, const char* name, const AIAddToolData* data, ASInt32 options,
              AIToolHandle* tool) {
    Host* host = Enter<AIToolSuite>();
    if (host == nullptr || name == nullptr || data == nullptr || tool == nullptr ||
        !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    if (!CheckIcon(host, data->normalIconResID) || !CheckIcon(host, data->darkIconResID)) {
        return kBadParameterErr;
    }
    Tool entry;
    entry.name = name;
    entry.tooltip = data->tooltip != nullptr ? data->tooltip : "";
    entry.icon = data->normalIconResID;
    entry.darkIcon = data->darkIconResID;
    entry.owner = plugin;
    entry.options = options;
    const auto number = host->Tools().Add(entry, data->sameGroupAs, data->sameToolsAs);
    if (!number) {
        return kBadParameterErr;
    }
    *tool = Toolbox::HandleOf(*number);
    return 0;
}

ASErr GetToolNumberFromName(const char* name, AIToolType* number) {
    Host* host = Enter<AIToolSuite>();
    if (host == nullptr || name == nullptr || number == nullptr) {
        return kBadParameterErr;
    }
    const auto found = host->Tools().NumberOf(std::string(name));
    if (!found) {
        return kNameNotFoundErr;
    }
    *number = *found;
    return 0;
}

Tool* FindTool(Host* host, AIToolHandle handle) {
    Tool* tool = host->Tools().Find(Toolbox::NumberOf(handle));
    if (tool == nullptr) {
        host->RecordViolation("unknown tool");
    }
    return tool;
}

ASErr SetSelectedTool(AIToolHandle handle) {
    Host* host = Enter<AIToolSuite>();
    if (host == nullptr || FindTool(host, handle) == nullptr) {
        return kBadParameterErr;
    }
    host->SelectTool(Toolbox::NumberOf(handle));
    return 0;
}

ASErr SetSelectedToolByName(const char* name) {
    Host* host = Enter<AIToolSuite>();
    if (host == nullptr || name == nullptr) {
        return kBadParameterErr;
    }
    const auto number = host->Tools().NumberOf(std::string(name));
    if (!number) {
        return kNameNotFoundErr;
    }
    host->SelectTool(*number);
    return 0;
}

ASErr SetToolInfoVars(AIToolHandle handle, const ASInt32* infoVars) {
    Host* host = Enter<AIToolSuite>();
    if (host == nullptr || infoVars == nullptr) {
        return kBadParameterErr;
    }
    Tool* tool = FindTool(host, handle);
    if (tool == nullptr) {
        return kBadParameterErr;
    }
    tool->infoVariables.clear();
    for (const ASInt32* v = infoVars; *v != -1; ++v) {
        if (tool->infoVariables.size() >= 32) {
            return kBadParameterErr;
        }
        tool->infoVariables.push_back(*v);
    }
    return 0;
}

constexpr AIToolSuite kTool{AddTool, GetToolNumberFromName, SetSelectedTool, SetSelectedToolByName,
                            SetToolInfoVars};

// ---- AI Annotator Suite ------------------------------------------------------------------

ASErr AddAnnotator(SPPluginRef plugin, const char* name, AIAnnotatorHandle* annotator) {
    Host* host = Enter<AIAnnotatorSuite>();
    if (host == nullptr || name == nullptr || annotator == nullptr || !IsOurPlugin(host, plugin)) {
        return kBadParameterErr;
    }
    *annotator = host->MutableAnnotators().Add(std::make_unique<Annotator>(Annotator{name, true}));
    return 0;
}

ASErr SetAnnotatorActive(AIAnnotatorHandle annotator, AIBoolean active) {
    Host* host = Enter<AIAnnotatorSuite>();
    if (host == nullptr) {
        return kBadParameterErr;
    }
    Annotator* found = host->MutableAnnotators().Find(annotator);
    if (found == nullptr) {
        host->RecordViolation("unknown annotator");
        return kBadParameterErr;
    }
    found->active = active != 0;
    return 0;
}

ASErr InvalAnnotationRect(AIDocumentViewHandle, const AIRect* rect) {
    Host* host = Enter<AIAnnotatorSuite>();
    if (host == nullptr || rect == nullptr) {
        return kBadParameterErr;
    }
    if (rect->right > rect->left && rect->bottom > rect->top) {
        host->InvalidateAnnotation();
    }
    return 0;
}

constexpr AIAnnotatorSuite kAnnotator{AddAnnotator, SetAnnotatorActive, InvalAnnotationRect};

// ---- AI Preference Suite -----------------------------------------------------------------

ASErr GetRealPreference(const char* prefix, const char* suffix, AIReal* value) {
    Host* host = Enter<AIPreferenceSuite>();
    if (host == nullptr || suffix == nullptr || value == nullptr) {
        return kBadParameterErr;
    }
    const std::string key = prefix != nullptr ? std::string(prefix) + "/" + suffix : suffix;
    const auto found = host->RealPreference(key);
    if (!found) {
        return kNameNotFoundErr;
    }
    *value = *found;
    return 0;
}

constexpr AIPreferenceSuite kPreference{GetRealPreference};

constexpr AIPanelSuite kPanel{};
constexpr AIPanelFlyoutMenuSuite kPanelFlyoutMenu{};
constexpr AIUserInterfaceThemeSuite kUserInterfaceTheme{};
constexpr AIUnicodeStringSuite kUnicodeString{};
constexpr AIStringFormatUtilsSuite kStringFormatUtils{};

}  // namespace

void OfferInterfaceSuites(SuiteRegistry& registry) {
    Offer(registry, kUser);
    Offer(registry, kMenu);
    Offer(registry, kTool);
    Offer(registry, kAnnotator);
    OfferAnnotatorDrawerSuite(registry);  // in AnnotatorDrawerSuite.cpp
    Offer(registry, kPreference);
    Offer(registry, kPanel);
    Offer(registry, kPanelFlyoutMenu);
    Offer(registry, kUserInterfaceTheme);
    Offer(registry, kUnicodeString);
    Offer(registry, kStringFormatUtils);
}

}  // namespace emulator
