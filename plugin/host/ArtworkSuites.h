// Suites of the document and its artwork: art, paths and their styles, layers, tags, hit
// testing, art sets, documents and their views.
#pragma once

#include "plugin/host/PaintRecords.h"
#include "plugin/host/Records.h"

// Art types.
constexpr ASInt32 kUnknownArt = 0;
constexpr ASInt32 kGroupArt = 1;
constexpr ASInt32 kPathArt = 2;
constexpr ASInt32 kTextFrameArt = 15;

// Where new art goes, relative to a reference art.
constexpr ASInt32 kPlaceAbove = 1;
constexpr ASInt32 kPlaceBelow = 2;
constexpr ASInt32 kPlaceInsideOnTop = 3;
constexpr ASInt32 kPlaceInsideOnBottom = 4;
constexpr ASInt32 kPlaceAboveAll = 5;
constexpr ASInt32 kPlaceBelowAll = 6;

// Art attributes (bits).
constexpr ASInt32 kArtSelected = 1;
constexpr ASInt32 kArtLocked = 2;
constexpr ASInt32 kArtHidden = 4;
constexpr ASInt32 kArtFullySelected = 8;
constexpr ASInt32 kArtIsGuide = 16;

struct AIArtSuite {
    static constexpr const char* kName = "AI Art Suite";
    static constexpr ASInt32 kVersion = 16;
    // Creates art of `type` (group or path) placed relative to `prep` (null: on top of the
    // current layer) by `paintOrder`; *newArt receives it.
    ASErr (*NewArt)(ASInt32 type, ASInt32 paintOrder, AIArtHandle prep, AIArtHandle* newArt);
    // Disposes of the art and everything in it; its handles are dead afterwards.
    ASErr (*DisposeArt)(AIArtHandle art);
    // The art's type (kGroupArt, kPathArt, kTextFrameArt...).
    ASErr (*GetArtType)(AIArtHandle art, ASInt32* type);
    // The group the art is in, or null at the top of its layer.
    ASErr (*GetArtParent)(AIArtHandle art, AIArtHandle* parent);
    // The topmost art inside a group, or null.
    ASErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);
    // The art just below in the same group or layer, or null.
    ASErr (*GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
    // The layer the art is on.
    ASErr (*GetArtLayer)(AIArtHandle art, AILayerHandle* layer);
    // True when the handle designates live art of the current document.
    AIBoolean (*ValidArt)(AIArtHandle art);
    // The art's attribute bits selected by `whichAttr`.
    ASErr (*GetArtUserAttr)(AIArtHandle art, ASInt32 whichAttr, ASInt32* attr);
    // Sets the attribute bits selected by `whichAttr` to those of `attr`.
    ASErr (*SetArtUserAttr)(AIArtHandle art, ASInt32 whichAttr, ASInt32 attr);
    // The bounds of the art's geometry (control points included for curves are not: the
    // curves' own extent), in artwork coordinates (top above bottom).
    ASErr (*GetArtBounds)(AIArtHandle art, AIRealRect* bounds);
    // Copies the art's name (UTF-16, NUL-terminated) into buffer with the buffer rules of
    // the host's strings; *length is the full length in code units.
    ASErr (*GetArtName)(AIArtHandle art, ASUnicode* buffer, ASInt32 capacity, ASInt32* length);
    // Names the art (UTF-16, NUL-terminated, copied).
    ASErr (*SetArtName)(AIArtHandle art, const ASUnicode* name);
    // Copies the art and everything in it (anchors, styles, names, tags, attributes) and
    // places the copy relative to `prep` by `paintOrder` as NewArt places new art; *newArt
    // receives it. The copy is independent of the original.
    ASErr (*DuplicateArt)(AIArtHandle art, ASInt32 paintOrder, AIArtHandle prep,
                          AIArtHandle* newArt);
};

struct AIPathSuite {
    static constexpr const char* kName = "AI Path Suite";
    static constexpr ASInt32 kVersion = 10;
    // The number of anchors of a path.
    ASErr (*GetPathSegmentCount)(AIArtHandle path, ASInt16* count);
    // Sets the number of anchors; new anchors are at (0, 0) without handles.
    ASErr (*SetPathSegmentCount)(AIArtHandle path, ASInt16 count);
    // Copies `count` anchors from index `first` into `segments`; the range must lie within
    // the path.
    ASErr (*GetPathSegments)(AIArtHandle path, ASInt16 first, ASInt16 count,
                             AIPathSegment* segments);
    // Replaces `count` anchors from index `first`; the range must lie within the path.
    ASErr (*SetPathSegments)(AIArtHandle path, ASInt16 first, ASInt16 count,
                             const AIPathSegment* segments);
    ASErr (*GetPathClosed)(AIArtHandle path, AIBoolean* closed);
    ASErr (*SetPathClosed)(AIArtHandle path, AIBoolean closed);
    // The signed area enclosed by the path in square points (positive counter-clockwise),
    // curves included; 0 for fewer than three anchors.
    ASErr (*GetPathArea)(AIArtHandle path, AIReal* area);
};

