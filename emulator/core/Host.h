// The emulated host: a small illustration application that loads a plug-in file through
// its entry point, hands it the host's suites, and keeps the toolbox, menus, notifiers,
// annotators, alerts, cursors, preferences and documents that the suites act on.
//
// One host at a time lives in a process: the suites are plain C functions and find it
// through Host::Current().
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "emulator/core/DisplayList.h"
#include "emulator/core/Document.h"
#include "emulator/core/Handles.h"
#include "emulator/core/HitTest.h"
#include "emulator/core/PluginModule.h"
#include "emulator/core/TextRefs.h"
#include "emulator/core/Toolbox.h"
#include "emulator/core/UndoHistory.h"
#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Messages.h"
#include "plugin/host/Records.h"

namespace emulator {

class SuiteRegistry;

struct HostOptions {
    // Tools of other plug-ins already in the toolbox, by name.
    std::vector<std::string> extraTools;
    // Suites the host does not offer, by name (to see a plug-in meet a missing suite).
    std::set<std::string> withheldSuites;
    // Real preferences of the host, by key, over its defaults.
    std::map<std::string, float> realPreferences;
    // The host's font list (PostScript names); without it, the installed fonts.
    std::optional<std::vector<std::string>> fonts;
    // Hit tests skip the art whose extent is too far from the point; without, they examine
    // everything (to check that both find the same).
    bool cullHitTests = true;
    // The most steps the undo history keeps; 0 keeps none and records nothing (a front that
    // offers no undo, such as a command that updates a drawing in one go).
    std::size_t undoSteps = kUndoStepLimit;
};

// A notifier a plug-in added.
struct Notifier {
    std::string name;
    std::string type;
};

// An annotator a plug-in added.
struct Annotator {
    std::string name;
    bool active = true;
};

struct MenuGroup {
    std::string name;
    // The item whose submenu the group is, or null for a top group.
    AIMenuItemHandle parentItem = nullptr;
};

struct MenuItem {
    std::string name;
    std::string groupName;
    std::string text;  // UTF-8
};

struct AppContext {
    SPPluginRef plugin = nullptr;
};

struct CursorManager {
    SPPluginRef plugin = nullptr;
};

class Host {
  public:
    explicit Host(HostOptions options = {});
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The host of this process, or null.
    static Host* Current();

    // ---- The plug-in -------------------------------------------------------------------
    // Loads the plug-in file and reads its resources; false with a reason on failure.
    bool LoadPlugin(const std::filesystem::path& file, std::string* error);
    bool PluginLoaded() const { return module_ != nullptr; }
    const PluginModule& Module() const { return *module_; }
    SPPluginRef PluginRef() const { return reinterpret_cast<SPPluginRef>(module_.get()); }
    // True while the plug-in object exists (between a successful start-up and shut-down).
    bool PluginStarted() const { return globals_ != nullptr; }

    // Sends a message with the common message data only ("SP Interface", "SP Access",
    // "SP Cache", or any pair) and returns the plug-in's result.
    ASErr Send(const char* caller, const char* selector);
    ASErr Startup() { return Send("SP Interface", "Startup"); }
    ASErr About() { return Send("SP Interface", "About"); }
    ASErr Purge() { return Send("SP Cache", "Plug-in Purge"); }
    // Sends "SP Interface"/"Shutdown".
    ASErr Shutdown();
    // Quits the application: the application-shutdown notification, then "Shutdown".
    ASErr Quit();
    // Sends "SP Access"/"Unload"; unloads the code when the plug-in holds no access lock.
    ASErr Unload();
    // Loads the code again if it was unloaded and sends "SP Access"/"Reload".
    ASErr Reload();

    // Sends an "AI Notifier" message of `type` to every notifier of that type, in the
    // order they were added; the first error is the result. Then the view is redrawn.
    ASErr Notify(const std::string& type);
    // Chooses a menu item ("AI Menu"/"AI Go"); then the view is redrawn.
    ASErr ChooseMenuItem(AIMenuItemHandle item);
    // Sends a message with an arbitrary record; `message` starts with SPMessageData, whose
    // common fields the host fills in.
    ASErr SendMessage(const char* caller, const char* selector, SPMessageData* message);

