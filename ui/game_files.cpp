#include "ui/game_files.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {

bool IsFile(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Sets path to name in the running exe's folder; false when that does not fit.
bool BesideExe(const wchar_t* name, wchar_t (&path)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t* folderEnd = length > 0 && length < MAX_PATH ? wcsrchr(path, L'\\') : nullptr;
    if (!folderEnd || wcslen(name) >= static_cast<size_t>(path + MAX_PATH - (folderEnd + 1))) return false;
    wcscpy(folderEnd + 1, name);
    return true;
}

}  // namespace

void GameFilePath(const wchar_t* name, wchar_t (&path)[MAX_PATH]) {
    if (IsFile(name) || !BesideExe(name, path) || !IsFile(path)) lstrcpynW(path, name, MAX_PATH);
}

int LoadGameBricks(BrickTable& table) {
    wchar_t name[sizeof kBrickFileName], path[MAX_PATH];
    std::copy(kBrickFileName, kBrickFileName + sizeof kBrickFileName, name);  // ASCII
    GameFilePath(name, path);
    FILE* file = _wfopen(path, L"rb");
    if (!file) return 0;
    const int loaded = ReadBrickTable(file, table);
    fclose(file);
    return loaded;
}
