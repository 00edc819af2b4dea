// The text side of the HTTP client: URL parsing, request header lines, reply header lines, Base64.
#pragma once

#include "framework/Classes.h"

#include <cstdint>
#include <functional>
#include <string>

// Request kinds, in the order of their numbers.
enum class CmdType : int {
    CmdGET = 0, CmdOPTIONS, CmdHEAD, CmdPOST, CmdPUT, CmdPATCH, CmdCOPY, CmdMOVE, CmdDELETE, CmdLINK, CmdUNLINK, CmdTRACE
};

// Request-header values a user of the client sets; empty fields send no line.
class THeaderInfo : public TObject {
public:
    std::string LocalMailAddress;
    std::string LocalProgram;
    std::string Cookie;
    std::string Referer;
    std::string UserId;
    std::string Password;
};

// Base64 with the RFC 2045 alphabet and '=' fill, as one line however long the input.
std::string Base64Encode(const std::string& data);

// Parses url and updates the connection target. Raises Exception "Empty URL" for an empty url,
// "HTTP Secure Socket is not supported" for https, EConvertError for a port that is no number.
// port: 0 becomes 80, a scheme sets its default port, an explicit ":port" wins. host: replaced only
// by a non-empty host part. Returns the request path (whole, never cut); when the url has none, the
// path is "/" and a "/" is appended to url.
std::string ParseUrl(std::string& url, std::string& host, int& port);

// Sets the header line "name: value": replaces in place the first line whose text before its first
// colon equals name (ignoring case), else appends it.
void SetHeaderLine(TStringList& lines, const std::string& name, const std::string& value);

struct TRequestSpec {
    CmdType kind = CmdType::CmdGET;
    std::string url;         // absolute, as parsed
    std::string path;        // request path
    std::string host;        // origin host
    bool viaProxy = false;   // the request goes to a proxy
    std::string second;      // destination URI (COPY, MOVE) or link value (LINK, UNLINK)
    long long contentLength = 0; // announced for the kinds that carry data
};

// The request header lines, in order, without the empty line that ends them. Credentials go in an
// "Authorization" line to an origin server and in a "Proxy-Authorization" line to a proxy.
void BuildRequestHeader(const TRequestSpec& spec, const THeaderInfo& info, TStringList& lines);

// True for the kinds whose request carries data after the header.
bool KindSendsData(CmdType kind);
// True for the kinds whose header carries a Content-Length line.
bool KindHasContentLength(CmdType kind);

// The status number of a status line: its second field when split at single spaces, or 0 when that
// is not a number in the 16-bit range.
int16_t ParseStatusLine(const std::string& line);

// What a reply header line says; fields are set only by a line that names them.
struct TReplyHeaderFields {
    bool hasCookie = false, hasLocation = false, hasContentLength = false;
    std::string cookie, location;
    long long contentLength = 0;
};

// Reads one reply header line (with its line end). Names are matched only in the form
// "Name: " (name, colon, one space), ignoring case; values are taken as received, without the line end.
TReplyHeaderFields ParseReplyHeaderLine(const std::string& line);

// True for the line that ends a reply header: a bare line end, or nothing (the connection closed).
bool IsHeaderEnd(const std::string& line);

// What a whole reply header said: the status of its first line and, for each field, the value of the
// last line that named it.
struct TReplyHeader {
    int16_t status = 0;
    TReplyHeaderFields fields;
};

// Reads a reply header line by line from nextLine (each line with its line end; an empty one means
// the peer closed), handing every line read to consume as it comes. The first line is the status
// line; reading stops after the line that ends the header.
TReplyHeader ReadReplyHeader(const std::function<std::string()>& nextLine,
                             const std::function<void(const std::string&)>& consume);