struct AIPathStyleSuite {
    static constexpr const char* kName = "AI Path Style Suite";
    static constexpr ASInt32 kVersion = 12;
    // The style of a path. A fill or stroke that is not painted reads back with colour
    // kind kNoneColor; a custom colour reads back with its handle and tint.
    ASErr (*GetPathStyle)(AIArtHandle path, AIPathStyle* style);
    // Sets the style of a path (copied). kBadParameterErr, with the style left as it was,
    // when a value is out of range: a colour kind, a component or tint outside 0..1, a
    // custom colour that is not one of the document's, a dash length outside 0..6, a
    // negative or non-finite width or dash value, a non-finite dash offset, a cap or join
    // outside 0..2, a miter limit below 1. A painted fill or stroke of kind kNoneColor is not
    // painted.
    ASErr (*SetPathStyle)(AIArtHandle path, const AIPathStyle* style);
};

// Where a new layer goes, relative to a base layer.
constexpr ASInt32 kLayerAbove = 1;
constexpr ASInt32 kLayerBelow = 2;
constexpr ASInt32 kLayerAboveAll = 5;

struct AIRGBColor {
    ASUInt16 red;
    ASUInt16 green;
    ASUInt16 blue;
};

struct AILayerSuite {
    static constexpr const char* kName = "AI Layer Suite";
    static constexpr ASInt32 kVersion = 12;
    // The number of layers of the current document.
    ASErr (*CountLayers)(ASInt32* count);
    // The layer at `index`, 0 being the topmost.
    ASErr (*GetNthLayer)(ASInt32 index, AILayerHandle* layer);
    // The layer that receives new art.
    ASErr (*GetCurrentLayer)(AILayerHandle* layer);
    // Makes `layer` the current layer.
    ASErr (*SetCurrentLayer)(AILayerHandle layer);
    // Inserts a new, empty, visible and editable layer relative to `base` (null with
    // kLayerAboveAll: above every layer); *layer receives it.
    ASErr (*InsertLayer)(AILayerHandle base, ASInt32 placement, AILayerHandle* layer);
    // Copies the title (UTF-16, NUL-terminated) with the buffer rules of the host's strings.
    ASErr (*GetLayerTitle)(AILayerHandle layer, ASUnicode* buffer, ASInt32 capacity,
                           ASInt32* length);
    // Sets the title (UTF-16, NUL-terminated, copied).
    ASErr (*SetLayerTitle)(AILayerHandle layer, const ASUnicode* title);
    // True when the layer is not locked.
    ASErr (*GetLayerEditable)(AILayerHandle layer, AIBoolean* editable);
    ASErr (*SetLayerEditable)(AILayerHandle layer, AIBoolean editable);
    ASErr (*GetLayerVisible)(AILayerHandle layer, AIBoolean* visible);
    // The layer's colour, in which the host draws selections.
    ASErr (*GetLayerColor)(AILayerHandle layer, AIRGBColor* color);
    // The layer's group: the group art that holds everything on the layer (new art goes
    // inside it with kPlaceInsideOnTop). It cannot be disposed of, duplicated or placed
    // above or below other art; art at the top of the layer reports no parent.
    ASErr (*GetFirstArtOfLayer)(AILayerHandle layer, AIArtHandle* art);
};

// The only tag type the plug-in uses.
constexpr const char* kTagString = "string";

struct AITagSuite {
    static constexpr const char* kName = "AI Tag Suite";
    static constexpr ASInt32 kVersion = 3;
    // Sets the tag `name` of the art to `value` (copied; `type` must be kTagString).
    ASErr (*SetTag)(AIArtHandle art, const char* name, const char* type, const char* value);
    // Copies the tag's value into buffer with the buffer rules of the host's strings;
    // kNameNotFoundErr when the art has no such tag.
    ASErr (*GetTag)(AIArtHandle art, const char* name, const char* type, char* buffer,
                    ASInt32 capacity, ASInt32* length);
    // The tag's type into *type (kTagString), or kNameNotFoundErr when there is no tag.
    ASErr (*GetTagType)(AIArtHandle art, const char* name, const char** type);
    // Removes the tag; no error when there was none.
    ASErr (*RemoveTag)(AIArtHandle art, const char* name);
};

// What a hit test looks for (bits); 0 asks for everything.
constexpr ASInt32 kHitAnchorPoints = 1;
constexpr ASInt32 kHitInHandles = 2;
constexpr ASInt32 kHitSegments = 8;
constexpr ASInt32 kHitFills = 16;
// Anchor points, handles and segments.
constexpr ASInt32 kHitPointsHandlesSegments = kHitAnchorPoints | kHitInHandles | kHitSegments;

