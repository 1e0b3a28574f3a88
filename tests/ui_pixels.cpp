#include "ui_pixels.h"

#include <string>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr COLORREF kLightGray = RGB(192, 192, 192), kGray = RGB(128, 128, 128);
constexpr COLORREF kHint = RGB(255, 255, 254);  // stands for white inside a black outline

void PutBrick(COLORREF (&want)[kGridColumns][kGridRows], const Board& board, const BrickPos& pos, COLORREF colour) {
    if (pos.rotation < 0 || pos.rotation >= board.curBrick->rotationCount) return;
    for (const auto& cell : board.curBrick->rotations[pos.rotation].cell)
        want[pos.column + cell[0]][pos.row + cell[1]] = colour;
}

}  // namespace

::testing::AssertionResult PaintedAsItsBoard(HWND window, const Board& board) {
    COLORREF want[kGridColumns][kGridRows];
    for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < kGridRows; ++r) {
            const bool wall = c == 0 || c == kGridColumns - 1 || r == kFloorRow;
            want[c][r] = board.grid[c][r] == 0 ? kWhite : wall ? kGray : kLightGray;
        }
    if (board.curBrick) {
        if (board.mode == kHintGame) PutBrick(want, board, board.hintPos, kHint);
        PutBrick(want, board, board.curPos, kBlack);
    }
    UpdateWindow(window);
    HDC dc = GetDC(window);
    std::string wrong;
    int faults = 0;
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            // The middle of the cell and its outline, which is black for every cell but an empty one.
            const COLORREF inside = want[c][r] == kHint ? kWhite : want[c][r];
            const COLORREF outline = want[c][r] == kWhite ? kWhite : kBlack;
            const COLORREF got = GetPixel(dc, c * 16 + 7, r * 16 + 7), edge = GetPixel(dc, c * 16, r * 16 + 7);
            if ((got != inside || edge != outline) && ++faults <= 4)
                wrong += " cell " + std::to_string(c) + "," + std::to_string(r) + " is " + std::to_string(got) + "/" +
                         std::to_string(edge) + " not " + std::to_string(inside) + "/" + std::to_string(outline) + ";";
        }
    ReleaseDC(window, dc);
    if (faults == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << faults << " cells painted wrong:" << wrong;
}
