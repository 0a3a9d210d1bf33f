#pragma once
// Reading a received response through WinHttp: its raw header text and its
// body in pieces.
#include <string>

#include "net/transfer_pieces.h"
#include "net/winhttp_api_win32.h"

namespace velmo {

// The status line and headers, "\r\n"-separated, as WinHttp returns them;
// empty when there are none (nothing was received).
std::wstring query_raw_headers(const WinHttpApi& api, HINTERNET request);

// Reads the body with WinHttpReadData, at most what has arrived: a read of a
// larger amount waits for all of it under Wine, so a body that trickles in or
// stops short would be held back (and lost at a time-out) instead of coming
// piece by piece. A failed read gives none. The API and the request must
// outlive the reader.
PieceReader body_reader(const WinHttpApi& api, HINTERNET request);

}  // namespace velmo
