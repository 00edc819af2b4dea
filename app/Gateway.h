// The gateway request: one GET whose query carries every field of the message.
#pragma once

#include <string>

// The operator's gateway host, used when the settings name none.
extern const char* const DefaultGatewayHost;

// The request URL for a seven-character number, the URL-encoded message and the year field
// (next year). The host may carry a port ("host:port").
std::string GatewayUrl(const std::string& host, const std::string& number, const std::string& encodedMessage, int year);

// The year field of a request sent now: the current calendar year plus one.
int GatewayYear();
