// Entry point of kvader.exe.
#include "ui/app.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nShowCmd) { return RunKvader(hInstance, nShowCmd); }
