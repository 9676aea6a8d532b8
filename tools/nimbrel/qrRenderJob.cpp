#include "qrRenderJob.h"

#include "qrBoundedQueue.h"
#include "qrCliError.h"
#include "qrFramePattern.h"
#include "qrImageFile.h"
#include "qrInterrupt.h"
#include "qrMotionControls.h"
#include "qrOverwriteGuard.h"
#include "qrParamAssigner.h"
#include "qrParamKeys.h"
#include "qrPluginLocator.h"
#include "qrProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace Quarn::Cli {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string errorName(PF_Err error)
{
    switch (error) {
    case PF_Err_OUT_OF_MEMORY: return "out of memory";
    case PF_Interrupt_CANCEL: return "cancelled";
    case PF_Err_BAD_CALLBACK_PARAM: return "bad callback parameter";
    }
    return "plug-in error";
}

// Input frames, read once per distinct file name: a still source (or
// matte) is read for the first frame and kept by the host for the others.
class FrameReader {
public:
    FrameReader(std::string pattern, Host::Depth depth) : pattern_(std::move(pattern)), depth_(depth) { }

    // The image for `frame`, or nothing when that is the file read last.
    std::unique_ptr<Host::HostImage> changed(long frame)
    {
        const std::string name = pattern_.name(frame);
        if (name == name_)
            return nullptr;
        auto image = std::make_unique<Host::HostImage>(readImage(name, depth_));
        name_ = name;
        return image;
    }

private:
    FramePattern pattern_;
    Host::Depth depth_;
    std::string name_;
};

// What the reader hands the render for one frame: the layers that changed
// since the frame before, or the error that reading them raised.
struct FrameInput {
    long frame = 0;
    std::unique_ptr<Host::HostImage> source;  // null: as the frame before
    std::unique_ptr<Host::HostImage> matte;
    double readMs = 0;
    std::exception_ptr error;
};

// What the render hands the writer.
struct FrameOutput {
    std::string name;
    Host::HostImage image;
    double readMs = 0;
    double renderMs = 0;
};

class RenderJob {
public:
    explicit RenderJob(const RenderOptions& options);
    void run();

private:
    void checkOptions() const;
    void setUpHost();
    void applyChanges(ParamAssigner& assigner);
    int matteChoice() const;
    std::string matteChoiceText() const;
    void warnAboutUnusedMatteLayer() const;
    void warnAboutMatteWithoutLayer() const;
    void readFrames(BoundedQueue<FrameInput>& inputs);
    FrameOutput renderFrame(FrameInput& input);
    std::exception_ptr writeFrames(
        BoundedQueue<FrameOutput>& outputs, BoundedQueue<FrameInput>& inputs, ProgressBar& progress);
    void throwIfInterrupted(const std::string& outputName) const;
    void warn(const std::string& text) const;

    const RenderOptions& options_;
    FramePattern output_;
    FramePattern input_;
    std::vector<long> frames_;
    Host::Depth depth_ = Host::Depth::Bits8;
    std::unique_ptr<Host::EffectHost> host_;
    std::unique_ptr<FrameReader> source_;
    std::unique_ptr<FrameReader> matte_;
    const std::atomic<bool>* cancel_ = nullptr;
};

RenderJob::RenderJob(const RenderOptions& options)
    : options_(options), output_(options.output), input_(options.input)
{
    if (options.frames)
        for (long f = options.frames->first; f <= options.frames->last; ++f)
            frames_.push_back(f);
    else
        frames_.push_back(options.frame);
}

void RenderJob::throwIfInterrupted(const std::string& outputName) const
{
    if (cancel_->load())
        throw CliError(kExitInterrupted, outputName + ": interrupted; nothing written");
}

void RenderJob::warn(const std::string& text) const
{
    std::fprintf(stderr, "nimbrel: warning: %s\n", text.c_str());
}

void RenderJob::checkOptions() const
{
    if (options_.frames && !output_.hasFrame())
        throw usageError(options_.output + ": a sequence needs a frame field (#### or %04d) in OUTPUT");
    if (!options_.frames && output_.hasFrame())
        warn(options_.output + ": writing one frame; use --frames A-B for a sequence");
    std::vector<NamedPattern> inputs = {{"INPUT", input_}};
    if (options_.matteLayer)
        inputs.push_back({"--matte-layer", FramePattern(*options_.matteLayer)});
    refuseOverwritingInputs(output_, inputs, frames_);
}

