// Start-up with a brick file that is missing or broken in any of the ways the fuzz
// corpus keeps (fuzz/corpus/brick_file/broken-*.dat): the real kvader.exe shows the
// error box with string 402 and ends with exit code 1, and no main window appears.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ui_modal.h"

namespace {

struct Seen {
    DWORD process;
    HWND box = nullptr;
    bool mainWindow = false;
};

BOOL CALLBACK Look(HWND window, LPARAM param) {
    Seen& seen = *reinterpret_cast<Seen*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (process != seen.process) return TRUE;
    // A box counts once it shows its text: it is found while it is still being made.
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window) && !MessageBoxText(window).empty())
        seen.box = window;
    seen.mainWindow |= std::wstring(name) == L"Kvader";
    return TRUE;
}

// Runs kvader.exe of this build in folder, answers its first box with OK and waits
// for the end: "text|caption|main window|exit code".
std::wstring RunGameIn(const std::wstring& folder) {
    wchar_t exe[MAX_PATH];
    GetFullPathNameW(L"kvader.exe", MAX_PATH, exe, nullptr);
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"", outcome;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &pi))
        return L"kvader.exe did not start";
    Seen seen{pi.dwProcessId};
    for (int waited = 0; seen.box == nullptr && waited < 20000; waited += 50) {
        Sleep(50);
        EnumWindows(Look, reinterpret_cast<LPARAM>(&seen));
    }
    if (seen.box != nullptr) {
        wchar_t caption[128] = {};
        GetWindowTextW(seen.box, caption, 128);
        outcome = MessageBoxText(seen.box) + L"|" + caption + L"|" + (seen.mainWindow ? L"main window|" : L"|");
        PostMessageW(seen.box, WM_COMMAND, IDOK, 0);
    }
    DWORD code = 99;
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return outcome + std::to_wstring(code);
}

TEST(StartUp, WithAMissingOrBrokenBrickFileTellsTheUserAndEnds) {
    // The broken files, copied into the build folder, and "missing" (no file at all).
    std::vector<std::wstring> cases{L"missing"};
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(L"brick-files\\broken-*.dat", &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &entry))
        cases.push_back(entry.cFileName);
    FindClose(search);
    ASSERT_GE(cases.size(), 15u) << "the broken files of fuzz/corpus/brick_file should be in brick-files";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::wstring folder = temp + (L"kvader-start-" + cases[i]), brickFile = folder + L"\\kvader.dat";
        CreateDirectoryW(folder.c_str(), nullptr);
        DeleteFileW(brickFile.c_str());
        if (i > 0) {
            ASSERT_TRUE(CopyFileW((L"brick-files\\" + cases[i]).c_str(), brickFile.c_str(), FALSE));
        }
        EXPECT_EQ(RunGameIn(folder), L"Nelze načíst údaje o kostkách (kvader.dat)!|Kvader||1") << cases[i];
        DeleteFileW(brickFile.c_str());
        RemoveDirectoryW(folder.c_str());
    }
}

}  // namespace
