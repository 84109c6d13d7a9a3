// What the tests of the SVG writer share: the bundled drawing, documents written and read
// back and compared field by field, and the art and paints the cases add.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/core/Document.h"

namespace testing_support::svg_export {

// Coordinates come back within this many user units.
inline constexpr double kTolerance = 1e-4;
// Colour components and other ratios come back within this.
inline constexpr double kRatioTolerance = 1e-6;

// A new document of that size in user units and of k points a unit, with one empty layer.
std::unique_ptr<emulator::Document> NewDocument(double width, double height, double k);

// The bundled drawing, with a failure when it does not read.
std::unique_ptr<emulator::Document> ReadExample();

// The document written and read back, with a failure when it does not read.
std::unique_ptr<emulator::Document> Reread(const emulator::Document& document);

// Expects the same layers and art, field by field.
void ExpectSameModel(const emulator::Document& expected, const emulator::Document& actual);

// The layer of that title (the first layer, with a failure, when there is none).
emulator::Layer& LayerTitled(emulator::Document& document, const std::string& title);

// The art of that name, at any depth (null, with a failure, when there is none).
emulator::Art* ArtNamed(emulator::Document& document, const std::string& name);

// A path through SVG user points (y downwards) of a document of scale k, with straight
// segments and a stroke.
std::unique_ptr<emulator::Art> StraightPath(const std::vector<std::pair<double, double>>& points,
                                            bool closed, double k);

// Appends art to a list of art of that layer and parent.
emulator::Art* Append(std::vector<std::unique_ptr<emulator::Art>>& list,
                      std::unique_ptr<emulator::Art> art, emulator::Layer* layer,
                      emulator::Art* parent);

emulator::Paint GrayPaint(double gray);
emulator::Paint RgbPaint(double red, double green, double blue);
emulator::Paint CmykPaint(double cyan, double magenta, double yellow, double black);
emulator::Paint CustomPaint(const std::string& name, double tint, double red, double green,
                            double blue);

bool Contains(const std::string& text, const std::string& part);

// A point text in DejaVuSans at 10 points whose baseline turns `degrees` counter-clockwise
// on the page, anchored at the user point (x, y) of a document of scale k.
std::unique_ptr<emulator::Art> TextArt(const std::u16string& text, double degrees, double x,
                                       double y, double k);

}  // namespace testing_support::svg_export
