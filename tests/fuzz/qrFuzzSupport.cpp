#include "qrFuzzSupport.h"

#include "qrException.h"

namespace QrFuzz {

std::string documentText(const uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

void runParse(const std::function<void()>& parse, bool effectStrings)
{
    namespace E = Quarn::Exceptions;
    try {
        parse();
    } catch (const E::XML::Parse&) {
    } catch (const E::DuplicateObject&) {
    } catch (const E::ObjectUndefined&) {
    } catch (const E::AssertionFailed&) {
    } catch (const E::Locked&) {
    } catch (const std::string&) {
        if (!effectStrings)
            throw;
    }
}

}  // namespace QrFuzz
