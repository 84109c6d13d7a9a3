// Suites of the document and its artwork: art, paths and their styles, layers, tags, hit
// testing, art sets, documents and their views.
#pragma once

#include "host/Records.h"

struct AIArtSuite {
    static constexpr const char* kName = "AI Art Suite";
    static constexpr ASInt32 kVersion = 16;
};

struct AIPathSuite {
    static constexpr const char* kName = "AI Path Suite";
    static constexpr ASInt32 kVersion = 10;
};

struct AIPathStyleSuite {
    static constexpr const char* kName = "AI Path Style Suite";
    static constexpr ASInt32 kVersion = 12;
};

struct AILayerSuite {
    static constexpr const char* kName = "AI Layer Suite";
    static constexpr ASInt32 kVersion = 12;
};

struct AITagSuite {
    static constexpr const char* kName = "AI Tag Suite";
    static constexpr ASInt32 kVersion = 3;
};

struct AIHitTestSuite {
    static constexpr const char* kName = "AI Hit Test Suite";
    static constexpr ASInt32 kVersion = 5;
};

struct AIMatchingArtSuite {
    static constexpr const char* kName = "AI Matching Art Suite";
    static constexpr ASInt32 kVersion = 6;
};

struct AIArtSetSuite {
    static constexpr const char* kName = "AI Art Set Suite";
    static constexpr ASInt32 kVersion = 7;
    // Creates an empty art set; it lives until DisposeArtSet.
    ASErr (*NewArtSet)(AIArtSet* artSet);
    // Disposes of *artSet and clears it.
    ASErr (*DisposeArtSet)(AIArtSet* artSet);
};

struct AITransformArtSuite {
    static constexpr const char* kName = "AI Transform Art Suite";
    static constexpr ASInt32 kVersion = 2;
};

struct AIArtConverterSuite {
    static constexpr const char* kName = "AI Art Converter Suite";
    static constexpr ASInt32 kVersion = 2;
};

struct AIDocumentSuite {
    static constexpr const char* kName = "AI Document Suite";
    static constexpr ASInt32 kVersion = 13;
};

struct AIDocumentViewSuite {
    static constexpr const char* kName = "AI Document View Suite";
    static constexpr ASInt32 kVersion = 11;
    // The area of artwork that `view` (null: the current view) shows, in artwork
    // coordinates (top above bottom). kNoDocumentErr when no document is open.
    ASErr (*GetDocumentViewBounds)(AIDocumentViewHandle view, AIRealRect* bounds);
    // Converts an artwork point to view pixels of `view` (null: the current view).
    ASErr (*ArtworkPointToViewPoint)(AIDocumentViewHandle view, const AIRealPoint* artworkPoint,
                                     AIPoint* viewPoint);
};
