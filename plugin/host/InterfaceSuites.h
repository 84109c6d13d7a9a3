// Suites of the host's user interface: alerts and cursors, menus, tools, the annotation
// layer over the document view, and the host's preferences.
#pragma once

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/Messages.h"
#include "plugin/host/PaintRecords.h"
#include "plugin/host/Records.h"

struct AIUserSuite {
    static constexpr const char* kName = "AI User Suite";
    static constexpr ASInt32 kVersion = 10;
    // Shows a modal alert with `text` (NUL-terminated UTF-16, copied); a carriage return
    // breaks the line. Returns when the user has dismissed it.
    ASErr (*MessageAlert)(const ASUnicode* text);
    // Creates the manager through which the plug-in shows its cursor resources; *manager
    // lives until DisposeCursorResourceMgr.
    ASErr (*CreateCursorResourceMgr)(SPPluginRef plugin, AICursorManagerHandle* manager);
    // Disposes of a manager; its handle is dead afterwards.
    ASErr (*DisposeCursorResourceMgr)(AICursorManagerHandle manager);
    // Shows the cursor image with resource id `cursorId` of the manager's plug-in. An id
    // without a cursor image answers kBadParameterErr.
    ASErr (*SetCursor)(ASInt32 cursorId, AICursorManagerHandle manager);
    // Shows the colour picker starting at `initial` and returns when the user has closed it:
    // *chosen receives the colour chosen and *cancelled is false, or, when the user
    // cancelled, *chosen receives `initial` and *cancelled is true. A custom colour chosen
    // becomes the document's current custom colour.
    ASErr (*GetColorFromPicker)(const AIColor* initial, AIColor* chosen, AIBoolean* cancelled);
};

// Name of the host's own menu group that holds the About items of plug-ins.
constexpr const char* kAboutMenuGroup = "About";

struct AIMenuSuite {
    static constexpr const char* kName = "AI Menu Suite";
    static constexpr ASInt32 kVersion = 10;
    // Adds an item named `name` (copied, unique per plug-in) at the end of the group named
    // `groupName`, showing `text` (NUL-terminated UTF-16). An unknown group answers
    // kNameNotFoundErr.
    ASErr (*AddMenuItem)(SPPluginRef plugin, const char* name, const char* groupName,
                         const ASUnicode* text, ASInt32 options, AIMenuItemHandle* item);
    // Makes `item` open a submenu that is a new group named `name`.
    ASErr (*AddMenuGroupAsSubMenu)(const char* name, ASInt32 options, AIMenuItemHandle item,
                                   AIMenuGroup* group);
    // The number of menu groups, the host's and the plug-ins'.
    ASErr (*CountMenuGroups)(ASInt32* count);
    // The group at `index` (0 to count - 1).
    ASErr (*GetNthMenuGroup)(ASInt32 index, AIMenuGroup* group);
    // The group's name; the string belongs to the host and lives as long as the group.
    ASErr (*GetMenuGroupName)(AIMenuGroup group, const char** name);
};

// Placement of a new tool: a group or toolset of its own.
constexpr AIToolType kNoTool = -2;

// Option of AddTool: the tool receives "AI Track Cursor" messages.
constexpr ASInt32 kToolWantsToTrackCursorOption = 1;

struct AIAddToolData {
    // Title shown in the toolbox (also the tool's unique name).
    const char* title;
    const char* tooltip;
    ASInt32 helpID;
    // Resource ids of the 24 × 24 icons for the light and the dark interface themes.
    ASInt32 normalIconResID;
    ASInt32 darkIconResID;
    // The tool whose group the new tool joins, or kNoTool for a new group.
    AIToolType sameGroupAs;
    // The tool whose toolset the new tool joins, or kNoTool for a new toolset.
    AIToolType sameToolsAs;
};

struct AIToolSuite {
    static constexpr const char* kName = "AI Tool Suite";
    static constexpr ASInt32 kVersion = 12;
    // Adds a tool to the toolbox. `name` must be unique; `data` is copied. *tool receives
    // the handle that later "AI Tool" messages carry.
    ASErr (*AddTool)(SPPluginRef plugin, const char* name, const AIAddToolData* data,
                     ASInt32 options, AIToolHandle* tool);
    // The toolbox number of the tool named `name`; kNameNotFoundErr when no tool has it.
    ASErr (*GetToolNumberFromName)(const char* name, AIToolType* number);
    // Makes `tool` the selected tool; the plug-in owning it receives "AI Select".
    ASErr (*SetSelectedTool)(AIToolHandle tool);
    // Selects the tool named `name`; kNameNotFoundErr when no tool has it.
    ASErr (*SetSelectedToolByName)(const char* name);
    // Declares the Info panel variables of the tool: host identifiers ended by -1.
    ASErr (*SetToolInfoVars)(AIToolHandle tool, const ASInt32* infoVars);
};

