// Message records that the host passes to PluginMain. Which record arrives depends on
// the caller/selector pair; every record starts with the common message data.
#pragma once

#include "plugin/host/BasicSuite.h"
#include "plugin/host/Records.h"
#include "plugin/host/ResultCodes.h"

// Value of SPMessageData::SPCheck in a well-formed message.
constexpr ASInt32 kSPValidSPMessageData = FourCharCode("SPCk");

struct SPMessageData {
    ASInt32 SPCheck;
    // The plug-in the message is for.
    SPPluginRef self;
    // One pointer that the host keeps for the plug-in from one call to the next.
    void* globals;
    // The basic suite; valid for the duration of the call.
    const SPBasicSuite* basic;
};

// "SP Interface"/"Startup", "Shutdown", "About"; "SP Access"/"Unload", "Reload"; "SP Cache".
using SPInterfaceMessage = SPMessageData;

// "AI Notifier"/"AI Notify".
struct AINotifierMessage {
    SPMessageData d;
    // The handle the plug-in received when it added the notifier.
    AINotifierHandle notifier;
    // The notifier's type, such as "AI Art Selection Changed Notifier".
    const char* type;
    void* notifyData;
};

// "AI Tool"/any selector.
struct AIToolMessage {
    SPMessageData d;
    // The tool the event is for.
    AIToolHandle tool;
    // Cursor position in artwork coordinates.
    AIRealPoint cursor;
    AIReal pressure;
};

// "AI Menu"/"AI Go", "AI Update".
struct AIMenuMessage {
    SPMessageData d;
    AIMenuItemHandle menuItem;
};

struct AIAnnotatorDrawerOpaque;
using AIAnnotatorDrawer = AIAnnotatorDrawerOpaque;

// "AI Annotation"/"AI Draw", "AI Invalidate".
struct AIAnnotatorMessage {
    SPMessageData d;
    AIAnnotatorHandle annotator;
    // The view to draw in.
    AIDocumentViewHandle view;
    // The area of the view to draw again, in view pixels.
    AIRect invalidationRect;
    // Drawing context, valid during "AI Draw" only.
    AIAnnotatorDrawer* drawer;
};

// The entry point every plug-in exports.
using PluginMainFunction = ASErr (*)(const char* caller, const char* selector, void* message);
