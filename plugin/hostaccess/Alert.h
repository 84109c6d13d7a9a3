// The host's modal alert, with the plug-in's Windows-1252 messages.
#pragma once

#include "plugin/host/Records.h"

// Shows `windows1252` in the host's alert ("\r" breaks the line); nothing when the user
// suite is not held.
ASErr ShowAlert(const char* windows1252);