    // ---- What the plug-in set up -------------------------------------------------------
    Toolbox& Tools() { return toolbox_; }
    const Toolbox& Tools() const { return toolbox_; }
    const HandleTable<AINotifierHandle, Notifier>& Notifiers() const { return notifiers_; }
    const HandleTable<AIAnnotatorHandle, Annotator>& Annotators() const { return annotators_; }
    const HandleTable<AIMenuGroup, MenuGroup>& MenuGroups() const { return menuGroups_; }
    const HandleTable<AIMenuItemHandle, MenuItem>& MenuItems() const { return menuItems_; }
    // The item named `name`, or null.
    AIMenuItemHandle FindMenuItem(const std::string& name) const;
    const std::string& PluginName() const { return pluginName_; }
    ASInt32 PluginOptions() const { return pluginOptions_; }
    int AccessLocks() const { return accessLocks_; }

    // ---- Events the user sees ----------------------------------------------------------
    // Every line of output, in order: "alert: …", "sound: …", "cursor: …", "tip: …".
    const std::vector<std::string>& Events() const { return events_; }
    void ClearEvents() { events_.clear(); }
    // Called with each event line as it happens.
    void SetEventSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
    std::vector<std::string> Alerts() const;
    std::optional<ASInt32> CurrentCursor() const { return cursor_; }
    // The number of "AI Draw" messages sent to annotators so far.
    int AnnotationDraws() const { return annotationDraws_; }

    // ---- The view's annotation ---------------------------------------------------------
    // As a host redraws its view after each of the user's actions (a tool event, a tool
    // chosen, a notification, a menu item) and when a plug-in marks the annotation to be
    // drawn again, every active annotator receives "AI Annotation"/"AI Draw" with a drawer
    // of its own, then the host's own annotators draw; what they all drew is the view's
    // annotation. Nothing is drawn without a document.
    // The drawing of the last redraw of the current document's view (empty before any).
    const DisplayList& LastAnnotation() const { return lastAnnotation_; }
    // Redraws the view now, or once the current message is over when one is in progress.
    void Redraw();
    // Adds an annotator of the host itself (a front's marks over the view): `draw` is called
    // at each redraw after the plug-in's annotators, with a drawer that lives during the
    // call only.
    void AddHostAnnotator(std::function<void(AIAnnotatorDrawer*)> draw);
    // What the drawer suite draws into: the drawing in progress and the state of its drawer.
    struct Drawing {
        DisplayList* list = nullptr;
        DrawStyle style;
    };
    // The drawing of `drawer` when it is the drawer of the draw in progress; null when it is
    // not (a drawer kept from an earlier draw, or no drawer at all).
    Drawing* FindDrawing(AIAnnotatorDrawer* drawer);

    // ---- The user's actions ------------------------------------------------------------
    // Chooses the tool named `name` (Windows-1252) in the toolbox; kNameNotFoundErr when
    // there is none. Then the view is redrawn.
    ASErr SelectToolByName(const std::string& name);
    // A cursor event at `point` (artwork coordinates) for the selected tool: "move",
    // "down", "drag" or "up". Tools of the host itself receive nothing. Then the view is
    // redrawn.
    ASErr ToolEvent(const std::string& event, AIRealPoint point);
    // The answer the colour picker gives next ("gray G", "rgb R G B", "cmyk C M Y K",
    // "spot NAME" or "cancel"), as words.
    void SetPickerAnswer(std::vector<std::string> answer) { pickerAnswer_ = std::move(answer); }
    const std::vector<std::string>& PickerAnswer() const { return pickerAnswer_; }
    // The colour the plug-in last opened the picker on while no answer was set (the picker
    // then cancelled), taken once: a front that has a dialog shows it, preset to that colour,
    // and sets the user's answer before the action that asked is done again.
    void NotePickerAsked(const AIColor& initial) { pickerAsked_ = initial; }
    std::optional<AIColor> TakePickerAsked() { return std::exchange(pickerAsked_, std::nullopt); }

