// The settings file against what real files and other programs do to it: missing, empty, garbage,
// huge, read-only, held open without sharing by a handle or by another process; and Cyrillic values on
// a machine whose ANSI code page is not Windows-1251 (Wine's here is 1252).
#include "tests/app/AppTest.h"

#include "app/Settings.h"
#include "framework/IniFiles.h"

#include <random>

namespace {

const char kBom[] = "\xFF\xFE";

// Puts bytes in the settings file as they are (no conversion).
void WriteBytes(const std::string& bytes) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, SettingsFile().c_str());
    SetFileAttributesW(SettingsFile().c_str(), FILE_ATTRIBUTE_NORMAL);
    FILE* f = _wfopen(SettingsFile().c_str(), L"wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string Garbage(size_t size) {
    std::mt19937 random(7);
    std::string s(size, '\0');
    for (char& c : s)
        c = char(random());
    return s;
}

// Filler sections, then the number, then more filler: a file of several megabytes.
std::string Huge() {
    std::string s;
    for (int i = 0; s.size() < (3u << 20); ++i)
        s += "[Filler" + std::to_string(i) + "]\r\nKey=" + std::string(200, 'x') + "\r\n";
    s += "[Main]\r\nNumber=7654321\r\n[Tail]\r\nKey=kept\r\n";
    return s;
}

std::string Utf16File(const std::wstring& text) {
    return kBom + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::wstring Read(const wchar_t* section, const wchar_t* key) {
    return TIniFile(SettingsFile()).ReadString(section, key, L"(absent)");
}

// Closes the main window as the user does, with the test's application kept running.
void CloseMainWindow() {
    auto formClose = Form1->OnClose;
    Form1->OnClose = [&](TObject* s, TCloseAction& a) {
        formClose(s, a);
        a = caNone;
    };
    SendMessageW(Form1->Handle(), WM_CLOSE, 0, 0);
    Form1->OnClose = formClose;
}

void PressOk() {
    PostMessageW(Form2->BOk->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form2->ShowModal(), mrOk);
}

// Something that keeps the file from being written: the read-only attribute, a handle of this
// process without sharing, or another program's such handle.
enum class Hold { ReadOnly, Handle, Process };

class Holder {
public:
    explicit Holder(Hold how) : how_(how) {
        const std::wstring file = SettingsFile();
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
        if (how == Hold::ReadOnly) {
            EXPECT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
        } else if (how == Hold::Handle) {
            handle_ = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
        } else {
            HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"TellitTestHoldFile");
            std::wstring exe = L"Z:" + Utf8ToWide(HOLD_FILE_EXE);
            for (wchar_t& ch : exe)
                if (ch == L'/') ch = L'\\';
            std::wstring cmd = L"\"" + exe + L"\" \"" + file + L"\" TellitTestHoldFile";
            STARTUPINFOW si{};
            si.cb = sizeof si;
            EXPECT_TRUE(CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_));
            HANDLE both[] = {ready, pi_.hProcess};
            EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 20000), WAIT_OBJECT_0) << "the holder did not start";
            CloseHandle(ready);
        }
    }
    ~Holder() { Release(); }
    void Release() {
        if (how_ == Hold::ReadOnly) SetFileAttributesW(SettingsFile().c_str(), FILE_ATTRIBUTE_NORMAL);
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        if (pi_.hProcess) {
            TerminateProcess(pi_.hProcess, 0);
            WaitForSingleObject(pi_.hProcess, 10000);
            CloseHandle(pi_.hProcess);
            CloseHandle(pi_.hThread);
            pi_ = {};
        }
    }
    const wchar_t* Cause() const { return how_ == Hold::ReadOnly ? L"защищены от записи" : L"занят другой программой"; }

private:
    Hold how_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    PROCESS_INFORMATION pi_{};
};

struct SettingsFileTest : AppFixture {};

TEST_F(SettingsFileTest, AnyFileStartsAndTheTypedNumberIsSaved) {
    struct Case {
        const char* name;
        bool exists;
        std::string bytes;
        const wchar_t* number; // shown at start
        bool utf16After;       // the file is UTF-16 after the save
    } cases[] = {
        {"missing", false, "", L"", true},
        {"empty", true, "", L"", true},
        {"garbage", true, Garbage(64 << 10), nullptr, false},
        {"huge", true, Huge(), L"7654321", false},
        {"8-bit", true, "[Main]\r\nNumber=1234567\r\n", L"1234567", false},
        {"UTF-16", true, Utf16File(L"[Main]\r\nNumber=5\r\n"), L"5", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.exists)
            WriteBytes(c.bytes);
        else
            WriteSettings("");
        CreateForms();
        if (c.number) {
            EXPECT_EQ(Form1->CBNumber->Text(), c.number);
        }
        Form1->CBNumber->SetText(L"7000001");
        MessageBoxWatcher boxes;
        CloseMainWindow();
        EXPECT_TRUE(boxes.Texts().empty());
        EXPECT_EQ(Read(L"Main", L"Number"), L"7000001");
        EXPECT_EQ(ReadSettingsText().compare(0, 2, kBom) == 0, c.utf16After);
        if (std::string(c.name) == "huge") {
            EXPECT_EQ(Read(L"Tail", L"Key"), L"kept");
            EXPECT_EQ(Read(L"Filler5", L"Key"), std::wstring(200, L'x'));
        }
        TearDown();
    }
}

