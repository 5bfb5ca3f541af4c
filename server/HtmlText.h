#pragma once

#include <string>
#include <string_view>

// Text from outside made safe to put in a page, in element content and in quoted attribute
// values alike: & < > " ' become character references.
std::string EscapeHtml(std::string_view text);