// What was hit.
constexpr ASInt32 kAnchorHit = 0;
constexpr ASInt32 kInHandleHit = 1;
constexpr ASInt32 kOutHandleHit = 2;
constexpr ASInt32 kSegmentHit = 3;
constexpr ASInt32 kFillHit = 4;
// A point of an object that is not an anchor, such as the centre of a closed shape.
constexpr ASInt32 kCenterPointHit = 5;

struct AIHitOpaque;
using AIHitRef = AIHitOpaque*;

struct AIToolHitData {
    // False when nothing was hit; the other fields are then meaningless.
    AIBoolean hit;
    AIArtHandle art;
    ASInt32 type;
    // The anchor hit, or for a segment the index of the anchor that ends the curve (0 for
    // the closing curve of a closed path).
    ASInt32 segment;
    // The parameter on that curve (segment hits).
    AIReal t;
    AIRealPoint point;
};

struct AIHitTestSuite {
    static constexpr const char* kName = "AI Hit Test Suite";
    static constexpr ASInt32 kVersion = 5;
    // Hit-tests `art` (null: the whole document, topmost art first) at `point` within
    // `tolerance` points for what `request` asks; locked and hidden art is never hit. *hit
    // receives a reference to release with ReleaseHitRef, hit or not.
    ASErr (*HitTest)(AIArtHandle art, const AIRealPoint* point, AIReal tolerance, ASInt32 request,
                     AIHitRef* hit);
    // What the hit reference found.
    ASErr (*GetHitData)(AIHitRef hit, AIToolHitData* data);
    // Releases a hit reference; it is dead afterwards.
    ASErr (*ReleaseHitRef)(AIHitRef hit);
};

struct AIMatchingArtSuite {
    static constexpr const char* kName = "AI Matching Art Suite";
    static constexpr ASInt32 kVersion = 6;
    // The art of `type` whose attributes selected by `whichAttr` equal `attr`, in the
    // document's order (layers top first, art top first, inside groups), copied into
    // buffer (`capacity` handles); *count is the number of matches. kBufferTooSmallErr when
    // the buffer is too small.
    ASErr (*GetMatchingArt)(ASInt32 type, ASInt32 whichAttr, ASInt32 attr, AIArtHandle* buffer,
                            ASInt32 capacity, ASInt32* count);
    // Deselects every art of the current document. kNoDocumentErr without one.
    ASErr (*DeselectAll)();
};

struct AIArtSetSuite {
    static constexpr const char* kName = "AI Art Set Suite";
    static constexpr ASInt32 kVersion = 7;
    // Creates an empty art set; it lives until DisposeArtSet.
    ASErr (*NewArtSet)(AIArtSet* artSet);
    // Disposes of *artSet and clears it.
    ASErr (*DisposeArtSet)(AIArtSet* artSet);
    // The number of art in the set.
    ASErr (*CountArtSet)(AIArtSet artSet, ASInt32* count);
    // The art at `index` (from 0, in the order they were added); kBadParameterErr past the
    // end.
    ASErr (*IndexArtSet)(AIArtSet artSet, ASInt32 index, AIArtHandle* art);
    // Adds `art` at the end of the set; art the set holds already stays where it is.
    ASErr (*AddArtToArtSet)(AIArtSet artSet, AIArtHandle art);
    // Takes `art` out of the set; art the set does not hold changes nothing.
    ASErr (*RemoveArtFromArtSet)(AIArtSet artSet, AIArtHandle art);
};

// What TransformArt changes (bits).
// The anchors and handles of the art, and the frames of its texts.
constexpr ASInt32 kTransformObjects = 1;
// The stroke widths, dash values and dash offsets, multiplied by the line scale.
constexpr ASInt32 kTransformScaleStrokes = 0x10;

struct AITransformArtSuite {
    static constexpr const char* kName = "AI Transform Art Suite";
    static constexpr ASInt32 kVersion = 2;
    // Transforms the art and everything in it by `matrix` as `flags` ask. kBadParameterErr,
    // with nothing changed, for a non-finite matrix, or with kTransformScaleStrokes a
    // negative or non-finite `lineScale`.
    ASErr (*TransformArt)(AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale,
                          ASInt32 flags);
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
    // Converts view pixels to an artwork point.
    ASErr (*ViewPointToArtworkPoint)(AIDocumentViewHandle view, const AIPoint* viewPoint,
                                     AIRealPoint* artworkPoint);
    // The view's zoom (1 = 100 %).
    ASErr (*GetDocumentViewZoom)(AIDocumentViewHandle view, AIReal* zoom);
    // The artwork point at the centre of the view.
    ASErr (*GetDocumentViewCenter)(AIDocumentViewHandle view, AIRealPoint* center);
    // Scrolls the view so that `center` is at its centre; the view and its annotations are
    // drawn again.
    ASErr (*SetDocumentViewCenter)(AIDocumentViewHandle view, const AIRealPoint* center);
};
