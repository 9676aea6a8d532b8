// What the host tells the plug-in about itself and the frame, settable
// before any command, and what a command gave back.
#pragma once

#include <AE_Effect.h>

#include <optional>
#include <string>

namespace Quarn::Host {

struct HostProperties {
    A_long applId = PF_APPL_ID_AFTER_EFFECTS;
    PF_SpecVersion apiVersion {13, 28};
    PF_RationalScale downsampleX {1, 1};
    PF_RationalScale downsampleY {1, 1};
    PF_RationalScale pixelAspectRatio {1, 1};
    // Times in timeScale units: frame n starts at n x timeStep.
    A_long currentTime = 0;
    A_long timeStep = 1;
    A_long localTimeStep = 1;
    A_long totalTime = 250;
    A_u_long timeScale = 25;
    // The output extent hint; the whole frame when unset.
    std::optional<PF_Rect> outputExtent;
    PF_Point outputOrigin {0, 0};
    // Output worlds start transparent black. A host driving a plug-in that
    // writes every output pixel (and discarding the output of a failed
    // render) can leave them as their memory is, saving a pass over it.
    bool clearOutput = true;
    // The host's own main window (a HWND on Windows), owner of the dialogs a
    // plug-in opens as system windows; none by default.
    void* mainWindow = nullptr;
};

// The result of one command: the plug-in's error code and return message.
struct CommandResult {
    PF_Err error = PF_Err_NONE;
    std::string message;  // out_data->return_msg
    bool displayMessage = false;  // PF_OutFlag_DISPLAY_ERROR_MESSAGE was set
    bool ok() const { return error == PF_Err_NONE; }
};

}  // namespace Quarn::Host
