#pragma once
// The download window's sequence: compile and checks, halt, program image, side areas, verify, register
// clear, run.
#include <functional>

#include "program/transfer/transfer_view.h"

struct AppContext;

// The window's check boxes.
struct DownloadOptions {
    bool application = true; // chk_download
    bool variables = true;   // chk_var
    bool strings = true;     // chk_str: gates the strings of the USB controllers
    bool sms = false;        // chk_sms
    bool verify = false;     // chk_Verify
    bool run = false;        // chk_run
    bool clear = false;      // chk_Clear
};

// Runs the sequence (cmdDownload_Click) up to its end or the first step that stops it, then the closing
// steps; the window unloads itself afterwards. refreshRegisters redraws the register view after the clear.
// True when every chosen step ran.
bool DownloadSequence(AppContext& app, const TransferView& view, const DownloadOptions& options,
                      const std::function<void()>& refreshRegisters = {});

// Whether the current model is one of the two USB controllers that take strings, CSV headers and blocks.
bool IsUsbController(const AppContext& app);