    // ---- Undo --------------------------------------------------------------------------
    // Every action of the user that changes the current document (a press and its drags
    // up to the release, a click, a notification) is one step of the document's undo
    // history; an action that changed nothing but the selection is none. Opening a
    // document, and the document-opened notification, empty the history.
    enum class UndoOutcome { Done, NothingToDo, ButtonDown, NoDocument };
    // Takes the last step back (Undo) or does the last step taken back again (Redo). Then,
    // as after opening a document, the plug-in receives the document-opened notification,
    // so that it lets go of what it held of art that is gone, and the view is redrawn.
    // Refused while the mouse button is down (between "down" and "up"), without a document,
    // and when there is no such step.
    UndoOutcome Undo();
    UndoOutcome Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    const UndoHistory& History() const { return history_; }
    // True between a "down" event and its "up".
    bool ButtonDown() const { return pressed_; }

    // ---- The plug-in's conduct ---------------------------------------------------------
    // Misuses of the host seen so far (a suite used while not acquired, a dead handle...).
    const std::vector<std::string>& Violations() const { return violations_; }
    void RecordViolation(const std::string& what);
    // Hands over the misuses recorded so far and forgets them.
    std::vector<std::string> TakeViolations() { return std::exchange(violations_, {}); }
    SuiteRegistry& Suites() { return *suites_; }
    const SuiteRegistry& Suites() const { return *suites_; }

    // ---- The platform ------------------------------------------------------------------
    // The keys the user holds from now on, by virtual-key code (platform::Key). They are the
    // keys of a Windows keyboard: Shift is the left Shift key, and either Shift key holds
    // Shift. The system's own key state follows (PublishHeldKeys).
    void SetKeys(std::set<ASInt32> virtualKeys);
    // True while the key of `virtualKey` is held: Shift while either Shift key is, the left
    // Shift key while Shift or left Shift was named.
    bool KeyHeld(ASInt32 virtualKey) const;
    // Fixes the clock (seconds); without it the host's clock is the system's.
    void SetClock(std::optional<ASInt64> seconds) { clock_ = seconds; }
    ASInt64 Now() const;
    void PlaySound(const std::string& path);
    const std::vector<std::string>& SoundsPlayed() const { return sounds_; }

    // ---- Documents ---------------------------------------------------------------------
    // Opens a new empty document of `width` × `height` points, with one layer "Calque 1",
    // and makes it current.
    void NewDocument(double width, double height);
    // Makes `document` the current document (the previous one is closed).
    void OpenDocument(std::unique_ptr<Document> document);
    Document* CurrentDocument() { return document_.get(); }

