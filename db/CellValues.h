// Decoding a fetched cell into the text and the integer that the readers of a query see.
#pragma once
#include "db/RowBuffer.h"

#include <cstdint>
#include <string>

// Any column but a blob, whose text is read from the server (BlobCache): numbers with their
// scale as decimals, dates as "YYYY-MM-DD hh:mm:ss", BOOLEAN as "True" or "False". A type
// without a text form gives the empty text.
std::string CellText(const Column& column, const char* data);

// The integer a text column holds; any other text is an error that shows it.
std::int64_t TextNumber(const std::string& text);

// Integers and booleans as they are, floating numbers truncated (and clamped to the 64-bit
// range); any other type gives 0.
std::int64_t CellNumber(const Column& column, const char* data);
