// Attach, detach and the end-of-connection rules.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/ServedRead.h"
#include "db/ServerProbe.h"
#include "db/Status.h"
#include "db/Transaction.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

namespace {
// A parameter block string carries its length in one byte.
void AddDpbString(std::vector<char>& dpb, char item, const std::string& value, const char* tooLong)
{
    if (value.size() > 255)
        throw DbError(tooLong);
    dpb.push_back(item);
    dpb.push_back(static_cast<char>(value.size()));
    dpb.insert(dpb.end(), value.begin(), value.end());
}

void AddDpbInteger(std::vector<char>& dpb, char item, int value)
{
    dpb.push_back(item);
    dpb.push_back(4);
    for (int shift = 0; shift < 32; shift += 8)
        dpb.push_back(static_cast<char>((static_cast<unsigned>(value) >> shift) & 0xFF));
}

std::string NoAnswer(const std::string& server, int seconds)
{
    return "No answer from " + server + " within " + std::to_string(seconds) +
           (seconds == 1 ? " second" : " seconds");
}

// Whether the status names one of the codes.
template <std::size_t N>
bool HasCode(const ISC_STATUS* status, const ISC_STATUS (&codes)[N])
{
    for (const ISC_STATUS* item = status; *item != isc_arg_end;) {
        const ISC_STATUS kind = *item++;
        if (kind == isc_arg_cstring) {
            item += 2;
            continue;
        }
        if (kind == isc_arg_gds && std::find(std::begin(codes), std::end(codes), *item) != std::end(codes))
            return true;
        ++item;
    }
    return false;
}

// Errors about the state of a handle or cursor that the client library itself gives: after a
// failure of the attachment it may give one of them instead of the failure. A server's own
// refusal is never among them.
const ISC_STATUS FollowUps[] = {isc_bad_db_handle,   isc_bad_req_handle,      isc_bad_segstr_handle,
                                isc_bad_trans_handle, isc_req_sync,           isc_bad_stmt_handle,
                                isc_dsql_cursor_err, isc_dsql_cursor_open_err, isc_dsql_cursor_close_err,
                                isc_unprepared_stmt, isc_dsql_cursor_not_open};

// The attachment itself has failed: the server shut it down, or the network lost it.
const ISC_STATUS AttachmentFailures[] = {isc_att_shutdown,  isc_shutdown,     isc_conn_lost,
                                         isc_network_error, isc_net_read_err, isc_net_write_err,
                                         isc_lost_db_connection};

// The Firebird 3 client bounds its wait for a server's first answer by the DPB's connect
// timeout, but not the TCP connect before it, so a silent server is first tried here.
void Attach(const std::string& name, std::vector<char> dpb, int timeoutSeconds, isc_db_handle& handle)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const std::optional<ServerAddress> server = TcpServerOf(name);
    const std::string shown = server ? server->shown : name;
    int answerSeconds = std::max(0, timeoutSeconds);
    if (server && answerSeconds > 0) {
        if (StaysSilent(*server, std::chrono::seconds(timeoutSeconds)))
            throw DbError(NoAnswer(shown, timeoutSeconds));
        const double spent = std::chrono::duration<double>(Clock::now() - start).count();
        answerSeconds = std::max(1, static_cast<int>(std::ceil(timeoutSeconds - spent)));
    }
    // The embedded engine ignores it.
    if (answerSeconds > 0)
        AddDpbInteger(dpb, isc_dpb_connect_timeout, answerSeconds);

    const auto attachStart = Clock::now();
    ISC_STATUS_ARRAY status{};
    watchdog::ServerCall call(0, name);
    isc_attach_database(status, static_cast<short>(name.size()), name.c_str(),
                        &handle, static_cast<short>(dpb.size()), dpb.data());
    if (StatusFailed(status)) {
        handle = 0;
        if (auto cut = watchdog::CutMessage())
            throw DbError(*cut);
        // An expired wait reads "connection rejected by remote interface", which sends the
        // user looking for a refusal; the time taken tells the two apart.
        const double waited = std::chrono::duration<double>(Clock::now() - attachStart).count();
        if (answerSeconds > 0 && waited >= answerSeconds - 0.5 && status[1] == isc_connect_reject)
            throw DbError(NoAnswer(shown, timeoutSeconds));
        CheckStatus(status);
    }
}
}

Connection::~Connection()
{
    Orphan();
}

Connection::Connection(Connection&& other) noexcept
{
    TakeOver(other);
}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        Orphan();
        TakeOver(other);
    }
    return *this;
}

void Connection::Orphan() noexcept
{
    Close();
    for (Transaction* transaction : transactions_)
        transaction->connection_ = nullptr;
    for (Query* query : queries_) {
        query->connection_ = nullptr;
        query->transaction_ = nullptr;
    }
    transactions_.clear();
    queries_.clear();
}

