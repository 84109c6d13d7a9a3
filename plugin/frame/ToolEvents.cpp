#include "plugin/frame/ToolEvents.h"
#include "plugin/hostaccess/Alert.h"

#include <cmath>

#include "plugin/drawing/DimensionArt.h"
#include "plugin/drawing/DimensionStyles.h"
#include "plugin/drawing/LinearDimension.h"
#include "plugin/frame/Cursors.h"
#include "plugin/host/Platform.h"
#include "plugin/hostaccess/PluginFiles.h"
#include "plugin/hostaccess/Suites.h"
#include "plugin/hostaccess/WindowsText.h"
#include "plugin/preferences/PreferencesFile.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/tools/AngleTool.h"
#include "plugin/tools/AreaTool.h"
#include "plugin/tools/BezierTool.h"
#include "plugin/tools/CircleTool.h"
#include "plugin/tools/HostArt.h"
#include "plugin/tools/HoverAnalysis.h"
#include "plugin/tools/SegmentTool.h"
#include "plugin/ui/Annotation.h"
#include "plugin/ui/PanelState.h"
#include "plugin/ui/SettingsPanel.h"
#include "plugin/ui/SmartGuideColor.h"

namespace {

// The hit test of a click, in points around the cursor.
constexpr AIReal kClickTolerance = 8.0f;
// How near, in view pixels, a dragged dimension line snaps to a line placed before.
constexpr double kSnapPixels = 8.0;

const char* const kAngleNothingHit =
    "Il faut cliquer sur le sommet d'un angle\r\rou sur un côté d'un angle\r\r"
    "pour que le clic ait un effet."_w1252;
const char* const kCircleNothingHit =
    "Il faut cliquer sur un cercle, un arc de cercle\r\rou encore un point qui est "
    "l'extrémité d'un arc de cercle\r\rpour que le clic ait un effet."_w1252;
const char* const kBezierNothingHit =
    "En mode Partager, il faut cliquer sur un tracé\r\rou sur le sommet d'un angle.\r\r"
    "Sinon, il faut cliquer sur l'extrémité d'une courbe de Bézier\r\rou sur un cercle\r\r"
    "pour que le clic ait un effet."_w1252;

bool Held(platform::Key key) {
    return platform::Current().KeyHeld(key);
}

Modifiers ReadModifiers() {
    return {Held(platform::Key::Shift), Held(platform::Key::Alt)};
}

ToolKind Active() {
    return static_cast<ToolKind>(Routing().activeTool);
}

// Clears the flags of the measure in progress that a change of tool or of use abandons.
void ClearToolFlags() {
    tools::SegmentToolState& segment = tools::SegmentTool();
    segment.curveMode = false;
    segment.arcMode = false;
    segment.segmentMode = false;
    segment.perpendicularPending = false;
    segment.freePointPending = false;
}

// The click of the active tool; a click on another kind of dimension selects the tool of
// that kind, which takes the same click at once. A dimension started is placed by the drag
// and named now.
ASErr ToolClick(const AIToolHitData& hit, AIRealPoint cursor, Modifiers keys,
                bool handedOver = false) {
    const tools::ClickKeys clickKeys{keys.shift, keys.alt};
    tools::ClickOutcome outcome;
    switch (Active()) {
        case ToolKind::Segment:
            outcome = tools::SegmentToolClick(hit, cursor, clickKeys);
            break;
        case ToolKind::Angle:
            outcome = tools::AngleToolClick(hit, cursor, clickKeys);
            break;
        case ToolKind::Circle:
            outcome = tools::CircleToolClick(hit, cursor, clickKeys);
            break;
        case ToolKind::Bezier:
            outcome = tools::BezierToolClick(hit, cursor, clickKeys);
            break;
        case ToolKind::LengthsAndAreas:
            outcome = tools::AreaToolClick(hit, cursor, clickKeys);
            break;
    }
    if (outcome.handOverTo && !handedOver) {
        const auto tool = static_cast<ToolKind>(*outcome.handOverTo);
        if (const ASErr error = sAITool->SetSelectedTool(ToolHandle(tool))) {
            return error;
        }
        // The selected tool looks at what lies under the cursor its own way, then clicks;
        // its selection, which the host announces once this event is over, keeps what the
        // click started.
        Routing().activeTool = static_cast<ASInt32>(tool);
        Routing().handedOver = true;
        if (const ASErr error = tools::AnalyseHover(tool, cursor)) {
            return error;
        }
        return ToolClick(hit, cursor, keys, true);
    }
    RoutingState& routing = Routing();
    routing.dimensionInProgress = outcome.dimensionStarted;
    const tools::SegmentToolState& segment = tools::SegmentTool();
    if (outcome.nameDimension) {
        drawing::NameDimensionArt(drawing::WorkingArt().group,
                                  {Active(), segment.curveMode, segment.arcMode});
    }
    if (outcome.dimensionStarted && Active() == ToolKind::Segment && !segment.curveMode &&
        !segment.arcMode) {
        const drawing::LinearState& laid = drawing::Linear(0);
        routing.lastLaidOutLine = std::pair{laid.l1, laid.l2};
    }
    return outcome.error;
}

// A point the tools can measure: the host may pass one beyond its own range, which no tool
// takes (as a degenerate one, nothing is made).
bool Finite(AIRealPoint point) {
    return std::isfinite(point.h) && std::isfinite(point.v);
}

}  // namespace

