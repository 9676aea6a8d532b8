#pragma once
// Reading effect documents (root "effect") into an effect; EffectI's
// parseXML reaches these through the reader that installXMLReaders()
// (qrXMLReaders.h) installs.
#include "qrEffect.h"

#include <cstdio>
#include <string>

namespace Quarn::XML {

void readEffect(Wrapper::EffectI& effect, const std::string& document);
void readEffect(Wrapper::EffectI& effect, std::FILE* file);

class EffectReader : public Wrapper::EffectI::XMLReaderI {
public:
    void parse(Wrapper::EffectI& effect, const std::string& document) override;
    void parse(Wrapper::EffectI& effect, std::FILE* file) override;
};

}  // namespace Quarn::XML
