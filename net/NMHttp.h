// The HTTP/1.0 client component: one request per operation over a fresh connection, directly or
// through a proxy, with Basic credentials, redirection (with its cookie) and events.
#pragma once

#include "net/HttpText.h"
#include "net/Psock.h"

#include <functional>
#include <string>

using TResultEvent = std::function<void(CmdType Cmd)>;

class TNMHTTP : public TPowersock {
public:
    explicit TNMHTTP(TComponent* AOwner);
    ~TNMHTTP() override;

    // The reply body (InputFileMode false), or the name of the file that receives it.
    std::string Body = "Default.htm";
    // The reply header (OutputFileMode false), or the name of the file that receives it.
    std::string Header = "Head.txt";
    THeaderInfo* const HeaderInfo;
    bool InputFileMode = false;
    // Request data of the posting operations is a file name, and the reply header goes to a file.
    bool OutputFileMode = false;

    TNotifyEvent OnAboutToSend;          // header built, before connecting
    TResultEvent OnSuccess;              // reply status below 300
    TResultEvent OnFailure;              // reply status 400 or above
    THandlerEvent OnRedirect;            // status 300..399, before the request is repeated; Handled stops
    TNotifyEvent OnAuthenticationNeeded; // status 401

    // Each operation returns when the transaction (redirections included) has ended, or raises the
    // exception of the step that failed; the connection is closed either way.
    virtual void Options(const std::string& URL);
    virtual void Get(const std::string& URL);
    virtual void Post(const std::string& URL, const std::string& PostData);
    virtual void Put(const std::string& URL, const std::string& PutData);
    virtual void Head(const std::string& URL);
    virtual void Patch(const std::string& URL, const std::string& PatchData);
    virtual void Delete(const std::string& URL);
    virtual void Trace(const std::string& URL, const std::string& TraceData);
    virtual void Copy(const std::string& URL, const std::string& Destination);
    virtual void Move(const std::string& URL, const std::string& Destination);
    virtual void Link(const std::string& URL, const std::string& LinkValue);
    virtual void Unlink(const std::string& URL, const std::string& LinkValue);

    // Ends the current wait and cancels the operation, without a status text.
    void Abort() override;

    // A redirection chain longer than this ends the transaction with ESockError.
    static constexpr int MaxRedirects = 10;

protected:
    virtual void DoTransaction();
    virtual void ParseURL();
    virtual void BuildHeader();
    virtual void ReadHeader();
    virtual void SendRequest();

private:
    void Run(CmdType kind, const std::string& url, const std::string& data, const std::string& second);
    long long RequestDataLength() const;

    CmdType cmd_ = CmdType::CmdGET;
    std::string url_;
    std::string path_;
    std::string data_;
    std::string second_;
    std::string cookie_;   // received with the last reply
    std::string location_; // received with some reply; kept until another one comes
    TStringList headerLines_;
};
