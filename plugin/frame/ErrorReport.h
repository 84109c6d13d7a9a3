// What the frame does with an error result that reaches the host.
#pragma once

#include "plugin/host/Records.h"

// True for the codes the frame never reports: the host's own signals ('FMT?', 'RFSE',
// 'AFTR', 'VALD', 'MOOT', 'TRSH', 'CHEK', 'CHIT', 'TLTK', 'pFls', 'S!Fd', '!Acq', 'dsRP',
// 'skpE', 'DONE', 'STOP') and the number 361.
bool IsQuietError(ASErr error);

// The default error report of `error` for the plug-in `pluginRef`. Quiet codes are
// ignored. Otherwise the alert text is looked up in the plug-in's error texts, through the
// host's user suite (acquired for the call when it is not held); the plug-in has no error
// texts of its own, so the host's answer to the code is all the user sees.
void DefaultErrorReport(SPPluginRef pluginRef, ASErr error);
