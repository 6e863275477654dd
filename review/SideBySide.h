// Two texts lined up for a reader: a line diff, and within each changed line a word diff.
#pragma once
#include <string>
#include <vector>

namespace review {

// A run of text, marked when the other side lacks it.
struct Piece {
    std::string text;
    bool marked = false;
};

enum class RowKind { Same, Changed, Removed, Added };

// One row of the two columns; a side without a line has number 0 and no pieces.
struct DiffRow {
    RowKind kind = RowKind::Same;
    int oldNumber = 0;
    int newNumber = 0;
    std::vector<Piece> oldLine;
    std::vector<Piece> newLine;
};

// Old's lines on the left, New's on the right. Removed and added lines of one stretch are
// paired up in order as changed lines; what is left over stands alone.
std::vector<DiffRow> SideBySide(const std::string& oldText, const std::string& newText);

// Words (letters, digits, _ and $, and any byte of a multi-byte character), runs of blanks,
// and each other character on its own: the units a word diff compares.
std::vector<std::string> Words(const std::string& line);

}
