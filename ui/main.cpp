// Entry point of kvader.exe.
#include "ui/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) { return RunKvader(instance, show); }
