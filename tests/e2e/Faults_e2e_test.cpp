// Transport faults against the real Tellit.exe: a fault-injection server plays the gateway (or the
// proxy) and misbehaves in one way per case. For each, Tellit keeps painting its window and opening
// its menus while it waits, says what went wrong in a message box within its time-out, and the
// next send, to the gateway simulator, goes out.
#include "tests/e2e/E2E.h"

#include "framework/SysUtils.h"
#include "tests/support/TestServer.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

const double kTimeOut = 5000; // Tellit's time-out for each wait of its transport, in ms
const std::wstring kFailed = L"Ошибка отправки SMS!\n";

// Under Wine a reset connection looks like an orderly close (measured: the close notification carries
// no error and the read returns 0), so what Tellit can tell is that the reply was cut short; on
// Windows the reset itself would be reported.
const std::wstring kCut = kFailed + L"Ответ сервера оборван.";

const std::string kHead = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
const std::string kPage = "<html><body>Message accepted</body></html>";

// Where the fault server's script stops while the test checks the waiting program; the test opens
// it to let the fault strike.
struct Gate {
    std::atomic<bool> reached{false}, open{false};
    void Wait(TestConnection& c) {
        reached = true;
        while (!open && !c.Stopping())
            c.Pause(10);
    }
};

enum class Plays { Gateway, Proxy };

struct Fault {
    const char* name;
    Plays plays;
    // The server's part on each connection; null: nothing listens at the port.
    std::function<void(TestConnection&, Gate&, unsigned short port)> script;
    std::wstring message;
    bool timesOut; // the message comes only when the time-out ends a wait
};

// Sends the bytes one at a time, 100 ms apart, over and over, until the peer goes.
void Drip(TestConnection& c, const std::string& bytes) {
    for (size_t i = 0; !c.Stopping(); i = (i + 1) % bytes.size()) {
        if (!c.Send(bytes.substr(i, 1))) return;
        c.Pause(100);
    }
}

const std::vector<Fault>& Faults() {
    using C = TestConnection;
    static const std::vector<Fault> faults = {
        {"stall_before_status", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.ReadRequest();
             g.Wait(c);
             c.HoldOpen();
         },
         kFailed + L"Socket readln aborted.", true},
        {"stall_mid_body", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.ReadRequest();
             c.Send(kHead + "<html>");
             g.Wait(c);
             c.HoldOpen();
         },
         kFailed + L"Socket capture aborted.", true},
        // Header lines that each come within the time-out, but never end.
        {"drip", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.ReadRequest();
             c.Send("HTTP/1.0 200 OK\r\n");
             g.Wait(c);
             Drip(c, "X-Drip: 1\r\n");
         },
         kFailed + L"Socket readln aborted.", true},
        {"reset_mid_header", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.PeekRequest();
             c.Send("HTTP/1.0 200 OK\r\nContent-Ty");
             g.Wait(c);
             c.Reset();
         },
         kCut, false},
        {"reset_mid_body", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.PeekRequest();
             c.Send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(kPage.size()) + "\r\n\r\n<html>");
             g.Wait(c);
             c.Reset();
         },
         kCut, false},
        {"header_line_70k", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.ReadRequest();
             c.Send("HTTP/1.0 200 OK\r\n");
             g.Wait(c);
             c.Send("X-Long: " + std::string(70 * 1024, 'a') + "\r\n\r\n" + kPage);
         },
         kFailed + L"Reply line longer than 65536 bytes.", false},
        // The verdict is the first piece's: the rest is never stored.
        {"body_10mb", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.ReadRequest();
             c.Send("HTTP/1.0 200 OK\r\nContent-Length: 10485760\r\n\r\n");
             g.Wait(c);
             c.Send(kPage + std::string(10485760 - kPage.size(), ' '));
         },
         kSent, false},
        {"endless_body", Plays::Gateway,
         [](C& c, Gate& g, unsigned short) {
             c.ReadRequest();
             c.Send(kHead);
             g.Wait(c);
             if (c.Send(kPage))
                 while (!c.Stopping() && c.Send(std::string(65536, ' '))) {
                 }
         },
         kSent, false},
        // Every reply sends the client back to the same place, with a page that says so.
        {"redirect_loop", Plays::Gateway,
         [](C& c, Gate& g, unsigned short port) {
             c.ReadRequest();
             g.Wait(c);
             std::string to = "http://127.0.0.1:" + std::to_string(port) + "/cgi-bin/cgi.exe";
             c.Send(HttpReply("302 Found", "Location: " + to + "\r\n", "<html>The page moved to " + to + "</html>"));
         },
         kFailed + L"Too many redirections (more than 10).", false},
        {"closes_at_once", Plays::Gateway, [](C& c, Gate&, unsigned short) { c.ReadRequest(); },
         kFailed + L"Сервер закрыл соединение без ответа.", false},
        {"proxy_down", Plays::Proxy, nullptr, kFailed + L"Connection Failed.", false},
        {"proxy_407", Plays::Proxy,
         [](C& c, Gate& g, unsigned short) {
             c.ReadRequest();
             g.Wait(c);
             c.Send(HttpReply("407 Proxy Authentication Required", "Proxy-Authenticate: Basic realm=\"proxy\"\r\n",
                              "<html>Proxy authentication required</html>"));
         },
         kFailed + L"Прокси-сервер требует идентификации.", false},
    };
    return faults;
}

std::string ProxyIni(const std::string& port) {
    return "[ProxySettings]\r\nUseProxy=1\r\nAuthentication=1\r\nHost=127.0.0.1\r\nPort=" + port +
           "\r\nUsername=" + Env("TELLIT_PROXY_USER") + "\r\nPassword=" + Env("TELLIT_PROXY_PASSWORD") + "\r\n";
}

