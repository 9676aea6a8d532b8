// ParamSet: membership, host binding, the definition lock, key frames,
// current-time reads and the XML document forms.
#include "qrParamSet.h"

#include <memory>

namespace Quarn::Param {

namespace {

constexpr const char* kFile = "src/qrSetOfParams";
ParamSet::XMLReaderI* gXMLReader = nullptr;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void ParamSet::setXMLReader(XMLReaderI* reader)
{
    gXMLReader = reader;
}
ParamSet::XMLReaderI* ParamSet::xmlReader()
{
    return gXMLReader;
}

ParamSet::~ParamSet()
{
    for (const auto_ref<Param>& param : params_.hsObjects())
        if (param->paramSet() == this)
            param->setParamSet(nullptr);
}

HostI& ParamSet::forwardHost(const char* function) const
{
    if (!host_)
        throw Exceptions::NullPointer(function, kFile, 40, "host");
    return *host_;
}

bool ParamSet::paramIsDefined(const std::string& name)
{
    if (forwardToHost_)
        return host_ && host_->paramIsDefined(name);
    return params_.hsIsDefined(name);
}

bool ParamSet::paramIsAnimating(const std::string& name)
{
    return lookup<Param>(name)->paramIsAnimating();
}

int ParamSet::paramNumKeys(const std::string& name)
{
    return lookup<Param>(name)->paramNumKeys();
}

void ParamSet::paramDeleteKey(const std::string& name, double time)
{
    lookup<Param>(name)->paramDeleteKey(time);
}

void ParamSet::paramDeleteKey(const std::string& name, int keyIndex)
{
    lookup<Param>(name)->paramDeleteKey(keyIndex);
}

void ParamSet::paramDeleteAllKeys(const std::string& name)
{
    lookup<Param>(name)->paramDeleteAllKeys();
}

double ParamSet::paramKeyTime(const std::string& name, int keyIndex)
{
    return lookup<Param>(name)->paramKeyTime(keyIndex);
}

bool ParamSet::paramFindKey(const std::string& name, double time, int32_t a, int32_t b)
{
    return lookup<Param>(name)->paramFindKey(time, a, b);
}

void ParamSet::paramSetKey(const std::string& name, double time)
{
    lookup<Param>(name)->paramSetKey(time);
}

// Cameras and lights exist only on a host's side.
void ParamSet::getLightParam(const std::string& name, LightBase& light, double time)
{
    if (!forwardToHost_)
        throw Exceptions::FunctionUndefined("Quarn::Param::ParamSet::getLightParam", kFile, 135,
            "ParamSet::getLightParam for unhosted parameter");
    forwardHost("Quarn::Param::ParamSet::getLightParam").getLightParam(name, light, time);
}

void ParamSet::getCameraParam(const std::string& name, CameraBase& camera, double time)
{
    if (!forwardToHost_)
        throw Exceptions::FunctionUndefined("Quarn::Param::ParamSet::getCameraParam", kFile, 125,
            "ParamSet::getCameraParam for unhosted parameter");
    forwardHost("Quarn::Param::ParamSet::getCameraParam").getCameraParam(name, camera, time);
}

void ParamSet::setHost(HostI* host)
{
    host_ = host;
    params_.hsNotifyAll(host ? 1 : 0);
}

void ParamSet::addParam(auto_ref<Param> param)
{
    if (definitionLock_)
        throw Exceptions::Locked("Quarn::Param::ParamSet::addParam", kFile, 51);
    params_.hsAddObject(param);
    param->setParamSet(this);
}

void ParamSet::aliasParam(const std::string& alias, const std::string& original)
{
    params_.hsAliasObject(alias, original);
}

void ParamSet::removeParam(const std::string& name)
{
    if (definitionLock_)
        throw Exceptions::Locked("Quarn::Param::ParamSet::removeParam", kFile, 67);
    if (Param* param = params_.hsGetObject(name, false)) {
        param->setParamSet(nullptr);
        params_.hsRemoveObject(name);
    }
}

Quarn::Scale ParamSet::getScaleParam(const std::string& name)
{
    return getScaleParam(name, getTime());
}
Quarn::Angle ParamSet::getAngleParam(const std::string& name)
{
    return getAngleParam(name, getTime());
}
int ParamSet::getIntParam(const std::string& name)
{
    return getIntParam(name, getTime());
}

std::string& ParamSet::getStringParam(const std::string& name, std::string& out)
{
    return getStringParam(name, out, getTime());
}

bool ParamSet::getBoolParam(const std::string& name)
{
    return getBoolParam(name, getTime());
}
QrPixelRGBf ParamSet::getRGBParam(const std::string& name)
{
    return getRGBParam(name, getTime());
}
QrPixelRGBAf ParamSet::getRGBAParam(const std::string& name)
{
    return getRGBAParam(name, getTime());
}
HvVec2 ParamSet::get2DDoubleParam(const std::string& name)
{
    return get2DDoubleParam(name, getTime());
}
HvBox2 ParamSet::getRectDParam(const std::string& name)
{
    return getRectDParam(name, getTime());
}
QrRectI ParamSet::getRectIParam(const std::string& name)
{
    return getRectIParam(name, getTime());
}

bool ParamSet::getRotoParam(const std::string& name, int32_t arg)
{
    return getRotoParam(name, getTime(), arg);
}

QrColGradDescription ParamSet::getGradParam(const std::string& name)
{
    return getGradParam(name, getTime());
}

void ParamSet::getLightParam(const std::string& name, LightBase& light)
{
    getLightParam(name, light, getTime());
}

void ParamSet::getCameraParam(const std::string& name, CameraBase& camera)
{
    getCameraParam(name, camera, getTime());
}

void ParamSet::parseXML(const std::string& document)
{
    if (!gXMLReader)
        throw Exceptions::FunctionUndefined(
            "Quarn::Param::ParamSet::parseXML", kFile, 460, "ParamSet::parseXML without an XML reader");
    gXMLReader->parse(*this, document);
}

void ParamSet::parseXML(std::FILE* file)
{
    if (!gXMLReader)
        throw Exceptions::FunctionUndefined(
            "Quarn::Param::ParamSet::parseXML", kFile, 470, "ParamSet::parseXML without an XML reader");
    gXMLReader->parse(*this, file);
}

void ParamSet::parseXMLFile(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    if (!file)
        throw Exceptions::File::FileOpen(
            "Quarn::Param::ParamSet::parseXMLFile", "src/qrParamParser", 486, "open file for reading", path);
    parseXML(file.get());
}

std::ostream& ParamSet::writeXML(std::ostream& os, bool full)
{
    os << "<paramset>\n";
    for (const auto_ref<Param>& param : params_.hsObjects())
        param->writeXML(os, full);
    os << "</paramset>\n";
    return os;
}

}  // namespace Quarn::Param
