// The one checker every client-library call goes through.
#pragma once
#include <ibase.h>
#include <string>

// Only a non-zero second element is an error: a dialect-1 DATE leaves warnings behind.
bool StatusFailed(const ISC_STATUS* status);

// The interpreted status lines joined by CR LF, without a final period.
std::string StatusMessage(const ISC_STATUS* status);

// Throws DbError with StatusMessage when the status vector holds an error.
void CheckStatus(const ISC_STATUS* status);
