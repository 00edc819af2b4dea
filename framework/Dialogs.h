// The simple message box: the system's, with the application's title.
#pragma once

#include <string>

// Shows text with an OK button, modal to the active form; returns when the user has closed it.
void ShowMessage(const std::wstring& text);
