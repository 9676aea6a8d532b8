// Our compositing host: loads an effect plug-in and drives it through the
// effect API as a host application does: set-up and set-down, parameter
// declaration and changes, sequence data, renders, events and the about box.
// Plug-in errors never throw; they come back in CommandResult. HostError is
// thrown for misuse of this class (unknown parameter, unloadable file, ...).
#pragma once

#include "qrHandleTable.h"
#include "qrHostImage.h"
#include "qrMemoryPool.h"
#include "qrHostParam.h"
#include "qrHostProperties.h"
#include "qrPluginLibrary.h"

#include <qrRainMotionSuite.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Host {

class HostCallbacks;
class HostSuites;
class HostWorld;
struct CommandState;

struct SmartCheckout {
    A_long id;  // the plug-in's checkout id
    int index;  // layer parameter
    double seconds;  // time asked for
    PF_LRect request;  // area asked for
};
struct HostServices;

enum class RenderMode { Classic, Smart };

struct RenderResult {
    CommandResult command;  // of the render; of the pre-render if that failed
    HostImage image;  // the output world as the plug-in left it
    bool paddingIntact = true;  // nothing written beyond width in any row
    // Smart rendering: what the pre-render reported and the layers it asked for.
    PF_LRect resultRect {};
    PF_LRect maxResultRect {};
    std::vector<SmartCheckout> layerCheckouts;
};

struct DialogResult {
    CommandResult command;
    bool shown = false;  // the plug-in opened a modal dialog
    std::string title;
    HostImage content;
};

struct EventResult {
    CommandResult command;
    PF_EventOutFlags outFlags = PF_EO_NONE;
    HostImage canvas;  // draw events: what the plug-in drew
};

// What the plug-in did through the host's services, for tests and reports.
struct HostCounters {
    int progressPolls = 0;
    int abortPolls = 0;
    int paramCheckouts = 0;
    int paramCheckins = 0;
    int leakedCheckouts = 0;  // layers still checked out when a command ended
    int suitesHeld = 0;  // acquired and not yet released
    int worldsHeld = 0;  // made with the world suite, not disposed
    int aegpHeld = 0;  // AEGP effects, streams and stream values held
    int badCallbacks = 0;  // calls with a wrong effect_ref or argument
};

class EffectHost {
public:
    explicit EffectHost(const std::string& pluginPath);
    // Sends the set-downs still due; errors are ignored there.
    ~EffectHost();
    EffectHost(const EffectHost&) = delete;
    EffectHost& operator=(const EffectHost&) = delete;

    const PiPLInfo& pipl() const { return library_.pipl(); }
    HostProperties& properties() { return properties_; }
    const HostProperties& properties() const { return properties_; }
    void setFrame(A_long frame) { properties_.currentTime = frame * properties_.timeStep; }
    double currentSeconds() const;

    // Commands. start() = global setup, parameter setup, sequence setup,
    // stopping at the first error; stop() = the set-downs that are due.
    CommandResult start();
    CommandResult stop();
    CommandResult globalSetup();
    CommandResult globalSetdown();
    CommandResult paramsSetup();
    CommandResult sequenceSetup();
    CommandResult sequenceResetup();
    CommandResult sequenceFlatten();
    CommandResult sequenceSetdown();
    // As a project save and reload: the sequence data's bytes move into a
    // fresh handle (the old one is freed); false when there is no data.
    bool reloadSequenceData();
    CommandResult userChangedParam(int index);
    CommandResult updateParamsUI(bool paramsStale = false);
    EventResult sendEvent(int index, PF_EventType type, PF_Point mouse = {0, 0}, A_long key = 0);
    DialogResult about();
    RenderResult render(Depth depth, RenderMode mode);
    // Any command, with the current parameters and no output or extra.
    CommandResult command(PF_Cmd cmd);
    // Any command with no parameter list at all, as a careless host sends it.
    CommandResult commandWithoutParams(PF_Cmd cmd);
    // Sends `cmd`, with the current parameters, to `entry` in place of the
    // plug-in's entry point: code under test then meets the host's callbacks
    // and suites as the plug-in does within a command.
    using CommandEntry = std::function<PF_Err(PF_InData* in, PF_OutData* out, PF_ParamDef* params[])>;
    CommandResult commandThrough(PF_Cmd cmd, const CommandEntry& entry);

