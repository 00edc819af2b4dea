#include "framework/Dialogs.h"

#include "framework/Forms.h"

void ShowMessage(const std::wstring& text) {
    Application->MessageBox(text, Application->Title, MB_OK);
}
