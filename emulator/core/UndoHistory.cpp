#include "emulator/core/UndoHistory.h"

#include <algorithm>
#include <utility>

#include "emulator/core/ArtTree.h"
#include "emulator/core/Host.h"

namespace emulator {
namespace {

bool SameSegments(const std::vector<AIPathSegment>& a, const std::vector<AIPathSegment>& b) {
    const auto same = [](const AIPathSegment& s, const AIPathSegment& t) {
        return s.p.h == t.p.h && s.p.v == t.p.v && s.in.h == t.in.h && s.in.v == t.in.v &&
               s.out.h == t.out.h && s.out.v == t.out.v && (s.corner != 0) == (t.corner != 0);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

// What the art and everything in it take in memory, roughly: the records and the heap
// behind their strings and lists. Without recursion, however deep the groups nest.
std::size_t ArtBytes(const Art& top) {
    constexpr std::size_t kTagNode = 64;
    std::size_t bytes = 0;
    std::vector<const Art*> stack = {&top};
    while (!stack.empty()) {
        const Art& art = *stack.back();
        stack.pop_back();
        bytes += sizeof(Art) + art.name.capacity() +
                 art.segments.capacity() * sizeof(AIPathSegment) +
                 art.style.dash.capacity() * sizeof(double) +
                 art.pointText.text.capacity() * sizeof(char16_t) +
                 art.children.capacity() * sizeof(art.children[0]);
        for (const auto& [name, value] : art.tags) {
            bytes += kTagNode + name.capacity() + value.capacity();
        }
        for (const auto& child : art.children) {
            stack.push_back(child.get());
        }
    }
    return bytes;
}

// True for art that draws nothing: a path without anchors, a text without characters, a
// group of nothing else (groups nested however deep).
bool DrawsNothing(const Art& top) {
    std::vector<const Art*> stack = {&top};
    while (!stack.empty()) {
        const Art& art = *stack.back();
        stack.pop_back();
        if ((art.type == ArtType::Path && !art.segments.empty()) ||
            (art.type == ArtType::Text && !art.pointText.text.empty())) {
            return false;
        }
        for (const auto& child : art.children) {
            stack.push_back(child.get());
        }
    }
    return true;
}

// Puts `art` back into the document at `place` (an index past the end puts it on top).
Art* PutIn(const UndoHistory::Place& place, std::unique_ptr<Art> art) {
    auto& list = place.parent != nullptr ? place.parent->children : place.layer->art;
    const std::size_t at = std::min(place.index, list.size());
    Art* raw = art.get();
    raw->parent = place.parent;
    ForEachArt(*raw, [&place](Art& a) { a.layer = place.layer; });
    raw->indexHint = at;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(art));
    return raw;
}

}  // namespace

UndoHistory::UndoHistory(std::size_t stepLimit, std::size_t byteLimit)
    : stepLimit_(stepLimit), byteLimit_(byteLimit) {}

UndoHistory::~UndoHistory() = default;

UndoHistory::ArtContent UndoHistory::ContentOf(const Art& art) {
    return {art.name, art.segments, art.closed, art.style, art.pointText};
}

UndoHistory::ArtAttributes UndoHistory::AttributesOf(const Art& art) {
    return {art.selected, art.locked, art.hidden, art.guide};
}

void UndoHistory::Placed(Art& art) {
    const bool insideNewArt = art.parent != nullptr && art.parent->placedInStep == serial_;
    ForEachArt(art, [this](Art& a) { a.placedInStep = serial_; });
    if (!insideNewArt) {
        placedEntries_[&art] = pending_.entries.size();
        Add(Presence{&art, {}, nullptr});
    }
}

void UndoHistory::Disposed(std::unique_ptr<Art> taken, const Place& place) {
    if (taken->placedInStep == serial_) {
        // Placed and disposed of in the same step: as if it had never been.
        if (auto it = placedEntries_.find(taken.get()); it != placedEntries_.end()) {
            pending_.entries[it->second] = std::monostate{};
            placedEntries_.erase(it);
        }
        return;
    }
    Art* raw = taken.get();
    Add(Presence{raw, place, std::move(taken)});
}

void UndoHistory::WillEditContent(Art& art) {
    if (art.placedInStep == serial_ || art.contentSavedInStep == serial_) {
        return;
    }
    art.contentSavedInStep = serial_;
    Add(ContentSwap{&art, std::make_unique<ArtContent>(ContentOf(art))});
}

void UndoHistory::WillEditAttributes(Art& art) {
    if (art.placedInStep == serial_ || art.attributesSavedInStep == serial_) {
        return;
    }
    art.attributesSavedInStep = serial_;
    Add(AttributeSwap{&art, AttributesOf(art)});
}

void UndoHistory::WillEditTag(Art& art, const std::string& name, const char* value) {
    if (art.placedInStep == serial_) {
        return;
    }
    const auto it = art.tags.find(name);
    if (it == art.tags.end() ? value == nullptr : value != nullptr && it->second == value) {
        return;
    }
    Add(TagSwap{&art, name,
                it == art.tags.end() ? std::nullopt : std::optional<std::string>(it->second)});
}

void UndoHistory::LayerPlaced(Layer& layer, std::size_t index) {
    Add(LayerPresence{&layer, index, nullptr});
}

void UndoHistory::WillEditLayer(Layer& layer) {
    // A layer the step placed goes with its title and lock, as new art with its edits.
    const bool placedNow =
        std::any_of(pending_.entries.begin(), pending_.entries.end(), [&layer](const Entry& e) {
            const auto* placed = std::get_if<LayerPresence>(&e);
            return placed != nullptr && placed->layer == &layer && !placed->held;
        });
    if (!placedNow) {
        Add(LayerSwap{&layer, layer.title, layer.locked});
    }
}

void UndoHistory::WillChangeCurrentLayer(const Document& document) {
    Add(CurrentLayerSwap{document.currentLayer});
}

bool UndoHistory::IsNoOp(const Entry& entry) {
    if (std::holds_alternative<std::monostate>(entry)) {
        return true;
    }
    if (const auto* swap = std::get_if<ContentSwap>(&entry)) {
        const Art& art = *swap->art;
        const ArtContent& was = *swap->content;
        return was.name == art.name && SameSegments(was.segments, art.segments) &&
               was.closed == art.closed && was.style == art.style && was.pointText == art.pointText;
    }
    if (const auto* swap = std::get_if<AttributeSwap>(&entry)) {
        return swap->attributes == AttributesOf(*swap->art);
    }
    if (const auto* swap = std::get_if<TagSwap>(&entry)) {
        const auto it = swap->art->tags.find(swap->name);
        return it == swap->art->tags.end() ? !swap->value : swap->value == it->second;
    }
    if (const auto* swap = std::get_if<LayerSwap>(&entry)) {
        return swap->title == swap->layer->title && swap->locked == swap->layer->locked;
    }
    return false;
}

bool UndoHistory::IsUnseen(const Entry& entry) {
    if (const auto* presence = std::get_if<Presence>(&entry)) {
        return !presence->held && DrawsNothing(*presence->art);
    }
    // A new layer that holds nothing one sees yet (the layer a first measure's first point
    // makes for its dimension), and the current layer that goes with it.
    if (const auto* layer = std::get_if<LayerPresence>(&entry)) {
        return !layer->held && std::all_of(layer->layer->art.begin(), layer->layer->art.end(),
                                           [](const auto& art) { return DrawsNothing(*art); });
    }
    return std::holds_alternative<AttributeSwap>(entry) || std::holds_alternative<TagSwap>(entry) ||
           std::holds_alternative<CurrentLayerSwap>(entry);
}

std::size_t UndoHistory::BytesOf(const Entry& entry) {
    std::size_t bytes = sizeof(Entry);
    if (const auto* presence = std::get_if<Presence>(&entry); presence && presence->held) {
        bytes += ArtBytes(*presence->held);
    } else if (const auto* swap = std::get_if<ContentSwap>(&entry)) {
        const ArtContent& c = *swap->content;
        bytes += sizeof(ArtContent) + c.name.capacity() +
                 c.segments.capacity() * sizeof(AIPathSegment) +
                 c.style.dash.capacity() * sizeof(double) +
                 c.pointText.text.capacity() * sizeof(char16_t);
    } else if (const auto* tag = std::get_if<TagSwap>(&entry)) {
        bytes += tag->name.capacity() + (tag->value ? tag->value->capacity() : 0);
    } else if (const auto* layer = std::get_if<LayerPresence>(&entry); layer && layer->held) {
        bytes += sizeof(Layer);
        for (const auto& art : layer->held->art) {
            bytes += ArtBytes(*art);
        }
    }
    return bytes;
}

void UndoHistory::Prune(const Document* document) {
    std::erase_if(pending_.entries, [document](const Entry& entry) {
        if (const auto* swap = std::get_if<CurrentLayerSwap>(&entry)) {
            return document != nullptr && swap->layer == document->currentLayer;
        }
        return IsNoOp(entry);
    });
}

bool UndoHistory::HasUnseen(const Document* document) {
    Prune(document);
    const auto& entries = pending_.entries;
    const bool selectionOnly = std::all_of(entries.begin(), entries.end(), [](const Entry& entry) {
        return std::holds_alternative<AttributeSwap>(entry);
    });
    return !selectionOnly && std::all_of(entries.begin(), entries.end(), IsUnseen);
}

bool UndoHistory::DropUnseen(Host& host, const Document* document) {
    if (!HasUnseen(document)) {
        return false;
    }
    for (auto it = pending_.entries.rbegin(); it != pending_.entries.rend(); ++it) {
        Apply(host, *it);
    }
    NextStep();
    return true;
}

void UndoHistory::Commit(const Document* document, bool evenUnseen) {
    Prune(document);
    const auto& entries = pending_.entries;
    const bool selectionOnly = std::all_of(entries.begin(), entries.end(), [](const Entry& entry) {
        return std::holds_alternative<AttributeSwap>(entry);
    });
    if (!selectionOnly && !evenUnseen && std::all_of(entries.begin(), entries.end(), IsUnseen)) {
        // The step goes on: the entries of its new art have moved.
        placedEntries_.clear();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (const auto* presence = std::get_if<Presence>(&entries[i])) {
                placedEntries_[presence->art] = i;
            }
        }
        return;
    }
    if (!selectionOnly) {
        for (const Step& step : undone_) {
            bytes_ -= step.bytes;
        }
        undone_.clear();
        for (const Entry& entry : pending_.entries) {
            pending_.bytes += BytesOf(entry);
        }
        bytes_ += pending_.bytes;
        done_.push_back(std::move(pending_));
        Trim();
    }
    NextStep();
}

void UndoHistory::NextStep() {
    pending_ = {};
    placedEntries_.clear();
    ++serial_;
}

void UndoHistory::Trim() {
    while (done_.size() > stepLimit_ || (bytes_ > byteLimit_ && done_.size() > 1)) {
        bytes_ -= done_.front().bytes;
        done_.pop_front();
    }
}

void UndoHistory::Clear() {
    done_.clear();
    undone_.clear();
    bytes_ = 0;
    NextStep();
}

void UndoHistory::Apply(Host& host, Entry& entry) {
    Document& document = *host.CurrentDocument();
    if (auto* presence = std::get_if<Presence>(&entry)) {
        if (presence->held) {
            host.ArtChanged(*PutIn(presence->place, std::move(presence->held)));
        } else {
            Art& art = *presence->art;
            presence->place = {art.layer, art.parent, IndexOf(art)};
            host.ArtRemoved(art);
            host.ForgetArt(art);
            presence->held = DetachArt(art);
        }
    } else if (auto* content = std::get_if<ContentSwap>(&entry)) {
        Art& art = *content->art;
        ArtContent& c = *content->content;
        std::swap(c.name, art.name);
        std::swap(c.segments, art.segments);
        std::swap(c.closed, art.closed);
        std::swap(c.style, art.style);
        std::swap(c.pointText, art.pointText);
        host.ArtChanged(art);
    } else if (auto* attributes = std::get_if<AttributeSwap>(&entry)) {
        Art& art = *attributes->art;
        const ArtAttributes now = AttributesOf(art);
        art.selected = attributes->attributes.selected;
        art.locked = attributes->attributes.locked;
        art.hidden = attributes->attributes.hidden;
        art.guide = attributes->attributes.guide;
        attributes->attributes = now;
    } else if (auto* tag = std::get_if<TagSwap>(&entry)) {
        Art& art = *tag->art;
        std::optional<std::string> now;
        if (const auto it = art.tags.find(tag->name); it != art.tags.end()) {
            now = std::move(it->second);
            art.tags.erase(it);
        }
        if (tag->value) {
            art.tags[tag->name] = std::move(*tag->value);
        }
        tag->value = std::move(now);
    } else if (auto* layer = std::get_if<LayerPresence>(&entry)) {
        auto& layers = document.layers;
        if (layer->held) {
            Layer* raw = layer->held.get();
            const std::size_t at = std::min(layer->index, layers.size());
            layers.insert(layers.begin() + static_cast<std::ptrdiff_t>(at), std::move(layer->held));
            for (const auto& art : raw->art) {
                host.ArtChanged(*art);
            }
        } else {
            const auto it = std::find_if(layers.begin(), layers.end(), [layer](const auto& l) {
                return l.get() == layer->layer;
            });
            if (it == layers.end()) {
                return;
            }
            for (const auto& art : layer->layer->art) {
                host.ArtRemoved(*art);
                host.ForgetArt(*art);
            }
            host.ForgetLayer(*layer->layer);
            layer->index = static_cast<std::size_t>(it - layers.begin());
            layer->held = std::move(*it);
            layers.erase(it);
        }
    } else if (auto* state = std::get_if<LayerSwap>(&entry)) {
        std::swap(state->title, state->layer->title);
        std::swap(state->locked, state->layer->locked);
    } else if (auto* current = std::get_if<CurrentLayerSwap>(&entry)) {
        std::swap(current->layer, document.currentLayer);
    }
}

// Counts again what `step` holds: applying its entries swapped what they hold with the
// document's.
void UndoHistory::Recount(Step& step) {
    bytes_ -= step.bytes;
    step.bytes = 0;
    for (const Entry& entry : step.entries) {
        step.bytes += BytesOf(entry);
    }
    bytes_ += step.bytes;
}

void UndoHistory::Undo(Host& host) {
    if (done_.empty() || host.CurrentDocument() == nullptr) {
        return;
    }
    Step step = std::move(done_.back());
    done_.pop_back();
    for (auto it = step.entries.rbegin(); it != step.entries.rend(); ++it) {
        Apply(host, *it);
    }
    Recount(step);
    undone_.push_back(std::move(step));
    NextStep();
}

void UndoHistory::Redo(Host& host) {
    if (undone_.empty() || host.CurrentDocument() == nullptr) {
        return;
    }
    Step step = std::move(undone_.back());
    undone_.pop_back();
    for (Entry& entry : step.entries) {
        Apply(host, entry);
    }
    Recount(step);
    done_.push_back(std::move(step));
    NextStep();
}

}  // namespace emulator
