#include "qrAEPresetFile.h"

namespace Quarn::AfterEffects {

using Wrapper::PresetValue;

std::string presetFileName(const std::string& folder, const std::tm& when)
{
    char name[256];
    std::snprintf(name, sizeof name, "%s//%02d%02d%02d_%02d%02d%02d.preset", folder.c_str(), when.tm_hour,
        when.tm_min, when.tm_sec, when.tm_mday, when.tm_mon, when.tm_year + 1900);
    return name;
}

void writePresetText(std::FILE* file, const std::vector<PresetValue>& values)
{
    std::fprintf(file, "case(Quarn::<PluginName>Presets::e<PresetName>): {\n");
    for (const PresetValue& v : values) {
        const char* key = v.key.c_str();
        const double* x = v.value;
        switch (v.type) {
        case Wrapper::kTypeBool: std::fprintf(file, "\tsetBoolParam(\"%s\",%d);\n", key, int(x[0])); break;
        case Wrapper::kTypeDouble: std::fprintf(file, "\tsetDoubleParam(\"%s\",%f);\n", key, x[0]); break;
        case Wrapper::kTypeInt: std::fprintf(file, "\tsetIntParam(\"%s\",%d);\n", key, int(x[0])); break;
        case Wrapper::kTypeRGB:
            std::fprintf(file, "\tsetRGBParam(\"%s\",QrRGBColF(%f,%f,%f));\n", key, x[0], x[1], x[2]);
            break;
        case Wrapper::kTypeRGBA:
            std::fprintf(
                file, "\tsetRGBAParam(\"%s\",QrRGBAColF(%f,%f,%f,%f));\n", key, x[0], x[1], x[2], x[3]);
            break;
        case Wrapper::kTypeDouble2:
            std::fprintf(file, "\tsetDoubleParam(\"%s\",HvVec2(%f,%f));\n", key, x[0], x[1]);
            break;
        case Wrapper::kTypeScale: std::fprintf(file, "\tsetScaleParam(\"%s\",%f);\n", key, x[0]); break;
        case Wrapper::kTypeAngle: std::fprintf(file, "\tsetAngleParam(\"%s\",%f);\n", key, x[0]); break;
        default: break;
        }
    }
    std::fprintf(file, "}\n");
}

bool writePresetFile(const std::string& folder, const std::vector<PresetValue>& values)
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    std::FILE* file = std::fopen(presetFileName(folder, local).c_str(), "w+");
    if (!file)
        return false;
    writePresetText(file, values);
    std::fclose(file);
    return true;
}

}  // namespace Quarn::AfterEffects
