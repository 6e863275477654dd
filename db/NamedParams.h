// Named parameters: ":NAME" markers rewritten to "?" for the server, and their values bound in order.
#pragma once
#include <ibase.h>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The name in capitals, as parameter and column names are compared.
std::string UpperName(std::string name);

// The text of SQL lines as it is prepared: every line ended by LF.
std::string SelectText(const std::vector<std::string>& lines);

// Turns ":NAME" markers outside string literals and comments into "?" and lists the names
// (upper-case) in order: the server skips a "?" in a comment, so a name there would shift the others.
std::string ReplaceNamedParams(const std::string& text, std::vector<std::string>* names);

// The values set by name, kept from one open to the next.
class ParamValues {
public:
    void SetText(const std::string& upperName, const std::string& text);
    void SetInteger(const std::string& upperName, std::int64_t value);
    // The value's text (an integer in decimals); nothing for a name without a value.
    std::optional<std::string> Text(const std::string& upperName) const;

    // The input descriptor of one execute and the values it points to; filled in place,
    // since the descriptor points into it.
    class Binding {
    public:
        Binding() = default;
        Binding(const Binding&) = delete;
        Binding& operator=(const Binding&) = delete;
        // Null when the statement takes no parameters.
        XSQLDA* Descriptor();

    private:
        friend class ParamValues;
        std::vector<char> descriptor_;
        std::vector<std::string> texts_;
        std::vector<std::int64_t> numbers_;
        std::vector<short> nullFlags_;
    };

    // Binds the values of names, in their order, to the statement's parameters: a text as
    // CHAR, an integer as BIGINT, a name without a value as NULL.
    void Bind(isc_stmt_handle* stmt, const std::vector<std::string>& names, Binding& binding) const;

private:
    struct Value {
        bool isInteger = false;
        std::string text;
        std::int64_t number = 0;
    };
    std::map<std::string, Value> values_;
};
