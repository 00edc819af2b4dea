// The real Tellit.exe driven from outside as a user would, against the gateway simulator (and a
// real proxy): what the user sees, and what arrives on the wire.
#include "tests/e2e/E2E.h"

#include "app/Gateway.h"
#include "framework/SysUtils.h"
#include "tests/support/TestServer.h"

namespace {

TEST_F(E2E, SuccessfulSendOnTheWireAndTheCountdown) {
    size_t before = FreeLog().size();
    Tellit t("success", GatewayIni(FreeGateway()));
    ASSERT_TRUE(t.Main()) << t.StartNote();
    EXPECT_EQ(Tellit::Text(t.Main()), L"Tellit");
    Tellit::Screenshot(t.Main(), "main_window");
    Send(t, L"1234567", L"Hi there");
    HWND box = nullptr;
    EXPECT_EQ(t.WaitMessageBox(10000, &box), kSent);
    Tellit::Screenshot(box, "message_sent");

    auto log = FreeLog();
    ASSERT_EQ(log.size(), before + 1);
    const std::string raw = "GET /cgi-bin/cgi.exe?function=sms_send&MMObjectType=0&MMObjectID=&To=375291234567"
                            "&Msg=Hi+there&Hour=00&Min=00&Day=5&Mon=5&Year=" +
                            std::to_string(GatewayYear()) + "&Lang=2 HTTP/1.0";
    EXPECT_EQ(JsonField(log.back(), "verdict"), "accepted");
    EXPECT_EQ(JsonField(log.back(), "head"),
              raw + "\r\nHost: 127.0.0.1\r\n"
                    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
                    "Content-type: application/x-www-form-urlencoded\r\n\r\n");
    EXPECT_EQ(JsonField(log.back(), "text"), "Hi there");

    // The button is locked and counts down.
    t.CloseMessageBox();
    Sleep(2200);
    HWND locked = nullptr;
    for (int i = 0;; ++i) {
        HWND b = Tellit::Child(t.Main(), L"Button", nullptr, i);
        if (!b) break;
        if (Tellit::Text(b).rfind(L"Отправка возможна через ", 0) == 0) locked = b;
    }
    ASSERT_TRUE(locked);
    EXPECT_FALSE(IsWindowEnabled(locked));
    std::wstring caption = Tellit::Text(locked);
    int remaining = std::stoi(caption.substr(std::wstring(L"Отправка возможна через ").size()));
    EXPECT_GE(remaining, 55);
    EXPECT_LE(remaining, 59);
    EXPECT_EQ(caption.substr(caption.size() - 5), L" сек.");
    Tellit::Screenshot(t.Main(), "main_window_countdown");
}

TEST_F(E2E, RefusalFromTheGateway) {
    std::string limited = "127.0.0.1:" + Env("TELLIT_GATESIM_LIMITED_PORT");
    {
        Tellit first("refusal_1", GatewayIni(limited));
        Send(first, L"7654321", L"first");
        EXPECT_EQ(first.WaitMessageBox(10000), kSent);
    }
    // A second message within the minute, from a fresh start: the gateway refuses it.
    Tellit second("refusal_2", GatewayIni(limited));
    Send(second, L"7654321", L"second");
    HWND box = nullptr;
    EXPECT_EQ(second.WaitMessageBox(10000, &box), kRefused);
    Tellit::Screenshot(box, "message_refused");
    second.CloseMessageBox();
    // A refusal leaves the button ready once the request has ended.
    HWND send = second.Button(kSend.c_str());
    ASSERT_TRUE(send);
    for (int i = 0; i < 500 && !IsWindowEnabled(send); ++i) Sleep(20);
    EXPECT_TRUE(IsWindowEnabled(send));
}

TEST_F(E2E, NumbersAreCheckedBeforeAnyRequest) {
    Tellit t("numbers", GatewayIni(FreeGateway()));
    size_t before = FreeLog().size();
    bool shot = false;
    for (const wchar_t* bad : {L"123456", L"12345678", L"12a4567"}) {
        Send(t, bad, L"x");
        HWND box = nullptr;
        EXPECT_EQ(t.WaitMessageBox(5000, &box), kBadNumber) << WideToUtf8(bad);
        if (!shot) Tellit::Screenshot(box, "message_bad_number");
        shot = true;
        t.CloseMessageBox();
    }
    EXPECT_EQ(FreeLog().size(), before);
    // Seven characters that convert to a number go out as typed.
    Send(t, L"-123456", L"minus");
    EXPECT_EQ(t.WaitMessageBox(10000), kSent);
    auto log = FreeLog();
    ASSERT_EQ(log.size(), before + 1);
    EXPECT_NE(JsonField(log.back(), "raw").find("&To=37529-123456&Msg=minus&"), std::string::npos);
}

TEST_F(E2E, CyrillicTextAndLineBreaks) {
    Tellit t("cyrillic", GatewayIni(FreeGateway()));
    Send(t, L"1234567", L"Привет\rмир");
    EXPECT_EQ(t.WaitMessageBox(10000), kSent);
    auto log = FreeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_NE(JsonField(log.back(), "raw").find("&Msg=%CF%F0%E8%E2%E5%F2%0D%0A%EC%E8%F0&Hour=00"), std::string::npos)
        << log.back();
    EXPECT_EQ(JsonField(log.back(), "text"), "Привет\r\nмир");
}

TEST_F(E2E, LongCyrillicMessageArrivesWholeAndTheMemoStopsAt160) {
    Tellit t("long", GatewayIni(FreeGateway()));
    std::wstring letters(170, L'Я');
    Send(t, L"1234567", letters);
    EXPECT_EQ(t.WaitMessageBox(10000), kSent);
    EXPECT_EQ(Tellit::Text(t.MessageMemo()).size(), 160u);
    auto log = FreeLog();
    ASSERT_FALSE(log.empty());
    std::string expected;
    for (int i = 0; i < 160; ++i) expected += "Я";
    EXPECT_EQ(JsonField(log.back(), "text"), expected);
    EXPECT_NE(JsonField(log.back(), "raw").find("%DF&Hour=00&Min=00&Day=5&Mon=5&Year="), std::string::npos);
}

TEST_F(E2E, SendThroughAProxyWithIdentification) {
    std::string proxyPort = Env("TELLIT_PROXY_PORT");
    ASSERT_FALSE(proxyPort.empty()) << "run through tests/net/with-tinyproxy";
    std::string ini = GatewayIni(FreeGateway()) + "[ProxySettings]\r\nUseProxy=1\r\nAuthentication=1\r\n"
                      "Host=127.0.0.1\r\nPort=" + proxyPort + "\r\nUsername=" + Env("TELLIT_PROXY_USER") +
                      "\r\nPassword=" + Env("TELLIT_PROXY_PASSWORD") + "\r\n";
    size_t before = FreeLog().size();
    Tellit t("proxy", ini);
    Send(t, L"1234567", L"via proxy");
    EXPECT_EQ(t.WaitMessageBox(10000), kSent);
    auto log = FreeLog();
    ASSERT_EQ(log.size(), before + 1);
    EXPECT_EQ(JsonField(log.back(), "text"), "via proxy");
    // The proxy took the credentials; the gateway never sees them.
    EXPECT_EQ(JsonField(log.back(), "head").find("uthorization"), std::string::npos);
}

TEST_F(E2E, ProxyPortThatIsNoNumber) {
    Tellit t("proxy_port", GatewayIni(FreeGateway()) +
                               "[ProxySettings]\r\nUseProxy=1\r\nAuthentication=0\r\nHost=127.0.0.1\r\nPort=8o80\r\n");
    size_t before = FreeLog().size();
    Send(t, L"1234567", L"x");
    HWND box = nullptr;
    EXPECT_EQ(t.WaitMessageBox(5000, &box), kBadPort);
    Tellit::Screenshot(box, "message_bad_proxy_port");
    EXPECT_EQ(FreeLog().size(), before);
}

TEST_F(E2E, UnresolvableGatewayHost) {
    Tellit t("no_host", GatewayIni("no-such-host.invalid"));
    Send(t, L"1234567", L"x");
    HWND box = nullptr;
    EXPECT_EQ(t.WaitMessageBox(30000, &box), L"Ошибка отправки SMS!\nNull Remote Address.");
    Tellit::Screenshot(box, "message_null_remote_address");
}

TEST_F(E2E, SilentGatewayTimesOutWhileTheWindowStaysResponsive) {
    TestServer silent([](TestConnection& c) {
        c.ReadRequest();
        c.HoldOpen();
    });
    Tellit t("silent", GatewayIni("127.0.0.1:" + std::to_string(silent.Port())));
    double start = NowMs();
    Send(t, L"1234567", L"x");
    HWND progress = t.WaitTop(L"TForm5", nullptr, 3000);
    EXPECT_TRUE(progress);
    Tellit::Screenshot(progress, "progress_window");
    int answered = 0;
    while (NowMs() - start < 3500) {
        answered += Tellit::Responsive(t.Main(), 500);
        Sleep(100);
    }
    EXPECT_GE(answered, 10);
    HWND box = nullptr;
    std::wstring text = t.WaitMessageBox(10000, &box);
    double took = NowMs() - start;
    EXPECT_EQ(text, L"Ошибка отправки SMS!\nSocket readln aborted.");
    EXPECT_GT(took, 4000);
    EXPECT_LT(took, 9000);
    Tellit::Screenshot(box, "message_timeout");
    t.CloseMessageBox();
    EXPECT_FALSE(t.FindTop(L"TForm5"));
}

TEST_F(E2E, AuxiliaryWindows) {
    Tellit t("windows", GatewayIni(FreeGateway()));
    // At start only the main window is visible.
    EXPECT_FALSE(t.FindTop(L"TForm2"));
    EXPECT_FALSE(t.FindTop(L"TForm5"));
    struct W {
        int menu, item;
        const wchar_t* cls;
        const wchar_t* caption;
        const char* shot;
    } windows[] = {{1, 0, L"TForm2", L"Настройки прокси", "proxy_dialog"},
                   {2, 1, L"TForm3", L"О программе", "about_box"},
                   {2, 0, L"TForm4", L"Для чего?", "help_window"}};
    for (const W& w : windows) {
        t.Menu(w.menu, w.item);
        HWND win = t.WaitTop(w.cls, w.caption, 20000);
        EXPECT_TRUE(win) << w.shot;
        if (!win) continue;
        Tellit::Screenshot(win, w.shot);
        if (std::wstring(w.cls) == L"TForm4") {
            HWND memo = Tellit::Child(win, L"Edit");
            ASSERT_TRUE(memo);
            EXPECT_EQ(Tellit::Text(memo).rfind(L"Программа предназначена для отправки SMS\r\n", 0), 0u);
        }
        PostMessageW(win, WM_CLOSE, 0, 0);
        for (int i = 0; i < 500 && IsWindowVisible(win); ++i) Sleep(20);
        EXPECT_FALSE(IsWindowVisible(win));
    }
}

} // namespace
