#include "plugin/tools/ClickSounds.h"

#include "plugin/host/Platform.h"
#include "plugin/settings/DimensionSettings.h"

namespace tools {

void PlayClickSound(ClickSound sound) {
    if (settings::Settings().soundOn == 0) {
        return;
    }
    const PluginFiles& files = CurrentPluginFiles();
    switch (sound) {
        case ClickSound::Point:
            platform::Current().PlaySoundFile(files.pointSound);
            break;
        case ClickSound::Segment:
            platform::Current().PlaySoundFile(files.segmentSound);
            break;
        case ClickSound::Arc:
            platform::Current().PlaySoundFile(files.arcSound);
            break;
        default:
            platform::Current().PlaySoundFile(files.bezierSound);
            break;
    }
}

}  // namespace tools