// Points the proxy dialog at the real proxy, as the user would, and presses Ok.
void UseRealProxy(const Tellit& t) {
    t.Menu(1, 0);
    HWND dialog = t.WaitTop(L"TForm2", nullptr, 5000);
    ASSERT_TRUE(dialog);
    HWND port = Tellit::Child(dialog, L"Edit", nullptr, 1);
    ASSERT_TRUE(port);
    std::wstring real = Utf8ToWide(Env("TELLIT_PROXY_PORT"));
    SendMessageW(port, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(real.c_str()));
    Tellit::Click(Tellit::Child(dialog, L"Button", L"Ok"));
    for (int i = 0; i < 250 && IsWindowVisible(dialog); ++i)
        Sleep(20);
    ASSERT_FALSE(IsWindowVisible(dialog));
}

// Plays one fault; returns the milliseconds from pressing the send button to the message, and the
// message.
double Play(const Fault& f, std::wstring& text) {
    Gate gate;
    unsigned short port = RefusedPort();
    std::unique_ptr<TestServer> server;
    if (f.script) {
        server = std::make_unique<TestServer>([&](TestConnection& c) { f.script(c, gate, port); });
        port = server->Port();
    }
    std::string at = std::to_string(port);
    Tellit t(std::string("fault_") + f.name,
             f.plays == Plays::Gateway ? GatewayIni("127.0.0.1:" + at) : GatewayIni(FreeGateway()) + ProxyIni(at));
    EXPECT_TRUE(t.Main()) << t.StartNote();
    if (!t.Main()) return -1;
    double start = NowMs();
    Send(t, L"1234567", Utf8ToWide(f.name));

    // While the program waits on the server, it shows its progress, paints and opens its menus.
    if (f.script) {
        for (int i = 0; i < 500 && !gate.reached && !t.FindTop(L"#32770"); ++i)
            Sleep(20);
        if (gate.reached) {
            EXPECT_TRUE(t.WaitTop(L"TForm5", nullptr, 3000)) << "progress window";
            EXPECT_TRUE(t.Repaints(3000)) << "repaint while waiting";
            EXPECT_TRUE(t.MenuOpens(2, 3000)) << "menu while waiting";
        }
        gate.open = true;
    }

    HWND box = nullptr;
    text = t.WaitMessageBox(int(kTimeOut) * 4, &box);
    double took = NowMs() - start;
    EXPECT_EQ(text, f.message);
    if (f.timesOut) {
        EXPECT_GT(took, kTimeOut - 250);
    }
    Tellit::Screenshot(box, std::string("fault_") + f.name);
    t.CloseMessageBox();
    EXPECT_FALSE(t.FindTop(L"TForm5")) << "progress window after the message";

    // The next send goes out: to the gateway simulator, or through the real proxy.
    if (f.message == kSent) {
        EXPECT_TRUE(t.EndCountdown(kSend.c_str()));
    }
    HWND send = t.Button(kSend.c_str());
    for (int i = 0; i < 250 && send && !IsWindowEnabled(send); ++i)
        Sleep(20);
    EXPECT_TRUE(send && IsWindowEnabled(send)) << "send button after the message";
    if (f.plays == Plays::Gateway)
        t.WriteIni(GatewayIni(FreeGateway()));
    else
        UseRealProxy(t);
    size_t before = FreeLog().size();
    std::wstring next = L"after " + Utf8ToWide(f.name);
    Send(t, L"1234567", next);
    EXPECT_EQ(t.WaitMessageBox(10000), kSent) << "the next send";
    auto log = FreeLog();
    EXPECT_EQ(log.size(), before + 1);
    if (log.size() > before) {
        EXPECT_EQ(JsonField(log.back(), "text"), WideToUtf8(next));
    }
    if (std::string(f.name) == "redirect_loop" && server) {
        EXPECT_EQ(server->Connections(), 11);
    }
    return took;
}

TEST_F(E2E, TransportFaults) {
    ASSERT_FALSE(Env("TELLIT_PROXY_PORT").empty()) << "run through tests/net/with-tinyproxy";
    std::string report;
    for (const Fault& f : Faults()) {
        // TELLIT_FAULTS plays only the faults whose names contain it.
        if (std::string(f.name).find(Env("TELLIT_FAULTS")) == std::string::npos) continue;
        SCOPED_TRACE(f.name);
        std::wstring text;
        double took = Play(f, text);
        char line[200];
        std::snprintf(line, sizeof line, "  %-20s %6.0f ms  %s\n", f.name, took,
                      text.empty() ? "(none)" : WideToUtf8(text.substr(text.find(L'\n') + 1)).c_str());
        report += line;
    }
    std::printf("fault, time from the click to the message, message:\n%s", report.c_str());
}

// The checks made while Tellit waits can fail: a program whose thread stands still neither paints
// nor opens a menu.
TEST_F(E2E, WaitChecksFailOnAFrozenProgram) {
    Tellit t("frozen", GatewayIni(FreeGateway()));
    ASSERT_TRUE(t.Main()) << t.StartNote();
    EXPECT_TRUE(t.Repaints(3000));
    EXPECT_TRUE(t.MenuOpens(2, 3000));
    ASSERT_NE(SuspendThread(t.ThreadHandle()), DWORD(-1));
    EXPECT_FALSE(t.Repaints(1500));
    EXPECT_FALSE(t.MenuOpens(2, 1500));
    ResumeThread(t.ThreadHandle());
    // The keys sent meanwhile open the menu and close it again; then the window paints as before.
    t.WaitTop(L"#32768", nullptr, 3000);
    for (int i = 0; i < 100 && t.FindTop(L"#32768"); ++i)
        Sleep(50);
    EXPECT_TRUE(t.Repaints(3000));
}

} // namespace
