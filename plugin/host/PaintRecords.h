// The host's colour and path style records, shared by the suites that paint art, define
// custom colours and ask the user for a colour.
//
// Components run from 0 to 1. A gray is an amount of ink: 0 is white, 1 is black.
#pragma once

#include "plugin/host/Records.h"

// Colour kinds (AIColor::kind).
constexpr ASInt32 kGrayColor = 0;
// Red, green and blue.
constexpr ASInt32 kThreeColor = 1;
// Cyan, magenta, yellow and black.
constexpr ASInt32 kFourColor = 2;
// A custom (spot) colour of the document with a tint.
constexpr ASInt32 kCustomColor = 3;
// No colour: nothing is painted.
constexpr ASInt32 kNoneColor = 4;

struct AIGrayColorStyle {
    // The amount of black: 0 is white, 1 is black.
    AIReal gray;
};

struct AIThreeColorStyle {
    AIReal red;
    AIReal green;
    AIReal blue;
};

struct AIFourColorStyle {
    AIReal cyan;
    AIReal magenta;
    AIReal yellow;
    AIReal black;
};

struct AICustomColorStyle {
    // A custom colour of the current document.
    AICustomColorHandle color;
    // How much the colour is lightened towards white: 0 is the colour itself, 1 is white.
    AIReal tint;
};

// A colour: `kind` tells which one of the component records holds it; the others are
// ignored.
struct AIColor {
    ASInt32 kind;
    AIGrayColorStyle gray;
    AIThreeColorStyle rgb;
    AIFourColorStyle cmyk;
    AICustomColorStyle custom;
};

// The definition of a custom colour: `kind` is kThreeColor or kFourColor and tells which
// record holds its components.
struct AICustomColor {
    ASInt32 kind;
    AIThreeColorStyle rgb;
    AIFourColorStyle cmyk;
};

struct AIFillStyle {
    AIColor color;
    AIBoolean overprint;
};

// The most values a dash pattern holds.
constexpr ASInt32 kMaxDashComponents = 6;

struct AIDashStyle {
    // The number of values of `array` in use, 0 (a solid line) to kMaxDashComponents.
    ASInt32 length;
    // Where in the pattern the line starts, in points.
    AIReal offset;
    // Alternating dash and gap lengths in points.
    AIReal array[kMaxDashComponents];
};

// Line caps.
constexpr ASInt32 kButtCap = 0;
constexpr ASInt32 kRoundCap = 1;
constexpr ASInt32 kProjectingCap = 2;

// Line joins.
constexpr ASInt32 kMiterJoin = 0;
constexpr ASInt32 kRoundJoin = 1;
constexpr ASInt32 kBevelJoin = 2;

struct AIStrokeStyle {
    AIColor color;
    AIBoolean overprint;
    // In points.
    AIReal width;
    AIDashStyle dash;
    ASInt32 cap;
    ASInt32 join;
    // The ratio of a miter's length to the line width beyond which a miter join is
    // bevelled; at least 1.
    AIReal miterLimit;
};

// How a path is painted. A fill or stroke whose flag is clear is not painted, whatever its
// colour says.
struct AIPathStyle {
    AIBoolean fillPaint;
    AIFillStyle fill;
    AIBoolean strokePaint;
    AIStrokeStyle stroke;
};
