// Texts from a database as a reader's tools take them: UTF-8, whatever bytes the catalog holds.
#pragma once
#include <cstddef>
#include <string>

namespace review {

// The length of a well-formed UTF-8 sequence starting at text[at], or 0.
std::size_t Utf8Length(const std::string& text, std::size_t at);

// The text with each byte that is not part of well-formed UTF-8 taken as the Latin-1
// character of its code: a database with character set NONE holds whatever a client sent.
std::string AsUtf8(const std::string& text);

}
