#pragma once
// Text forms of parameter values, as used in attribute texts. Reading uses
// stream extraction and keeps the previous value when the text does not
// start with one (answering false); writing uses the stream's own format.
// Components are separated by one blank.
#include "qrParamValueTypes.h"

#include <ostream>
#include <string>

namespace Quarn::Param::Text {

// True when, after leading blanks, the text starts (in any case) with
// "true", "yes", "vero" or "vrai", or reads as a non-zero integer in C
// notation (decimal, 0 octal, 0x hexadecimal).
bool parseBool(const std::string& text);

bool read(const std::string& text, int32_t& value);
bool read(const std::string& text, double& value);
bool read(const std::string& text, bool& value);
// One word: leading blanks are skipped and the word ends at the next blank.
bool read(const std::string& text, std::string& value);
bool read(const std::string& text, HvVec2& value);
// x1 y1 x2 y2.
bool read(const std::string& text, HvBox2& value);
bool read(const std::string& text, QrPointI& value);
bool read(const std::string& text, QrRectI& value);
bool read(const std::string& text, QrPixelRGBf& value);
bool read(const std::string& text, QrPixelRGBAf& value);

void write(std::ostream& os, int32_t value);
void write(std::ostream& os, double value);
void write(std::ostream& os, bool value);
void write(std::ostream& os, const std::string& value);
void write(std::ostream& os, const HvVec2& value);
void write(std::ostream& os, const HvBox2& value);
void write(std::ostream& os, const QrPointI& value);
void write(std::ostream& os, const QrRectI& value);
void write(std::ostream& os, const QrPixelRGBf& value);
void write(std::ostream& os, const QrPixelRGBAf& value);

}  // namespace Quarn::Param::Text
