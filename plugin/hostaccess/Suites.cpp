#include "plugin/hostaccess/Suites.h"

#include <iterator>
#include <span>

const SPBasicSuite* sSPBasic = nullptr;

const SPAccessSuite* sSPAccess = nullptr;
const SPPluginsSuite* sSPPlugins = nullptr;
const AINotifierSuite* sAINotifier = nullptr;
const AIContextSuite* sAIContext = nullptr;
const AIUserSuite* sAIUser = nullptr;
const AIFilePathSuite* sAIFilePath = nullptr;
const AIFoldersSuite* sAIFolders = nullptr;

const AIMenuSuite* sAIMenu = nullptr;
const AIToolSuite* sAITool = nullptr;
const AIUnicodeStringSuite* sAIUnicodeString = nullptr;
const AIPluginSuite* sAIPlugin = nullptr;
const SPBlocksSuite* sSPBlocks = nullptr;
const AIArtSuite* sAIArt = nullptr;
const AIPathSuite* sAIPath = nullptr;
const AIPathStyleSuite* sAIPathStyle = nullptr;
const AIAnnotatorSuite* sAIAnnotator = nullptr;
const AIAnnotatorDrawerSuite* sAIAnnotatorDrawer = nullptr;
const AIDocumentViewSuite* sAIDocumentView = nullptr;
const AIDocumentSuite* sAIDocument = nullptr;
const AIStringFormatUtilsSuite* sAIStringFormatUtils = nullptr;
const AIPanelSuite* sAIPanel = nullptr;
const AIRealMathSuite* sAIRealMath = nullptr;
const AITransformArtSuite* sAITransformArt = nullptr;
const AIPanelFlyoutMenuSuite* sAIPanelFlyoutMenu = nullptr;
const AIHitTestSuite* sAIHitTest = nullptr;
const AITagSuite* sAITag = nullptr;
const AILayerSuite* sAILayer = nullptr;
const AIRealBezierSuite* sAIRealBezier = nullptr;
const AIMdMemorySuite* sAIMdMemory = nullptr;
const AIMatchingArtSuite* sAIMatchingArt = nullptr;
const AITextFrameSuite* sAITextFrame = nullptr;
const AIATEPaintSuite* sAIATEPaint = nullptr;
const AIArtConverterSuite* sAIArtConverter = nullptr;
const AIPreferenceSuite* sAIPreference = nullptr;
const AIRuntimeSuite* sAIRuntime = nullptr;
const AIFontSuite* sAIFont = nullptr;
const AICustomColorSuite* sAICustomColor = nullptr;
const AISwatchListSuite* sAISwatchList = nullptr;
const AISwatchGroupSuite* sAISwatchGroup = nullptr;
const AIArtSetSuite* sAIArtSet = nullptr;
const AIUserInterfaceThemeSuite* sAIUserInterfaceTheme = nullptr;
const AIPaintStyleSuite* sAIPaintStyle = nullptr;

#define MESRA_DEFINE_TEXT_ENGINE_POINTER(cls, version) const ATE##cls##Suite* sATE##cls = nullptr;
MESRA_TEXT_ENGINE_SUITES(MESRA_DEFINE_TEXT_ENGINE_POINTER, MESRA_DEFINE_TEXT_ENGINE_POINTER)
#undef MESRA_DEFINE_TEXT_ENGINE_POINTER

namespace {

template <typename Suite>
constexpr ImportSuite Import(const Suite*& pointer) {
    return {Suite::kName, Suite::kVersion, reinterpret_cast<const void**>(&pointer)};
}

int sAcquisitionCount = 0;

// Visits the entries of `list` in order until `visit` returns false.
template <typename Visit>
void ForEachImport(std::span<const ImportSuite> list, Visit visit) {
    for (const ImportSuite& entry : list) {
        if (!visit(entry)) {
            return;
        }
    }
}

ASErr AcquireEntry(const ImportSuite& entry) {
    if (entry.suite == nullptr) {
        return 0;
    }
    if (sSPBasic == nullptr) {
        return kSPSuiteNotFoundError;
    }
    const void* suite = nullptr;
    ASErr error = sSPBasic->AcquireSuite(entry.name, entry.version, &suite);
    if (error == 0 && suite == nullptr) {
        // A host that says yes but hands out nothing would crash the first caller.
        error = kSPSuiteNotFoundError;
    }
    if (error == 0) {
        *entry.suite = suite;
    }
    return error;
}

ASErr ReleaseEntry(const ImportSuite& entry) {
    if (entry.suite == nullptr || *entry.suite == nullptr) {
        return 0;
    }
    ASErr error = sSPBasic != nullptr ? sSPBasic->ReleaseSuite(entry.name, entry.version)
                                      : kSPSuiteNotFoundError;
    if (error == 0) {
        *entry.suite = nullptr;
    }
    return error;
}

std::span<const ImportSuite> AllPluginEntries();

// The required entries of the plug-in's list: those before its ending entry.
std::span<const ImportSuite> RequiredImports() {
    return AllPluginEntries().first(static_cast<std::size_t>(PluginImportCount()));
}

// The optional entries: those after an ending entry marked 'OPTS', up to the next ending
// entry.
std::span<const ImportSuite> OptionalImports() {
    const auto all = AllPluginEntries();
    const auto end = static_cast<std::size_t>(PluginImportCount());
    if (end >= all.size() || all[end].version != kOptionalSuitesMarker) {
        return {};
    }
    auto optional = all.subspan(end + 1);
    std::size_t count = 0;
    while (count < optional.size() && optional[count].name != nullptr) {
        ++count;
    }
    return optional.first(count);
}

}  // namespace

