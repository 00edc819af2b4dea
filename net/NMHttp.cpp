#include "net/NMHttp.h"

#include "net/NMURL.h"

#include <cstdio>
#include <memory>

TNMHTTP::TNMHTTP(TComponent* AOwner) : TPowersock(AOwner), HeaderInfo(new THeaderInfo) {}

TNMHTTP::~TNMHTTP() { delete HeaderInfo; }

void TNMHTTP::Abort() {
    done_ = true;
    canceled_ = true;
}

void TNMHTTP::Run(CmdType kind, const std::string& url, const std::string& data, const std::string& second) {
    cmd_ = kind;
    url_ = url;
    data_ = data;
    second_ = second;
    DoTransaction();
}

void TNMHTTP::Options(const std::string& URL) { Run(CmdType::CmdOPTIONS, URL, "", ""); }
void TNMHTTP::Get(const std::string& URL) { Run(CmdType::CmdGET, URL, "", ""); }
void TNMHTTP::Head(const std::string& URL) { Run(CmdType::CmdHEAD, URL, "", ""); }
void TNMHTTP::Delete(const std::string& URL) { Run(CmdType::CmdDELETE, URL, "", ""); }
void TNMHTTP::Put(const std::string& URL, const std::string& PutData) { Run(CmdType::CmdPUT, URL, PutData, ""); }
void TNMHTTP::Patch(const std::string& URL, const std::string& PatchData) {
    Run(CmdType::CmdPATCH, URL, PatchData, "");
}
void TNMHTTP::Trace(const std::string& URL, const std::string& TraceData) {
    Run(CmdType::CmdTRACE, URL, TraceData, "");
}
void TNMHTTP::Copy(const std::string& URL, const std::string& Destination) {
    Run(CmdType::CmdCOPY, URL, "", Destination);
}
void TNMHTTP::Move(const std::string& URL, const std::string& Destination) {
    Run(CmdType::CmdMOVE, URL, "", Destination);
}
// Link and Unlink carry their value in the Link line and send no body, so they announce none.
void TNMHTTP::Link(const std::string& URL, const std::string& LinkValue) { Run(CmdType::CmdLINK, URL, "", LinkValue); }
void TNMHTTP::Unlink(const std::string& URL, const std::string& LinkValue) {
    Run(CmdType::CmdUNLINK, URL, "", LinkValue);
}

void TNMHTTP::Post(const std::string& URL, const std::string& PostData) {
    std::string data = PostData;
    if (!OutputFileMode) {
        // The whole form text is encoded as one value, '=' and '&' included.
        std::unique_ptr<TNMURL> encoder(new TNMURL(this));
        encoder->InputString = PostData;
        data = encoder->Encode();
    }
    Run(CmdType::CmdPOST, URL, data, "");
}

long long TNMHTTP::RequestDataLength() const {
    if (!KindSendsData(cmd_)) return 0;
    if (!OutputFileMode) return (long long)data_.size();
    FILE* f = _wfopen(Utf8ToWide(data_).c_str(), L"rb");
    if (!f) throw Exception("Cannot open file \"" + data_ + "\"");
    _fseeki64(f, 0, SEEK_END);
    long long size = _ftelli64(f);
    std::fclose(f);
    return size;
}

void TNMHTTP::ParseURL() { path_ = ::ParseUrl(url_, Host, Port); }

void TNMHTTP::BuildHeader() {
    TRequestSpec spec;
    spec.kind = cmd_;
    spec.url = url_;
    spec.path = path_;
    spec.host = Host;
    spec.viaProxy = !Proxy.empty();
    spec.second = second_;
    spec.contentLength = RequestDataLength();
    BuildRequestHeader(spec, *HeaderInfo, headerLines_);
}

void TNMHTTP::SendRequest() {
    // The header lines and the empty line that ends them go out in one send (one packet).
    Write(headerLines_.Text() + "\r\n");
    if (!KindSendsData(cmd_)) return;
    if (OutputFileMode) SendFile(data_);
    else SendBuffer(data_.data(), data_.size()); // data may hold zero bytes: send it whole
}

void TNMHTTP::ReadHeader() {
    BytesTotal = 0;
    cookie_.clear();
    FILE* file = nullptr;
    if (OutputFileMode) {
        file = _wfopen(Utf8ToWide(Header).c_str(), L"wb");
        if (!file) throw Exception("Cannot create file \"" + Header + "\"");
    } else {
        Header.clear();
    }
    auto append = [&](const std::string& line) {
        if (file) std::fwrite(line.data(), 1, line.size(), file);
        else Header += line;
    };
    // The whole header must come within one time-out: a server that drips header lines, each in
    // time, would otherwise hold the client for ever.
    HoldTimeOut();
    try {
        const TReplyHeader h = ReadReplyHeader([this] { return ReadLn(); }, append);
        ReplyNumber = h.status;
        if (h.fields.hasCookie) cookie_ = h.fields.cookie;
        if (h.fields.hasLocation) location_ = h.fields.location;
        if (h.fields.hasContentLength) BytesTotal = h.fields.contentLength;
    } catch (...) {
        ReleaseTimeOut();
        if (file) std::fclose(file);
        throw;
    }
    ReleaseTimeOut();
    if (file) std::fclose(file);
}

void TNMHTTP::DoTransaction() {
    for (int redirects = 0;; ++redirects) {
        ParseURL();
        BuildHeader();
        if (OnAboutToSend) OnAboutToSend(this);
        try {
            Connect();
            SendRequest();
            ReplyNumber = 0;
            ReadHeader();
            if (InputFileMode) CaptureFile(Body);
            else CaptureInto(Body, -1);
            if (ReplyNumber < 300) {
                if (OnSuccess) OnSuccess(cmd_);
                StatusMessage(2, "Transaction Completed");
            } else if (ReplyNumber >= 400) {
                if (OnFailure) OnFailure(cmd_);
            } else if (ReplyNumber <= 302) {
                url_ = location_;
            }
        } catch (...) {
            try {
                Disconnect();
            } catch (...) {
                // The failure that ended the transaction is the one to report.
            }
            throw;
        }
        Disconnect();

        const bool redirect = ReplyNumber >= 300 && ReplyNumber <= 399;
        if (redirect) {
            if (!cookie_.empty()) HeaderInfo->Cookie = cookie_;
            bool handled = false;
            if (OnRedirect) OnRedirect(this, handled);
            if (handled) return;
            if (url_.find('/') == std::string::npos) url_ = "http://" + Host + "/" + url_;
        }
        if (ReplyNumber == 401 && OnAuthenticationNeeded) OnAuthenticationNeeded(this);
        if (!redirect) return;
        if (redirects + 1 > MaxRedirects)
            throw ESockError("Too many redirections (more than " + std::to_string(MaxRedirects) + ")");
    }
}
