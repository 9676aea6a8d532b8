#pragma once
// A gmock host for parameter tests. By default it knows no parameter; tests
// say which names it defines and what it answers.
#include "qrParamHostI.h"

#include <gmock/gmock.h>

class MockParamHost : public Quarn::Param::HostI {
public:
    MOCK_METHOD(bool, paramIsDefined, (const std::string&), (override));
    MOCK_METHOD(bool, paramIsAnimating, (const std::string&), (override));
    MOCK_METHOD(int, paramNumKeys, (const std::string&), (override));
    MOCK_METHOD(void, paramDeleteKey, (const std::string&, double), (override));
    MOCK_METHOD(void, paramDeleteKey, (const std::string&, int), (override));
    MOCK_METHOD(void, paramDeleteAllKeys, (const std::string&), (override));
    MOCK_METHOD(double, paramKeyTime, (const std::string&, int), (override));
    MOCK_METHOD(bool, paramFindKey, (const std::string&, double, int32_t, int32_t), (override));
    MOCK_METHOD(void, paramSetKey, (const std::string&, double), (override));
    MOCK_METHOD(double, getDoubleParam, (const std::string&, double), (override));
    MOCK_METHOD(Quarn::Scale, getScaleParam, (const std::string&, double), (override));
    MOCK_METHOD(Quarn::Angle, getAngleParam, (const std::string&, double), (override));
    MOCK_METHOD(int, getIntParam, (const std::string&, double), (override));
    MOCK_METHOD(std::string&, getStringParam, (const std::string&, std::string&, double), (override));
    MOCK_METHOD(bool, getBoolParam, (const std::string&, double), (override));
    MOCK_METHOD(QrPixelRGBf, getRGBParam, (const std::string&, double), (override));
    MOCK_METHOD(QrPixelRGBAf, getRGBAParam, (const std::string&, double), (override));
    MOCK_METHOD(HvVec2, get2DDoubleParam, (const std::string&, double), (override));
    MOCK_METHOD(HvBox2, getRectDParam, (const std::string&, double), (override));
    MOCK_METHOD(QrRectI, getRectIParam, (const std::string&, double), (override));
    MOCK_METHOD(bool, getRotoParam, (const std::string&, int32_t, double), (override));
    MOCK_METHOD(QrColGradDescription, getGradParam, (const std::string&, double), (override));
    MOCK_METHOD(void, getLightParam, (const std::string&, Quarn::LightBase&, double), (override));
    MOCK_METHOD(void, getCameraParam, (const std::string&, Quarn::CameraBase&, double), (override));
    MOCK_METHOD(double, integrateDoubleParam, (const std::string&, double, double), (override));
    MOCK_METHOD(Quarn::Scale, integrateScaleParam, (const std::string&, double, double), (override));
    MOCK_METHOD(double, differentiateDoubleParam, (const std::string&, double), (override));
    MOCK_METHOD(HvVec2, integrate2DDoubleParam, (const std::string&, double, double), (override));
    MOCK_METHOD(HvVec2, differentiate2DDoubleParam, (const std::string&, double), (override));
    MOCK_METHOD(void, setDoubleParam, (const std::string&, double), (override));
    MOCK_METHOD(void, setScaleParam, (const std::string&, Quarn::Scale), (override));
    MOCK_METHOD(void, setAngleParam, (const std::string&, Quarn::Angle), (override));
    MOCK_METHOD(void, setIntParam, (const std::string&, int), (override));
    MOCK_METHOD(void, setStringParam, (const std::string&, const std::string&), (override));
    MOCK_METHOD(void, setBoolParam, (const std::string&, bool), (override));
    MOCK_METHOD(void, setRGBParam, (const std::string&, const QrPixelRGBf&), (override));
    MOCK_METHOD(void, setRGBAParam, (const std::string&, const QrPixelRGBAf&), (override));
    MOCK_METHOD(void, set2DDoubleParam, (const std::string&, const HvVec2&), (override));
    MOCK_METHOD(void, setRectDParam, (const std::string&, const HvBox2&), (override));
    MOCK_METHOD(void, setRectIParam, (const std::string&, const QrRectI&), (override));
    MOCK_METHOD(void, setRotoParam, (const std::string&, const Quarn::RotoShape&), (override));
    MOCK_METHOD(void, setGradParam, (const std::string&, const QrColGradDescription&), (override));

    // Makes the host define exactly these names.
    void defines(std::initializer_list<std::string> names)
    {
        using ::testing::_;
        using ::testing::Return;
        ON_CALL(*this, paramIsDefined(_)).WillByDefault(Return(false));
        for (const std::string& n : names)
            ON_CALL(*this, paramIsDefined(n)).WillByDefault(Return(true));
    }
};