void Connection::TakeOver(Connection& other) noexcept
{
    Params = std::move(other.Params);
    LoginPromptOn = other.LoginPromptOn;
    Prompter = std::exchange(other.Prompter, nullptr);
    CharacterSet = std::move(other.CharacterSet);
    Fetches = std::exchange(other.Fetches, nullptr);
    ConnectTimeoutSeconds = other.ConnectTimeoutSeconds;
    databaseName_ = std::move(other.databaseName_);
    enteredPassword_ = std::exchange(other.enteredPassword_, std::nullopt);
    handle_ = std::exchange(other.handle_, 0);
    odsMajor_ = std::exchange(other.odsMajor_, std::nullopt);
    dialect_ = std::exchange(other.dialect_, std::nullopt);
    lost_ = std::exchange(other.lost_, std::nullopt);
    transactions_ = std::exchange(other.transactions_, {});
    queries_ = std::exchange(other.queries_, {});
    served_ = std::exchange(other.served_, {});
    for (Transaction* transaction : transactions_)
        transaction->connection_ = this;
    for (Query* query : queries_)
        query->connection_ = this;
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
    // The client takes the name's length as a signed 16-bit number and would cut a longer one.
    if (databaseName_.size() > static_cast<std::size_t>(std::numeric_limits<short>::max()))
        throw DbError("Database name is too long");

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
    AddDpbString(dpb, isc_dpb_user_name, user, "User name is too long");
    AddDpbString(dpb, isc_dpb_password, password, "Password is too long");
    if (!CharacterSet.empty())
        AddDpbString(dpb, isc_dpb_lc_ctype, CharacterSet, "Character set name is too long");
    AddDpbInteger(dpb, isc_dpb_sql_dialect, 1);

    Attach(databaseName_, dpb, ConnectTimeoutSeconds, handle_);
}

void Connection::Close() noexcept
{
    if (!Connected())
        return;
    for (Transaction* transaction : transactions_)
        if (transaction->Active())
            transaction->EndForced();
    for (Query* query : std::vector<Query*>(queries_))
        query->Unprepare();
    ISC_STATUS_ARRAY status{};
    {
        auto call = Watched();
        isc_detach_database(status, &handle_);
    }
    handle_ = 0;
    odsMajor_.reset();
    dialect_.reset();
    lost_.reset();
    served_.Clear();
}

void Connection::ForgetServedReads() noexcept
{
    served_.Clear();
}

int Connection::OdsMajorVersion()
{
    if (!odsMajor_)
        odsMajor_ = InfoInteger(isc_info_ods_version, "on-disk structure version");
    return *odsMajor_;
}

int Connection::DatabaseDialect()
{
    if (!dialect_)
        dialect_ = InfoInteger(isc_info_db_sql_dialect, "SQL dialect");
    return *dialect_;
}

void Connection::DatabaseInfo(char item, char* answer, short size)
{
    if (!Connected())
        throw DbError("Cannot perform operation -- DB is not open");
    const char items[] = {item, isc_info_end};
    ISC_STATUS_ARRAY status{};
    auto call = Watched();
    isc_database_info(status, &handle_, sizeof items, items, size, answer);
    Check(status);
}

void Connection::Lost(const std::string& message)
{
    lost_ = message;
    // A server that shut the attachment down may leave the rollbacks and the detach of the
    // cleanup unanswered; the client's side is closed, so that they fail at once.
    if (handle_) {
        ISC_STATUS_ARRAY status{};
        fb_cancel_operation(status, &handle_, fb_cancel_abort);
    }
    throw DbError(message);
}

void Connection::Check(const ISC_STATUS* status)
{
    if (!StatusFailed(status))
        return;
    if (auto cut = watchdog::CutMessage())
        Lost(*cut);
    if (lost_)
        throw DbError(*lost_);
    if (HasCode(status, AttachmentFailures))
        Lost(StatusMessage(status));
    if (handle_ && HasCode(status, FollowUps)) {
        // Any question the server must answer itself; the client library keeps none of it.
        const char items[] = {isc_info_reads, isc_info_end};
        char answer[64];
        ISC_STATUS_ARRAY probe{};
        auto call = Watched();
        isc_database_info(probe, &handle_, sizeof items, items, sizeof answer, answer);
        if (StatusFailed(probe)) {
            auto cut = watchdog::CutMessage();
            Lost(cut ? *cut : StatusMessage(probe));
        }
    }
    CheckStatus(status);
}

std::string Connection::ServerVersion()
{
    char answer[512]{};
    DatabaseInfo(isc_info_firebird_version, answer, sizeof answer);
    // The item, its length, a count of lines, then each line after its own length byte.
    if (answer[0] != isc_info_firebird_version)
        return {};
    const auto total = static_cast<std::size_t>(isc_vax_integer(answer + 1, 2));
    if (total < 2 || total + 3 > sizeof answer)
        return {};
    const auto length = static_cast<unsigned char>(answer[4]);
    return std::string(answer + 5, std::min<std::size_t>(length, total - 2));
}

std::optional<int> Connection::InfoNumber(char item)
{
    char answer[32]{};
    DatabaseInfo(item, answer, sizeof answer);
    const auto length = static_cast<short>(isc_vax_integer(answer + 1, 2));
    if (answer[0] != item || length < 1 || length > 4)
        return std::nullopt;
    return static_cast<int>(isc_vax_integer(answer + 3, length));
}

int Connection::InfoInteger(char item, const char* what)
{
    const std::optional<int> number = InfoNumber(item);
    if (!number)
        throw DbError(std::string("The server did not report the ") + what + " of " + databaseName_);
    return *number;
}
