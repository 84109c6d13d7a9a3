// The custom colours of a document, and the conversions between the host's colour records
// and the paints of the artwork model.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "emulator/core/Document.h"
#include "plugin/host/PaintRecords.h"

namespace emulator {

// The handle of a custom colour; the same for the colour's life, never reused.
AICustomColorHandle HandleOfCustomColor(const CustomColor& color);

// The custom colour of `document` that `handle` designates, or null.
CustomColor* FindCustomColor(Document& document, AICustomColorHandle handle);

// The custom colour of `document` named `name` (UTF-8), or null.
CustomColor* FindCustomColorByName(Document& document, std::string_view name);

// Adds a custom colour to `document` and makes it the current one. The caller has checked
// that `name` is not empty and not in use and that `definition` is RGB or CMYK.
CustomColor& AddCustomColor(Document& document, std::string name, const Paint& definition);

// Makes `color`, one of the document's custom colours, the current one.
void MakeCurrentCustomColor(Document& document, const CustomColor& color);

// The definition of a custom colour record; nothing when its kind is neither kThreeColor
// nor kFourColor or a component is outside 0..1.
std::optional<Paint> DefinitionFromRecord(const AICustomColor& record);

// The record of a custom colour's definition.
AICustomColor RecordFromDefinition(const Paint& definition);

// What a custom colour looks like on screen at `tint` (0: the colour itself, 1: white).
// CMYK converts naively: red = (1 − cyan)(1 − black), and so on.
RGBColor CustomColorAppearance(const Paint& definition, double tint);

// The model's paint of a host colour; nothing when the kind is unknown, a component or
// tint is outside 0..1, or a custom colour is not one of `document`'s (any custom colour,
// when `document` is null). A custom colour keeps its name and tint with its appearance.
std::optional<Paint> PaintFromColor(Document* document, const AIColor& color);

// The host colour of a model paint. A custom colour that `document` (may be null) does not
// hold answers its appearance as an RGB colour.
AIColor ColorFromPaint(Document* document, const Paint& paint);

}  // namespace emulator