TEST_F(SettingsFileTest, CyrillicValuesSurviveAndAn8BitFileIsConvertedKeepingEveryKey) {
    const std::wstring user = L"Иван Петров", host = L"прокси.рф";
    // "Café" in the ANSI code page (1252 here), a key the conversion must keep as it reads.
    const std::string ansi = "; comment\r\n[Main]\r\nNumber=1234567\r\n[Other]\r\nName=Caf\xE9\r\n";
    for (bool existing : {false, true}) {
        SCOPED_TRACE(existing ? "8-bit file" : "no file");
        if (existing)
            WriteBytes(ansi);
        else
            WriteSettings("");
        CreateForms();
        // Text the ANSI code page holds leaves an 8-bit file as it is.
        Form2->EHost->SetText(L"proxy.local");
        PressOk();
        EXPECT_EQ(ReadSettingsText().compare(0, 2, kBom) == 0, !existing);
        Form2->EHost->SetText(host);
        Form2->EUsername->SetText(user);
        PressOk();
        const std::string bytes = ReadSettingsText();
        EXPECT_EQ(bytes.compare(0, 2, kBom), 0);
        EXPECT_EQ(Read(L"ProxySettings", L"Host"), host);
        EXPECT_EQ(Read(L"ProxySettings", L"Username"), user);
        EXPECT_EQ(Read(L"ProxySettings", L"Port"), L"");
        if (existing) {
            EXPECT_EQ(Read(L"Main", L"Number"), L"1234567");
            EXPECT_EQ(Read(L"Other", L"Name"), L"Caf\u00E9");
            const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
            EXPECT_EQ(text.find(L"; comment\r\n[Main]"), 0u);
        }
        // A new run reads them back.
        TearDown();
        WriteBytes(bytes);
        CreateForms();
        EXPECT_EQ(Form2->EUsername->Text(), user);
        EXPECT_EQ(Form2->EHost->Text(), host);
        TearDown();
    }
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenIsReportedAndTheNumberSavedOnRetry) {
    for (Hold how : {Hold::ReadOnly, Hold::Handle, Hold::Process}) {
        SCOPED_TRACE(int(how));
        const std::string before = "[Main]\r\nNumber=1234567\r\n";
        WriteBytes(before);
        auto holder = std::make_unique<Holder>(how);
        CreateForms();
        // A held file cannot even be read: the program starts with the defaults.
        EXPECT_EQ(Form1->CBNumber->Text(), how == Hold::ReadOnly ? L"1234567" : L"");
        Form1->CBNumber->SetText(L"7000002");
        {
            // "Cancel": told, nothing written.
            MessageBoxWatcher boxes;
            boxes.Answer = IDCANCEL;
            CloseMainWindow();
            ASSERT_EQ(boxes.Texts().size(), 1u);
            const std::wstring text = boxes.Texts()[0];
            EXPECT_EQ(text.find(L"Не удалось сохранить настройки в файл\n" + SettingsFile()), 0u) << WideToUtf8(text);
            EXPECT_NE(text.find(holder->Cause()), std::wstring::npos) << WideToUtf8(text);
        }
        {
            // "Retry" after the file is freed: saved, with one box only.
            MessageBoxWatcher boxes;
            boxes.Answer = IDRETRY;
            boxes.WhileOpen = [&] { holder->Release(); };
            CloseMainWindow();
            EXPECT_EQ(boxes.Texts().size(), 1u);
        }
        EXPECT_EQ(Read(L"Main", L"Number"), L"7000002");
        // A Cyrillic value in the proxy dialog cannot convert a read-only 8-bit file either.
        holder.reset();
        WriteBytes(before);
        holder = std::make_unique<Holder>(how);
        Form2->EUsername->SetText(L"Иван");
        {
            MessageBoxWatcher boxes;
            boxes.Answer = IDCANCEL;
            PressOk();
            EXPECT_EQ(boxes.Texts().size(), 1u);
        }
        holder->Release();
        EXPECT_EQ(ReadSettingsText(), before);
        EXPECT_EQ(Form2->EUsername->Text(), L"Иван");
        holder.reset();
        TearDown();
    }
}

TEST_F(SettingsFileTest, AFileHeldAtStartKeepsItsNumberWhenTheUserTypedNone) {
    WriteBytes("[Main]\r\nNumber=1234567\r\n");
    auto holder = std::make_unique<Holder>(Hold::Handle);
    CreateForms();
    EXPECT_EQ(Form1->CBNumber->Text(), L"");
    holder.reset();
    MessageBoxWatcher boxes;
    CloseMainWindow();
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(Read(L"Main", L"Number"), L"1234567");
}

TEST(SettingsText, NamesTheCauseOfEachFailure) {
    const struct {
        unsigned long error;
        const wchar_t* cause;
    } cases[] = {{ERROR_ACCESS_DENIED, L"Файл или папка защищены от записи."},
                 {ERROR_SHARING_VIOLATION, L"Файл занят другой программой."},
                 {ERROR_LOCK_VIOLATION, L"Файл занят другой программой."},
                 {ERROR_DISK_FULL, L"На диске нет места."},
                 {ERROR_PATH_NOT_FOUND, L"Папка не найдена."},
                 {1234, L"Код ошибки 1234."}};
    for (const auto& c : cases)
        EXPECT_NE(SaveFailedText(L"C:\\T.ini", c.error).find(L"C:\\T.ini\n" + std::wstring(c.cause) + L"\n"),
                  std::wstring::npos);
}

} // namespace
