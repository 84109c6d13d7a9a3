// The host's basic types and geometry records, laid out as the host passes them.
//
// Coordinates are artwork points (1/72 inch) with y growing upwards, held in 32-bit
// floats. Integer rectangles and points are view pixels with y growing downwards.
#pragma once

#include <cstdint>

using ASErr = std::int32_t;
using ASInt16 = std::int16_t;
using ASInt32 = std::int32_t;
using ASUInt16 = std::uint16_t;
using ASUInt32 = std::uint32_t;
using ASInt64 = std::int64_t;
using ASBoolean = std::uint8_t;
using AIReal = float;
using AIBoolean = ASBoolean;

// UTF-16 code unit of the host's Unicode strings.
using ASUnicode = char16_t;

struct AIRealPoint {
    AIReal h;
    AIReal v;
};

struct AIPoint {
    ASInt32 h;
    ASInt32 v;
};

struct AIRealRect {
    AIReal left;
    AIReal top;
    AIReal right;
    AIReal bottom;
};

struct AIRect {
    ASInt32 left;
    ASInt32 top;
    ASInt32 right;
    ASInt32 bottom;
};

// x' = a·x + c·y + tx, y' = b·x + d·y + ty.
struct AIRealMatrix {
    AIReal a;
    AIReal b;
    AIReal c;
    AIReal d;
    AIReal tx;
    AIReal ty;
};

// One anchor of a path with its incoming and outgoing handles. A handle equal to its
// anchor means no handle.
struct AIPathSegment {
    AIRealPoint p;
    AIRealPoint in;
    AIRealPoint out;
    AIBoolean corner;
};

// A cubic Bézier: p0 and p3 are the ends, p1 and p2 the control points.
struct AIRealBezier {
    AIRealPoint p0;
    AIRealPoint p1;
    AIRealPoint p2;
    AIRealPoint p3;
};

// Opaque handles. The host owns what they designate; the plug-in only passes them back.
struct SPPluginOpaque;
struct SPAccessOpaque;
struct AINotifierOpaque;
struct AIToolOpaque;
struct AIMenuItemOpaque;
struct AIMenuGroupOpaque;
struct AIAnnotatorOpaque;
struct AIDocumentViewOpaque;
struct AIAppContextOpaque;
struct AICursorManagerOpaque;
struct AIArtSetOpaque;
struct AIArtOpaque;
struct AILayerOpaque;
struct AIDocumentOpaque;
struct AICustomColorOpaque;

using SPPluginRef = SPPluginOpaque*;
using SPAccessRef = SPAccessOpaque*;
using AINotifierHandle = AINotifierOpaque*;
using AIToolHandle = AIToolOpaque*;
using AIMenuItemHandle = AIMenuItemOpaque*;
using AIMenuGroup = AIMenuGroupOpaque*;
using AIAnnotatorHandle = AIAnnotatorOpaque*;
using AIDocumentViewHandle = AIDocumentViewOpaque*;
using AIAppContextHandle = AIAppContextOpaque*;
using AICursorManagerHandle = AICursorManagerOpaque*;
using AIArtSet = AIArtSetOpaque*;
using AIArtHandle = AIArtOpaque*;
using AILayerHandle = AILayerOpaque*;
using AIDocumentHandle = AIDocumentOpaque*;
using AICustomColorHandle = AICustomColorOpaque*;

// A tool's number in the host's toolbox (its place in the host's tool list).
using AIToolType = ASInt32;
