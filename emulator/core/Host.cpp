#include "emulator/core/Host.h"
#include "plugin/host/InterfaceSuites.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <stdexcept>

#include "emulator/core/ArtTree.h"
#include "emulator/core/FontFaces.h"
#include "emulator/core/SuiteRegistry.h"
#include "emulator/core/SystemKeys.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/Platform.h"
#include "plugin/host/PluginSuites.h"
#include "plugin/host/ResultCodes.h"

namespace emulator {
namespace {

Host* sCurrent = nullptr;

// The host's real preferences before any option: smart guides in magenta.
const std::map<std::string, float> kDefaultRealPreferences = {
    {"snapomatic/Color/red", 1.0f},
    {"snapomatic/Color/green", 0.0f},
    {"snapomatic/Color/blue", 1.0f},
};

}  // namespace

Host::Host(HostOptions options)
    : options_(std::move(options)),
      toolbox_(options_.extraTools),
      fonts_(options_.fonts),
      history_(std::max<std::size_t>(options_.undoSteps, 1)) {
    if (sCurrent != nullptr) {
        throw std::logic_error("one host at a time");
    }
    sCurrent = this;
    suites_ = std::make_unique<SuiteRegistry>(*this);
    for (const std::string& name : options_.withheldSuites) {
        suites_->Withhold(name);
    }
    // A key the system still holds from an earlier host is not the user's.
    PublishHeldKeys({});
}

Host::~Host() {
    if (PluginStarted() && module_ != nullptr && module_->CodeLoaded()) {
        Quit();
    }
    module_.reset();
    PublishHeldKeys({});
    sCurrent = nullptr;
}

Host* Host::Current() {
    return sCurrent;
}

const std::vector<std::string>& Host::Fonts() const {
    if (!fonts_) {
        fonts_ = InstalledFonts();
    }
    return *fonts_;
}

bool Host::LoadPlugin(const std::filesystem::path& file, std::string* error) {
    // The plug-in finds its preferences and sounds from its own path: a path it could not
    // read would leave it without them.
    if (!PluginPathText(file)) {
        *error = Utf8FromPath(file) + ": the path holds characters that plug-ins cannot read here";
        return false;
    }
    module_ = PluginModule::Load(file, error);
    return module_ != nullptr;
}

void Host::FillCommon(SPMessageData* message) {
    message->SPCheck = kSPValidSPMessageData;
    message->self = PluginRef();
    message->globals = globals_;
    message->basic = suites_->Basic();
}

ASErr Host::Call(const char* caller, const char* selector, SPMessageData* message) {
    if (module_ == nullptr || !module_->CodeLoaded()) {
        RecordViolation(std::string("message ") + caller + "/" + selector +
                        " without a loaded plug-in");
        return kBadParameterErr;
    }
    FillCommon(message);
    ++depth_;
    const ASErr result = module_->Call(caller, selector, message);
    --depth_;
    globals_ = message->globals;
    if (depth_ == 0) {
        // No drawer outlives its message.
        liveDrawer_ = nullptr;
        CheckAfterMessage(caller, selector);
        RunDeferred();
    }
    return result;
}

void Host::CheckAfterMessage(const char* caller, const char* selector) {
    if (contexts_.Size() != 0) {
        RecordViolation(std::string("application context left open by ") + caller + "/" + selector);
        contexts_.Clear();
    }
    if (textRefs_.Size() != 0) {
        RecordViolation(std::string("text-engine reference not released by ") + caller + "/" +
                        selector);
        textRefs_.Clear();
    }
}

void Host::RunDeferred() {
    while (!deferred_.empty()) {
        const Deferred next = deferred_.front();
        deferred_.pop_front();
        AIToolMessage message{};
        message.tool = next.tool;
        Call(next.caller.c_str(), next.selector.c_str(), &message.d);
    }
    if (annotationInvalid_ && userActions_ == 0 && drawing_ == nullptr) {
        DrawAnnotations();
    }
}

template <typename Act>
ASErr Host::UserAction(Act act) {
    ++userActions_;
    ++recording_;
    const ASErr result = act();
    --userActions_;
    annotationInvalid_ = true;
    if (depth_ == 0) {
        RunDeferred();
    }
    --recording_;
    // A press and its drags make one step with their release.
    if (recording_ == 0 && !pressed_) {
        history_.Commit(document_.get());
    }
    return result;
}

void Host::Redraw() {
    annotationInvalid_ = true;
    if (depth_ == 0) {
        RunDeferred();
    }
}

void Host::AddHostAnnotator(std::function<void(AIAnnotatorDrawer*)> draw) {
    hostAnnotators_.push_back(std::move(draw));
}

AIAnnotatorDrawer* Host::NewDrawer() {
    // Every drawer is a value never handed out before, so that a drawer kept from an
    // earlier draw is told from the live one.
    constexpr std::uintptr_t kDrawerHandleBase = 0xD0000000;
    liveDrawer_ = reinterpret_cast<AIAnnotatorDrawer*>(kDrawerHandleBase + 16 * ++drawers_);
    drawing_->style = DrawStyle{};
    return liveDrawer_;
}

Host::Drawing* Host::FindDrawing(AIAnnotatorDrawer* drawer) {
    return drawing_ != nullptr && drawer != nullptr && drawer == liveDrawer_ ? drawing_ : nullptr;
}

void Host::DrawAnnotations() {
    annotationInvalid_ = false;
    if (document_ == nullptr) {
        return;
    }
    // A plug-in that is not started (or was shut down) receives nothing.
    std::vector<AIAnnotatorHandle> active;
    annotators_.ForEach([&](AIAnnotatorHandle handle, const Annotator& annotator) {
        if (annotator.active && PluginStarted()) {
            active.push_back(handle);
        }
    });
    DisplayList list;
    Drawing drawing{&list, {}};
    drawing_ = &drawing;
    // The drawing ends however the drawers return.
    struct End {
        Host& host;
        ~End() {
            host.drawing_ = nullptr;
            host.liveDrawer_ = nullptr;
        }
    } end{*this};
    for (AIAnnotatorHandle handle : active) {
        AIAnnotatorMessage message{};
        message.annotator = handle;
        const View& view = document_->view;
        message.invalidationRect = {0, 0, view.widthPixels, view.heightPixels};
        message.drawer = NewDrawer();
        ++annotationDraws_;
        Call("AI Annotation", "AI Draw", &message.d);
    }
    // The plug-in's cursor tip is what it writes in the large annotation font; the panel
    // and the colour indicators use the small one.
    std::vector<std::string> tip;
    for (const DisplayItem& item : list.items) {
        if (item.kind == DisplayKind::Text && item.style.fontPreset == kAnnotatorFontLarge) {
            tip.push_back(item.text);
        }
    }
    if (tip != lastTip_) {
        for (const std::string& line : tip) {
            Emit("tip: " + line);
        }
        lastTip_ = std::move(tip);
    }
    for (std::size_t i = 0; i < hostAnnotators_.size(); ++i) {
        const auto draw = hostAnnotators_[i];
        draw(NewDrawer());
    }
    lastAnnotation_ = std::move(list);
}

ASErr Host::Send(const char* caller, const char* selector) {
    SPMessageData message{};
    return Call(caller, selector, &message);
}

ASErr Host::SendMessage(const char* caller, const char* selector, SPMessageData* message) {
    return Call(caller, selector, message);
}

ASErr Host::Shutdown() {
    return Send("SP Interface", "Shutdown");
}

ASErr Host::Quit() {
    const ASErr notified = SendNotifications(kAIApplicationShutdownNotifier);
    const ASErr shutdown = Shutdown();
    return notified != 0 ? notified : shutdown;
}

ASErr Host::Unload() {
    const ASErr result = Send("SP Access", "Unload");
    if (accessLocks_ == 0 && module_ != nullptr) {
        module_->UnloadCode();
    }
    return result;
}

ASErr Host::Reload() {
    if (module_ == nullptr) {
        return kBadParameterErr;
    }
    std::string error;
    if (!module_->LoadCode(&error)) {
        RecordViolation("cannot reload: " + error);
        return kBadParameterErr;
    }
    return Send("SP Access", "Reload");
}

ASErr Host::Notify(const std::string& type) {
    const ASErr result = UserAction([&] { return SendNotifications(type); });
    if (type == kAIDocumentOpenedNotifier) {
        // What the plug-in does on hearing of a document opened belongs to the opening:
        // there is nothing before it to undo.
        history_.Clear();
    }
    return result;
}

ASErr Host::SendNotifications(const std::string& type) {
    std::vector<std::pair<AINotifierHandle, std::string>> targets;
    notifiers_.ForEach([&](AINotifierHandle handle, const Notifier& notifier) {
        if (notifier.type == type) {
            targets.emplace_back(handle, notifier.type);
        }
    });
    ASErr first = 0;
    for (const auto& [handle, notifierType] : targets) {
        AINotifierMessage message{};
        message.notifier = handle;
        message.type = notifierType.c_str();
        const ASErr result = Call("AI Notifier", "AI Notify", &message.d);
        if (first == 0) {
            first = result;
        }
    }
    return first;
}

ASErr Host::ChooseMenuItem(AIMenuItemHandle item) {
    return UserAction([&] {
        AIMenuMessage message{};
        message.menuItem = item;
        return Call("AI Menu", "AI Go", &message.d);
    });
}

AIMenuItemHandle Host::FindMenuItem(const std::string& name) const {
    AIMenuItemHandle found = nullptr;
    menuItems_.ForEach([&](AIMenuItemHandle handle, const MenuItem& item) {
        if (item.name == name) {
            found = handle;
        }
    });
    return found;
}

std::vector<std::string> Host::Alerts() const {
    static const std::string kPrefix = "alert: ";
    std::vector<std::string> alerts;
    for (const std::string& line : events_) {
        if (line.compare(0, kPrefix.size(), kPrefix) == 0) {
            alerts.push_back(line.substr(kPrefix.size()));
        }
    }
    return alerts;
}

void Host::RecordViolation(const std::string& what) {
    violations_.push_back(what);
}

ASInt64 Host::Now() const {
    return clock_ ? *clock_ : static_cast<ASInt64>(std::time(nullptr));
}

void Host::SetKeys(std::set<ASInt32> virtualKeys) {
    keys_ = std::move(virtualKeys);
    std::set<ASInt32> held;
    for (const platform::Key key :
         {platform::Key::Shift, platform::Key::Ctrl, platform::Key::Alt, platform::Key::Esc,
          platform::Key::Space, platform::Key::LeftShift, platform::Key::RightShift}) {
        if (KeyHeld(static_cast<ASInt32>(key))) {
            held.insert(static_cast<ASInt32>(key));
        }
    }
    PublishHeldKeys(held);
}

bool Host::KeyHeld(ASInt32 virtualKey) const {
    const auto named = [this](platform::Key key) {
        return keys_.count(static_cast<ASInt32>(key)) != 0;
    };
    switch (static_cast<platform::Key>(virtualKey)) {
        case platform::Key::Shift:
            return named(platform::Key::Shift) || named(platform::Key::LeftShift) ||
                   named(platform::Key::RightShift);
        case platform::Key::LeftShift:
            return named(platform::Key::Shift) || named(platform::Key::LeftShift);
        default:
            return keys_.count(virtualKey) != 0;
    }
}

void Host::PlaySound(const std::string& path) {
    sounds_.push_back(path);
    Emit("sound: " + Utf8FromPath(PathFromPluginText(path).filename()));
}

void Host::NewDocument(double width, double height) {
    auto document = std::make_unique<Document>();
    document->width = width;
    document->height = height;
    auto layer = std::make_unique<Layer>();
    layer->title = "Calque 1";
    document->currentLayer = layer.get();
    document->layers.push_back(std::move(layer));
    OpenDocument(std::move(document));
}

void Host::OpenDocument(std::unique_ptr<Document> document) {
    ++revision_;
    objectIds_.clear();
    arts_.clear();
    layers_.clear();
    lockedByPlugin_.clear();
    hitIndex_.Invalidate();
    textRefs_.Clear();
    lastAnnotation_ = {};
    history_.Clear();
    document_ = std::move(document);
}

namespace {
constexpr std::uintptr_t kArtHandleBase = 0xA0000000;
constexpr std::uintptr_t kLayerHandleBase = 0xB0000000;
}  // namespace

AIArtHandle Host::HandleOf(const Art* art) {
    if (art == nullptr) {
        return nullptr;
    }
    Art* a = const_cast<Art*>(art);
    // A number given by this host to this art; anything else (0, or a number another host
    // gave) gets a new one.
    if (a->handleNumber == 0 || a->handleNumber >= arts_.size() || arts_[a->handleNumber] != a) {
        a->handleNumber = nextObjectId_++;
        arts_.resize(std::max(arts_.size(), a->handleNumber + 1), nullptr);
        arts_[a->handleNumber] = a;
    }
    return reinterpret_cast<AIArtHandle>(kArtHandleBase + 16 * a->handleNumber);
}

namespace {

// The number of an art handle; 0 for what cannot be one.
std::uintptr_t HandleNumber(AIArtHandle handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    return value > kArtHandleBase && value < kLayerHandleBase && value % 16 == 0
               ? (value - kArtHandleBase) / 16
               : 0;
}

}  // namespace

Art* Host::FindArt(AIArtHandle handle) {
    const std::uintptr_t number = HandleNumber(handle);
    if (number == 0 || number >= arts_.size() || arts_[number] == nullptr) {
        RecordViolation(handle == nullptr ? "null art handle" : "art handle dead or unknown");
        return nullptr;
    }
    return arts_[number];
}

bool Host::IsLiveArt(AIArtHandle handle) const {
    const std::uintptr_t number = HandleNumber(handle);
    return number != 0 && number < arts_.size() && arts_[number] != nullptr;
}

void Host::ArtChanged(Art& art) {
    ++revision_;
    if (artWatcher_) {
        artWatcher_(art, false);
    }
    ForgetBounds(art);
    ForEachArt(art, [this](Art& a) {
        a.boundsKnown = false;
        hitIndex_.Changed(a);
    });
}

void Host::ArtRemoved(Art& art) {
    ++revision_;
    if (artWatcher_) {
        artWatcher_(art, true);
    }
    ForgetBounds(art);
    ForEachArt(art, [this](Art& a) { hitIndex_.Removed(a); });
}

UndoHistory* Host::Journal() {
    if (document_ == nullptr || options_.undoSteps == 0) {
        return nullptr;
    }
    if (replaying_) {
        replayDisturbed_ = true;
        return nullptr;
    }
    if (recording_ == 0) {
        history_.Clear();
        return nullptr;
    }
    return &history_;
}

void Host::ArtPlaced(Art& art) {
    if (UndoHistory* journal = Journal()) {
        journal->Placed(art);
    }
    ArtChanged(art);
}

void Host::DisposeArt(Art& art) {
    const UndoHistory::Place place{art.layer, art.parent, IndexOf(art)};
    ArtRemoved(art);
    ForgetArt(art);
    std::unique_ptr<Art> taken = DetachArt(art);
    if (UndoHistory* journal = Journal()) {
        journal->Disposed(std::move(taken), place);
    }
}

void Host::WillEditContent(Art& art) {
    if (UndoHistory* journal = Journal()) {
        journal->WillEditContent(art);
    }
}

void Host::WillEditAttributes(Art& art) {
    // The selection alone changes all the time and is no edit: nothing is emptied for it.
    if (document_ != nullptr && options_.undoSteps != 0 && recording_ > 0 && !replaying_) {
        history_.WillEditAttributes(art);
    }
}

void Host::WillEditTag(Art& art, const std::string& name, const char* value) {
    if (UndoHistory* journal = Journal()) {
        journal->WillEditTag(art, name, value);
    }
}

void Host::LayerPlaced(Layer& layer, std::size_t index) {
    if (UndoHistory* journal = Journal()) {
        journal->LayerPlaced(layer, index);
    }
}

void Host::WillEditLayer(Layer& layer) {
    if (UndoHistory* journal = Journal()) {
        journal->WillEditLayer(layer);
    }
}

void Host::WillChangeCurrentLayer() {
    if (UndoHistory* journal = Journal()) {
        journal->WillChangeCurrentLayer(*document_);
    }
}

void Host::ForgetLayer(Layer& layer) {
    if (const auto it = objectIds_.find(&layer); it != objectIds_.end()) {
        layers_.erase(it->second);
        objectIds_.erase(it);
    }
}

Host::UndoOutcome Host::Undo() {
    return Replay(true);
}

Host::UndoOutcome Host::Redo() {
    return Replay(false);
}

Host::UndoOutcome Host::Replay(bool undo) {
    if (document_ == nullptr) {
        return UndoOutcome::NoDocument;
    }
    if (pressed_ || InsideMessage()) {
        return UndoOutcome::ButtonDown;
    }
    // What the last action did that one cannot see yet (a measure's first point) is an
    // action begun: undo drops it with the step before it, as the measure it began is
    // dropped; after it there is nothing to redo.
    const bool unseen = undo && history_.HasUnseen(document_.get());
    if (!undo) {
        history_.Commit(document_.get(), true);
    }
    if (!(undo ? unseen || history_.CanUndo() : history_.CanRedo())) {
        return UndoOutcome::NothingToDo;
    }
    replaying_ = true;
    replayDisturbed_ = false;
    UserAction([&] {
        if (undo) {
            history_.DropUnseen(*this, document_.get());
            history_.Undo(*this);
        } else {
            history_.Redo(*this);
        }
        ++revision_;
        // The plug-in lets go of what it held of the document, as when one is opened.
        SendNotifications(kAIDocumentOpenedNotifier);
        return ASErr{0};
    });
    replaying_ = false;
    if (replayDisturbed_) {
        // The plug-in changed the document while hearing of the undo: the history no longer
        // knows the document it would take back.
        history_.Clear();
    }
    return UndoOutcome::Done;
}

void Host::ForgetArt(Art& art) {
    ForEachArt(art, [this](Art& a) {
        lockedByPlugin_.erase(&a);
        if (a.handleNumber != 0 && a.handleNumber < arts_.size() && arts_[a.handleNumber] == &a) {
            arts_[a.handleNumber] = nullptr;
        }
    });
}

AILayerHandle Host::HandleOf(const Layer* layer) {
    if (layer == nullptr) {
        return nullptr;
    }
    auto it = objectIds_.find(layer);
    if (it == objectIds_.end()) {
        it = objectIds_.emplace(layer, kLayerHandleBase + 16 * nextObjectId_++).first;
        layers_[it->second] = const_cast<Layer*>(layer);
    }
    return reinterpret_cast<AILayerHandle>(it->second);
}

Layer* Host::FindLayer(AILayerHandle handle) {
    auto it = layers_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == layers_.end()) {
        RecordViolation("layer handle dead or unknown");
        return nullptr;
    }
    return it->second;
}

