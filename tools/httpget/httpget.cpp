// httpget: one HTTP request with the program's own client, from the command line.
//   httpget [--proxy HOST:PORT] [--user NAME --password PASS] [--timeout MS] [--events]
//           [--head|--options|--delete|--trace DATA|--post DATA|--put DATA] URL
// Prints the reply's status and header lines as received, an empty line, then the body. On a
// failure prints the failure's text alone on a line to standard error and exits with status 1.
#include "framework/Forms.h"
#include "net/NMHttp.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Out(const std::string& s) { std::fwrite(s.data(), 1, s.size(), stdout); }

// Standard error written straight to its handle, so the text arrives even when the C runtime's
// stream was not bound to it.
void Err(const std::string& s) {
    DWORD written = 0;
    HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
    if (h && h != INVALID_HANDLE_VALUE) WriteFile(h, s.data(), DWORD(s.size()), &written, nullptr);
}

int Usage() {
    std::fputs("usage: httpget [--proxy HOST:PORT] [--user NAME --password PASS] [--timeout MS] [--events]\n"
               "               [--head|--options|--delete|--trace DATA|--post DATA|--put DATA] URL\n",
               stderr);
    return 2;
}

const char* KindName(CmdType kind) {
    static const char* const names[] = {"GET",  "OPTIONS", "HEAD",   "POST",   "PUT",    "PATCH",
                                        "COPY", "MOVE",    "DELETE", "LINK",   "UNLINK", "TRACE"};
    return names[int(kind)];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(WideToUtf8(argv[i]));

    std::string proxy, user, password, url, data;
    std::string op = "get";
    int timeout = 0;
    bool events = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        std::string t;
        if (a == "--proxy") {
            if (!value(proxy)) return Usage();
        } else if (a == "--user") {
            if (!value(user)) return Usage();
        } else if (a == "--password") {
            if (!value(password)) return Usage();
        } else if (a == "--timeout") {
            if (!value(t) || !TryStrToInt(t, timeout)) return Usage();
        } else if (a == "--events") {
            events = true;
        } else if (a == "--head" || a == "--options" || a == "--delete") {
            op = a.substr(2);
        } else if (a == "--trace" || a == "--post" || a == "--put") {
            op = a.substr(2);
            if (!value(data)) return Usage();
        } else if (a.rfind("--", 0) == 0 || !url.empty()) {
            return Usage();
        } else {
            url = a;
        }
    }
    if (url.empty()) return Usage();

    std::string header, body;
    try {
        TNMHTTP http(nullptr);
        http.TimeOut = timeout;
        if (!proxy.empty()) {
            size_t colon = proxy.rfind(':');
            if (colon == std::string::npos) return Usage();
            http.Proxy = proxy.substr(0, colon);
            http.ProxyPort = StrToInt(proxy.substr(colon + 1));
        }
        http.HeaderInfo->UserId = user;
        http.HeaderInfo->Password = password;
        if (events) {
            auto say = [](const std::string& line) {
                Out(line + "\n");
                std::fflush(stdout);
            };
            http.ReportLevel = 8;
            http.OnStatus = [say](TObject*, const std::string& s) { say("status " + s); };
            http.OnAboutToSend = [say](TObject*) { say("event OnAboutToSend"); };
            http.OnHostResolved = [say](TObject*) { say("event OnHostResolved"); };
            http.OnConnect = [say](TObject*) { say("event OnConnect"); };
            http.OnPacketRecvd = [say, &http](TObject*) {
                say("event OnPacketRecvd " + std::to_string(http.BytesRecvd));
            };
            http.OnSuccess = [say](CmdType k) { say(std::string("event OnSuccess ") + KindName(k)); };
            http.OnFailure = [say](CmdType k) { say(std::string("event OnFailure ") + KindName(k)); };
            http.OnDisconnect = [say](TObject*) { say("event OnDisconnect"); };
            http.OnRedirect = [say](TObject*, bool&) { say("event OnRedirect"); };
            http.OnAuthenticationNeeded = [say](TObject*) { say("event OnAuthenticationNeeded"); };
            http.OnConnectionFailed = [say](TObject*) { say("event OnConnectionFailed"); };
            http.OnInvalidHost = [say](TObject*, bool&) { say("event OnInvalidHost"); };
        }
        if (op == "get") http.Get(url);
        else if (op == "head") http.Head(url);
        else if (op == "options") http.Options(url);
        else if (op == "delete") http.Delete(url);
        else if (op == "trace") http.Trace(url, data);
        else if (op == "post") http.Post(url, data);
        else http.Put(url, data);
        header = http.Header;
        body = http.Body;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        Err(std::string(e.what()) + "\n");
        return 1;
    }
    // Printed once the client is gone, so that every event line comes before the reply.
    // The header already ends with its empty line.
    Out(header);
    Out(body);
    std::fflush(stdout);
    return 0;
}
