// What the tests of the SVG reader share: documents read from the body of a drawing, the
// art they hold, and anchors compared in SVG user units.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "emulator/svg/SvgImport.h"

namespace testing_support::svg_import {

// Coordinates are floats of a few hundred points at most in these cases.
inline constexpr double kTolerance = 1e-4;
inline constexpr double kKappa = 0.5522847;
inline constexpr double kPointsPerMm = 72 / 25.4;

// An SVG document of `body`, with the namespaces of layers bound on its root.
std::string Svg(const std::string& body, const std::string& rootAttributes = "");

// The document of Svg(body, rootAttributes), with a failure when it does not read.
std::unique_ptr<emulator::Document> Read(const std::string& body,
                                         const std::string& rootAttributes = "");

// The art of the first layer that has any.
const std::vector<std::unique_ptr<emulator::Art>>& AllArt(const emulator::Document& document);

// The only art of a one-element drawing (null, with a failure, when there is not exactly one).
const emulator::Art* OnlyArt(const emulator::Document* document);

// An anchor in SVG user units (y downwards), as the cases write it.
struct Anchor {
    double px, py, inx, iny, outx, outy;
    int corner;
};

// An anchor whose handles are on it.
Anchor Plain(double x, double y);

// Expects a path with these anchors, given in user units of k points.
void ExpectAnchors(const emulator::Art* art, const std::vector<Anchor>& expected, double k = 1);

}  // namespace testing_support::svg_import
