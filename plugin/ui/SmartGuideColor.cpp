#include "plugin/ui/SmartGuideColor.h"

#include <cmath>

#include "plugin/hostaccess/Suites.h"

SmartGuideColor& CurrentSmartGuideColor() {
    static SmartGuideColor color{};
    return color;
}

ASUInt16 SmartGuideComponent(AIReal value) {
    const double scaled = std::round(static_cast<double>(value) * 65535.0);
    if (!(scaled >= 0.0)) {
        return 0;
    }
    return scaled > 65535.0 ? 65535 : static_cast<ASUInt16>(scaled);
}

void ReadSmartGuideColor() {
    auto read = [](const char* key) {
        AIReal value = 0.0f;
        if (sAIPreference->GetRealPreference(nullptr, key, &value) != 0) {
            value = 0.0f;
        }
        return SmartGuideComponent(value);
    };
    SmartGuideColor& color = CurrentSmartGuideColor();
    color.red = read("snapomatic/Color/red");
    color.green = read("snapomatic/Color/green");
    color.blue = read("snapomatic/Color/blue");
}
