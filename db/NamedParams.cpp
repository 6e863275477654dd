// The marker scan, which knows quotes and both comment forms, and the input descriptor.
#include "db/NamedParams.h"
#include "db/RowBuffer.h"
#include "db/Status.h"

#include <cctype>

namespace {
bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }
}

std::string UpperName(std::string name)
{
    for (auto& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string SelectText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

std::string ReplaceNamedParams(const std::string& text, std::vector<std::string>* names)
{
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            std::size_t end = text.find("*/", i + 2);
            end = end == std::string::npos ? text.size() : end + 2;
            out.append(text, i, end - i);
            i = end - 1;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            std::size_t end = text.find('\n', i);
            end = end == std::string::npos ? text.size() : end;
            out.append(text, i, end - i);
            i = end - 1;
        } else if (c == ':' && i + 1 < text.size() && IsNameStart(text[i + 1])) {
            std::size_t end = i + 1;
            while (end < text.size() && IsNameChar(text[end]))
                ++end;
            if (names)
                names->push_back(UpperName(text.substr(i + 1, end - i - 1)));
            out += '?';
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> ParamValues::Text(const std::string& upperName) const
{
    auto found = values_.find(upperName);
    if (found == values_.end())
        return std::nullopt;
    return found->second.isInteger ? std::to_string(found->second.number) : found->second.text;
}

void ParamValues::SetText(const std::string& upperName, const std::string& text)
{
    values_[upperName] = Value{false, text, 0};
}

void ParamValues::SetInteger(const std::string& upperName, std::int64_t value)
{
    values_[upperName] = Value{true, std::to_string(value), value};
}

XSQLDA* ParamValues::Binding::Descriptor()
{
    return texts_.empty() ? nullptr : DescriptorOf(descriptor_);
}

void ParamValues::Bind(isc_stmt_handle* stmt, const std::vector<std::string>& names, Binding& binding) const
{
    binding.descriptor_ = NewDescriptor(static_cast<short>(names.size()));
    binding.texts_.assign(names.size(), std::string());
    binding.numbers_.assign(names.size(), 0);
    binding.nullFlags_.assign(names.size(), -1);
    if (names.empty())
        return;
    XSQLDA* in = DescriptorOf(binding.descriptor_);
    ISC_STATUS_ARRAY status{};
    isc_dsql_describe_bind(status, stmt, 1, in);
    CheckStatus(status);
    for (std::size_t i = 0; i < names.size() && i < static_cast<std::size_t>(in->sqld); ++i) {
        XSQLVAR& var = in->sqlvar[i];
        auto it = values_.find(names[i]);
        if (it == values_.end()) {
            var.sqltype = SQL_TEXT + 1;
            var.sqllen = 0;
            var.sqldata = nullptr;
            var.sqlind = &binding.nullFlags_[i];
        } else if (it->second.isInteger) {
            binding.numbers_[i] = it->second.number;
            var.sqltype = SQL_INT64;
            var.sqlscale = 0;
            var.sqllen = sizeof(std::int64_t);
            var.sqldata = reinterpret_cast<char*>(&binding.numbers_[i]);
            var.sqlind = nullptr;
        } else {
            binding.texts_[i] = it->second.text;
            var.sqltype = SQL_TEXT;
            var.sqlsubtype = 0;
            var.sqllen = static_cast<short>(binding.texts_[i].size());
            var.sqldata = binding.texts_[i].data();
            var.sqlind = nullptr;
        }
    }
}
