// Refuses a render whose output would replace one of its own inputs: the
// same file under any spelling (relative or absolute, through "..", a
// symbolic or a hard link), for any frame of a sequence against any frame
// of a numbered input or matte, or a still that lies inside the output
// sequence.
#pragma once

#include "qrFramePattern.h"

#include <string>
#include <vector>

namespace Quarn::Cli {

struct NamedPattern {
    std::string option;  // how the user gave it: "INPUT", "--matte-layer"
    FramePattern pattern;
};

// Throws a usage CliError naming both files when an output frame of
// `output` is one of the `inputs`' files for any of `frames`.
void refuseOverwritingInputs(
    const FramePattern& output, const std::vector<NamedPattern>& inputs, const std::vector<long>& frames);

}  // namespace Quarn::Cli
