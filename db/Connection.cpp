// Attach, detach and the end-of-connection rules.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Status.h"
#include "db/Transaction.h"

#include <algorithm>

namespace {
void AddDpbString(std::vector<char>& dpb, char item, const std::string& value)
{
    dpb.push_back(item);
    dpb.push_back(static_cast<char>(std::min<std::size_t>(value.size(), 255)));
    dpb.insert(dpb.end(), value.begin(), value.begin() + std::min<std::size_t>(value.size(), 255));
}
}

Connection::~Connection()
{
    Close();
}

void Connection::SetDatabaseName(const std::string& name)
{
    if (Connected() && name != databaseName_)
        throw DbError("Cannot perform operation -- DB is currently open");
    databaseName_ = name;
}

std::string Connection::ParamValue(const std::string& name) const
{
    const std::string prefix = name + "=";
    for (const auto& line : Params)
        if (line.compare(0, prefix.size(), prefix) == 0)
            return line.substr(prefix.size());
    return {};
}

void Connection::SetParamValue(const std::string& name, const std::string& value)
{
    const std::string prefix = name + "=";
    for (auto& line : Params)
        if (line.compare(0, prefix.size(), prefix) == 0) {
            line = prefix + value;
            return;
        }
    Params.push_back(prefix + value);
}

void Connection::Open()
{
    if (Connected())
        return;
    if (databaseName_.empty())
        throw DbError("Database name is missing");

    std::string user = ParamValue("user_name");
    std::string password = enteredPassword_ ? *enteredPassword_ : ParamValue("password");
    if (LoginPromptOn) {
        std::string enteredUser = user;
        std::string entered;
        if (!Prompter || !Prompter->Ask(databaseName_, enteredUser, entered))
            throw DbError("Operation cancelled at user's request");
        SetParamValue("user_name", enteredUser);
        enteredPassword_ = entered;
        user = enteredUser;
        password = entered;
    }

    std::vector<char> dpb{static_cast<char>(isc_dpb_version1)};
    AddDpbString(dpb, isc_dpb_user_name, user);
    AddDpbString(dpb, isc_dpb_password, password);
    dpb.push_back(static_cast<char>(isc_dpb_sql_dialect));
    dpb.push_back(4);
    const char dialect[4] = {1, 0, 0, 0};
    dpb.insert(dpb.end(), dialect, dialect + 4);

    ISC_STATUS_ARRAY status{};
    isc_attach_database(status, static_cast<short>(databaseName_.size()), databaseName_.c_str(),
                        &handle_, static_cast<short>(dpb.size()), dpb.data());
    if (StatusFailed(status)) {
        handle_ = 0;
        CheckStatus(status);
    }
}

void Connection::Close() noexcept
{
    if (!Connected())
        return;
    for (Transaction* transaction : transactions_)
        if (transaction->Active())
            transaction->EndForced();
    for (Query* query : std::vector<Query*>(queries_))
        query->Release();
    ISC_STATUS_ARRAY status{};
    isc_detach_database(status, &handle_);
    handle_ = 0;
    odsMajor_.reset();
}

int Connection::OdsMajorVersion()
{
    if (odsMajor_)
        return *odsMajor_;
    if (!Connected())
        throw DbError("Cannot perform operation -- DB is not open");
    const char items[] = {isc_info_ods_version, isc_info_end};
    char answer[32]{};
    ISC_STATUS_ARRAY status{};
    isc_database_info(status, &handle_, sizeof items, items, sizeof answer, answer);
    CheckStatus(status);
    const auto length = static_cast<short>(isc_vax_integer(answer + 1, 2));
    if (answer[0] != isc_info_ods_version || length < 1 || length > 4)
        throw DbError("The server did not report the on-disk structure version of " + databaseName_);
    odsMajor_ = static_cast<int>(isc_vax_integer(answer + 3, length));
    return *odsMajor_;
}