void Host::NoteLockChange(Art& art, bool locked) {
    if (locked) {
        lockedByPlugin_.insert(&art);
    } else {
        lockedByPlugin_.erase(&art);
    }
}

std::optional<float> Host::RealPreference(const std::string& key) const {
    if (auto it = options_.realPreferences.find(key); it != options_.realPreferences.end()) {
        return it->second;
    }
    if (auto it = kDefaultRealPreferences.find(key); it != kDefaultRealPreferences.end()) {
        return it->second;
    }
    return std::nullopt;
}

SPAccessRef Host::AcquireAccess() {
    const auto access = reinterpret_cast<SPAccessRef>(0xACC0000 + 16 * nextAccess_++);
    accessRefs_.insert(access);
    ++accessLocks_;
    return access;
}

bool Host::ReleaseAccess(SPAccessRef access) {
    if (accessRefs_.erase(access) == 0) {
        RecordViolation("access reference unknown or already released");
        return false;
    }
    --accessLocks_;
    return true;
}

void Host::ShowAlert(const std::u16string& text) {
    Emit("alert: " + EscapeCarriageReturns(Utf8FromUtf16(text)));
}

void Host::ShowCursor(ASInt32 id) {
    if (cursor_ != id) {
        cursor_ = id;
        Emit("cursor: " + std::to_string(id));
    }
}