void RenderJob::setUpHost()
{
    host_ = std::make_unique<Host::EffectHost>(locatePlugin());
    const Host::CommandResult started = host_->start();
    if (!started.ok())
        throw CliError(kExitRenderFailed,
            "the plug-in failed to start: error " + std::to_string(started.error) + " " + started.message);
    host_->setCancelSignal(cancel_);
    Host::HostProperties& props = host_->properties();
    // The rain writes every output pixel, and a failed frame is not written.
    props.clearOutput = false;
    props.downsampleX = options_.downsampleX;
    props.downsampleY = options_.downsampleY;
    props.pixelAspectRatio = options_.pixelAspect;
    // The layer lasts at least to the last frame rendered, so the frame
    // range the host reports holds every frame asked for.
    const A_long lastFrame = A_long(*std::max_element(frames_.begin(), frames_.end()));
    props.totalTime = std::max(props.totalTime, (lastFrame + 1) * props.timeStep);
    host_->setFrame(A_long(frames_.front()));
}

void RenderJob::applyChanges(ParamAssigner& assigner)
{
    const int matteBefore = matteChoice();
    bool matteSet = false;
    for (const ParamChange& change : options_.changes) {
        if (change.kind == ParamChange::Preset) {
            assigner.applyPreset(change.text);
            continue;
        }
        if (auto warning = assigner.assign(change.text))
            warn(*warning);
        const std::string name = change.text.substr(0, change.text.find('='));
        matteSet = matteSet || (!findMotionControl(name) && assigner.resolve(name) == kMatteChannelIndex);
    }
    // As a host does after changes: the plug-in greys out what no longer applies.
    host_->updateParamsUI();
    if (options_.matteLayer)
        warnAboutUnusedMatteLayer();
    else if (matteSet || matteChoice() != matteBefore)
        warnAboutMatteWithoutLayer();
}

// The Matte entry in quotes. Appended piece by piece: GCC 12 warns
// (-Wrestrict, wrongly) on "\"" + std::string once this is inlined.
std::string RenderJob::matteChoiceText() const
{
    std::string text(1, '"');
    text += host_->paramText("matteChannel");
    text += '"';
    return text;
}

int RenderJob::matteChoice() const
{
    return int(host_->param(kMatteChannelIndex).number(host_->currentSeconds()));
}

// Without a connected matte layer every matte is off, as in a compositing
// host; a user who chose one is told rather than left guessing.
void RenderJob::warnAboutMatteWithoutLayer() const
{
    if (matteChoice() != kNoMatteChoice)
        warn("Matte is " + matteChoiceText() +
            " but no --matte-layer is given: as in a compositing host, a matte needs a connected layer, so "
            "the rain is not matted (give one, even the input itself, to turn the matte on)");
}

// A connected matte layer is what turns any matte on, the source-based ones
// included; only the "Matte Layer ..." entries read its pixels.
void RenderJob::warnAboutUnusedMatteLayer() const
{
    const int choiceNumber = matteChoice();
    const std::string choice = matteChoiceText();
    if (choiceNumber == kNoMatteChoice)
        warn("--matte-layer has no effect while Matte is " + choice);
    else if (choiceNumber < kFirstMatteLayerChoice)
        warn("--matte-layer: its pixels are not used while Matte is " + choice +
            "; the layer only turns that source matte on (the \"Matte Layer ...\" entries matte by the "
            "layer)");
}

void RenderJob::readFrames(BoundedQueue<FrameInput>& inputs)
{
    for (long frame : frames_) {
        if (!inputs.waitForRoom())
            break;
        FrameInput input;
        input.frame = frame;
        const auto start = Clock::now();
        try {
            input.source = source_->changed(frame);
            if (matte_)
                input.matte = matte_->changed(frame);
        } catch (...) {
            input.error = std::current_exception();
        }
        input.readMs = millisecondsSince(start);
        const bool failed = input.error != nullptr;
        if (!inputs.push(std::move(input)) || failed)
            break;
    }
    inputs.close();
}

