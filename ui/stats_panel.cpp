#include "ui/stats_panel.h"

#include <cwchar>

#include "res/resource.h"
#include "ui/run_state.h"

namespace {

constexpr int kSpeedTextLength = 256;
constexpr int kClearRows = 5;  // total, then singles to fours
constexpr int kLeftColumn[kClearRows] = {IDC_ROWS_LEFT, IDC_SINGLES_LEFT, IDC_DOUBLES_LEFT, IDC_TRIPLES_LEFT,
                                         IDC_FOURS_LEFT};

// Counts up to seven digits are shown whole (the count controls are sized for seven
// of the widest digit); larger ones in whole millions, cut down, as "12 mil.".
constexpr uint32_t kLargestWholeCount = 9999999;
constexpr uint32_t kMillion = 1000000;
constexpr int kCountTextLength = 32;

void PutNumber(HWND panel, int id, uint32_t value) {
    if (value <= kLargestWholeCount) {
        SetDlgItemInt(panel, id, value, FALSE);
        return;
    }
    wchar_t text[kCountTextLength];
    swprintf(text, kCountTextLength, L"%u %ls", value / kMillion, texts[kTextMillions]);
    SetDlgItemTextW(panel, id, text);
}

}  // namespace

void UpdateStatsPanel(HWND panel, const Board& board) {
    const bool leftColumn = board.mode == kVersusGame && board.isComputer == 0;
    const int32_t counts[kClearRows] = {board.rowsTotal, board.clearsBySize[1], board.clearsBySize[2],
                                        board.clearsBySize[3], board.clearsBySize[4]};
    for (int i = 0; i < kClearRows; ++i)
        PutNumber(panel, kLeftColumn[i] + (leftColumn ? 0 : 1), static_cast<uint32_t>(counts[i]));
    if (board.mode != kVersusGame)
        for (int id : kLeftColumn) SetDlgItemTextW(panel, id, L"");
    if (board.isComputer) return;
    PutNumber(panel, IDC_BRICKS_TOTAL, board.bricksDealt);
    for (int t = 0; t < kBrickTypes; ++t)
        PutNumber(panel, IDC_BRICKS_TYPE0 + t, static_cast<uint32_t>(board.brickTypeCount[t]));
}

void ShowSpeed(uint32_t interval) {
    wchar_t text[kSpeedTextLength];
    swprintf(text, kSpeedTextLength, L"%ls %u", texts[kTextSpeedPrefix], interval / kMsPerHundredth);
    SetDlgItemTextW(statsPanelWnd, IDC_SPEED, text);
}
