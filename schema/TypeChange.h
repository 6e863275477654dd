// What a change of a column's type does to the values the column holds. The rules are the
// server's own: which changes ALTER ... TYPE takes, and what a stored value becomes when it is
// read in the new type (values are converted as they are read, not when the type changes).
#pragma once
#include "schema/Model.h"

#include <string>
#include <vector>

namespace schema {

enum class TypeRoute {
    // ALTER ... TYPE: the server takes the change in place.
    InPlace,
    // The server refuses the change in place: an empty table's column is taken out and added
    // back; a table with rows needs a data migration (--force), which converts each value with
    // CAST and fails, changing nothing, on a value CAST refuses.
    Rebuild,
    // No value of the old type converts to the new one: only an empty table's column is rebuilt.
    NoConversion,
};

// What can happen to a value on its way into the new type.
enum class Hazard {
    Range,       // beyond the new type's range: in place, every read of the row would fail
    Scale,       // digits beyond the new scale are rounded away
    TimeOfDay,   // a TIMESTAMP's time of day is cut to make a DATE
    Date,        // a TIMESTAMP's date is cut to make a TIME
    Length,      // longer than the new length as text: CAST refuses it
    Digits,      // a floating-point type keeps fewer significant digits
    Conversion,  // converted value by value (text to a number, another character set): CAST may refuse
};

struct TypeChange {
    TypeRoute route = TypeRoute::InPlace;
    std::vector<Hazard> hazards;
};

// databaseCharset: Old's default character set, which the server gives a column that becomes text.
TypeChange ClassifyTypeChange(const Type& from, const Type& to, const std::string& databaseCharset);

// The SQL condition on a value of `column` (a quoted name) that the hazard harms; empty for
// Conversion, which only trying the CAST tells.
std::string HazardCondition(Hazard hazard, const Type& from, const Type& to, const std::string& column);

// "has a time of day in L_TS", after "1 row of T "; type is the new type as the script writes it.
std::string HazardWhat(Hazard hazard, const Type& to, const std::string& column, const std::string& type, bool one);

// Whether a row the hazard finds would be lost or spoiled ("would fail": the plan must not
// change the type in place) rather than cut ("would cut": --force accepts the cut).
bool HazardFails(Hazard hazard);

const char* RouteName(TypeRoute route);
const char* HazardName(Hazard hazard);

}
