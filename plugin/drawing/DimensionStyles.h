// How dimensions look: the two line styles, the arrowhead fill style and the text colour,
// built from the settings; and the names dimensions get in the host's layer list.
#pragma once

#include "plugin/host/PaintRecords.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/settings/ToolKind.h"

namespace drawing {

struct DimensionStyles {
    AIPathStyle solidLine{};
    AIPathStyle dashedLine{};
    AIPathStyle arrowFill{};
    AIColor textColor{};
    // The custom colours of the lines and of the text when their colour model is a custom
    // colour (the host's, chosen in its colour picker).
    AICustomColorHandle strokeCustomColor = nullptr;
    AICustomColorHandle textCustomColor = nullptr;
};

// The styles of new dimension art.
DimensionStyles& Styles();

// The styles `s` calls for: solid and dashed lines (round join; round or butt caps; the
// dashed one with `dashLength` then `dashGap` when `dashedLines` is set), the arrowhead
// fill (miter join, miter limit 10) and the text colour, with the custom colours given.
DimensionStyles MakeStyles(const settings::DimensionSettings& s,
                           AICustomColorHandle strokeCustomColor,
                           AICustomColorHandle textCustomColor);

// Rebuilds Styles() from the live settings, keeping the custom colours it holds.
void BuildStyles();

// The style the constructions call "the line style": the dashed one when `dashedLines`
// is set, the solid one otherwise.
const AIPathStyle& LineStyle();

// Takes the document's custom colour as the line colour and the text colour, each when its
// colour model is the custom colour (tint 0). Nothing changes under other models.
ASErr ApplyDocumentCustomColor();

// What a tool made in its action, for the name of the dimension group.
struct MadeDimension {
    ToolKind tool = ToolKind::Segment;
    bool curve = false;  // the Segment tool measured a curve
    bool arc = false;    // the Segment tool measured an arc
};

// The name of a dimension group in the host's layer list (Windows-1252).
const char* DimensionName(const MadeDimension& made, const settings::DimensionSettings& s);

// Names the dimension group when it is live art whose name can be read.
ASErr NameDimensionArt(AIArtHandle group, const MadeDimension& made);

}  // namespace drawing
