#pragma once
// Shared by the XML fuzz targets: running one parse and letting through only
// the exceptions a document can legitimately cause. Any other exception
// escapes and the fuzzer reports it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace QrFuzz {

// The input as document text.
std::string documentText(const uint8_t* data, std::size_t size);

// Runs `parse`, swallowing the exception types a parse may throw for a bad
// document: XML::Parse, the set errors (DuplicateObject, ObjectUndefined,
// AssertionFailed, Locked) and, when `effectStrings`, the effect reader's
// std::string texts.
void runParse(const std::function<void()>& parse, bool effectStrings);

}  // namespace QrFuzz
