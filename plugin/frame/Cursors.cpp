#include "plugin/frame/Cursors.h"

#include "plugin/hostaccess/Suites.h"

ASErr ShowCursor(AICursorManagerHandle manager, ASInt32 id) {
    if (manager == nullptr) {
        return 0;
    }
    return sAIUser->SetCursor(id, manager);
}
