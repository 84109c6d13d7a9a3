#include "emulator/core/CustomColors.h"

#include <cstdint>

namespace emulator {
namespace {

constexpr std::uintptr_t kCustomColorHandleBase = 0xC0000000;
constexpr std::uintptr_t kHandleStride = 16;

// The id the next custom colour receives, in any document of the process.
std::uint64_t nextCustomColorId = 1;

// True for a component in 0..1 (never for a NaN).
bool Unit(double value) {
    return value >= 0 && value <= 1;
}

// The paint of the components of an RGB or CMYK record; kind None for any other kind or a
// component out of range.
Paint ProcessPaint(ASInt32 kind, const AIThreeColorStyle& rgb, const AIFourColorStyle& cmyk) {
    Paint paint;
    if (kind == kThreeColor && Unit(rgb.red) && Unit(rgb.green) && Unit(rgb.blue)) {
        paint.kind = Paint::Kind::RGB;
        paint.red = rgb.red;
        paint.green = rgb.green;
        paint.blue = rgb.blue;
    } else if (kind == kFourColor && Unit(cmyk.cyan) && Unit(cmyk.magenta) && Unit(cmyk.yellow) &&
               Unit(cmyk.black)) {
        paint.kind = Paint::Kind::CMYK;
        paint.cyan = cmyk.cyan;
        paint.magenta = cmyk.magenta;
        paint.yellow = cmyk.yellow;
        paint.black = cmyk.black;
    }
    return paint;
}

AIThreeColorStyle ThreeColorOf(double red, double green, double blue) {
    return {static_cast<AIReal>(red), static_cast<AIReal>(green), static_cast<AIReal>(blue)};
}

AIFourColorStyle FourColorOf(const Paint& paint) {
    return {static_cast<AIReal>(paint.cyan), static_cast<AIReal>(paint.magenta),
            static_cast<AIReal>(paint.yellow), static_cast<AIReal>(paint.black)};
}

}  // namespace

AICustomColorHandle HandleOfCustomColor(const CustomColor& color) {
    return reinterpret_cast<AICustomColorHandle>(kCustomColorHandleBase + color.id * kHandleStride);
}

CustomColor* FindCustomColor(Document& document, AICustomColorHandle handle) {
    for (CustomColor& color : document.customColors) {
        if (HandleOfCustomColor(color) == handle) {
            return &color;
        }
    }
    return nullptr;
}

CustomColor* FindCustomColorByName(Document& document, std::string_view name) {
    for (CustomColor& color : document.customColors) {
        if (color.name == name) {
            return &color;
        }
    }
    return nullptr;
}

CustomColor& AddCustomColor(Document& document, std::string name, const Paint& definition) {
    document.customColors.push_back(CustomColor{std::move(name), definition, nextCustomColorId++});
    document.currentCustomColor = document.customColors.size() - 1;
    return document.customColors.back();
}

void MakeCurrentCustomColor(Document& document, const CustomColor& color) {
    document.currentCustomColor = static_cast<std::size_t>(&color - document.customColors.data());
}

std::optional<Paint> DefinitionFromRecord(const AICustomColor& record) {
    Paint paint = ProcessPaint(record.kind, record.rgb, record.cmyk);
    if (paint.kind == Paint::Kind::None) {
        return std::nullopt;
    }
    return paint;
}

AICustomColor RecordFromDefinition(const Paint& definition) {
    AICustomColor record{};
    if (definition.kind == Paint::Kind::CMYK) {
        record.kind = kFourColor;
        record.cmyk = FourColorOf(definition);
    } else {
        record.kind = kThreeColor;
        record.rgb = ThreeColorOf(definition.red, definition.green, definition.blue);
    }
    return record;
}

RGBColor CustomColorAppearance(const Paint& definition, double tint) {
    RGBColor full{definition.red, definition.green, definition.blue};
    if (definition.kind == Paint::Kind::CMYK) {
        const double k = 1 - definition.black;
        full = {(1 - definition.cyan) * k, (1 - definition.magenta) * k,
                (1 - definition.yellow) * k};
    }
    auto lighten = [tint](double c) { return c + (1 - c) * tint; };
    return {lighten(full.red), lighten(full.green), lighten(full.blue)};
}

std::optional<Paint> PaintFromColor(Document* document, const AIColor& color) {
    Paint paint;
    switch (color.kind) {
        case kNoneColor:
            return paint;
        case kGrayColor:
            if (!Unit(color.gray.gray)) {
                return std::nullopt;
            }
            // The host's gray is an amount of ink, the model's (as SVG's) a lightness.
            paint.kind = Paint::Kind::Gray;
            paint.gray = 1 - static_cast<double>(color.gray.gray);
            return paint;
        case kThreeColor:
        case kFourColor:
            paint = ProcessPaint(color.kind, color.rgb, color.cmyk);
            if (paint.kind == Paint::Kind::None) {
                return std::nullopt;
            }
            return paint;
        case kCustomColor: {
            CustomColor* custom =
                document != nullptr ? FindCustomColor(*document, color.custom.color) : nullptr;
            if (custom == nullptr || !Unit(color.custom.tint)) {
                return std::nullopt;
            }
            const RGBColor look = CustomColorAppearance(custom->definition, color.custom.tint);
            paint.kind = Paint::Kind::Custom;
            paint.red = look.red;
            paint.green = look.green;
            paint.blue = look.blue;
            paint.customName = custom->name;
            paint.tint = color.custom.tint;
            return paint;
        }
        default:
            return std::nullopt;
    }
}

AIColor ColorFromPaint(Document* document, const Paint& paint) {
    AIColor color{};
    switch (paint.kind) {
        case Paint::Kind::None:
            color.kind = kNoneColor;
            break;
        case Paint::Kind::Gray:
            // The model's gray is a lightness, the host's an amount of ink.
            color.kind = kGrayColor;
            color.gray.gray = static_cast<AIReal>(1 - paint.gray);
            break;
        case Paint::Kind::RGB:
            color.kind = kThreeColor;
            color.rgb = ThreeColorOf(paint.red, paint.green, paint.blue);
            break;
        case Paint::Kind::CMYK:
            color.kind = kFourColor;
            color.cmyk = FourColorOf(paint);
            break;
        case Paint::Kind::Custom: {
            CustomColor* custom =
                document != nullptr ? FindCustomColorByName(*document, paint.customName) : nullptr;
            if (custom != nullptr) {
                color.kind = kCustomColor;
                color.custom = {HandleOfCustomColor(*custom), static_cast<AIReal>(paint.tint)};
            } else {
                color.kind = kThreeColor;
                color.rgb = ThreeColorOf(paint.red, paint.green, paint.blue);
            }
            break;
        }
    }
    return color;
}

}  // namespace emulator
