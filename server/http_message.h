// A request and its reply as the score service sees them, apart from the HTTP library that carries them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vm::scored {

// One request whose head was read in full and kept within the front's limits.
struct THttpRequest
{
    std::string FMethod; // "GET", "POST", ...
    std::string FPath;   // the target up to "?", percent-decoded
    std::string FTarget; // the target as sent
    std::string FClient; // the client's address as text ("127.0.0.1", "::1")
    // The query's parameters in order, keys and values percent-decoded ("+" is a blank); a key
    // without "=" has an empty value.
    std::multimap<std::string, std::string> FParams;
    std::string FBody; // as sent, within the front's limit for the path

    bool HasParam(std::string_view Key) const { return FParams.find(std::string(Key)) != FParams.end(); }
    std::size_t ParamCount(std::string_view Key) const { return FParams.count(std::string(Key)); }
    // The first value of Key, or "" when there is none.
    std::string Param(std::string_view Key) const;
};

struct THttpReply
{
    int FStatus = 200;
    std::string FContentType = "text/plain; charset=utf-8";
    std::string FBody;
    std::vector<std::pair<std::string, std::string>> FHeaders; // besides Content-Type and Content-Length
    // When set, the answer comes later and the fields above are not sent: the front calls it at
    // once with a routine that sends the answer, which may be called once from any thread. The
    // routine must be called or dropped before the front is destroyed; until then the request
    // holds its connection and no worker thread.
    std::function<void(std::function<void(struct THttpReply)>)> FLater;
};

// A plain-text reply.
THttpReply TextReply(int Status, std::string Text);

// The short text of an error a front answers on its own (unknown path, too large a request, ...).
std::string ErrorText(int Status);

// "%41" -> "A"; with PlusIsBlank, "+" -> " ". A "%" not followed by two hex digits is kept as it is.
std::string PercentDecode(std::string_view Text, bool PlusIsBlank);

// Splits the part of a target after "?" into decoded parameters, in order.
std::multimap<std::string, std::string> ParseQuery(std::string_view Query);

// Fills FPath, FTarget and FParams from a target as sent ("/cgi/version.pl?version&prg=Velomarch").
void SetTarget(THttpRequest& Request, std::string_view Target);

} // namespace vm::scored
