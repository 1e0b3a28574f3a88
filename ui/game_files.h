// Where the game finds the files it ships with, the brick file and the manual: in the
// current directory first, then in the folder of the running exe, so that a game
// started from another folder (a shortcut, a terminal, the Run box) finds them.
#pragma once

#include <windows.h>

#include "model/brick.h"

// Sets path to what names file name (at most MAX_PATH - 1 characters) for the game:
// name itself when the current directory holds it or neither place does, the full
// path in the exe's folder when only that folder holds it. The folder is taken as a
// wide path, which may hold any letter.
void GameFilePath(const wchar_t* name, wchar_t (&path)[MAX_PATH]);

// Loads the brick file that GameFilePath finds into table: one in the current
// directory is read (and refused as a whole when broken) as LoadBrickTable does; the
// exe's folder is only looked in when there is none. Returns 1 loaded, 0 not (the
// table then left as it was).
int LoadGameBricks(BrickTable& table);
