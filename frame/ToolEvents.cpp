#include "frame/ToolEvents.h"
#include "hostaccess/Alert.h"

#include "drawing/DimensionArt.h"
#include "drawing/DimensionStyles.h"
#include "drawing/LinearDimension.h"
#include "frame/Cursors.h"
#include "host/Platform.h"
#include "hostaccess/PluginFiles.h"
#include "hostaccess/Suites.h"
#include "hostaccess/WindowsText.h"
#include "preferences/PreferencesFile.h"
#include "settings/DimensionSettings.h"
#include "tools/HostArt.h"
#include "tools/HoverAnalysis.h"
#include "tools/SegmentTool.h"
#include "ui/PanelState.h"

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

// The Segment tool's click: a dimension started is placed by the drag and named now; a
// click on an angle or circle dimension selects the tool of its kind.
ASErr SegmentClick(const AIToolHitData& hit, AIRealPoint cursor, Modifiers keys) {
    const tools::ClickOutcome outcome =
        tools::SegmentToolClick(hit, cursor, {keys.shift, keys.alt});
    if (outcome.handOverTo) {
        // The Angle and Circle tools rebuild their own dimensions once they are selected.
        return sAITool->SetSelectedTool(ToolHandle(static_cast<ToolKind>(*outcome.handOverTo)));
    }
    RoutingState& routing = Routing();
    routing.dimensionInProgress = outcome.dimensionStarted;
    if (outcome.nameDimension) {
        const tools::SegmentToolState& segment = tools::SegmentTool();
        drawing::NameDimensionArt(drawing::WorkingArt().group,
                                  {ToolKind::Segment, segment.curveMode, segment.arcMode});
    }
    if (outcome.dimensionStarted) {
        const drawing::LinearState& laid = drawing::Linear(0);
        routing.lastLaidOutLine = std::pair{laid.l1, laid.l2};
    }
    return outcome.error;
}

}  // namespace

RoutingState& Routing() {
    static RoutingState state;
    return state;
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
    settings::Settings().prefsVersion = settings::kPreferencesVersion;
    ui::PanelState& panel = ui::Panel();
    panel.Close();
    tools::SegmentTool().clickCount = 0;
    // A first point left without its second belongs to no dimension any more.
    drawing::DiscardUnfinishedDimension();
    PlaceToolsWithEyedropper() = true;
    ClearToolFlags();
    ReadSmartGuideColor();
    panel.panelOrigin = message->cursor;
    drawing::BuildStyles();
    if (const ASInt32 tool = ToolNumberOfHandle(message->tool); tool != 0) {
        Routing().activeTool = tool;
    }
    sAIAnnotator->SetAnnotatorActive(annotator, true);
    return 0;
}

ASErr DeselectTool(AIToolMessage*, AIAnnotatorHandle annotator) {
    ClearToolFlags();
    return sAIAnnotator->SetAnnotatorActive(annotator, false);
}

ASErr TrackToolCursor(AIToolMessage* message, AICursorManagerHandle cursors) {
    const Modifiers keys = ReadModifiers();
    Routing().eventPoint = message->cursor;
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
    const Modifiers keys = ReadModifiers();
    ui::PanelState& panel = ui::Panel();
    const bool overDimension = tools::Hover().OverDimension();

    if (keys.shift && !keys.alt && panel.NoPageOpen() && !overDimension) {
        ClearToolFlags();
        const ASInt32 next = NextTool(routing.activeTool);
        return sAITool->SetSelectedTool(ToolHandle(static_cast<ToolKind>(next)));
    }
    if (panel.panelOpen || (keys.alt && !keys.shift && !panel.panelOpenedByAlt && !overDimension)) {
        // The clicks of the settings panel: it is not part of this build yet, so they do
        // nothing.
        return 0;
    }

    const tools::HitResult hit = tools::HitAt(message->cursor, kClickTolerance, 0);
    if (hit.error != 0) {
        return hit.error;
    }
    // "Nothing hit" is the hit flag: a hit of type 0 is an anchor, on which a click means
    // something.
    switch (Active()) {
        case ToolKind::Angle:
            return hit.data.hit ? 0 : ShowAlert(kAngleNothingHit);
        case ToolKind::Circle:
            return hit.data.hit ? 0 : ShowAlert(kCircleNothingHit);
        case ToolKind::Bezier:
            return hit.data.hit ? 0 : ShowAlert(kBezierNothingHit);
        case ToolKind::Segment:
            return SegmentClick(hit.data, message->cursor, keys);
        case ToolKind::LengthsAndAreas:
            return 0;
    }
    return 0;
}

ASErr ToolMouseDrag(AIToolMessage* message, AICursorManagerHandle cursors) {
    RoutingState& routing = Routing();
    if (!routing.dimensionInProgress) {
        return 0;
    }
    routing.altDrag = Held(platform::Key::Alt);
    routing.ctrlDrag = Held(platform::Key::Ctrl);
    routing.escDrag = Held(platform::Key::Esc);
    routing.eventPoint = message->cursor;
    const tools::SegmentToolState& segment = tools::SegmentTool();
    if (Active() != ToolKind::Segment) {
        return 0;
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
    tools::DragKeys keys;
    keys.alt = routing.altDrag;
    keys.ctrl = routing.ctrlDrag;
    keys.space = Held(platform::Key::Space);
    keys.leftShift = Held(platform::Key::LeftShift);
    keys.rightShift = Held(platform::Key::RightShift);
    if (const auto line = tools::LayOutSegmentDrag(routing.eventPoint, keys)) {
        routing.lastLaidOutLine = line;
    }
    return error;
}

ASErr ToolMouseUp(AIToolMessage*) {
    ui::PanelState& panel = ui::Panel();
    if (panel.panelOpenedByAlt) {
        if (panel.panelState > 1) {
            settings::SavePreferences(CurrentPluginFiles().preferences);
        }
        if (panel.panelState > 2) {
            panel.Close();
        }
    }
    RoutingState& routing = Routing();
    tools::SegmentToolState& segment = tools::SegmentTool();
    if (segment.clickCount > 1) {
        segment.clickCount = 0;
    }
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
            routing.dimensionInProgress = false;
            break;
        case ToolKind::Angle:
        case ToolKind::Circle:
        case ToolKind::Bezier:
            break;
    }
    return 0;
}
