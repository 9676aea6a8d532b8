// Parameter-set documents read into a locked set holding one parameter of
// every type: the value pass, which may only update existing parameters.
#include "qrFuzzSupport.h"
#include "qrParams.h"
#include "qrXMLReaders.h"

#include <sstream>

namespace {

const char* const kDefinition = R"(<paramset>
  <int name='i' min='0' max='10' value='3'/>
  <double name='d'/> <xsize name='xs'/> <ysize name='ys'/> <xpos name='xp'/> <ypos name='yp'/>
  <scale name='sc'/> <angle name='an'/> <timepos name='tp'/> <timesize name='ts'/>
  <double2 name='d2'/> <size2d name='s2'/> <pos2d name='p2'/> <scale2d name='c2'/>
  <angle2d name='a2'/> <rectd name='rd'/> <recti name='ri'/>
  <bool name='b'/> <string name='s'/> <rgb name='rgb'/> <rgba name='rgba'/>
  <roto name='r'/> <pushbutton name='pb'/>
  <choice name='c' value='One'><option label='Zero'/><option label='One'/>
    <alias name='Uno' original='One'/></choice>
  <colourgrad name='g'><value><node position='0' value='0 0 0 1'/></value></colourgrad>
  <alias name='count' original='i'/>
</paramset>)";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    Quarn::XML::installXMLReaders();
    Quarn::auto_ref<Quarn::Param::ParamSet> set(new Quarn::Param::ParamSet(false));
    set->parseXML(kDefinition);
    set->setDefinitionLock(true);
    QrFuzz::runParse([&] { set->parseXML(QrFuzz::documentText(data, size)); }, false);
    std::ostringstream out;
    set->writeXML(out, true);
    return 0;
}