struct AIAnnotatorSuite {
    static constexpr const char* kName = "AI Annotator Suite";
    static constexpr ASInt32 kVersion = 5;
    // Registers an annotator named `name` (copied); it starts active. While active, the
    // host sends it "AI Annotation"/"AI Draw" after each change of the view's picture.
    ASErr (*AddAnnotator)(SPPluginRef plugin, const char* name, AIAnnotatorHandle* annotator);
    // Switches the annotator's drawing on or off.
    ASErr (*SetAnnotatorActive)(AIAnnotatorHandle annotator, AIBoolean active);
    // Marks `rect` (view pixels) of `view` (null: the current view) to be drawn again; the
    // active annotators draw once the current message has returned. An empty rectangle
    // marks nothing.
    ASErr (*InvalAnnotationRect)(AIDocumentViewHandle view, const AIRect* rect);
};

// The host's fonts for annotations, smallest first.
constexpr ASInt32 kAnnotatorFontSmall = 0;
constexpr ASInt32 kAnnotatorFontMedium = 1;
constexpr ASInt32 kAnnotatorFontLarge = 2;

// Drawing over the document view. Every operation takes the drawer of an "AI Annotation"/
// "AI Draw" message and may be called only while the host is in that message (a drawer kept
// for later is dead: the call answers kBadParameterErr and draws nothing). Coordinates are
// view pixels of the message's view, y downwards. What is drawn takes the drawer's current
// colour, opacity, line width and font, which start at black, 1, 1 and the small font at
// each draw message.
struct AIAnnotatorDrawerSuite {
    static constexpr const char* kName = "AI Annotator Drawer Suite";
    static constexpr ASInt32 kVersion = 4;
    // The colour of what follows (16-bit components).
    ASErr (*SetColor)(AIAnnotatorDrawer* drawer, const AIRGBColor* color);
    // The opacity of what follows, from 0 (nothing shows) to 1; clamped to that range.
    ASErr (*SetOpacity)(AIAnnotatorDrawer* drawer, AIReal opacity);
    // The width of the lines and outlines that follow, pixels (at least 0).
    ASErr (*SetLineWidth)(AIAnnotatorDrawer* drawer, AIReal width);
    // The font of the texts that follow: kAnnotatorFontSmall, Medium or Large.
    ASErr (*SetFontPreset)(AIAnnotatorDrawer* drawer, ASInt32 preset);
    // Draws `text` (NUL-terminated UTF-16) with the left end of its baseline at `point`.
    ASErr (*DrawText)(AIAnnotatorDrawer* drawer, const ASUnicode* text, const AIPoint* point);
    // The width in pixels that DrawText would give `text` in the current font.
    ASErr (*GetTextWidth)(AIAnnotatorDrawer* drawer, const ASUnicode* text, ASInt32* width);
    // A straight line from `start` to `end`.
    ASErr (*DrawLine)(AIAnnotatorDrawer* drawer, const AIPoint* start, const AIPoint* end);
    // The rectangle, filled or outlined.
    ASErr (*DrawRect)(AIAnnotatorDrawer* drawer, const AIRect* rect, AIBoolean fill);
    // The ellipse inscribed in the rectangle, filled or outlined.
    ASErr (*DrawEllipse)(AIAnnotatorDrawer* drawer, const AIRect* rect, AIBoolean fill);
    // An open line through `count` points.
    ASErr (*DrawPolyLine)(AIAnnotatorDrawer* drawer, const AIPoint* points, ASInt32 count);
    // The outline of cubic pieces: `points` holds the first anchor, then for each piece its
    // two handles and its end anchor (1 + 3 × pieces points), closed back to the first
    // anchor when `closed`.
    ASErr (*DrawBezierOutline)(AIAnnotatorDrawer* drawer, const AIRealPoint* points, ASInt32 count,
                               AIBoolean closed);
};

struct AIPreferenceSuite {
    static constexpr const char* kName = "AI Preference Suite";
    static constexpr ASInt32 kVersion = 5;
    // Reads the real preference `prefix`/`suffix` (a null prefix: the host's own keys, such
    // as "snapomatic/Color/red"); kNameNotFoundErr when there is none.
    ASErr (*GetRealPreference)(const char* prefix, const char* suffix, AIReal* value);
};

struct AIPanelSuite {
    static constexpr const char* kName = "AI Panel Suite";
    static constexpr ASInt32 kVersion = 1;
};

struct AIPanelFlyoutMenuSuite {
    static constexpr const char* kName = "AI Panel Flyout Menu Suite";
    static constexpr ASInt32 kVersion = 1;
};

struct AIUserInterfaceThemeSuite {
    static constexpr const char* kName = "AI User Interface Theme Suite";
    static constexpr ASInt32 kVersion = 1;
};

struct AIUnicodeStringSuite {
    static constexpr const char* kName = "AI Unicode String Suite";
    static constexpr ASInt32 kVersion = 7;
};

struct AIStringFormatUtilsSuite {
    static constexpr const char* kName = "AI String Format Utils Suite";
    static constexpr ASInt32 kVersion = 2;
};