RoutingState& Routing() {
    static RoutingState state;
    return state;
}

void ForgetPlacedLines() {
    RoutingState& routing = Routing();
    routing.placedLines = {};
    routing.lastLaidOutLine.reset();
    routing.dimensionInProgress = false;
}

ui::ToolActivity CurrentActivity() {
    const RoutingState& routing = Routing();
    ui::ToolActivity activity;
    activity.tool = Active();
    activity.cursorTracked = routing.cursorTracked;
    activity.eventPoint = routing.eventPoint;
    activity.dragging = routing.dimensionInProgress;
    activity.altDrag = routing.altDrag;
    return activity;
}

ASInt32& ActiveTool() {
    return Routing().activeTool;
}

ASInt32 NextTool(ASInt32 tool) {
    return tool >= kToolCount || tool < 1 ? 1 : tool + 1;
}

ASInt32 ChooseCursor(ToolKind tool, const tools::HoverState& hover,
                     const tools::SegmentToolState& segment, bool panelOpen, Modifiers keys) {
    if (panelOpen) {
        return kCursorHand;
    }
    const bool angle = tool == ToolKind::Angle;
    if (hover.overAnchor ||
        (angle && ((segment.clickCount > 0 && !segment.segmentMode) || (keys.shift && keys.alt)))) {
        return kCursorPoint;
    }
    if (hover.overStraightSegment || (tool == ToolKind::Segment && segment.segmentMode) ||
        (angle && segment.segmentMode && segment.clickCount >= 1)) {
        return kCursorSegment;
    }
    if (hover.overCurve) {
        return kCursorBezier;
    }
    if (hover.overArc) {
        return kCursorArc;
    }
    if (hover.overIntersection && tool != ToolKind::Bezier) {
        return kCursorIntersection;
    }
    if (hover.overOtherPoint && tool == ToolKind::Segment) {
        return kCursorCentralPoint;
    }
    if (hover.OverDimension() && tool != ToolKind::Bezier) {
        return kCursorModify;
    }
    return kCursorGeneric;
}

ASErr SelectTool(AIToolMessage* message, AIAnnotatorHandle annotator) {
    RoutingState& routing = Routing();
    settings::Settings().prefsVersion = settings::kPreferencesVersion;
    ui::PanelState& panel = ui::Panel();
    panel.Close();
    PlaceToolsWithEyedropper() = true;
    ReadSmartGuideColor();
    panel.panelOrigin = message->cursor;
    if (routing.handedOver) {
        // Selected by a click handed over to it: the dimension it started stays in progress.
        routing.handedOver = false;
    } else {
        routing.cursorTracked = false;
        tools::SegmentTool().clickCount = 0;
        // A first point left without its second belongs to no dimension any more.
        drawing::DiscardUnfinishedDimension();
        ClearToolFlags();
        drawing::BuildStyles();
    }
    if (const ASInt32 tool = ToolNumberOfHandle(message->tool); tool != 0) {
        routing.activeTool = tool;
    }
    if (Active() == ToolKind::LengthsAndAreas) {
        // The host's selection shows the paths picked, and nothing else.
        if (const ASErr error = tools::SelectMeasureSet()) {
            return error;
        }
    }
    sAIAnnotator->SetAnnotatorActive(annotator, true);
    return 0;
}

