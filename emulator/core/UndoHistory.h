// The undo history of a document: what each of the user's actions changed, kept so that the
// host can take the last actions back (undo) and do them again (redo).
//
// A step holds what its action changed, entry by entry, never a copy of the document: the
// art it placed (a pointer while the art is in the document; the art itself while it is
// out), the art it disposed of (the same the other way round), the content and attributes
// that art had before its first edit of the step, the layers it added and the current
// layer it replaced. Every entry is its own inverse: it
// swaps what it holds with what the document holds. Undoing a step applies its entries
// last first, doing it again applies them in order, so that each entry meets the document
// exactly as it left it.
//
// The custom colours of the document are no part of it: the colour picker adds them for
// the settings that name them, which no undo takes back.
//
// The host records while an action of the user runs (Record*, Will*) and ends the step when
// the action is over (Commit). Art placed during the step is new: its later edits need no
// entry (taking it out takes them out), and disposing of it again forgets its entry. A step
// that changed nothing but the selection is not kept: choosing what to measure is not an
// edit of the drawing, and the selection comes back with the steps that changed the art. A
// step that changed nothing one can see (art that draws nothing yet, tags: what a tool
// keeps of a measure's first point) goes on with the next action, so that undo takes the
// whole measure back at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "emulator/core/Document.h"

namespace emulator {

class Host;

// The most steps a history keeps, and the most memory its entries may take (the oldest
// steps go first; the last step is always kept).
constexpr std::size_t kUndoStepLimit = 100;
constexpr std::size_t kUndoByteLimit = 64u << 20;

class UndoHistory {
  public:
    explicit UndoHistory(std::size_t stepLimit = kUndoStepLimit,
                         std::size_t byteLimit = kUndoByteLimit);
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // ---- Recording the step in progress -------------------------------------------------
    // `art` (and what it holds) was just placed in the document.
    void Placed(Art& art);
    // `taken` was just taken out of the document from `place`; the history keeps it for
    // undo, or destroys it when the step in progress placed it.
    struct Place {
        Layer* layer = nullptr;
        Art* parent = nullptr;  // null: at the top of the layer
        std::size_t index = 0;
    };
    void Disposed(std::unique_ptr<Art> taken, const Place& place);
    // The content (name, geometry, style, text) or the attributes (selected, locked, hidden,
    // guide) of `art` are about to change.
    void WillEditContent(Art& art);
    void WillEditAttributes(Art& art);
    // The tag `name` of `art` is about to be set to `value` (removed for null).
    void WillEditTag(Art& art, const std::string& name, const char* value);
    // `layer` was just inserted into `document` at `index`.
    void LayerPlaced(Layer& layer, std::size_t index);
    // The title or the lock of `layer` is about to change.
    void WillEditLayer(Layer& layer);
    // The current layer of `document` is about to change.
    void WillChangeCurrentLayer(const Document& document);

    // Ends the step in progress: kept when it changed more than the selection (the redo
    // steps then go), dropped otherwise. A step that changed nothing one can see goes on
    // unless `evenUnseen` (before an undo: it is then the step undone). `document` is the
    // document the step changed.
    void Commit(const Document* document, bool evenUnseen = false);

    // Takes back the step in progress when it changed nothing one can see yet (a measure's
    // first point, which undo drops with the measure): true when there was such a step.
    // `document` is the document the step changed.
    bool DropUnseen(Host& host, const Document* document);
    bool HasUnseen(const Document* document);

    // ---- Undo and redo ---------------------------------------------------------------------
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    std::size_t UndoSteps() const { return done_.size(); }
    // Takes back the last step done, or does the last step undone again, in the host's
    // current document. Nothing when there is none. The step in progress must be empty.
    void Undo(Host& host);
    void Redo(Host& host);

    // Forgets every step and the step in progress (a document opened, or an edit the history
    // did not see).
    void Clear();
    // The memory the kept steps take, in bytes (an estimate from the sizes of what they hold).
    std::size_t Bytes() const { return bytes_; }

  private:
    // Leaves out of the step in progress the entries that change nothing.
    void Prune(const Document* document);
    struct Step;
    void Recount(Step& step);

    struct ArtContent {
        std::string name;
        std::vector<AIPathSegment> segments;
        bool closed = false;
        PathStyle style;
        PointText pointText;
    };
    struct ArtAttributes {
        bool selected = false;
        bool locked = false;
        bool hidden = false;
        bool guide = false;
        friend bool operator==(const ArtAttributes&, const ArtAttributes&) = default;
    };
    // Art in or out of the document: `held` owns it while it is out.
    struct Presence {
        Art* art = nullptr;
        Place place;
        std::unique_ptr<Art> held;
    };
    // Apart, so that every entry stays small.
    struct ContentSwap {
        Art* art = nullptr;
        std::unique_ptr<ArtContent> content;
    };
    struct AttributeSwap {
        Art* art = nullptr;
        ArtAttributes attributes;
    };
    struct TagSwap {
        Art* art = nullptr;
        std::string name;
        std::optional<std::string> value;
    };
    struct LayerPresence {
        Layer* layer = nullptr;
        std::size_t index = 0;
        std::unique_ptr<Layer> held;
    };
    struct LayerSwap {
        Layer* layer = nullptr;
        std::string title;
        bool locked = false;
    };
    struct CurrentLayerSwap {
        Layer* layer = nullptr;
    };
    using Entry = std::variant<std::monostate, Presence, ContentSwap, AttributeSwap, TagSwap,
                               LayerPresence, LayerSwap, CurrentLayerSwap>;
    struct Step {
        std::vector<Entry> entries;
        std::size_t bytes = 0;
    };

    static ArtContent ContentOf(const Art& art);
    static ArtAttributes AttributesOf(const Art& art);
    static std::size_t BytesOf(const Entry& entry);
    static bool IsNoOp(const Entry& entry);
    static bool IsUnseen(const Entry& entry);
    template <typename Kind>
    void Add(Kind&& entry) {
        pending_.entries.emplace_back(std::in_place_type<std::decay_t<Kind>>,
                                      std::forward<Kind>(entry));
    }
    // Applies `entry` to the host's document: swaps what it holds with what is there.
    static void Apply(Host& host, Entry& entry);
    void Trim();
    void NextStep();

    std::size_t stepLimit_;
    std::size_t byteLimit_;
    std::deque<Step> done_;
    std::vector<Step> undone_;
    std::size_t bytes_ = 0;
    Step pending_;
    // The serial of the step in progress: art placed, or saved, during it carries it.
    std::uint64_t serial_ = 1;
    // The entries of the step in progress that placed art, by art.
    std::unordered_map<const Art*, std::size_t> placedEntries_;
};

}  // namespace emulator
