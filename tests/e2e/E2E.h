// What the end-to-end tests share: the texts Tellit shows, the settings that point it at the
// gateway simulator, and a send as the user makes it.
#pragma once

#include "tests/e2e/Driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline const std::wstring kSent = L"SMS отправлена!";
inline const std::wstring kRefused = L"Ошибка отправки SMS!\nОтказ сервера.";
inline const std::wstring kBadNumber = L"Ошибка отправки SMS!\nВведите корректный номер телефона.";
inline const std::wstring kBadPort = L"Error send message!\nCheck PhoneNumber and ProxyPort.";
inline const std::wstring kSend = L"Послать SMS";

inline std::string GatewayIni(const std::string& host) {
    return "[Gateway]\r\nHost=" + host + "\r\n";
}
// The gateway simulator without limits, and its log of accepted messages.
inline std::string FreeGateway() {
    return "127.0.0.1:" + Env("TELLIT_GATESIM_PORT");
}
inline std::vector<std::string> FreeLog() {
    return LogLines(Env("TELLIT_GATESIM_LOG"));
}

// Fills in the number and the message as typed, then presses the send button.
inline void Send(Tellit& t, const std::wstring& number, const std::wstring& message) {
    HWND num = t.NumberEdit(), memo = t.MessageMemo();
    ASSERT_TRUE(num && memo);
    SendMessageW(num, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    SendMessageW(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Tellit::Type(num, number);
    Tellit::Type(memo, message);
    HWND send = t.Button(kSend.c_str());
    ASSERT_TRUE(send);
    Tellit::Click(send);
}

struct E2E : ::testing::Test {
    void SetUp() override { ASSERT_FALSE(Env("TELLIT_GATESIM_PORT").empty()) << "run through tests/e2e/with-gatesim"; }
};