ASErr DeselectTool(AIToolMessage*, AIAnnotatorHandle annotator) {
    // A tool left for the one a click was handed over to keeps what that click started
    // (a whole segment's mode, which its drag reads); the selection of the other tool
    // follows.
    if (!Routing().handedOver) {
        ClearToolFlags();
    }
    Routing().cursorTracked = false;
    return sAIAnnotator->SetAnnotatorActive(annotator, false);
}

ASErr TrackToolCursor(AIToolMessage* message, AICursorManagerHandle cursors) {
    const Modifiers keys = ReadModifiers();
    Routing().eventPoint = message->cursor;
    Routing().cursorTracked = true;
    if (ui::Panel().panelOpen) {
        ui::PanelTrack(message->cursor);
    }
    // The analysis runs whatever the keys, so that what lies under the cursor is known at
    // the click: a Shift- or Alt-click over a dimension must not switch tools nor open the
    // settings, even when the key was pressed before the cursor came onto it.
    const ASErr error = tools::AnalyseHover(Active(), message->cursor);
    if (error != 0) {
        return error;
    }
    const ui::PanelState& panel = ui::Panel();
    const tools::HoverState& hover = tools::Hover();
    if (keys.alt && !keys.shift && panel.NoPageOpen() && !hover.OverDimension()) {
        return ShowCursor(cursors, kCursorSettings);
    }
    if (keys.shift && !keys.alt && Active() != ToolKind::LengthsAndAreas && panel.NoPageOpen()) {
        return ShowCursor(cursors, kCursorNextTool);
    }
    return ShowCursor(cursors,
                      ChooseCursor(Active(), hover, tools::SegmentTool(), panel.panelOpen, keys));
}

ASErr ToolMouseDown(AIToolMessage* message) {
    if (!Finite(message->cursor)) {
        return 0;
    }
    RoutingState& routing = Routing();
    tools::SegmentToolState& segment = tools::SegmentTool();
    routing.dimensionInProgress = false;
    segment.curveMode = false;
    segment.arcMode = false;
    segment.segmentMode = false;
    routing.eventPoint = message->cursor;
    const auto width = static_cast<AIReal>(settings::Settings().strokeWidth);
    drawing::Styles().solidLine.stroke.width = width;
    drawing::Styles().dashedLine.stroke.width = width;
    // The host moves the cursor to every press, but not again after a click: a press where
    // the cursor was not looked at, or over art that the last click replaced (a rebuilt
    // dimension), looks at what lies there now.
    const tools::HoverState& last = tools::Hover();
    if (last.cursorPoint.h != message->cursor.h || last.cursorPoint.v != message->cursor.v ||
        (last.hoverArt != nullptr && !sAIArt->ValidArt(last.hoverArt))) {
        if (const ASErr error = tools::AnalyseHover(Active(), message->cursor)) {
            return error;
        }
    }
    const Modifiers keys = ReadModifiers();
    ui::PanelState& panel = ui::Panel();
    const bool overDimension = tools::Hover().OverDimension();

    if (keys.shift && !keys.alt && panel.NoPageOpen() && !overDimension) {
        ClearToolFlags();
        const ASInt32 next = NextTool(routing.activeTool);
        return sAITool->SetSelectedTool(ToolHandle(static_cast<ToolKind>(next)));
    }
    // A click on a dimension modifies it, even with the panel open.
    if (!overDimension &&
        (panel.panelOpen || (keys.alt && !keys.shift && !panel.panelOpenedByAlt))) {
        if (!panel.panelOpen) {
            panel.panelOpenedByAlt = true;
        }
        return ui::PanelMouseDown(message->cursor, keys.alt, keys.shift);
    }

    const tools::HitResult hit = tools::HitAt(message->cursor, kClickTolerance, 0);
    if (hit.error != 0) {
        return hit.error;
    }
    // "Nothing hit" is the hit flag: a hit of type 0 is an anchor, on which a click means
    // something.
    const char* nothingHit = nullptr;
    switch (Active()) {
        case ToolKind::Angle:
            nothingHit = kAngleNothingHit;
            break;
        case ToolKind::Circle:
            nothingHit = kCircleNothingHit;
            break;
        case ToolKind::Bezier:
            nothingHit = kBezierNothingHit;
            break;
        case ToolKind::Segment:
        case ToolKind::LengthsAndAreas:
            break;
    }
    if (nothingHit != nullptr && !hit.data.hit) {
        return ShowAlert(nothingHit);
    }
    return ToolClick(hit.data, message->cursor, keys);
}

