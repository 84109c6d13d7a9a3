#include "app/DimensionCheck.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "app/MeasureReading.h"
#include "emulator/core/ArtTree.h"
#include "emulator/core/HitTest.h"
#include "emulator/core/Unicode.h"
#include "plugin/host/Platform.h"

namespace app {
namespace {

using emulator::Art;
using emulator::ArtType;

// The records the plug-in writes (the tag names without their namespace).
constexpr std::string_view kAuxiliary = "vorn";
constexpr std::array<std::string_view, 3> kKindKeys = {"mods", "moda", "modc"};
constexpr std::array<std::string_view, 5> kLinkKeys = {"surseg", "segpt1", "segpt2", "ang", "cer"};

// The names the plug-in gives its dimension groups (UTF-8), and the kind each stands for.
const std::map<std::string, std::string, std::less<>>& GroupNames() {
    static const std::map<std::string, std::string, std::less<>> names = {
        {"Segment oblique", "linear"},      {"Segment horiz", "linear"},
        {"Segment verti", "linear"},        {"Segment horiz & verti", "linear"},
        {"Segment erreur", "linear"},       {"Segment arc", "arc length"},
        {"Segment courbe", "curve length"}, {"Angle", "angle"},
        {"Cercle Rayon", "radius"},         {"Cercle Diamètre", "diameter"},
        {"Bézier partage", "division"},     {"Longueurs & Aires", "lengths and areas"},
    };
    return names;
}

// A dimension as found in the document.
struct Found {
    AIArtHandle group = nullptr;
    std::string kind;
    std::string name;
    std::string text;      // UTF-8, lines kept
    std::string identity;  // the records of its record art, the same after a rebuild
    std::string kindKey;   // "mods", "moda", "modc"; empty without records
    std::vector<std::pair<std::string, std::string>> links;  // link key, number
    std::vector<AIRealPoint> clickPoints;
    Place place;
};

// The cursor the plug-in shows where an Alt+click would open its settings panel rather than
// bring a dimension up to date.
constexpr ASInt32 kSettingsCursor = 20010;
// An entry of the settings panel's main page, which the plug-in draws over the view, and
// nothing else, while the panel it opened is showing.
constexpr std::string_view kPanelEntry = "Format de nombre.";
// How far from a click the plug-in looks for what it clicks, in view pixels.
constexpr double kClickTolerance = 8;

bool HasTag(const Art& art, std::string_view key) {
    return art.tags.find(key) != art.tags.end();
}

// Points along each segment of a dimension's own line or arc, where a click finds it: away
// from the segment's middle first, where the measure text may lie.
void AddPointsOn(const Art& art, std::vector<AIRealPoint>& points) {
    if (art.segments.size() < 2) {
        if (!art.segments.empty()) {
            points.push_back(art.segments[0].p);
        }
        return;
    }
    for (std::size_t end = 1; end < art.segments.size(); ++end) {
        const AIPathSegment& a = art.segments[end - 1];
        const AIPathSegment& b = art.segments[end];
        for (const float t : {0.3f, 0.7f, 0.5f, 0.15f, 0.85f}) {
            const float u = 1 - t;
            const auto at = [&](float p0, float p1, float p2, float p3) {
                return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
            };
            points.push_back(
                {at(a.p.h, a.out.h, b.in.h, b.p.h), at(a.p.v, a.out.v, b.in.v, b.p.v)});
        }
    }
}

// The lines of a text art, joined by line feeds (UTF-8).
std::string TextOf(const Art& art) {
    std::string text = emulator::Utf8FromUtf16(art.pointText.text);
    for (char& c : text) {
        c = c == '\r' ? '\n' : c;
    }
    return text;
}

// What a group holds of a dimension: its first text and its first record art.
Found Describe(emulator::Host& host, const Art& group) {
    Found found;
    found.group = host.HandleOf(&group);
    found.name = group.name;
    const Art* record = nullptr;
    const Art* text = nullptr;
    // The art carrying the kind's key: the dimension's own lines and arcs.
    std::vector<const Art*> own;
    std::vector<const Art*> stack = {&group};
    while (!stack.empty()) {
        const Art* art = stack.back();
        stack.pop_back();
        if (art->type == ArtType::Text && text == nullptr) {
            text = art;
        }
        for (std::string_view key : kKindKeys) {
            if (HasTag(*art, key)) {
                own.push_back(art);
                if (record == nullptr) {
                    record = art;
                    found.kindKey = key;
                }
                break;
            }
        }
        for (auto child = art->children.rbegin(); child != art->children.rend(); ++child) {
            stack.push_back(child->get());
        }
    }
    if (text != nullptr) {
        found.text = TextOf(*text);
    }
    const auto named = GroupNames().find(group.name);
    found.kind = named != GroupNames().end() ? named->second : "dimension";
    if (found.kindKey == "moda") {
        found.kind = "angle";
    }
    if (record != nullptr) {
        for (const auto& [key, value] : record->tags) {
            found.identity += key + "=" + value + ";";
            for (std::string_view link : kLinkKeys) {
                if (key == link) {
                    found.links.emplace_back(key, value);
                }
            }
        }
        // The record art's points first, then those of the rest of its lines.
        AddPointsOn(*record, found.clickPoints);
        for (const Art* art : own) {
            if (art != record && HasTag(*art, found.kindKey)) {
                AddPointsOn(*art, found.clickPoints);
            }
        }
        // A measure from an anchor to a point of no path (a crossing, a point picked in the
        // void) keeps one point's link only: the plug-in cannot rebuild it, it is free.
        const auto has = [&](std::string_view key) {
            return std::any_of(found.links.begin(), found.links.end(),
                               [key](const auto& link) { return link.first == key; });
        };
        if (has("segpt1") != has("segpt2")) {
            found.links.clear();
        }
    }
    return found;
}

// True for a group the plug-in drew as a dimension: one of its names, or holding art it
// tagged as its own.
bool IsDimensionGroup(const Art& art) {
    if (art.type != ArtType::Group) {
        return false;
    }
    if (GroupNames().count(art.name) != 0) {
        return true;
    }
    for (const auto& child : art.children) {
        if (HasTag(*child, kAuxiliary)) {
            return true;
        }
    }
    return false;
}

// Every dimension of the document, layers bottom first, art bottom first.
std::vector<Found> FindDimensions(emulator::Host& host) {
    std::vector<Found> found;
    emulator::Document* document = host.CurrentDocument();
    if (document == nullptr) {
        return found;
    }
    for (std::size_t layer = 0; layer < document->layers.size(); ++layer) {
        // Depth first in paint order, without recursion: documents nest deeply.
        std::vector<std::pair<const std::vector<std::unique_ptr<Art>>*, std::size_t>> stack = {
            {&document->layers[layer]->art, 0}};
        while (!stack.empty()) {
            auto& [list, next] = stack.back();
            if (next == list->size()) {
                stack.pop_back();
                continue;
            }
            const Art& art = *(*list)[next++];
            if (IsDimensionGroup(art)) {
                found.push_back(Describe(host, art));
                found.back().place = {layer};
                for (const auto& level : stack) {
                    found.back().place.push_back(level.second - 1);
                }
            } else if (art.type == ArtType::Group) {
                stack.emplace_back(&art.children, 0);
            }
        }
    }
    return found;
}

// The tool whose Alt+click rebuilds the dimensions of a kind key.
const char* ToolFor(const std::string& kindKey) {
    if (kindKey == "moda") {
        return "Outil Angle";
    }
    return kindKey == "modc" ? "Outil Cercle" : "Outil Segment";
}

// True when the host's hit test at `point`, as the plug-in's click asks it, answers with art
// of the dimension `group`.
bool OwnArtAt(emulator::Host& host, AIArtHandle group, AIRealPoint point) {
    emulator::Document* document = host.CurrentDocument();
    const Art* dimension = host.FindArt(group);
    if (document == nullptr || dimension == nullptr) {
        return false;
    }
    const emulator::Hit hit = emulator::HitTestDocument(
        *document, point, kClickTolerance / document->view.zoom, 0, nullptr, host.Index());
    for (const Art* art = hit.hit ? hit.art : nullptr; art != nullptr; art = art->parent) {
        if (art == dimension) {
            return true;
        }
    }
    return false;
}

// True when the plug-in's annotator last drew its settings panel.
bool PanelOpen(const emulator::Host& host) {
    const auto& items = host.LastAnnotation().items;
    return std::any_of(items.begin(), items.end(), [](const emulator::DisplayItem& item) {
        return item.kind == emulator::DisplayKind::Text && item.text == kPanelEntry;
    });
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            line += " / ";
        } else {
            line += c;
        }
    }
    return line;
}

}  // namespace