FrameOutput RenderJob::renderFrame(FrameInput& input)
{
    FrameOutput output;
    output.name = output_.name(input.frame);
    output.readMs = input.readMs;
    throwIfInterrupted(output.name);
    const auto renderStart = Clock::now();
    host_->setFrame(A_long(input.frame));
    if (input.source)
        host_->setSource(std::move(*input.source));
    if (input.matte)
        host_->setLayer(kMatteLayerIndex, std::move(*input.matte));
    Host::RenderResult result = host_->render(depth_, options_.mode);
    output.renderMs = millisecondsSince(renderStart);
    throwIfInterrupted(output.name);
    const Host::CommandResult& command = result.command;
    if (!command.ok())
        throw CliError(kExitRenderFailed,
            output.name + ": the render failed with host error " + std::to_string(command.error) + " (" +
                errorName(command.error) + ")" + (command.message.empty() ? "" : ": " + command.message));
    // An internal error comes back without an error code but with a message.
    if (command.displayMessage && !command.message.empty())
        throw CliError(kExitRenderFailed, output.name + ": the render failed: " + command.message);
    output.image = std::move(result.image);
    return output;
}

// Writes the frames in the order rendered; on a failure, stops the other
// stages and hands the error back.
std::exception_ptr RenderJob::writeFrames(
    BoundedQueue<FrameOutput>& outputs, BoundedQueue<FrameInput>& inputs, ProgressBar& progress)
{
    long done = 0;
    while (std::optional<FrameOutput> output = outputs.pop()) {
        try {
            const auto writeStart = Clock::now();
            writeImage(output->image, output->name, cancel_, options_.compression);
            if (options_.verbose)
                std::fprintf(stderr, "nimbrel: %s: read %.1f ms, render %.1f ms, write %.1f ms\n",
                    output->name.c_str(), output->readMs, output->renderMs, millisecondsSince(writeStart));
        } catch (...) {
            outputs.close();
            inputs.close();
            return std::current_exception();
        }
        progress.update(++done);
    }
    return nullptr;
}

void RenderJob::run()
{
    cancel_ = &installInterruptHandler();
    checkOptions();
    const std::string firstInput = input_.name(frames_.front());
    depth_ = options_.depth ? *options_.depth : naturalDepth(firstInput);
    if (options_.mode == Host::RenderMode::Classic && depth_ == Host::Depth::Float)
        throw usageError(firstInput + ": --render classic renders at 8 or 16 bits, not 32 (" +
            (options_.depth ? "--depth 32" : "a float image") + "); use --render smart or --depth 16");
    source_ = std::make_unique<FrameReader>(options_.input, depth_);
    if (options_.matteLayer)
        matte_ = std::make_unique<FrameReader>(*options_.matteLayer, depth_);

    setUpHost();
    ParamAssigner assigner(*host_);
    applyChanges(assigner);
    // Made only now, after every check of the input and the settings, so
    // that a refused command leaves no new folder behind.
    prepareOutput(output_.name(frames_.front()));
    if (options_.verbose)
        std::fprintf(stderr, "%s%s", host_->describeParams().c_str(),
            listMotionControls(host_->rainMotion()).c_str());

    const bool showProgress = options_.frames && !options_.quiet && ::isatty(STDERR_FILENO);
    ProgressBar progress(stderr, long(frames_.size()), showProgress);
    // Three stages: while frame n renders here, frame n+1 is read and frame
    // n-1 written. A stage starts its next frame only when the queue after it
    // has room, so one frame at most waits between stages.
    BoundedQueue<FrameInput> inputs(1);
    BoundedQueue<FrameOutput> outputs(1);
    std::exception_ptr writeError;
    std::thread reader;
    std::thread writer;
    const auto stopStages = [&] {
        inputs.close();
        outputs.close();
        for (std::thread* stage : {&reader, &writer})
            if (stage->joinable())
                stage->join();
    };
    try {
        reader = std::thread([&] { readFrames(inputs); });
        writer = std::thread([&] { writeError = writeFrames(outputs, inputs, progress); });
    } catch (const std::system_error& e) {
        stopStages();
        throw CliError(kExitRenderFailed,
            options_.output + ": cannot start the threads that read and write the frames: " + e.what());
    }
    std::exception_ptr renderError;
    try {
        while (std::optional<FrameInput> input = inputs.pop()) {
            if (input->error)
                std::rethrow_exception(input->error);
            if (!outputs.waitForRoom())
                break;  // the writer failed
            outputs.push(renderFrame(*input));
        }
    } catch (...) {
        renderError = std::current_exception();
    }
    // The writer still writes what was rendered before a failure, as frames
    // rendered one by one would have been.
    stopStages();
    if (writeError)
        std::rethrow_exception(writeError);
    if (renderError)
        std::rethrow_exception(renderError);
}

}  // namespace

void runRender(const RenderOptions& options)
{
    RenderJob(options).run();
}

}  // namespace Quarn::Cli
