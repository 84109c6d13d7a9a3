#include "plugin/frame/AboutPluginsHelper.h"

#include <cstring>

#include "plugin/hostaccess/WindowsText.h"

ASErr SDKAboutPluginsHelper::FindGroup(const char* groupName, bool* found) {
    *found = false;
    ASInt32 count = 0;
    ASErr error = menu_->CountMenuGroups(&count);
    for (ASInt32 i = 0; error == 0 && i < count && !*found; ++i) {
        AIMenuGroup group = nullptr;
        const char* name = nullptr;
        error = menu_->GetNthMenuGroup(i, &group);
        if (error == 0) {
            error = menu_->GetMenuGroupName(group, &name);
        }
        *found = error == 0 && name != nullptr && std::strcmp(name, groupName) == 0;
    }
    return error;
}

ASErr SDKAboutPluginsHelper::AddAboutPluginsMenuItem(SPMessageData* message, const char* groupName,
                                                     const char* groupCaption, const char* itemText,
                                                     AIMenuItemHandle* menuItem) {
    const void* suite = nullptr;
    ASErr error = message->basic->AcquireSuite(AIMenuSuite::kName, AIMenuSuite::kVersion, &suite);
    if (error != 0) {
        return error;
    }
    menu_ = static_cast<const AIMenuSuite*>(suite);
    bool found = false;
    error = FindGroup(groupName, &found);
    if (error == 0 && !found) {
        AIMenuItemHandle groupItem = nullptr;
        error = menu_->AddMenuItem(message->self, groupName, kAboutMenuGroup,
                                   text::ToHostUnicode(groupCaption).c_str(), 0, &groupItem);
        AIMenuGroup group = nullptr;
        if (error == 0) {
            error = menu_->AddMenuGroupAsSubMenu(groupName, 0, groupItem, &group);
        }
    }
    if (error == 0) {
        error = menu_->AddMenuItem(message->self, itemText, groupName,
                                   text::ToHostUnicode(itemText).c_str(), 0, menuItem);
    }
    message->basic->ReleaseSuite(AIMenuSuite::kName, AIMenuSuite::kVersion);
    menu_ = nullptr;
    return error;
}