void Host::SelectTool(AIToolType number) {
    const AIToolType previous = toolbox_.Selected();
    if (previous == number) {
        return;
    }
    toolbox_.SetSelected(number);
    const Tool* left = toolbox_.Find(previous);
    if (left != nullptr && left->owner != nullptr) {
        deferred_.push_back({"AI Tool", "AI Deselect", Toolbox::HandleOf(previous)});
    }
    const Tool* chosen = toolbox_.Find(number);
    if (chosen != nullptr && chosen->owner != nullptr) {
        deferred_.push_back({"AI Tool", "AI Select", Toolbox::HandleOf(number)});
    }
    if (depth_ == 0) {
        RunDeferred();
    }
}

ASErr Host::SelectToolByName(const std::string& name) {
    const auto number = toolbox_.NumberOf(name);
    if (!number) {
        return kNameNotFoundErr;
    }
    return UserAction([&] {
        SelectTool(*number);
        return ASErr{0};
    });
}

ASErr Host::ToolEvent(const std::string& event, AIRealPoint point) {
    static const std::map<std::string, const char*> selectors = {
        {"move", "AI Track Cursor"},
        {"down", "AI Mouse Down"},
        {"drag", "AI Mouse Drag"},
        {"up", "AI Mouse Up"},
    };
    const auto selector = selectors.find(event);
    if (selector == selectors.end()) {
        return kBadParameterErr;
    }
    if (event == "down") {
        pressed_ = true;
    } else if (event == "up") {
        pressed_ = false;
    }
    return UserAction([&] {
        const Tool* tool = toolbox_.Find(toolbox_.Selected());
        if (tool == nullptr || tool->owner == nullptr) {
            return ASErr{0};
        }
        AIToolMessage message{};
        message.tool = Toolbox::HandleOf(toolbox_.Selected());
        message.cursor = point;
        message.pressure = 1.0f;
        return Call("AI Tool", selector->second, &message.d);
    });
}

void Host::Emit(const std::string& line) {
    events_.push_back(line);
    if (sink_) {
        sink_(line);
    }
}

}  // namespace emulator
