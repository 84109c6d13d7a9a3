#include "emulator/core/Toolbox.h"

#include <cstdint>

#include "plugin/host/InterfaceSuites.h"

namespace emulator {
namespace {

// The host's own tools, by group: each inner list is one group, each name its own toolset
// but where a '+' joins it to the toolset of the name before.
const std::vector<std::vector<std::string>> kHostTools = {
    {"Select Tool"}, {"Direct Select Tool"}, {"Pen Tool"},
    {"Brush Tool"},  {"Rotate Tool"},        {"Eyedropper Tool", "+Measure Tool"},
    {"Hand Tool"},   {"Zoom Tool"},
};

constexpr std::uintptr_t kHandleBase = 0x7000;

}  // namespace

Toolbox::Toolbox(const std::vector<std::string>& extraTools) {
    for (const auto& group : kHostTools) {
        ++nextGroup_;
        for (const std::string& entry : group) {
            Tool tool;
            const bool joins = entry.front() == '+';
            tool.name = joins ? entry.substr(1) : entry;
            tool.group = nextGroup_;
            tool.toolset = joins ? nextToolset_ : ++nextToolset_;
            tools_.push_back(tool);
        }
    }
    for (const std::string& name : extraTools) {
        Tool tool;
        tool.name = name;
        Add(tool, kNoTool, kNoTool);
    }
}

std::optional<AIToolType> Toolbox::Add(Tool tool, AIToolType sameGroupAs, AIToolType sameToolsAs) {
    if (NumberOf(tool.name)) {
        return std::nullopt;
    }
    const Tool* groupTool = sameGroupAs == kNoTool ? nullptr : Find(sameGroupAs);
    const Tool* toolsetTool = sameToolsAs == kNoTool ? nullptr : Find(sameToolsAs);
    if ((sameGroupAs != kNoTool && groupTool == nullptr) ||
        (sameToolsAs != kNoTool && toolsetTool == nullptr)) {
        return std::nullopt;
    }
    if (toolsetTool != nullptr) {
        tool.group = toolsetTool->group;
        tool.toolset = toolsetTool->toolset;
    } else {
        tool.newToolset = true;
        tool.toolset = ++nextToolset_;
        tool.newGroup = groupTool == nullptr;
        tool.group = groupTool != nullptr ? groupTool->group : ++nextGroup_;
    }
    tools_.push_back(std::move(tool));
    return static_cast<AIToolType>(tools_.size() - 1);
}

std::optional<AIToolType> Toolbox::NumberOf(const std::string& name) const {
    for (std::size_t i = 0; i < tools_.size(); ++i) {
        if (tools_[i].name == name) {
            return static_cast<AIToolType>(i);
        }
    }
    return std::nullopt;
}

const Tool* Toolbox::Find(AIToolType number) const {
    return number >= 0 && static_cast<std::size_t>(number) < tools_.size() ? &tools_[number]
                                                                           : nullptr;
}

Tool* Toolbox::Find(AIToolType number) {
    return number >= 0 && static_cast<std::size_t>(number) < tools_.size() ? &tools_[number]
                                                                           : nullptr;
}

AIToolHandle Toolbox::HandleOf(AIToolType number) {
    return reinterpret_cast<AIToolHandle>(kHandleBase + static_cast<std::uintptr_t>(number) * 16);
}

AIToolType Toolbox::NumberOf(AIToolHandle handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value < kHandleBase || (value - kHandleBase) % 16 != 0) {
        return -1;
    }
    return static_cast<AIToolType>((value - kHandleBase) / 16);
}

}  // namespace emulator
