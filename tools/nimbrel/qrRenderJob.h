// `nimbrel render`: loads the plug-in once, applies the user's changes in
// order, then renders one frame or a sequence, reading each input (and
// matte layer) frame and writing each output atomically.
#pragma once

#include "qrRenderOptions.h"

namespace Quarn::Cli {

// Throws CliError for every failure; returns when all frames are written.
void runRender(const RenderOptions& options);

}  // namespace Quarn::Cli
