#pragma once
// The part of the OpenFX image effect API that the rain plug-in uses, declared
// here from the published standard: the two structures a host and a plug-in
// exchange, the suites we call (their function tables in the order the
// standard fixes), and the names of actions, properties and values, which are
// plain strings that hosts compare. Nothing outside tools/ofx includes this.
#include <cstddef>

extern "C" {

// Opaque handles: the host owns what they point to.
struct QrOfxPropertySet;
struct QrOfxParamSet;
struct QrOfxParam;
struct QrOfxEffect;
struct QrOfxClip;
struct QrOfxMemory;
using OfxPropertySetHandle = QrOfxPropertySet*;
using OfxParamSetHandle = QrOfxParamSet*;
using OfxParamHandle = QrOfxParam*;
using OfxImageEffectHandle = QrOfxEffect*;
using OfxImageClipHandle = QrOfxClip*;
using OfxImageMemoryHandle = QrOfxMemory*;

using OfxStatus = int;
using OfxTime = double;

struct OfxRectI {
    int x1, y1, x2, y2;
};
struct OfxRectD {
    double x1, y1, x2, y2;
};
struct OfxRangeD {
    double min, max;
};

struct OfxHost {
    OfxPropertySetHandle host;
    const void* (*fetchSuite)(OfxPropertySetHandle host, const char* suiteName, int suiteVersion);
};

struct OfxPlugin {
    const char* pluginApi;
    int apiVersion;
    const char* pluginIdentifier;
    unsigned int pluginVersionMajor;
    unsigned int pluginVersionMinor;
    void (*setHost)(OfxHost* host);
    OfxStatus (*mainEntry)(const char* action, const void* handle, OfxPropertySetHandle inArgs,
        OfxPropertySetHandle outArgs);
};

struct OfxPropertySuiteV1 {
    OfxStatus (*propSetPointer)(OfxPropertySetHandle, const char*, int, void*);
    OfxStatus (*propSetString)(OfxPropertySetHandle, const char*, int, const char*);
    OfxStatus (*propSetDouble)(OfxPropertySetHandle, const char*, int, double);
    OfxStatus (*propSetInt)(OfxPropertySetHandle, const char*, int, int);
    OfxStatus (*propSetPointerN)(OfxPropertySetHandle, const char*, int, void* const*);
    OfxStatus (*propSetStringN)(OfxPropertySetHandle, const char*, int, const char* const*);
    OfxStatus (*propSetDoubleN)(OfxPropertySetHandle, const char*, int, const double*);
    OfxStatus (*propSetIntN)(OfxPropertySetHandle, const char*, int, const int*);
    OfxStatus (*propGetPointer)(OfxPropertySetHandle, const char*, int, void**);
    OfxStatus (*propGetString)(OfxPropertySetHandle, const char*, int, char**);
    OfxStatus (*propGetDouble)(OfxPropertySetHandle, const char*, int, double*);
    OfxStatus (*propGetInt)(OfxPropertySetHandle, const char*, int, int*);
    OfxStatus (*propGetPointerN)(OfxPropertySetHandle, const char*, int, void**);
    OfxStatus (*propGetStringN)(OfxPropertySetHandle, const char*, int, char**);
    OfxStatus (*propGetDoubleN)(OfxPropertySetHandle, const char*, int, double*);
    OfxStatus (*propGetIntN)(OfxPropertySetHandle, const char*, int, int*);
    OfxStatus (*propReset)(OfxPropertySetHandle, const char*);
    OfxStatus (*propGetDimension)(OfxPropertySetHandle, const char*, int*);
};

struct OfxImageEffectSuiteV1 {
    OfxStatus (*getPropertySet)(OfxImageEffectHandle, OfxPropertySetHandle*);
    OfxStatus (*getParamSet)(OfxImageEffectHandle, OfxParamSetHandle*);
    OfxStatus (*clipDefine)(OfxImageEffectHandle, const char*, OfxPropertySetHandle*);
    OfxStatus (*clipGetHandle)(OfxImageEffectHandle, const char*, OfxImageClipHandle*, OfxPropertySetHandle*);
    OfxStatus (*clipGetPropertySet)(OfxImageClipHandle, OfxPropertySetHandle*);
    OfxStatus (*clipGetImage)(OfxImageClipHandle, OfxTime, const OfxRectD*, OfxPropertySetHandle*);
    OfxStatus (*clipReleaseImage)(OfxPropertySetHandle);
    OfxStatus (*clipGetRegionOfDefinition)(OfxImageClipHandle, OfxTime, OfxRectD*);
    int (*abort)(OfxImageEffectHandle);
    OfxStatus (*imageMemoryAlloc)(OfxImageEffectHandle, size_t, OfxImageMemoryHandle*);
    OfxStatus (*imageMemoryFree)(OfxImageMemoryHandle);
    OfxStatus (*imageMemoryLock)(OfxImageMemoryHandle, void**);
    OfxStatus (*imageMemoryUnlock)(OfxImageMemoryHandle);
};

// Values are passed as C varargs after the handle (and time): int*, double*
// or char** to read, int, double or const char* to write, one per dimension.
struct OfxParameterSuiteV1 {
    OfxStatus (*paramDefine)(OfxParamSetHandle, const char*, const char*, OfxPropertySetHandle*);
    OfxStatus (*paramGetHandle)(OfxParamSetHandle, const char*, OfxParamHandle*, OfxPropertySetHandle*);
    OfxStatus (*paramSetGetPropertySet)(OfxParamSetHandle, OfxPropertySetHandle*);
    OfxStatus (*paramGetPropertySet)(OfxParamHandle, OfxPropertySetHandle*);
    OfxStatus (*paramGetValue)(OfxParamHandle, ...);
    OfxStatus (*paramGetValueAtTime)(OfxParamHandle, OfxTime, ...);
    OfxStatus (*paramGetDerivative)(OfxParamHandle, OfxTime, ...);
    OfxStatus (*paramGetIntegral)(OfxParamHandle, OfxTime, OfxTime, ...);
    OfxStatus (*paramSetValue)(OfxParamHandle, ...);
    OfxStatus (*paramSetValueAtTime)(OfxParamHandle, OfxTime, ...);
    OfxStatus (*paramGetNumKeys)(OfxParamHandle, unsigned int*);
    OfxStatus (*paramGetKeyTime)(OfxParamHandle, unsigned int, OfxTime*);
    OfxStatus (*paramGetKeyIndex)(OfxParamHandle, OfxTime, int, int*);
    OfxStatus (*paramDeleteKey)(OfxParamHandle, OfxTime);
    OfxStatus (*paramDeleteAllKeys)(OfxParamHandle);
    OfxStatus (*paramCopy)(OfxParamHandle, OfxParamHandle, OfxTime, const OfxRangeD*);
    OfxStatus (*paramEditBegin)(OfxParamSetHandle, const char*);
    OfxStatus (*paramEditEnd)(OfxParamSetHandle);
};

// The first entry is the whole of version 1; version 2 adds the persistent
// messages after it.
struct OfxMessageSuiteV2 {
    OfxStatus (*message)(void*, const char*, const char*, const char*, ...);
    OfxStatus (*setPersistentMessage)(void*, const char*, const char*, const char*, ...);
    OfxStatus (*clearPersistentMessage)(void*);
};

}  // extern "C"

