// Trimming text, in the two ways the program needs: one helper for the whole tree.
#pragma once
#include <string>

// Removes every character with a code from 0 to 32 at both ends.
std::string Trim(const std::string& text);

// Removes the blanks that pad a CHAR value at its end; leading blanks and other characters stay,
// so that two names differing there stay two names.
std::string TrimTrailingBlanks(std::string text);
