// skinpreview --states SKIN OUT.png: the states sheet (see StatesSheet.cpp).
#pragma once

#include <string>

class TSkinDataCore;

// Writes the sheet of every control kind in every state it draws as a PNG; 0 on success.
int StatesSheet(TSkinDataCore& skin, const std::string& outPath);