    // Parameters. Index 0 is the host's input layer. A name is an alias,
    // "Group/Label" or a label that occurs once.
    int paramCount() const { return static_cast<int>(params_.size()); }
    const HostParam& param(int index) const;
    int findParam(std::string_view name) const;
    void addAlias(std::string key, int index);
    void setParam(std::string_view name, std::string_view text);
    void setParamKey(std::string_view name, A_long frame, std::string_view text);
    std::string paramText(std::string_view name) const;
    // Sets a value as the user does: supervised parameters then get
    // PF_Cmd_USER_CHANGED_PARAM.
    CommandResult changeParam(std::string_view name, std::string_view text);
    void setSource(HostImage image);
    void setLayer(int index, std::optional<HostImage> image);
    // One line per parameter: index, group/label, kind, value, flags.
    std::string describeParams() const;

    // The drop motion the host offers the plug-in through the rain motion
    // suite; at first the rain without motion.
    const NimbrelRainMotion& rainMotion() const { return rainMotion_; }
    void setRainMotion(const NimbrelRainMotion& motion) { rainMotion_ = motion; }

    // What the plug-in reported and holds.
    A_u_long pluginVersion() const { return myVersion_; }
    PF_OutFlags outFlags() const { return outFlags_; }
    PF_OutFlags2 outFlags2() const { return outFlags2_; }
    A_long declaredParamCount() const { return declaredParams_; }
    bool globalIsSetUp() const { return globalUp_; }
    bool sequenceIsSetUp() const { return sequenceUp_; }
    PF_Handle globalData() const { return global_; }
    PF_Handle sequenceData() const { return sequence_; }
    std::vector<std::byte> sequenceBytes() const { return handles_.bytes(sequence_); }
    const HandleTable& handles() const { return handles_; }
    HostCounters counters() const;
    int uiUpdates(int index) const;

    // Test hooks.
    void cancelAfterProgressPolls(int polls) { cancelAfter_ = polls; }
    // A flag raised from elsewhere (a signal handler, another thread): while
    // it is set, progress and abort polls answer as a user's cancel does.
    void setCancelSignal(const std::atomic<bool>* signal) { cancelSignal_ = signal; }
    void failHandleAllocation(int n) { handles_.failAllocation(n); }
    void refuseSuite(std::string name) { refusedSuites_.insert(std::move(name)); }
    // The pixel format the world suite reports for the output world.
    void overrideOutputFormat(std::optional<PF_PixelFormat> format) { outputFormat_ = format; }

private:
    friend class HostCallbacks;
    friend class HostSuites;

    PF_InData makeInData();
    CommandResult invoke(PF_Cmd cmd, CommandState& state, void* extra);
    CommandResult sequenceCommand(PF_Cmd cmd);
    void buildParamArray(CommandState& state);
    void applyChangedParams(const CommandState& state);
    HostParam& mutableParam(int index);
    int requireParam(std::string_view name) const;
    void assignGroups();
    std::shared_ptr<HostWorld> layerWorld(int index, Depth depth);
    HostWorld outputWorld(Depth depth);
    RenderResult renderClassic(Depth depth);
    RenderResult renderSmart(Depth depth);
    double seconds(A_long time, A_u_long scale) const;

    PluginLibrary library_;
    HostProperties properties_;
    // Memory of the worlds the host lends, kept across frames; declared before
    // everything that holds a world.
    MemoryPool memory_;
    std::map<int, std::shared_ptr<HostWorld>> layerWorlds_;  // by layer parameter
    HandleTable handles_;
    std::vector<std::unique_ptr<HostParam>> params_;
    std::map<std::string, int, std::less<>> aliases_;
    std::map<int, int> uiUpdates_;
    HostCounters counters_;
    CommandState* state_ = nullptr;  // the command running now
    std::unique_ptr<HostServices> services_;

    PF_Handle global_ = nullptr;
    PF_Handle sequence_ = nullptr;
    bool globalUp_ = false;
    bool sequenceUp_ = false;
    A_u_long myVersion_ = 0;
    PF_OutFlags outFlags_ = 0;
    PF_OutFlags2 outFlags2_ = 0;
    A_long declaredParams_ = 0;

    int cancelAfter_ = -1;
    const std::atomic<bool>* cancelSignal_ = nullptr;
    std::set<std::string, std::less<>> refusedSuites_;
    std::optional<PF_PixelFormat> outputFormat_;
    // No fall, no wind, one layer: what a host without the suite gets.
    NimbrelRainMotion rainMotion_ {0.0, 0.0, 4.0, 1, 0.4, 0};
};

}  // namespace Quarn::Host
