// The UTF-8 and wide-text pieces that the text and the path conversions share.
#pragma once

#include <Utf8Encoding.h>

#include <string>

namespace orvsgutils::detail {

using orvutf8::appendUtf8;
using orvutf8::appendWide;
using orvutf8::nextWide;
using orvutf8::isSurrogate;
using orvutf8::replacementCharacter;

}  // namespace orvsgutils::detail