    // ---- Handles of the current document's art and layers ------------------------------
    // The handle of `art` (null for null); a handle stays the same for the art's life.
    AIArtHandle HandleOf(const Art* art);
    // The art of `handle`; null, with a violation recorded, when it is dead or unknown.
    Art* FindArt(AIArtHandle handle);
    // True when `handle` designates live art (no violation).
    bool IsLiveArt(AIArtHandle handle) const;
    // Forgets the handles of `art` and of everything in it, which the caller disposes of.
    void ForgetArt(Art& art);
    AILayerHandle HandleOf(const Layer* layer);
    Layer* FindLayer(AILayerHandle handle);
    HandleTable<AIHitRef, AIToolHitData>& Hits() { return hits_; }
    // The references of the text engine that the plug-in holds. Those still held when a
    // message ends are a violation and are dropped; all are dropped with the document.
    HandleTable<TextRefHandle, TextRef>& TextRefs() { return textRefs_; }
    // The index of the current document's paths for hit tests; null when hit tests search
    // the literal way.
    HitIndex* Index() { return options_.cullHitTests ? &hitIndex_ : nullptr; }
    // Notes that `art` was just placed in the current document or that its geometry (or
    // that of anything inside it) changed: its extent and its place in the hit index are
    // brought up to date.
    void ArtChanged(Art& art);
    // Notes that `art` and everything inside it is about to leave the current document.
    void ArtRemoved(Art& art);
    // What the suites do and say as they change the current document, so that the action in
    // progress can be undone (UndoHistory). An edit made outside any action of the user
    // empties the history, which cannot know it.
    // `art` was just placed in the document (with what it holds): recorded, then ArtChanged.
    void ArtPlaced(Art& art);
    // Takes `art` out of the document and disposes of it: its handles die, and the history
    // keeps it for undo.
    void DisposeArt(Art& art);
    // The content (name, geometry, style, text), the attributes (selected, locked, hidden,
    // guide) or the tag `name` of `art` are about to change (the tag to `value`, or removed
    // for null).
    void WillEditContent(Art& art);
    void WillEditAttributes(Art& art);
    void WillEditTag(Art& art, const std::string& name, const char* value);
    // `layer` was just inserted at `index` of the document's layers.
    void LayerPlaced(Layer& layer, std::size_t index);
    // The title or the lock of `layer` is about to change.
    void WillEditLayer(Layer& layer);
    // The current layer is about to change.
    void WillChangeCurrentLayer();
    // Forgets the handle of `layer`, which leaves the document.
    void ForgetLayer(Layer& layer);
    // A number that grows whenever art is placed, changed or removed, or a document opened:
    // a front that shows the document knows from it when to show it again.
    std::uint64_t Revision() const { return revision_; }
    // Calls `watcher` with each art that ArtChanged or ArtRemoved (`removed` true) notes,
    // before the art leaves: a front that draws only what changes learns what. Empty: none.
    void SetArtWatcher(std::function<void(Art& art, bool removed)> watcher) {
        artWatcher_ = std::move(watcher);
    }
    // Notes that the plug-in locked or unlocked `art` during the current message: art it
    // locks must be unlocked before the message ends.
    void NoteLockChange(Art& art, bool locked);

    // ---- Fonts -------------------------------------------------------------------------
    // The host's font list, in its stable order (asked of the system on first use).
    const std::vector<std::string>& Fonts() const;
    bool CullHitTests() const { return options_.cullHitTests; }
    void SetCullHitTests(bool cull) { options_.cullHitTests = cull; }

    // ---- State the suites act on (used by the suites' implementations) ----------------
    std::optional<float> RealPreference(const std::string& key) const;
    void SetPluginName(std::string name) { pluginName_ = std::move(name); }
    void SetPluginOptions(ASInt32 options) { pluginOptions_ = options; }
    SPAccessRef AcquireAccess();
    bool ReleaseAccess(SPAccessRef access);
    HandleTable<AINotifierHandle, Notifier>& MutableNotifiers() { return notifiers_; }
    HandleTable<AIAnnotatorHandle, Annotator>& MutableAnnotators() { return annotators_; }
    HandleTable<AIMenuGroup, MenuGroup>& MutableMenuGroups() { return menuGroups_; }
    HandleTable<AIMenuItemHandle, MenuItem>& MutableMenuItems() { return menuItems_; }
    HandleTable<AIAppContextHandle, AppContext>& Contexts() { return contexts_; }
    HandleTable<AICursorManagerHandle, CursorManager>& CursorManagers() { return cursorManagers_; }
    HandleTable<AIArtSet, std::vector<AIArtHandle>>& ArtSets() { return artSets_; }
    void ShowAlert(const std::u16string& text);
    void ShowCursor(ASInt32 id);
    // Marks the annotation of the current view to be drawn once the current message is
    // over. A mark made while the annotators draw is dropped: their drawing is what is
    // drawn again.
    void InvalidateAnnotation() { annotationInvalid_ = annotationInvalid_ || drawing_ == nullptr; }
    // Selects the tool `number`: the owner of the tool left receives "AI Deselect" and
    // the owner of the new one "AI Select", once the current message is over.
    void SelectTool(AIToolType number);
    bool InsideMessage() const { return depth_ > 0; }
    void Emit(const std::string& line);

  private:
    struct Deferred {
        std::string caller;
        std::string selector;
        AIToolHandle tool = nullptr;
    };

