// The host's toolbox: its own tools and those that plug-ins add, arranged in groups and
// toolsets, and the tool that is selected.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plugin/host/Records.h"

namespace emulator {

struct Tool {
    // Windows-1252, as the plug-in gives it.
    std::string name;
    std::string tooltip;
    ASInt32 icon = 0;
    ASInt32 darkIcon = 0;
    int group = 0;
    int toolset = 0;
    // Null for the host's own tools and those of other plug-ins.
    SPPluginRef owner = nullptr;
    ASInt32 options = 0;
    std::vector<ASInt32> infoVariables;
    // True when the group or toolset was made for this tool.
    bool newGroup = false;
    bool newToolset = false;
};

class Toolbox {
  public:
    // The host's own tools, then the tools of other plug-ins named in `extraTools`.
    explicit Toolbox(const std::vector<std::string>& extraTools = {});

    // Adds a tool placed in the group of tool `sameGroupAs` and the toolset of tool
    // `sameToolsAs` (kNoTool: new ones). Returns its number, or nothing when the name is
    // taken or a placement tool does not exist.
    std::optional<AIToolType> Add(Tool tool, AIToolType sameGroupAs, AIToolType sameToolsAs);
    std::optional<AIToolType> NumberOf(const std::string& name) const;
    const Tool* Find(AIToolType number) const;
    Tool* Find(AIToolType number);
    const std::vector<Tool>& All() const { return tools_; }

    // Handles given to plug-ins: a tool's handle is its number + 1 in disguise.
    static AIToolHandle HandleOf(AIToolType number);
    static AIToolType NumberOf(AIToolHandle handle);

    AIToolType Selected() const { return selected_; }
    void SetSelected(AIToolType number) { selected_ = number; }

  private:
    std::vector<Tool> tools_;
    int nextGroup_ = 0;
    int nextToolset_ = 0;
    AIToolType selected_ = 0;
};

}  // namespace emulator
