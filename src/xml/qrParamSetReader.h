#pragma once
// Reading parameter-set documents (root "paramset") into a set. A parameter
// set's parseXML reaches these through the reader that installXMLReaders()
// (qrXMLReaders.h) installs, which keeps the parameter library free of the
// XML layer.
#include "qrParamSet.h"

#include <cstdio>
#include <string>

namespace Quarn::XML {

void readParamSet(Param::ParamSet& set, const std::string& document);
void readParamSet(Param::ParamSet& set, std::FILE* file);

class ParamSetReader : public Param::ParamSet::XMLReaderI {
public:
    void parse(Param::ParamSet& set, const std::string& document) override;
    void parse(Param::ParamSet& set, std::FILE* file) override;
};

}  // namespace Quarn::XML
