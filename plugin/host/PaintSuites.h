// Suites of colours: custom colours, swatches and paint styles.
#pragma once

#include "plugin/host/PaintRecords.h"
#include "plugin/host/Records.h"

// The custom (spot) colours of the current document. Each has a unique, non-empty name
// and a definition; its handle stays valid for the document's life. Every operation
// answers kNoDocumentErr when no document is open.
struct AICustomColorSuite {
    static constexpr const char* kName = "AI Custom Color Suite";
    static constexpr ASInt32 kVersion = 7;
    // Adds a custom colour named `name` (NUL-terminated UTF-16, copied) defined by
    // `definition` (copied) and makes it the document's current custom colour; *color
    // receives it. kBadParameterErr for an empty name, a name already in use, or a
    // definition of another kind than kThreeColor or kFourColor or with components out of
    // 0..1.
    ASErr (*NewCustomColor)(const AICustomColor* definition, const ASUnicode* name,
                            AICustomColorHandle* color);
    // The definition of `color`.
    ASErr (*GetCustomColor)(AICustomColorHandle color, AICustomColor* definition);
    // Copies the name of `color` (UTF-16, NUL-terminated) into buffer with the buffer rules
    // of the host's strings; *length is the full length in code units.
    ASErr (*GetCustomColorName)(AICustomColorHandle color, ASUnicode* buffer, ASInt32 capacity,
                                ASInt32* length);
    // The number of custom colours of the document.
    ASErr (*CountCustomColors)(ASInt32* count);
    // The custom colour at `index` (0 to count - 1), in the order they were created.
    ASErr (*GetNthCustomColor)(ASInt32 index, AICustomColorHandle* color);
    // The document's current custom colour: the one last chosen in the colour picker or
    // last created. kNameNotFoundErr when the document has none.
    ASErr (*GetCurrentCustomColor)(AICustomColorHandle* color);
};

// The swatches of the current document: one per custom colour, in the order of the
// custom colours. kNoDocumentErr when no document is open.
struct AISwatchListSuite {
    static constexpr const char* kName = "AI Swatch List Suite";
    static constexpr ASInt32 kVersion = 6;
    // The number of swatches.
    ASErr (*CountSwatches)(ASInt32* count);
    // The colour of the swatch at `index` (0 to count - 1): its custom colour with tint 0.
    ASErr (*GetNthSwatchColor)(ASInt32 index, AIColor* color);
};

// The document's swatches seen as one group (the host keeps no other group).
// kNoDocumentErr when no document is open.
struct AISwatchGroupSuite {
    static constexpr const char* kName = "AI Swatch Group Suite";
    static constexpr ASInt32 kVersion = 2;
    // The number of swatches in the group.
    ASErr (*CountSwatchesInGroup)(ASInt32* count);
    // The colour of the swatch at `index` of the group, as GetNthSwatchColor answers it.
    ASErr (*GetNthSwatchColorInGroup)(ASInt32 index, AIColor* color);
};

struct AIPaintStyleSuite {
    static constexpr const char* kName = "AI Paint Style Suite";
    static constexpr ASInt32 kVersion = 8;
};
