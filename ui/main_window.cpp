#include "ui/main_window.h"

#include <imm.h>
#include <shellapi.h>

#include <algorithm>

#include "res/resource.h"
#include "ui/board_window.h"
#include "ui/dialogs.h"
#include "ui/game_files.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui/stats_panel.h"

namespace {

void OpenWithShell(HWND owner, const wchar_t* file) {
    ShellExecuteW(owner, L"open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

void FlashTaskbarButton(HWND window) {
    FLASHWINFO flash{sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
}

HINSTANCE InstanceOf(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

// The height of the client area and of each part in it: the wells', or the panel
// template's at the screen's DPI where that is taller.
int32_t clientHeight;
// The system's text settings changed while the window was minimized, or it was to be
// laid out while maximized: it is laid out when it is restored, since a minimized
// window has no menu bar to measure and a maximized one is as large as the screen.
bool layoutPending;

HWND CreateBoardWindow(HWND parent, const wchar_t* className, int x) {
    return CreateWindowW(className, nullptr, WS_CHILD | WS_VISIBLE, x, 0, BoardPixelsWide(), BoardPixelsHigh(), parent,
                         nullptr, InstanceOf(parent), nullptr);
}

// The client area that shows the player's well and the panel, and in a versus game
// (mode 3) also the computer's well.
SIZE MainClientSize(int mode) {
    return SIZE{panelWidth + (mode == kVersusGame ? 2 : 1) * BoardPixelsWide(), clientHeight};
}

// Moves window, keeping its size, so that the whole of it lies inside the work area of
// its monitor (the nearest one); one larger than that keeps its top-left corner inside.
void KeepInWorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT frame;
    if (IsIconic(window) || !GetWindowRect(window, &frame) ||
        !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& area = monitor.rcWork;
    const int left = std::max(area.left, std::min(frame.left, area.right - (frame.right - frame.left)));
    const int top = std::max(area.top, std::min(frame.top, area.bottom - (frame.bottom - frame.top)));
    if (left != frame.left || top != frame.top)
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Gives a top-level window a client area of width x height, keeping its top-left
// corner, however many lines its menu bar takes at that width. The frame around the
// client area depends on the window's width: a menu bar that no longer fits on one
// line wraps onto more. So the window is sized, the client area it got is read, and
// the size is corrected by the difference; the width is right after the first move,
// the menu bar settles at the second. A window whose size changed is then kept inside
// its monitor's work area; one that keeps its size stays where the player put it,
// partly off the screen if they like. A maximized window keeps the screen's size and is
// laid out when it is restored: moved now, it would be restored to the size it had.
void SetClientSize(HWND window, SIZE size) {
    if (IsZoomed(window)) {
        layoutPending = true;
        return;
    }
    constexpr int kMostMoves = 3;
    bool resized = false;
    for (int move = 0; move < kMostMoves; ++move) {
        RECT client, frame;
        GetClientRect(window, &client);
        if (client.right == size.cx && client.bottom == size.cy) break;
        GetWindowRect(window, &frame);
        MoveWindow(window, frame.left, frame.top, frame.right - frame.left - client.right + size.cx,
                   frame.bottom - frame.top - client.bottom + size.cy, TRUE);
        resized = true;
    }
    if (resized) KeepInWorkArea(window);
}

void Main_OnPause(HWND window) {
    if (settings.gameOver) return;
    settings.paused = settings.paused ? 0 : 1;
    RestartFallTimer(window);
}

void Main_OnSettings(HWND window) {
    StopFallTimer(window);
    DialogBoxParamW(InstanceOf(window), MAKEINTRESOURCEW(IDD_SETTINGS), window, SettingsDlgProc, 0);
    if (settings.gameOver) {
        ShowSpeed(settings.baseInterval);
        return;
    }
    ShowSpeed(settings.curInterval);
    RestartFallTimer(window);  // a paused game stays paused
}

void Main_OnAbout(HWND window) {
    StopFallTimer(window);
    DialogBoxParamW(InstanceOf(window), MAKEINTRESOURCEW(IDD_ABOUT), window, AboutDlgProc, 0);
    RestartFallTimer(window);  // unless no game runs or it is paused
}

void Main_OnCommand(HWND window, int id) {
    switch (id) {
        case IDM_STANDARD_GAME:
        case IDM_AUTOMATIC_GAME:
        case IDM_HINT_GAME:
        case IDM_VERSUS_GAME:
            if (translatingHeldKey) break;  // a held key starts one game
            settings.gameOver = 0;
            settings.paused = 0;      // a new game runs, whatever the last one was doing
            settings.boxPending = 0;  // and the last one's box is not shown over it
            StartGame(window, id - IDM_STANDARD_GAME);
            break;
        case IDM_PAUSE:
            if (!translatingHeldKey) Main_OnPause(window);  // a held space bar pauses once
            break;
        case IDM_SETTINGS: Main_OnSettings(window); break;
        case IDM_MANUAL: {
            // A player reading the manual is not playing: a running game pauses, a
            // paused one stays paused.
            if (!settings.gameOver) {
                settings.paused = 1;
                RestartFallTimer(window);
            }
            wchar_t manual[MAX_PATH];
            GameFilePath(texts[kTextManualFile], manual);
            openManual(window, manual);
            break;
        }
        case IDM_ABOUT: Main_OnAbout(window); break;
        case IDM_EXIT:
            if (!translatingHeldKey) DestroyWindow(window);  // Escape held past a box it closed quits nothing
            break;
        default: break;
    }
}

// The game's keys: the arrows, Z, X and Enter, and every key that types a character
// (the space bar, the digits, the letters, on any layout). The others (Tab, Backspace,
// Escape, the dead keys, Shift, Ctrl, the Windows and context-menu keys, the function
// keys, the lock keys, volume, media, browser and launch keys) are the system's.
bool IsGameKey(WPARAM key) {
    switch (key) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case 'Z':
        case 'X':
        case VK_RETURN: return true;
        default: return TypesGameCharacter(MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR));
    }
}

// The game's keys reach the player's well only while a game runs. While paused, the
// space bar goes through (its character then resumes through the accelerator), R
// leaves its character to open the settings over the pause, a held key does nothing,
// and any other key only resumes. Every other key goes on to the system, which makes
// app commands of the volume and media keys: it never resumes a game nor reaches a well.
LRESULT Main_OnKeyDown(HWND window, WPARAM key, LPARAM lParam) {
    if (!IsGameKey(key)) return DefWindowProcW(window, WM_KEYDOWN, key, lParam);
    if (settings.gameOver) return 0;
    if (!settings.paused || key == VK_SPACE) return SendMessageW(playerBoardWnd, WM_KEYDOWN, key, lParam);
    if (key == 'R' || (lParam & kHeldKeyBit)) return 0;
    settings.paused = 0;
    RestartFallTimer(window);
    return 0;
}

void ShowGameOverBox(HWND window) { MessageBoxW(window, texts[kTextGameOver], texts[kTextAppName], MB_OK); }

// The game is over from the moment its box opens: the box's own loop dispatches what
// reaches the main window (Wine lets keys through to a restored owner), and a key
// that went on to the well would land the refused brick again and open a second box.
// A report from a game already over is ignored. A minimized window shows no box: one
// over the desktop would disable its owner, which then would not restore. Its taskbar
// button asks for attention instead, and the box waits for the restore.
void Main_OnGameOver(HWND window) {
    if (settings.gameOver) return;
    settings.gameOver = 1;
    StopFallTimer(window);
    if (IsIconic(window)) {
        settings.boxPending = 1;
        flashTaskbar(window);
        return;
    }
    ShowGameOverBox(window);
}

// The box of a game that ended while the window was minimized, over the window
// restored and painted; once, whatever else restores it meanwhile.
void Main_OnShowGameOver(HWND window) {
    if (!settings.boxPending || IsIconic(window)) return;
    settings.boxPending = 0;
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ShowGameOverBox(window);
}

// The text size or the menu font may have changed, and with it the menu bar's height
// or the number of its lines: the client area is laid out again for the current mode,
// at once or, while the window is minimized, when it is restored.
void Main_OnSettingChange(HWND window) {
    layoutPending = IsIconic(window) != FALSE;
    if (layoutPending) return;
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(window, MainClientSize(playerBoard.mode));
}

// The taskbar, Alt+Tab, the window menu and ShowWindow all restore through here: to
// the normal size, or maximized where the window was so before it was minimized.
void Main_OnSize(HWND window, WPARAM kind) {
    if (kind != SIZE_RESTORED && kind != SIZE_MAXIMIZED) return;
    if (layoutPending) Main_OnSettingChange(window);
    // Posted, not sent as the private messages are: the box opens once the restore has
    // ended, not inside it.
    if (settings.boxPending) PostMessageW(window, UM_SHOWGAMEOVER, 0, 0);
}

// A menu (the bar after Alt or F10 or a click, a drop-down, the window menu) holds
// the game as a dialog does: its loop would let the bricks fall while the arrows move
// through it. The command chosen from it comes afterwards through the game's loop.
void Main_OnMenuLoop(HWND window, bool open) {
    fallTimer.menuOpen = open;
    RestartFallTimer(window);  // a paused game stays paused, and no game stays none
}

}  // namespace

void (*openManual)(HWND owner, const wchar_t* file) = OpenWithShell;
void (*flashTaskbar)(HWND window) = FlashTaskbarButton;
bool translatingHeldKey;

bool TypesGameCharacter(UINT mapped) { return (mapped & kDeadKeyBit) == 0 && mapped >= L' '; }

HWND CreateMainWindow(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KVADER));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
    wc.lpszClassName = texts[kTextAppName];
    RegisterClassW(&wc);
    return CreateWindowW(texts[kTextAppName], texts[kTextAppName], WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                         nullptr);
}

void CreateChildWindows(HWND window) {
    cellPixels = CellPixelsAt(ScreenDpi());
    layoutPending = false;
    RegisterBoardClasses(InstanceOf(window));
    playerBoardWnd = CreateBoardWindow(window, kLeftWinClass, 0);
    statsPanelWnd = CreateDialogParamW(InstanceOf(window), MAKEINTRESOURCEW(IDD_STATS), window, nullptr, 0);
    RECT panel;
    GetWindowRect(statsPanelWnd, &panel);
    panelWidth = panel.right - panel.left;
    // The wells and the panel's template both grow with the screen's DPI.
    clientHeight = std::max<int32_t>(panel.bottom - panel.top, BoardPixelsHigh());
    MoveWindow(statsPanelWnd, BoardPixelsWide(), 0, panelWidth, clientHeight, TRUE);
    ShowSpeed(settings.baseInterval);
    computerBoardWnd = CreateBoardWindow(window, kRightWinClass, panelWidth + BoardPixelsWide());
    // The game takes no text: keys go to it, not to an input method (an East Asian one
    // would take Z, X, the digits and Space for a composition).
    ImmAssociateContextEx(window, nullptr, 0);
    ImmAssociateContextEx(window, nullptr, IACE_CHILDREN);
    SetClientSize(window, MainClientSize(kStandardGame));
}

void StartGame(HWND window, int mode) {
    StopFallTimer(window);  // the new game's falls are counted from its start
    settings.curInterval = settings.baseInterval;
    SendMessageW(playerBoardWnd, UM_NEWGAME, static_cast<WPARAM>(mode), 0);
    ShowSpeed(settings.curInterval);
    if (mode == kVersusGame) SendMessageW(computerBoardWnd, UM_NEWGAME, kVersusGame, 1);
    SetClientSize(window, MainClientSize(mode));
    RestartFallTimer(window);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: CreateChildWindows(window); return 0;
        case WM_DESTROY:
            settings.boxPending = 0;  // a box still waiting is dropped with its window
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN: return Main_OnKeyDown(window, wParam, lParam);
        case WM_COMMAND: Main_OnCommand(window, LOWORD(wParam)); return 0;
        case WM_TIMER: FallTimerTick(); return 0;
        case WM_ENTERMENULOOP: Main_OnMenuLoop(window, true); return 0;
        case WM_EXITMENULOOP: Main_OnMenuLoop(window, false); return 0;
        case UM_GAMEOVER: Main_OnGameOver(window); return 0;
        case UM_SHOWGAMEOVER: Main_OnShowGameOver(window); return 0;
        case WM_SETTINGCHANGE: Main_OnSettingChange(window); return 0;
        case WM_SIZE: Main_OnSize(window, wParam); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}
