// Start-up with a brick file that is missing or broken in any of the ways the fuzz
// corpus keeps (fuzz/corpus/brick_file/broken-*.dat): the real kvader.exe shows the
// error box with string 402 and ends with exit code 1, and no main window appears.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ui_modal.h"

namespace {

constexpr DWORD kPatienceMs = 20000;

struct Found {
    DWORD process;
    HWND box = nullptr;
    bool mainWindow = false;
};

BOOL CALLBACK Look(HWND window, LPARAM param) {
    Found& found = *reinterpret_cast<Found*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != found.process) return TRUE;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    // A box counts once it shows its text: it is found while it is still being made.
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window) && !MessageBoxText(window).empty())
        found.box = window;
    if (std::wstring(name) == L"Kvader") found.mainWindow = true;
    return TRUE;
}

struct Outcome {
    std::wstring text, caption;
    bool mainWindow = false;
    DWORD exitCode = 0;
};

// Runs kvader.exe of this build in folder, answers its first box with OK and waits
// for the end.
Outcome RunGameIn(const std::wstring& folder) {
    wchar_t exe[MAX_PATH];
    GetFullPathNameW(L"kvader.exe", MAX_PATH, exe, nullptr);
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION pi{};
    Outcome outcome;
    if (!CreateProcessW(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &pi)) {
        ADD_FAILURE() << "kvader.exe did not start";
        return outcome;
    }
    Found found{pi.dwProcessId};
    for (DWORD waited = 0; found.box == nullptr && waited < kPatienceMs; waited += 50) {
        Sleep(50);
        EnumWindows(Look, reinterpret_cast<LPARAM>(&found));
    }
    if (found.box != nullptr) {
        outcome.text = MessageBoxText(found.box);
        wchar_t caption[128] = {};
        GetWindowTextW(found.box, caption, 128);
        outcome.caption = caption;
        outcome.mainWindow = found.mainWindow;
        PostMessageW(found.box, WM_COMMAND, IDOK, 0);
    }
    if (WaitForSingleObject(pi.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "kvader.exe did not end";
        TerminateProcess(pi.hProcess, 99);
    }
    GetExitCodeProcess(pi.hProcess, &outcome.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return outcome;
}

// The broken files copied into the build folder, and "missing" (no file at all).
std::vector<std::wstring> Cases() {
    std::vector<std::wstring> cases{L"missing"};
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(L"brick-files\\broken-*.dat", &entry);
    if (search == INVALID_HANDLE_VALUE) return cases;
    do cases.push_back(entry.cFileName);
    while (FindNextFileW(search, &entry));
    FindClose(search);
    return cases;
}

TEST(StartUp, WithAMissingOrBrokenBrickFileTellsTheUserAndEnds) {
    const std::vector<std::wstring> cases = Cases();
    ASSERT_GE(cases.size(), 15u) << "the broken files of fuzz/corpus/brick_file should be in brick-files";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const std::wstring& name : cases) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        const std::wstring folder = std::wstring(temp) + L"kvader-start-" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring brickFile = folder + L"\\kvader.dat";
        DeleteFileW(brickFile.c_str());
        if (name != L"missing") {
            ASSERT_TRUE(CopyFileW((L"brick-files\\" + name).c_str(), brickFile.c_str(), FALSE));
        }
        const Outcome outcome = RunGameIn(folder);
        EXPECT_EQ(outcome.text, L"Nelze načíst údaje o kostkách (kvader.dat)!");
        EXPECT_EQ(outcome.caption, L"Kvader");
        EXPECT_FALSE(outcome.mainWindow);
        EXPECT_EQ(outcome.exitCode, 1u);
        DeleteFileW(brickFile.c_str());
        RemoveDirectoryW(folder.c_str());
    }
}

}  // namespace