namespace Quarn::Ofx {

namespace Status {
inline constexpr OfxStatus ok = 0;
inline constexpr OfxStatus failed = 1;
inline constexpr OfxStatus errFatal = 2;
inline constexpr OfxStatus errUnknown = 3;
inline constexpr OfxStatus errMissingHostFeature = 4;
inline constexpr OfxStatus errUnsupported = 5;
inline constexpr OfxStatus errExists = 6;
inline constexpr OfxStatus errBadHandle = 9;
inline constexpr OfxStatus errBadIndex = 10;
inline constexpr OfxStatus errValue = 11;
inline constexpr OfxStatus errMemory = 8;
inline constexpr OfxStatus replyDefault = 14;
inline constexpr OfxStatus errImageFormat = 1000;
}  // namespace Status

namespace Suite {
inline constexpr const char* property = "OfxPropertySuite";
inline constexpr const char* imageEffect = "OfxImageEffectSuite";
inline constexpr const char* parameter = "OfxParameterSuite";
inline constexpr const char* message = "OfxMessageSuite";
}  // namespace Suite

inline constexpr const char* kImageEffectApi = "OfxImageEffectPluginAPI";

namespace Action {
inline constexpr const char* load = "OfxActionLoad";
inline constexpr const char* unload = "OfxActionUnload";
inline constexpr const char* describe = "OfxActionDescribe";
inline constexpr const char* createInstance = "OfxActionCreateInstance";
inline constexpr const char* destroyInstance = "OfxActionDestroyInstance";
inline constexpr const char* instanceChanged = "OfxActionInstanceChanged";
inline constexpr const char* describeInContext = "OfxImageEffectActionDescribeInContext";
inline constexpr const char* render = "OfxImageEffectActionRender";
inline constexpr const char* regionsOfInterest = "OfxImageEffectActionGetRegionsOfInterest";
}  // namespace Action

namespace Prop {
inline constexpr const char* label = "OfxPropLabel";
inline constexpr const char* name = "OfxPropName";
inline constexpr const char* time = "OfxPropTime";
inline constexpr const char* type = "OfxPropType";
inline constexpr const char* changeReason = "OfxPropChangeReason";
inline constexpr const char* pluginDescription = "OfxPropPluginDescription";
inline constexpr const char* version = "OfxPropVersion";
inline constexpr const char* versionLabel = "OfxPropVersionLabel";
inline constexpr const char* grouping = "OfxImageEffectPluginPropGrouping";
inline constexpr const char* context = "OfxImageEffectPropContext";
inline constexpr const char* supportedContexts = "OfxImageEffectPropSupportedContexts";
inline constexpr const char* supportedPixelDepths = "OfxImageEffectPropSupportedPixelDepths";
inline constexpr const char* supportedComponents = "OfxImageEffectPropSupportedComponents";
inline constexpr const char* singleInstance = "OfxImageEffectPluginPropSingleInstance";
inline constexpr const char* renderThreadSafety = "OfxImageEffectPluginRenderThreadSafety";
inline constexpr const char* hostFrameThreading = "OfxImageEffectPluginPropHostFrameThreading";
inline constexpr const char* supportsMultiResolution = "OfxImageEffectPropSupportsMultiResolution";
inline constexpr const char* supportsTiles = "OfxImageEffectPropSupportsTiles";
inline constexpr const char* temporalClipAccess = "OfxImageEffectPropTemporalClipAccess";
inline constexpr const char* multipleClipDepths = "OfxImageEffectPropSupportsMultipleClipDepths";
inline constexpr const char* clipOptional = "OfxImageClipPropOptional";
inline constexpr const char* clipConnected = "OfxImageClipPropConnected";
inline constexpr const char* renderWindow = "OfxImageEffectPropRenderWindow";
inline constexpr const char* renderScale = "OfxImageEffectPropRenderScale";
inline constexpr const char* frameRate = "OfxImageEffectPropFrameRate";
inline constexpr const char* pixelDepth = "OfxImageEffectPropPixelDepth";
inline constexpr const char* components = "OfxImageEffectPropComponents";
inline constexpr const char* premultiplication = "OfxImageEffectPropPreMultiplication";
inline constexpr const char* imageData = "OfxImagePropData";
inline constexpr const char* imageBounds = "OfxImagePropBounds";
inline constexpr const char* imageRowBytes = "OfxImagePropRowBytes";
inline constexpr const char* pixelAspectRatio = "OfxImagePropPixelAspectRatio";
inline constexpr const char* regionOfInterestPrefix = "OfxImageClipPropRoI_";
// Parameters.
inline constexpr const char* paramDefault = "OfxParamPropDefault";
inline constexpr const char* paramMin = "OfxParamPropMin";
inline constexpr const char* paramMax = "OfxParamPropMax";
inline constexpr const char* paramDisplayMin = "OfxParamPropDisplayMin";
inline constexpr const char* paramDisplayMax = "OfxParamPropDisplayMax";
inline constexpr const char* paramDigits = "OfxParamPropDigits";
inline constexpr const char* paramDoubleType = "OfxParamPropDoubleType";
inline constexpr const char* paramChoiceOption = "OfxParamPropChoiceOption";
inline constexpr const char* paramParent = "OfxParamPropParent";
inline constexpr const char* paramAnimates = "OfxParamPropAnimates";
inline constexpr const char* paramHint = "OfxParamPropHint";
inline constexpr const char* paramScriptName = "OfxParamPropScriptName";
inline constexpr const char* paramGroupOpen = "OfxParamPropGroupOpen";
}  // namespace Prop

namespace Value {
inline constexpr const char* contextFilter = "OfxImageEffectContextFilter";
inline constexpr const char* contextGeneral = "OfxImageEffectContextGeneral";
inline constexpr const char* depthByte = "OfxBitDepthByte";
inline constexpr const char* depthShort = "OfxBitDepthShort";
inline constexpr const char* depthFloat = "OfxBitDepthFloat";
inline constexpr const char* componentsRGBA = "OfxImageComponentRGBA";
inline constexpr const char* componentsRGB = "OfxImageComponentRGB";
inline constexpr const char* componentsAlpha = "OfxImageComponentAlpha";
inline constexpr const char* opaque = "OfxImageOpaque";
inline constexpr const char* premultiplied = "OfxImagePreMultiplied";
inline constexpr const char* unpremultiplied = "OfxImageUnPreMultiplied";
inline constexpr const char* renderFullySafe = "OfxImageEffectRenderFullySafe";
inline constexpr const char* doubleTypeAngle = "OfxParamDoubleTypeAngle";
inline constexpr const char* doubleTypePlain = "OfxParamDoubleTypePlain";
inline constexpr const char* typeParameter = "OfxTypeParameter";
inline constexpr const char* changeUserEdited = "OfxChangeUserEdited";
inline constexpr const char* messageError = "OfxMessageError";
inline constexpr const char* messageWarning = "OfxMessageWarning";
}  // namespace Value

namespace ParamType {
inline constexpr const char* integer = "OfxParamTypeInteger";
inline constexpr const char* number = "OfxParamTypeDouble";
inline constexpr const char* boolean = "OfxParamTypeBoolean";
inline constexpr const char* choice = "OfxParamTypeChoice";
inline constexpr const char* rgba = "OfxParamTypeRGBA";
inline constexpr const char* group = "OfxParamTypeGroup";
}  // namespace ParamType

namespace ClipName {
inline constexpr const char* source = "Source";
inline constexpr const char* output = "Output";
inline constexpr const char* matte = "Matte";
}  // namespace ClipName

}  // namespace Quarn::Ofx
