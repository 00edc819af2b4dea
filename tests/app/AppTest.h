// Shared pieces of the application's Windows tests: the five forms made as the program makes them,
// a settings file of the test's own, and a watcher that reads and answers message boxes.
#pragma once

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The settings file of the running test executable.
std::wstring SettingsFile();
// Replaces the settings file with text (UTF-8, written as Windows-1251), or removes it ("").
void WriteSettings(const std::string& text);
std::string ReadSettingsText();

// Reads every message box of this thread as it appears and presses a button: Answer, OK unless set.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    std::vector<std::wstring> Texts() const { return texts_; }
    // Runs while a message box is open, before it is answered.
    std::function<void()> WhileOpen;
    int Answer = IDOK;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
    std::vector<std::wstring> texts_;
};

// Types text into a control as the keyboard does (one WM_CHAR per character; "\r" is Enter).
void Type(TWinControl* control, const std::wstring& text);

// The five forms, created as the program does, on a settings file the test wrote first.
struct AppFixture : ::testing::Test {
    void CreateForms();
    void TearDown() override;
};
