// The statement handle of a select, prepared once and executed again while its text stays the same.
#pragma once
#include <ibase.h>
#include <string>
#include <vector>

class Connection;

// The handle's one owner: it can be moved, never copied. Its calls run under the caller's
// watchdog mark, so that a mark can span more than one of them, and fail through the checker
// of the connection given.
class PreparedSelect {
public:
    PreparedSelect() = default;
    // The owner drops the handle under its mark first; this only frees one left over.
    ~PreparedSelect();
    PreparedSelect(const PreparedSelect&) = delete;
    PreparedSelect& operator=(const PreparedSelect&) = delete;
    PreparedSelect(PreparedSelect&& other) noexcept;
    PreparedSelect& operator=(PreparedSelect&& other) noexcept;

    bool Prepared() const { return handle_ != 0; }
    // Prepared from this very text, so that it can be executed again.
    bool PreparedFrom(const std::string& source) const { return handle_ && source == source_; }
    // The text it was prepared from; empty until a prepare succeeded.
    const std::string& Source() const { return source_; }
    // Its parameters' names in capitals, in their order.
    const std::vector<std::string>& ParamNames() const { return paramNames_; }
    // The parameter names of a text: those known already when it is the prepared one.
    std::vector<std::string> NamesIn(const std::string& source) const;
    isc_stmt_handle* Handle() { return &handle_; }

    // Allocates and prepares the text with its ":NAME" markers turned into "?", and gives the
    // output descriptor described for every column. The handle must have been dropped.
    std::vector<char> Prepare(Connection& connection, isc_tr_handle* tr, const std::string& source,
                              unsigned short dialect);
    void Execute(Connection& connection, isc_tr_handle* tr, XSQLDA* in);
    // The next row into the output descriptor; false past the last one.
    bool Fetch(Connection& connection, XSQLDA* out);
    // A cursor the server has closed already, or none at all, answers with an error that changes nothing.
    void CloseCursor() noexcept;
    // Frees the handle whatever the server answers, and forgets the text.
    void Drop() noexcept;

private:
    isc_stmt_handle handle_ = 0;
    std::string source_;
    std::vector<std::string> paramNames_;
};