ASErr ToolMouseDrag(AIToolMessage* message, AICursorManagerHandle cursors) {
    if (!Finite(message->cursor)) {
        return 0;
    }
    RoutingState& routing = Routing();
    if (!routing.dimensionInProgress) {
        return 0;
    }
    routing.altDrag = Held(platform::Key::Alt);
    routing.ctrlDrag = Held(platform::Key::Ctrl);
    routing.escDrag = Held(platform::Key::Esc);
    routing.eventPoint = message->cursor;
    const tools::SegmentToolState& segment = tools::SegmentTool();
    tools::DragKeys keys;
    keys.shift = Held(platform::Key::Shift);
    keys.alt = routing.altDrag;
    keys.ctrl = routing.ctrlDrag;
    keys.esc = routing.escDrag;
    keys.space = Held(platform::Key::Space);
    keys.leftShift = Held(platform::Key::LeftShift);
    keys.rightShift = Held(platform::Key::RightShift);
    switch (Active()) {
        case ToolKind::Angle:
            tools::LayOutAngleDrag(routing.eventPoint, keys);
            return 0;
        case ToolKind::Circle:
            tools::LayOutCircleDrag(routing.eventPoint, keys);
            return 0;
        case ToolKind::Bezier:
            tools::LayOutBezierDrag(routing.eventPoint, keys);
            return 0;
        case ToolKind::LengthsAndAreas: {
            // The selection rectangle follows the cursor, and so does the tool's read-out.
            const ASErr error = tools::DragAreaMarquee(routing.eventPoint);
            const ASErr invalidated = InvalidateWholeView();
            return error != 0 ? error : invalidated;
        }
        case ToolKind::Segment:
            break;
    }
    ASErr error = 0;
    if (!segment.curveMode && !segment.arcMode && settings::Settings().prefsLoaded != 0 &&
        settings::Settings().dimensionType != settings::kHorizontalAndVertical) {
        AIReal zoom = 1;
        sAIDocumentView->GetDocumentViewZoom(nullptr, &zoom);
        if (const auto snapped = routing.placedLines.Snap(message->cursor, kSnapPixels / zoom)) {
            routing.eventPoint = *snapped;
            error = ShowCursor(cursors, kCursorPoint);
        } else {
            error = ShowCursor(cursors, segment.segmentMode ? kCursorSegment : kCursorGeneric);
        }
    }
    if (const auto line = tools::LayOutSegmentDrag(routing.eventPoint, keys)) {
        routing.lastLaidOutLine = line;
    }
    // A layout that gave the dimension up (a curve offset the host cannot make) leaves
    // nothing for the next drag.
    if (!drawing::IsLive(drawing::WorkingArt().group)) {
        routing.dimensionInProgress = false;
    }
    return error;
}

ASErr ToolMouseUp(AIToolMessage* message) {
    if (!Finite(message->cursor)) {
        return 0;
    }
    ui::PanelMouseUp();
    RoutingState& routing = Routing();
    tools::SegmentToolState& segment = tools::SegmentTool();
    if (segment.clickCount > 1) {
        segment.clickCount = 0;
    }
    ASErr error = 0;
    switch (Active()) {
        case ToolKind::Segment:
            if (routing.lastLaidOutLine) {
                routing.placedLines.Remember(routing.lastLaidOutLine->first,
                                             routing.lastLaidOutLine->second);
                routing.lastLaidOutLine.reset();
            }
            segment.curveMode = false;
            segment.arcMode = false;
            segment.segmentMode = false;
            break;
        case ToolKind::LengthsAndAreas:
            if (routing.dimensionInProgress && message != nullptr) {
                error = tools::DragAreaMarquee(message->cursor);
            }
            tools::AreaTool().marquee.reset();
            routing.dimensionInProgress = false;
            break;
        case ToolKind::Circle:
            // A circle dimension that was never laid out goes.
            drawing::DiscardUnfinishedDimension();
            break;
        case ToolKind::Angle:
        case ToolKind::Bezier:
            break;
    }
    return error;
}
