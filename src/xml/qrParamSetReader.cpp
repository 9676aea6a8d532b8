#include "qrParamSetReader.h"

#include "qrParamSetXMLElement.h"
#include "qrXMLRootElement.h"
#include "qrXMLStackedParser.h"

namespace Quarn::XML {

namespace {

using ParamSetRoot = RootElement<auto_ref<Param::ParamSet>, ParamSetXMLElement>;

template <class Input> void readInto(Param::ParamSet& set, Input&& input)
{
    ParamSetRoot root("paramset", auto_ref<Param::ParamSet>::share(&set));
    StackedParser parser(root);
    parser.parse(std::forward<Input>(input));
}

}  // namespace

void readParamSet(Param::ParamSet& set, const std::string& document)
{
    readInto(set, document);
}

void readParamSet(Param::ParamSet& set, std::FILE* file)
{
    readInto(set, file);
}

void ParamSetReader::parse(Param::ParamSet& set, const std::string& document)
{
    readParamSet(set, document);
}

void ParamSetReader::parse(Param::ParamSet& set, std::FILE* file)
{
    readParamSet(set, file);
}

}  // namespace Quarn::XML
