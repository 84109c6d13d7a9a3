// Which dimensions of a drawing still tell the truth: every dimension the plug-in drew is
// found with its records, the linked ones are brought up to date by the plug-in itself (an
// Alt+click on a dimension of each kind, as the user does), and the text each one showed is
// compared with the text it shows now.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "emulator/core/Host.h"

namespace app {

enum class DimensionStatus {
    UpToDate,     // "ok"
    OutOfDate,    // "out of date"
    PathMissing,  // "path missing": what it measured is gone, it was left as it was
    Free,         // "free": not linked, nothing to check
    // "not reached": no point of any dimension of its kind could take a click without other
    // art nearer; it was left as it was
    Unreached,
};

// The word the reports use for a status.
const char* StatusWord(DimensionStatus status);

struct DimensionReport {
    std::string kind;   // "linear", "angle", "radius", "arc length"...
    std::string name;   // the dimension group's name (UTF-8)
    std::string shows;  // the text it showed, lines joined by " / " (UTF-8)
    // The text it shows once up to date: the same when free, empty when its path is missing.
    std::string shouldShow;
    DimensionStatus status = DimensionStatus::Free;
};

// Called now and then with the share of the work done, from 0 to 1.
using Progress = std::function<void(double done)>;

// Where art lies in a document: the index of its layer (bottom first), then its index in
// each list down to it (bottom first).
using Place = std::vector<std::size_t>;

// An out-of-date dimension and the group the plug-in drew for it in its place.
struct Rebuilt {
    Place place;                           // the dimension's place before the refresh
    const emulator::Art* group = nullptr;  // in the host's document
};

struct Refresh {
    std::vector<DimensionReport> reports;
    // The out-of-date dimensions, in the order of the reports.
    std::vector<Rebuilt> rebuilt;
    // Set when the plug-in's settings panel opened (a click the plug-in did not take for a
    // dimension's): what the plug-in did since cannot be trusted, nothing is to be written.
    std::string failure;
};

// Brings every linked dimension of the host's current document up to date through the
// plug-in, which the host has loaded and started, and reports on every dimension, in the
// document's order (layers bottom first). The plug-in rebuilds every dimension of a kind
// (those up to date too, in its dimensions layer): what it drew for the out-of-date ones is
// named in Refresh::rebuilt, for a caller that writes only those into the document as it was
// (ReplaceRebuilt). A dimension whose path is missing, or that could not be reached, is left
// as it was.
// A click goes only where the host's hit test answers with the dimension's own art and
// where the plug-in does not offer its settings for an Alt+click (its cursor tells).
Refresh RefreshDimensions(emulator::Host& host, const Progress& progress);

// Puts a copy of each rebuilt group of `refresh` into `document`, which is the document the
// refresh started from as it was read, in the place of the dimension it replaces: the other
// dimensions, and the layer and stacking place of the rebuilt ones, stay as they were. False
// when a place is not found in `document` (nothing is changed then).
bool ReplaceRebuilt(const Refresh& refresh, emulator::Document& document);

}  // namespace app
