#pragma once
// Connects the document operations of the parameter library to this layer:
// after the call, ParamSet::parseXML reads parameter-set documents and
// EffectI::parseXML reads effect documents. Safe to call more than once.
namespace Quarn::XML {

void installXMLReaders();

}  // namespace Quarn::XML