    ASErr Call(const char* caller, const char* selector, SPMessageData* message);
    void FillCommon(SPMessageData* message);
    void RunDeferred();
    void CheckAfterMessage(const char* caller, const char* selector);
    // Carries out the user's action `act`, then redraws the view (once the current message
    // is over when one is in progress); the result is `act`'s.
    template <typename Act>
    ASErr UserAction(Act act);
    // Notify without the redraw.
    ASErr SendNotifications(const std::string& type);
    // The history to record a change of the document into; null when nothing is recorded
    // (and, for a change outside any action of the user, the history is emptied).
    UndoHistory* Journal();
    UndoOutcome Replay(bool undo);
    void DrawAnnotations();
    // A new drawer for the drawing in progress, live until the next one.
    AIAnnotatorDrawer* NewDrawer();

    HostOptions options_;
    std::unique_ptr<SuiteRegistry> suites_;
    std::unique_ptr<PluginModule> module_;
    void* globals_ = nullptr;
    std::string pluginName_;
    ASInt32 pluginOptions_ = 0;
    int accessLocks_ = 0;
    std::uintptr_t nextAccess_ = 1;
    std::set<SPAccessRef> accessRefs_;

    Toolbox toolbox_;
    HandleTable<AINotifierHandle, Notifier> notifiers_;
    HandleTable<AIAnnotatorHandle, Annotator> annotators_;
    HandleTable<AIMenuGroup, MenuGroup> menuGroups_;
    HandleTable<AIMenuItemHandle, MenuItem> menuItems_;
    HandleTable<AIAppContextHandle, AppContext> contexts_;
    HandleTable<AICursorManagerHandle, CursorManager> cursorManagers_;
    HandleTable<AIArtSet, std::vector<AIArtHandle>> artSets_;
    HandleTable<AIHitRef, AIToolHitData> hits_;
    HandleTable<TextRefHandle, TextRef> textRefs_;
    // Art by the number of its handle (null once disposed of): handles are found in constant
    // time, and each art keeps the number it was given (Art::handleNumber).
    std::vector<Art*> arts_;
    std::unordered_map<const void*, std::uintptr_t> objectIds_;  // layers
    std::unordered_map<std::uintptr_t, Layer*> layers_;
    std::uintptr_t nextObjectId_ = 1;
    std::set<Art*> lockedByPlugin_;
    HitIndex hitIndex_;

    std::vector<std::string> events_;
    std::function<void(const std::string&)> sink_;
    std::optional<ASInt32> cursor_;
    std::uint64_t revision_ = 0;
    std::function<void(Art&, bool)> artWatcher_;
    std::vector<std::string> violations_;
    std::set<ASInt32> keys_;
    std::optional<ASInt64> clock_;
    std::vector<std::string> sounds_;
    std::unique_ptr<Document> document_;
    mutable std::optional<std::vector<std::string>> fonts_;
    std::vector<std::string> pickerAnswer_;
    std::optional<AIColor> pickerAsked_;

    int depth_ = 0;
    bool annotationInvalid_ = false;
    int annotationDraws_ = 0;
    // The number of user's actions in progress: the redraw waits for the outermost.
    int userActions_ = 0;
    // The same, up to the end of what the action set off (the messages deferred to its
    // end): the undo step ends with the outermost.
    int recording_ = 0;
    UndoHistory history_;
    bool pressed_ = false;
    // While an undo or a redo runs: what changes then is no step.
    bool replaying_ = false;
    bool replayDisturbed_ = false;
    std::vector<std::function<void(AIAnnotatorDrawer*)>> hostAnnotators_;
    DisplayList lastAnnotation_;
    // The lines of the cursor tip drawn last.
    std::vector<std::string> lastTip_;
    // While the annotators draw: the drawing, and the drawer that may draw into it.
    Drawing* drawing_ = nullptr;
    AIAnnotatorDrawer* liveDrawer_ = nullptr;
    std::uintptr_t drawers_ = 0;
    std::deque<Deferred> deferred_;
};

}  // namespace emulator