const ImportSuite gBaseImports[7] = {
    Import(sSPAccess), Import(sSPPlugins),  Import(sAINotifier), Import(sAIContext),
    Import(sAIUser),   Import(sAIFilePath), Import(sAIFolders),
};

#define MESRA_IMPORT_TEXT_ENGINE_SUITE(cls, version) Import(sATE##cls),

const ImportSuite gPluginImports[] = {
    Import(sAIMenu),
    Import(sAITool),
    Import(sAIUnicodeString),
    Import(sAIPlugin),
    Import(sSPBlocks),
    Import(sAIArt),
    Import(sAIPath),
    Import(sAIPathStyle),
    Import(sAIAnnotator),
    Import(sAIAnnotatorDrawer),
    Import(sAIDocumentView),
    Import(sAIDocument),
    Import(sAIStringFormatUtils),
    Import(sAIPanel),
    Import(sAIRealMath),
    Import(sAITransformArt),
    Import(sAIPanelFlyoutMenu),
    Import(sAIHitTest),
    Import(sAITag),
    Import(sAILayer),
    Import(sAIRealBezier),
    Import(sAIMdMemory),
    Import(sAIMatchingArt),
    Import(sAITextFrame),
    Import(sAIATEPaint),
    Import(sAIArtConverter),
    Import(sAIPreference),
    Import(sAIRuntime),
    Import(sAIFont),
    Import(sAICustomColor),
    Import(sAISwatchList),
    Import(sAISwatchGroup),
    Import(sAIArtSet),
    Import(sAIUserInterfaceTheme),
    Import(sAIPaintStyle),
    MESRA_TEXT_ENGINE_SUITES(MESRA_IMPORT_TEXT_ENGINE_SUITE, MESRA_IMPORT_TEXT_ENGINE_SUITE){
        nullptr, 0, nullptr},
};

#undef MESRA_IMPORT_TEXT_ENGINE_SUITE

namespace {
std::span<const ImportSuite> AllPluginEntries() {
    return gPluginImports;
}
}  // namespace

int PluginImportCount() {
    int count = 0;
    while (static_cast<std::size_t>(count) < std::size(gPluginImports) &&
           gPluginImports[count].name != nullptr) {
        ++count;
    }
    return count;
}

Suites::Suites() {
    if (sAcquisitionCount != 0) {
        return;
    }
    auto acquire = [this](const ImportSuite& entry) {
        error_ = AcquireEntry(entry);
        return error_ == 0;
    };
    ForEachImport(gBaseImports, acquire);
    if (error_ == 0) {
        ForEachImport(RequiredImports(), acquire);
    }
    if (error_ != 0) {
        return;
    }
    ++sAcquisitionCount;
    requiredCount_ = PluginImportCount();
    optionalCount_ = static_cast<int>(OptionalImports().size());
    AcquireOptionalSuites();
}

Suites::~Suites() {
    if (--sAcquisitionCount != 0) {
        return;
    }
    // One walk over the base list and then the plug-in's, stopping at the first failure.
    bool released = true;
    auto release = [&released](const ImportSuite& entry) {
        released = ReleaseEntry(entry) == 0;
        return released;
    };
    ForEachImport(gBaseImports, release);
    if (released) {
        ForEachImport(RequiredImports(), release);
    }
    ForEachImport(OptionalImports().first(static_cast<std::size_t>(optionalCount_)), release);
}

void Suites::AcquireOptionalSuites() {
    if (acquiredOptionalCount_ >= optionalCount_) {
        return;
    }
    for (const ImportSuite& entry : OptionalImports()) {
        if (entry.suite != nullptr && *entry.suite == nullptr && AcquireEntry(entry) == 0) {
            ++acquiredOptionalCount_;
        }
    }
}

int Suites::AcquisitionCount() {
    return sAcquisitionCount;
}

void Suites::SetAcquisitionCount(int count) {
    sAcquisitionCount = count;
}
