// Shows one of the program's windows, filled in as a user would see it, for eight seconds (or until it is closed): for
// looking at the windows (and taking screenshots) without driving the program by hand.
//   app_window_tour main|countdown|proxy|proxy-auth|about|help|progress|message
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "framework/Dialogs.h"

#include <string>

static void CALLBACK EndTour(HWND, UINT, UINT_PTR, DWORD) {
    Application->Terminate();
}

static void CALLBACK ShowProgress(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Form5->Show();
}

int wmain(int argc, wchar_t** argv) {
    std::wstring which = argc > 1 ? argv[1] : L"main";
    // Ends by itself after a while, so scripts need not kill it.
    SetTimer(nullptr, 0, 8000, EndTour);
    CreateTellitForms();
    Form1->Timer1->SetEnabled(false);
    Form1->CBNumber->SetText(L"1234567");
    Form1->MMessage->SetText(L"Привет! Встречаемся в 19:00\r\nу входа.");
    Form1->Show();
    if (which == L"countdown") {
        SendDelay = 42;
        Form1->BSend->SetEnabled(false);
        Form1->Timer1Timer(nullptr);
    } else if (which == L"proxy" || which == L"proxy-auth") {
        Form2->CheckBox1->SetChecked(true);
        Form2->EHost->SetText(L"proxy.example.by");
        Form2->EPort->SetText(L"3128");
        if (which == L"proxy-auth") {
            Form2->CheckBox2->SetChecked(true);
            Form2->EUsername->SetText(L"user");
            Form2->EPassword->SetText(L"secret");
        }
        Form2->ShowModal();
    } else if (which == L"about") {
        Form3->ShowModal();
    } else if (which == L"help") {
        Form4->ShowModal();
    } else if (which == L"progress") {
        // Shown once the loop runs, as during a send.
        Form5->ProgressBar1->SetPosition(40);
        SetTimer(nullptr, 0, 300, ShowProgress);
    } else if (which == L"message") {
        ShowMessage(L"Ошибка отправки SMS!\nВведите корректный номер телефона.");
    }
    Application->Run();
    return 0;
}
