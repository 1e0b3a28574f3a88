#include "ui/board_window.h"

#include "ai/chooser.h"
#include "ai/evaluator.h"
#include "model/motion.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui/stats_panel.h"

Board playerBoard;
Board computerBoard;

namespace {

struct KeyCommand {
    WPARAM key;
    uint32_t command;
};
constexpr KeyCommand kKeys[] = {
    {VK_RETURN, kDrop},   {VK_LEFT, kMoveLeft},  {VK_RIGHT, kMoveRight},
    {VK_DOWN, kMoveDown}, {'Z', kRotateForward}, {'X', kRotateBack},
};

// 0 for a key that moves nothing.
uint32_t CommandOfKey(WPARAM key) {
    for (const KeyCommand& k : kKeys)
        if (k.key == key) return k.command;
    return 0;
}

void ReportGameOver(HWND window) { SendMessageW(GetParent(window), UM_GAMEOVER, 0, 0); }

// Puts the brick where the computer would land it. When it fits nowhere the brick
// stays at the spawn place, which no landing accepts, so the next landing ends the
// game instead of fixing the brick at a place left over from the previous one.
void PlaceByComputer(const BrickType& brick, BrickPos& pos, const Board& board) {
    if (FindBestPlacement(brick, &pos, board) == NoPlacement) pos = SpawnPos;
}

void SpeedUp(HWND window) {
    settings.curInterval = SpedUp(settings.curInterval);
    ShowSpeed(settings.curInterval);
    RestartFallTimer(GetParent(window));
}

void Board_OnNewGame(HWND window, Board& board, WPARAM mode, LPARAM isComputer) {
    ResetBoard(board);
    board.mode = static_cast<int32_t>(mode);
    board.isComputer = static_cast<int32_t>(isComputer);
    if (isComputer == 1) {
        UpdateStatsPanel(statsPanelWnd, board);
        board.curBrick = nullptr;
    } else {
        DealBrick(window, brickTable, board);
    }
    InvalidateRows(window, 0, kWellRows - 1);
}

// kStop when the board reported game over while landing its previous brick.
LRESULT Board_OnPutBrick(HWND window, Board& board, const BrickType* brick) {
    if (board.curBrick != nullptr && LandBrick(window, board, *board.curBrick, board.curPos) == kStop) return kStop;
    board.curBrick = brick;
    DealBrick(window, brickTable, board);
    return kDealNext;
}

void Board_OnKeyDown(HWND window, Board& board, WPARAM key) {
    if (board.curBrick == nullptr || board.isComputer) return;  // no game on this board
    switch (board.mode) {
        case kStandardGame:
            if (HandleBrickKey(window, key, board, *board.curBrick, board.curPos) == kStop) return;
            break;
        case kAutomaticGame:
            if (LandBrick(window, board, *board.curBrick, board.curPos) == kStop) return;
            break;
        case kHintGame:
            if (HandleBrickKey(window, key, board, *board.curBrick, board.curPos) == kStop) return;
            InvalidateBrick(window, *board.curBrick, board.hintPos);
            break;
        case kVersusGame: {
            if (HandleBrickKey(window, key, board, *board.curBrick, board.curPos) == kStop) return;
            // The brick just landed is part of the well now, no longer a falling
            // brick, before the computer's board lands its own: that may end the game,
            // and the game-over box repaints this well while it is up. Then no brick
            // is dealt here, and no speed-up restarts the timer.
            const BrickType* landed = board.curBrick;
            board.curBrick = nullptr;
            if (SendMessageW(computerBoardWnd, UM_PUTBRICK, reinterpret_cast<WPARAM>(landed), 0) == kStop) return;
            break;
        }
        default: return;
    }
    DealBrick(window, brickTable, board);
}

}  // namespace

int HandleBrickKey(HWND window, WPARAM key, Board& board, const BrickType& brick, BrickPos& pos) {
    const uint32_t command = CommandOfKey(key);
    if (command == 0) return kStop;
    InvalidateBrick(window, brick, pos);
    if (MoveBrick(command, pos, brick, board.grid) != kLanded) {
        InvalidateBrick(window, brick, pos);
        return kStop;
    }
    return LandBrick(window, board, brick, pos);
}

int LandBrick(HWND window, Board& board, const BrickType& brick, const BrickPos& pos) {
    InvalidateBrick(window, brick, pos);
    if (!FixBrick(brick.rotations[pos.rotation], pos, board)) {
        ReportGameOver(window);
        return kStop;
    }
    if (board.dirtyBottom != -1) InvalidateRows(window, board.dirtyTop, board.dirtyBottom);
    return 0;
}

void DealBrick(HWND window, const BrickTable& table, Board& board) {
    if (board.isComputer == 0) board.curBrick = ChooseBrick(table, board);
    // The computer's board was handed its brick (UM_PUTBRICK) before it is dealt; the
    // analyser cannot see that the board's side stays the same across SendMessage.
    const BrickType& brick = *board.curBrick;  // NOLINT(clang-analyzer-core.NullDereference)
    if (board.mode == kAutomaticGame || board.isComputer == 1)
        PlaceByComputer(brick, board.curPos, board);
    else
        board.curPos = SpawnPos;
    if (board.mode == kHintGame) {
        // A hint that fits nowhere hides under the brick rather than point somewhere stale.
        if (FindBestPlacement(brick, &board.hintPos, board) == NoPlacement) board.hintPos = board.curPos;
        InvalidateBrick(window, brick, board.hintPos);
    }
    if (board.bricksDealt % settings.accelEvery == 0) SpeedUp(window);
    InvalidateBrick(window, brick, board.curPos);
    UpdateStatsPanel(statsPanelWnd, board);
}

LRESULT BoardWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Board& board) {
    switch (message) {
        case WM_CREATE:
            ResetBoard(board);
            board.curBrick = nullptr;
            return 0;
        case WM_PAINT: PaintBoard(window, board); return 0;
        case WM_KEYDOWN: Board_OnKeyDown(window, board, wParam); return 0;
        case UM_NEWGAME: Board_OnNewGame(window, board, wParam, lParam); return 0;
        case UM_PUTBRICK: return Board_OnPutBrick(window, board, reinterpret_cast<const BrickType*>(wParam));
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

namespace {

LRESULT CALLBACK LeftWinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return BoardWndProc(window, message, wParam, lParam, playerBoard);
}

LRESULT CALLBACK RightWinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return BoardWndProc(window, message, wParam, lParam, computerBoard);
}

}  // namespace

void RegisterBoardClasses(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpfnWndProc = LeftWinProc;
    wc.lpszClassName = kLeftWinClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = RightWinProc;
    wc.lpszClassName = kRightWinClass;
    RegisterClassW(&wc);
}
