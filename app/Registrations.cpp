#include "app/Registrations.h"

#include "emulator/core/Unicode.h"

namespace app {
namespace {

std::string Placement(int number, bool made) {
    return std::to_string(number) + (made ? " (new)" : "");
}

// The menu path of a group, from the host's top group.
std::string MenuPath(const emulator::Host& host, const std::string& groupName) {
    std::string path = groupName;
    host.MenuGroups().ForEach([&](AIMenuGroup, const emulator::MenuGroup& group) {
        if (group.name != groupName) {
            return;
        }
        if (const emulator::MenuItem* item = host.MenuItems().Find(group.parentItem)) {
            path = MenuPath(host, item->groupName) + " > " + item->text;
        }
    });
    return path;
}

}  // namespace

std::vector<std::string> DescribeRegistrations(const emulator::Host& host) {
    using emulator::Utf8FromWindows1252;
    std::vector<std::string> lines;
    lines.push_back("plug-in: " + host.PluginName() + ", options " +
                    std::to_string(host.PluginOptions()) + ", file " +
                    emulator::Utf8FromPath(host.Module().File().filename()));
    int index = 0;
    for (const emulator::Tool& tool : host.Tools().All()) {
        if (tool.owner == nullptr) {
            continue;
        }
        std::string line = "tool " + std::to_string(++index) + ": \"" +
                           Utf8FromWindows1252(tool.name) + "\", tip \"" +
                           Utf8FromWindows1252(tool.tooltip) + "\", icons " +
                           std::to_string(tool.icon) + "/" + std::to_string(tool.darkIcon) +
                           ", group " + Placement(tool.group, tool.newGroup) + ", toolset " +
                           Placement(tool.toolset, tool.newToolset) + ", info variables";
        for (ASInt32 variable : tool.infoVariables) {
            line += ' ';
            line += std::to_string(variable);
        }
        lines.push_back(line);
    }
    host.Annotators().ForEach([&](AIAnnotatorHandle, const emulator::Annotator& annotator) {
        lines.push_back("annotator: \"" + annotator.name + "\", " +
                        (annotator.active ? "active" : "inactive"));
    });
    host.MenuItems().ForEach([&](AIMenuItemHandle, const emulator::MenuItem& item) {
        bool isGroupTitle = false;
        host.MenuGroups().ForEach([&](AIMenuGroup, const emulator::MenuGroup& group) {
            if (host.MenuItems().Find(group.parentItem) == &item) {
                isGroupTitle = true;
            }
        });
        if (!isGroupTitle) {
            lines.push_back("menu item: " + MenuPath(host, item.groupName) + " > " + item.text);
        }
    });
    host.Notifiers().ForEach([&](AINotifierHandle, const emulator::Notifier& notifier) {
        lines.push_back("notifier: \"" + notifier.type + "\", owner \"" + notifier.name + "\"");
    });
    if (const emulator::Tool* selected = host.Tools().Find(host.Tools().Selected())) {
        lines.push_back("selected tool: \"" + Utf8FromWindows1252(selected->name) + "\"");
    }
    return lines;
}

}  // namespace app
