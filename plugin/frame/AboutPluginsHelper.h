// Adds a plug-in's About item under the host's About menu, in a submenu shared by the
// plug-ins of one family.
#pragma once

#include "plugin/host/InterfaceSuites.h"
#include "plugin/host/Messages.h"

class SDKAboutPluginsHelper {
  public:
    SDKAboutPluginsHelper() = default;
    virtual ~SDKAboutPluginsHelper() = default;

    // Adds the item `itemText` to the group `groupName`, creating the group first (as a
    // submenu of the host's About group, captioned `groupCaption`) when no group of that
    // name exists yet. Texts are Windows-1252. *menuItem receives the item's handle.
    ASErr AddAboutPluginsMenuItem(SPMessageData* message, const char* groupName,
                                  const char* groupCaption, const char* itemText,
                                  AIMenuItemHandle* menuItem);

  private:
    ASErr FindGroup(const char* groupName, bool* found);

    const AIMenuSuite* menu_ = nullptr;
};