const char* StatusWord(DimensionStatus status) {
    switch (status) {
        case DimensionStatus::UpToDate:
            return "ok";
        case DimensionStatus::OutOfDate:
            return "out of date";
        case DimensionStatus::PathMissing:
            return "path missing";
        case DimensionStatus::Unreached:
            return "not reached";
        case DimensionStatus::Free:
            break;
    }
    return "free";
}

Refresh RefreshDimensions(emulator::Host& host, const Progress& progress) {
    const auto report = [&](double done) {
        if (progress) {
            progress(done);
        }
    };
    const std::vector<Found> before = FindDimensions(host);
    report(0.1);

    // An Alt+click on one linked dimension of each kind rebuilds all of that kind. It goes
    // only where the dimension's own art is what the host finds and where the plug-in, its
    // cursor says, takes it for a dimension's: elsewhere it would open the settings panel,
    // and the next clicks would change settings. When a point does not do, the next point
    // of the dimension is tried; when the dimension is not rebuilt, the next of the kind.
    std::map<std::string, std::vector<const Found*>> byKind;
    for (const Found& dimension : before) {
        if (!dimension.links.empty()) {
            byKind[dimension.kindKey].push_back(&dimension);
        }
    }
    Refresh refresh;
    std::set<std::string> unreached;
    std::size_t kindsDone = 0;
    for (const auto& [kindKey, dimensions] : byKind) {
        bool clicked = false;
        bool rebuilt = false;
        for (std::size_t i = 0; i < dimensions.size() && !rebuilt; ++i) {
            for (const AIRealPoint& point : dimensions[i]->clickPoints) {
                if (!OwnArtAt(host, dimensions[i]->group, point)) {
                    continue;
                }
                if (host.SelectToolByName(ToolFor(kindKey)) != 0) {
                    break;
                }
                host.SetKeys({static_cast<ASInt32>(platform::Key::Alt)});
                host.ToolEvent("move", point);
                if (host.CurrentCursor() == kSettingsCursor) {
                    host.SetKeys({});
                    continue;
                }
                host.ToolEvent("down", point);
                host.ToolEvent("up", point);
                host.SetKeys({});
                clicked = true;
                if (PanelOpen(host)) {
                    refresh.failure = "the settings panel opened at an Alt+click on " +
                                      dimensions[i]->kind + " \"" + dimensions[i]->name + "\"";
                    return refresh;
                }
                // Taken, the click rebuilt all of the kind that could be; one that lost
                // its path stays, and clicking it again would only rebuild the rest again.
                rebuilt = !host.IsLiveArt(dimensions[i]->group);
                break;
            }
        }
        if (!clicked) {
            unreached.insert(kindKey);
        }
        report(0.1 + 0.8 * static_cast<double>(++kindsDone) / static_cast<double>(byKind.size()));
    }

    // The rebuilt dimensions are new groups with the records of the old ones.
    std::set<AIArtHandle> old;
    for (const Found& dimension : before) {
        old.insert(dimension.group);
    }
    const std::vector<Found> after = FindDimensions(host);
    std::map<std::string, std::vector<const Found*>> rebuilt;  // identity → groups, in order
    for (const Found& dimension : after) {
        if (old.count(dimension.group) == 0) {
            rebuilt[dimension.identity].push_back(&dimension);
        }
    }
    std::map<std::string, std::size_t> taken;
    std::vector<DimensionReport>& reports = refresh.reports;
    reports.reserve(before.size());
    for (const Found& dimension : before) {
        DimensionReport line{dimension.kind, dimension.name, OneLine(dimension.text),
                             OneLine(dimension.text), DimensionStatus::Free};
        if (!dimension.links.empty()) {
            const std::vector<const Found*>& groups = rebuilt[dimension.identity];
            std::size_t& next = taken[dimension.identity];
            if (unreached.count(dimension.kindKey) != 0) {
                line.status = DimensionStatus::Unreached;
                line.shouldShow.clear();
            } else if (host.IsLiveArt(dimension.group) || next >= groups.size()) {
                // Not rebuilt: the path it measured, or the anchors, are gone.
                line.status = DimensionStatus::PathMissing;
                line.shouldShow.clear();
            } else {
                const Found& now = *groups[next++];
                line.shouldShow = OneLine(now.text);
                if (ShowsSameMeasure(dimension.text, now.text)) {
                    line.status = DimensionStatus::UpToDate;
                } else {
                    line.status = DimensionStatus::OutOfDate;
                    refresh.rebuilt.push_back({dimension.place, host.FindArt(now.group)});
                }
            }
        }
        reports.push_back(std::move(line));
    }
    report(1);
    return refresh;
}

bool ReplaceRebuilt(const Refresh& refresh, emulator::Document& document) {
    std::vector<Art*> places;
    for (const Rebuilt& rebuilt : refresh.rebuilt) {
        const Place& place = rebuilt.place;
        if (rebuilt.group == nullptr || place.size() < 2 || place[0] >= document.layers.size()) {
            return false;
        }
        const std::vector<std::unique_ptr<Art>>* list = &document.layers[place[0]]->art;
        Art* art = nullptr;
        for (std::size_t level = 1; level < place.size(); ++level) {
            if (list == nullptr || place[level] >= list->size()) {
                return false;
            }
            art = (*list)[place[level]].get();
            list = &art->children;
        }
        if (art->type != ArtType::Group) {
            return false;
        }
        places.push_back(art);
    }
    // Each new group goes just above the old one, which then leaves: every other place
    // stays the same.
    for (std::size_t i = 0; i < places.size(); ++i) {
        Art& old = *places[i];
        emulator::InsertArt(*old.layer, &old, kPlaceAbove,
                            emulator::CopyArt(*refresh.rebuilt[i].group));
        emulator::DetachArt(old);
    }
    return true;
}

}  // namespace app
