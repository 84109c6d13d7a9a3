// The panel's main page: its list of parameters, their summaries and resets.
#pragma once

#include <optional>
#include <string>

#include "plugin/host/ArtworkSuites.h"
#include "plugin/settings/DimensionSettings.h"
#include "plugin/ui/PanelControls.h"

namespace ui {

// The main page, drawn from the live settings.
Page MainPage();

// The summary of row `row`'s parameter (Windows-1252; "" for the tool rows).
std::string MainPageSummary(int row);

// The settings page an Alt-click on row `row` resets, if the row has one.
std::optional<settings::SettingsPage> MainPageReset(int row);

// The line and text colours of the settings, as the drawer paints them.
AIRGBColor LineColorSwatch();
AIRGBColor TextColorSwatch();

}  // namespace ui
