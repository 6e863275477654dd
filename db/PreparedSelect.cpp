// Allocate, prepare, execute, fetch and free through the DSQL calls of the client library.
#include "db/PreparedSelect.h"
#include "db/Connection.h"
#include "db/NamedParams.h"
#include "db/RowBuffer.h"
#include "db/Status.h"

#include <utility>

PreparedSelect::~PreparedSelect()
{
    Drop();
}

PreparedSelect::PreparedSelect(PreparedSelect&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)), source_(std::exchange(other.source_, {})),
      paramNames_(std::exchange(other.paramNames_, {}))
{
}

PreparedSelect& PreparedSelect::operator=(PreparedSelect&& other) noexcept
{
    if (this != &other) {
        Drop();
        handle_ = std::exchange(other.handle_, 0);
        source_ = std::exchange(other.source_, {});
        paramNames_ = std::exchange(other.paramNames_, {});
    }
    return *this;
}

std::vector<std::string> PreparedSelect::NamesIn(const std::string& source) const
{
    if (PreparedFrom(source))
        return paramNames_;
    std::vector<std::string> names;
    ReplaceNamedParams(source, &names);
    return names;
}

std::vector<char> PreparedSelect::Prepare(Connection& connection, isc_tr_handle* tr, const std::string& source,
                                          unsigned short dialect)
{
    std::vector<std::string> names;
    const std::string text = ReplaceNamedParams(source, &names);
    ISC_STATUS_ARRAY status{};
    isc_dsql_allocate_statement(status, connection.Handle(), &handle_);
    if (StatusFailed(status)) {
        handle_ = 0;
        connection.Check(status);
    }
    std::vector<char> out = NewDescriptor(20);
    isc_dsql_prepare(status, tr, &handle_, 0, text.c_str(), dialect, DescriptorOf(out));
    connection.Check(status);
    const short count = DescriptorOf(out)->sqld;
    if (count > DescriptorOf(out)->sqln) {
        out = NewDescriptor(count);
        isc_dsql_describe(status, &handle_, 1, DescriptorOf(out));
        connection.Check(status);
    }
    source_ = source;
    paramNames_ = std::move(names);
    return out;
}

void PreparedSelect::Execute(Connection& connection, isc_tr_handle* tr, XSQLDA* in)
{
    ISC_STATUS_ARRAY status{};
    isc_dsql_execute(status, tr, &handle_, 1, in);
    connection.Check(status);
}

bool PreparedSelect::Fetch(Connection& connection, XSQLDA* out)
{
    ISC_STATUS_ARRAY status{};
    // 100: no more rows.
    if (isc_dsql_fetch(status, &handle_, 1, out) == 100)
        return false;
    connection.Check(status);
    return true;
}

void PreparedSelect::CloseCursor() noexcept
{
    ISC_STATUS_ARRAY status{};
    isc_dsql_free_statement(status, &handle_, DSQL_close);
}

void PreparedSelect::Drop() noexcept
{
    if (handle_) {
        ISC_STATUS_ARRAY status{};
        isc_dsql_free_statement(status, &handle_, DSQL_drop);
        handle_ = 0;
    }
    source_.clear();
    paramNames_.clear();
}
