// Transport exceptions and the texts of Windows Sockets error numbers.
#pragma once

#include "framework/SysUtils.h"

#include <string>

// A socket or connection failure.
class ESockError : public Exception {
public:
    using Exception::Exception;
};

// An operation ended by cancellation or by its time-out.
class EAbortError : public Exception {
public:
    using Exception::Exception;
};

// The table text of a Windows Sockets error number, or empty when the number is not in the table.
const char* SocketErrorText(int number);

// "<number>:<text>", or "Unknown Error No. <number>" for a number missing from the table.
std::string SocketErrorMessage(int number);
