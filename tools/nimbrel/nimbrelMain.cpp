// nimbrel: renders the rain effect onto images from the command line by
// loading the plug-in into our host, and lists what the plug-in offers.
//
//   nimbrel render INPUT -o OUTPUT [--set NAME=VALUE]... [--preset NAME] ...
//   nimbrel params | presets | info | about -o FILE
//   nimbrel --version
//
// Exit status: 0 done, 1 the render failed, 2 usage or input error,
// 130 interrupted.
#include "qrCliError.h"
#include "qrHostError.h"
#include "qrInterrupt.h"
#include "qrListings.h"
#include "qrRenderJob.h"
#include "qrVersion.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <system_error>

namespace {

using namespace Quarn::Cli;

// Options whose values need checking are taken as text and parsed after
// CLI11 is done, so that every message comes from one place.
struct RenderText {
    std::string depth, frame, frames, render = "smart", downsample, pixelAspect, compression, matteLayer;
    CLI::Option* matteOption = nullptr;
};

void addRender(CLI::App& app, RenderOptions& options, RenderText& text)
{
    CLI::App* render = app.add_subcommand("render", "Render the rain onto an image or a sequence");
    render->add_option("INPUT", options.input, "Input image (or a pattern with #### or %04d)")->required();
    render->add_option("-o,--output", options.output, "Output image (pattern for --frames)")->required();
    // --set and --preset share one list so that they act in command-line order.
    render
        ->add_option_function<std::string>(
            "--set",
            [&](const std::string& v) {
                options.changes.push_back({ParamChange::Set, v});
            },
            "Set a parameter, or a motion control of this host (\"Fall Speed=6\"): NAME=VALUE in the "
            "host's units")
        ->trigger_on_parse()
        ->take_last();
    render
        ->add_option_function<std::string>(
            "--preset",
            [&](const std::string& v) {
                options.changes.push_back({ParamChange::Preset, v});
            },
            "Choose a preset (\"Drizzle\" ... \"Night Time\")")
        ->trigger_on_parse()
        ->take_last();
    text.matteOption =
        render->add_option("--matte-layer", text.matteLayer, "Image (or pattern) for the Matte Layer");
    render->add_option("--depth", text.depth, "Host pixel depth: 8, 16 or 32 (default: the input's)");
    auto* frame = render->add_option("--frame", text.frame, "The host's current time in frames, 0 to " + std::to_string(kLargestHostNumber));
    render->add_option("--frames", text.frames, "Render frames A-B as a sequence (at most " + std::to_string(kMostFrames) + " frames)")->excludes(frame);
    render->add_option("--render", text.render, "smart (default) or classic");
    render->add_option("--downsample", text.downsample, "Downsample factor X[,Y]: N means 1/N");
    render->add_option("--pixel-aspect", text.pixelAspect, "Pixel aspect ratio R");
    render->add_option("--compression", text.compression,
        "Deflate level 0 (fastest) to 9 (smallest) of PNG, TIFF and EXR output; 0 stores TIFF and "
        "EXR uncompressed (default: 1 for PNG and TIFF, uncompressed EXR)");
    render->add_flag("-q,--quiet", options.quiet, "No progress bar");
    render->add_flag("-v,--verbose", options.verbose, "Print parameter values and timings");
}

void finishRenderOptions(RenderOptions& options, const RenderText& text)
{
    if (!text.depth.empty())
        options.depth = parseDepth(text.depth);
    if (text.matteOption->count() > 0) {
        if (text.matteLayer.empty())
            throw usageError("--matte-layer \"\": expected an image file (or a numbered pattern)");
        options.matteLayer = text.matteLayer;
    }
    if (!text.frame.empty())
        options.frame = parseFrame(text.frame);
    if (!text.frames.empty())
        options.frames = parseFrameRange(text.frames);
    options.mode = parseRenderMode(text.render);
    if (!text.downsample.empty())
        std::tie(options.downsampleX, options.downsampleY) = parseDownsample(text.downsample);
    if (!text.compression.empty())
        options.compression = parseCompression(text.compression);
    if (!text.pixelAspect.empty())
        options.pixelAspect = parseRatio("--pixel-aspect", text.pixelAspect);
}

int run(int argc, char** argv)
{
    CLI::App app("nimbrel: adds rain to images with the Nimbrel effect plug-in", "nimbrel");
    app.require_subcommand(1);
    app.set_version_flag("--version", versionText, "Print the versions of nimbrel and of its plug-in");
    RenderOptions options;
    RenderText text;
    addRender(app, options, text);
    CLI::App* params = app.add_subcommand("params", "List the 40 parameters as the host shows them, then the host's motion controls");
    CLI::App* presets = app.add_subcommand("presets", "List the presets and the values each sets");
    CLI::App* info = app.add_subcommand("info", "Print the plug-in's property list");
    CLI::App* about = app.add_subcommand("about", "Write the about box as an image");
    std::string aboutPath;
    about->add_option("-o,--output", aboutPath, "Image file to write")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help, --version
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "nimbrel: %s (\"nimbrel --help\" lists the options)\n", e.what());
        return kExitUsage;
    }

    if (app.got_subcommand("render")) {
        finishRenderOptions(options, text);
        runRender(options);
    } else if (params->parsed()) {
        std::cout << listParams();
    } else if (presets->parsed()) {
        std::cout << listPresets();
    } else if (info->parsed()) {
        std::cout << listPiPL();
    } else if (about->parsed()) {
        writeAbout(aboutPath);
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        installInterruptHandler();
        return run(argc, argv);
    } catch (const CliError& e) {
        std::fprintf(stderr, "nimbrel: %s\n", e.what());
        return e.status();
    } catch (const Quarn::Host::HostError& e) {
        // The plug-in could not be loaded or driven as declared.
        std::fprintf(stderr, "nimbrel: plug-in: %s\n", e.what());
        return kExitRenderFailed;
    } catch (const std::bad_alloc&) {
        // Reading and writing name their file and size; what is left is
        // setting up the host and the plug-in.
        std::fprintf(stderr, "nimbrel: out of memory while loading the plug-in or setting up the render\n");
        return kExitRenderFailed;
    } catch (const std::system_error& e) {
        std::fprintf(stderr, "nimbrel: the system refused a resource (a thread or a file): %s\n", e.what());
        return kExitRenderFailed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "nimbrel: %s\n", e.what());
        return kExitRenderFailed;
    }
}
