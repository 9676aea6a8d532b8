// The built nimbrel.so as a frei0r host loads it: by dlopen and the f0r_*
// symbols, nothing else.
#include "qrFrei0rTestFrames.h"

#include <dlfcn.h>
extern "C" {
#include <frei0r.h>
}
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace QrFrei0rTest;

namespace {

class Frei0rModule : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        handle_ = dlopen(NIMBREL_FREI0R_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        ASSERT_EQ(symbol<int (*)()>("f0r_init")(), 1);
    }
    static void TearDownTestSuite()
    {
        if (handle_) {
            symbol<void (*)()>("f0r_deinit")();
            dlclose(handle_);
        }
        handle_ = nullptr;
    }

    template <class F> static F symbol(const char* name)
    {
        void* s = handle_ ? dlsym(handle_, name) : nullptr;
        EXPECT_NE(s, nullptr) << name;
        return reinterpret_cast<F>(s);
    }

    f0r_plugin_info_t info()
    {
        f0r_plugin_info_t i {};
        symbol<void (*)(f0r_plugin_info_t*)>("f0r_get_plugin_info")(&i);
        return i;
    }
    f0r_param_info_t paramInfo(int index)
    {
        f0r_param_info_t i {nullptr, -1, nullptr};
        symbol<void (*)(f0r_param_info_t*, int)>("f0r_get_param_info")(&i, index);
        return i;
    }
    int paramIndex(const std::string& name)
    {
        for (int k = 0; k < info().num_params; ++k)
            if (paramInfo(k).name == name)
                return k;
        ADD_FAILURE() << "no parameter " << name;
        return 0;
    }

    static inline void* handle_ = nullptr;
    decltype(&f0r_construct) construct = symbol<decltype(&f0r_construct)>("f0r_construct");
    decltype(&f0r_destruct) destruct = symbol<decltype(&f0r_destruct)>("f0r_destruct");
    decltype(&f0r_set_param_value) setParam = symbol<decltype(&f0r_set_param_value)>("f0r_set_param_value");
    decltype(&f0r_get_param_value) getParam = symbol<decltype(&f0r_get_param_value)>("f0r_get_param_value");
    decltype(&f0r_update) update = symbol<decltype(&f0r_update)>("f0r_update");
};

}  // namespace

TEST_F(Frei0rModule, DescribesAnRgbaFilterWithNamedExplainedParameters)
{
    const f0r_plugin_info_t i = info();
    EXPECT_STREQ(i.name, "Nimbrel");
    EXPECT_EQ(i.plugin_type, F0R_PLUGIN_TYPE_FILTER);
    EXPECT_EQ(i.color_model, F0R_COLOR_MODEL_RGBA8888);
    EXPECT_EQ(i.frei0r_version, FREI0R_MAJOR_VERSION);
    ASSERT_EQ(i.num_params, 20);  // thirteen rain controls, six of motion and depth, the frame rate
    std::set<std::string> names;
    for (int k = 0; k < i.num_params; ++k) {
        const f0r_param_info_t p = paramInfo(k);
        ASSERT_NE(p.name, nullptr) << k;
        EXPECT_TRUE(names.insert(p.name).second) << p.name;
        EXPECT_TRUE(p.type == F0R_PARAM_DOUBLE || p.type == F0R_PARAM_STRING || p.type == F0R_PARAM_BOOL)
            << p.name;
        EXPECT_GT(std::strlen(p.explanation), 10u) << p.name;
    }
    for (const char* choice : {"matte", "blend_method", "process"})
        EXPECT_EQ(paramInfo(paramIndex(choice)).type, F0R_PARAM_STRING) << choice;
    EXPECT_EQ(paramInfo(paramIndex("density")).type, F0R_PARAM_DOUBLE);
    EXPECT_EQ(paramInfo(paramIndex("streak_from_speed")).type, F0R_PARAM_BOOL);
    EXPECT_EQ(paramInfo(paramIndex("frame_rate")).type, F0R_PARAM_DOUBLE);
    EXPECT_EQ(paramIndex("process"), 12) << "the first thirteen keep their places";
    // The framework inside must not clash with anything else the host loaded.
    EXPECT_EQ(dlsym(handle_, "_ZN5Quarn6Frei0r10videoFrameEdNS0_8TimeUnitEd"), nullptr);
}

TEST_F(Frei0rModule, InstanceReadsBackParametersDrawsRainAndIgnoresWhatItCannotHandle)
{
    EXPECT_EQ(construct(0, 48), nullptr);
    f0r_instance_t instance = construct(64, 48);
    ASSERT_NE(instance, nullptr);
    double density = 0.25;
    setParam(instance, &density, paramIndex("density"));
    f0r_param_string method = const_cast<char*>("Multiply");
    setParam(instance, &method, paramIndex("blend_method"));
    double readDensity = -1;
    getParam(instance, &readDensity, paramIndex("density"));
    EXPECT_EQ(readDensity, 0.25);
    for (const auto& [name, text] : {std::pair {"blend_method", "Multiply"}, {"process", "RGB"}}) {
        f0r_param_string read = nullptr;
        getParam(instance, &read, paramIndex(name));
        ASSERT_NE(read, nullptr) << name;
        EXPECT_STREQ(read, text);
    }

    const Frame in = nightFrame(64, 48);
    Frame out(in.size());
    update(instance, 0.0, in.data(), out.data());
    EXPECT_GT(differingPixels(out, in, 8), 0);
    // Null frames and indices out of range are ignored, not crashes.
    update(instance, 0.0, nullptr, out.data());
    double value = 0.5;
    setParam(instance, &value, 99);
    getParam(instance, &value, -1);
    EXPECT_EQ(value, 0.5);
    destruct(instance);
}
