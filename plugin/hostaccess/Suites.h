// The suites the plug-in imports from the host, held in process-wide pointers, and the
// holder that acquires and releases them.
#pragma once

#include "plugin/host/ArtworkSuites.h"
#include "plugin/host/BasicSuite.h"
#include "plugin/host/GeometrySuites.h"
#include "plugin/host/InterfaceSuites.h"
#include "plugin/host/PaintSuites.h"
#include "plugin/host/PluginSuites.h"
#include "plugin/host/ResultCodes.h"
#include "plugin/host/TextSuites.h"

// The basic suite of the latest message (set by PluginMain before anything else).
extern const SPBasicSuite* sSPBasic;

// The frame's base suites.
extern const SPAccessSuite* sSPAccess;
extern const SPPluginsSuite* sSPPlugins;
extern const AINotifierSuite* sAINotifier;
extern const AIContextSuite* sAIContext;
extern const AIUserSuite* sAIUser;
extern const AIFilePathSuite* sAIFilePath;
extern const AIFoldersSuite* sAIFolders;

// The plug-in's suites.
extern const AIMenuSuite* sAIMenu;
extern const AIToolSuite* sAITool;
extern const AIUnicodeStringSuite* sAIUnicodeString;
extern const AIPluginSuite* sAIPlugin;
extern const SPBlocksSuite* sSPBlocks;
extern const AIArtSuite* sAIArt;
extern const AIPathSuite* sAIPath;
extern const AIPathStyleSuite* sAIPathStyle;
extern const AIAnnotatorSuite* sAIAnnotator;
extern const AIAnnotatorDrawerSuite* sAIAnnotatorDrawer;
extern const AIDocumentViewSuite* sAIDocumentView;
extern const AIDocumentSuite* sAIDocument;
extern const AIStringFormatUtilsSuite* sAIStringFormatUtils;
extern const AIPanelSuite* sAIPanel;
extern const AIRealMathSuite* sAIRealMath;
extern const AITransformArtSuite* sAITransformArt;
extern const AIPanelFlyoutMenuSuite* sAIPanelFlyoutMenu;
extern const AIHitTestSuite* sAIHitTest;
extern const AITagSuite* sAITag;
extern const AILayerSuite* sAILayer;
extern const AIRealBezierSuite* sAIRealBezier;
extern const AIMdMemorySuite* sAIMdMemory;
extern const AIMatchingArtSuite* sAIMatchingArt;
extern const AITextFrameSuite* sAITextFrame;
extern const AIATEPaintSuite* sAIATEPaint;
extern const AIArtConverterSuite* sAIArtConverter;
extern const AIPreferenceSuite* sAIPreference;
extern const AIRuntimeSuite* sAIRuntime;
extern const AIFontSuite* sAIFont;
extern const AICustomColorSuite* sAICustomColor;
extern const AISwatchListSuite* sAISwatchList;
extern const AISwatchGroupSuite* sAISwatchGroup;
extern const AIArtSetSuite* sAIArtSet;
extern const AIUserInterfaceThemeSuite* sAIUserInterfaceTheme;
extern const AIPaintStyleSuite* sAIPaintStyle;

#define MESRA_DECLARE_TEXT_ENGINE_POINTER(cls, version) extern const ATE##cls##Suite* sATE##cls;
MESRA_TEXT_ENGINE_SUITES(MESRA_DECLARE_TEXT_ENGINE_POINTER, MESRA_DECLARE_TEXT_ENGINE_POINTER)
#undef MESRA_DECLARE_TEXT_ENGINE_POINTER

// One suite to import: its name, its version and the process-wide pointer that receives
// it. A version of kOptionalSuitesMarker in an all-zero ending entry would start a list of
// optional suites; the plug-in has none.
struct ImportSuite {
    const char* name;
    ASInt32 version;
    const void** suite;
};

constexpr ASInt32 kOptionalSuitesMarker = FourCharCode("OPTS");

// The frame's base list (7 entries) and the plug-in's list (ended by an all-zero entry).
extern const ImportSuite gBaseImports[7];
extern const ImportSuite gPluginImports[];

// The number of entries of the plug-in's list, without its ending entry.
int PluginImportCount();

// Acquires every suite of the two lists on construction, if the process-wide acquisition
// count is 0, and releases them on destruction when the count falls back to 0. The first
// failure stops the walk; it is the holder's error and the suites acquired before it stay
// held until the holder is destroyed.
class Suites {
  public:
    Suites();
    ~Suites();
    Suites(const Suites&) = delete;
    Suites& operator=(const Suites&) = delete;

    ASErr Error() const { return error_; }
    int RequiredCount() const { return requiredCount_; }
    int OptionalCount() const { return optionalCount_; }

    // Acquires the optional suites not yet held; stops once all are held.
    void AcquireOptionalSuites();

    // The process-wide acquisition count shared by all holders.
    static int AcquisitionCount();
    // Sets the process-wide acquisition count (the start-up sets it to 1 after it has
    // created its holder, so that destroying the holder releases the suites).
    static void SetAcquisitionCount(int count);

  private:
    ASErr error_ = 0;
    int optionalCount_ = 0;
    int requiredCount_ = 0;
    int acquiredOptionalCount_ = 0;
};
