// The program's start-up, shared by the entry and by the tests that build the same windows.
#pragma once

// Initializes the application object, sets its title and creates the five windows in order
// (the first is the main window); only the main window becomes visible.
void CreateTellitForms();
