#include "ui/paint.h"

namespace {

HBRUSH Stock(int brush) { return static_cast<HBRUSH>(GetStockObject(brush)); }

// A square of the cell, its outline and the gap after it one pixel wide at 16-pixel
// cells, two at 32.
void DrawCell(HDC dc, int column, int row, HBRUSH outline, HBRUSH inside) {
    const int line = cellPixels / kCellPixels96, x = column * cellPixels, y = row * cellPixels;
    RECT square{x, y, x + cellPixels - line, y + cellPixels - line};
    FillRect(dc, &square, outline);
    InflateRect(&square, -line, -line);
    FillRect(dc, &square, inside);
}

bool IsWallOrFloor(int column, int row) {
    return column < kFirstWellColumn || column > kLastWellColumn || row >= kFloorRow;
}

}  // namespace

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int CellPixelsAt(int dpi) {
    constexpr int kStandardDpi = 96;
    return dpi > kStandardDpi ? MulDiv(kCellPixels96, dpi, kStandardDpi) : kCellPixels96;
}

CellRange CellsOfRect(const RECT& area) {
    CellRange cells{area.left / cellPixels, area.top / cellPixels, (area.right - 1) / cellPixels,
                    (area.bottom - 1) / cellPixels};
    if (cells.lastColumn > kGridColumns - 1) cells.lastColumn = kGridColumns - 1;
    if (cells.lastRow > kGridRows - 1) cells.lastRow = kGridRows - 1;
    return cells;
}

void PaintBoard(HWND window, const Board& board) {
    RECT area;
    if (!GetUpdateRect(window, &area, TRUE)) return;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintBoardArea(dc, board, area);
    EndPaint(window, &ps);
}

void PaintBoardArea(HDC dc, const Board& board, const RECT& area) {
    const CellRange cells = CellsOfRect(area);
    PaintCells(dc, board.grid, cells.firstColumn, cells.firstRow, cells.lastColumn, cells.lastRow);
    if (board.mode == kHintGame && board.curBrick != nullptr)
        DrawBrick(dc, *board.curBrick, board.hintPos, Stock(WHITE_BRUSH));
    if (board.curBrick != nullptr) DrawBrick(dc, *board.curBrick, board.curPos, Stock(BLACK_BRUSH));
}

void PaintCells(HDC dc, const uint8_t (&grid)[kGridColumns][kGridRows], int firstColumn, int firstRow, int lastColumn,
                int lastRow) {
    if (firstColumn < 0) firstColumn = 0;
    if (firstRow < 0) firstRow = 0;
    if (lastColumn > kGridColumns - 1) lastColumn = kGridColumns - 1;
    if (lastRow > kGridRows - 1) lastRow = kGridRows - 1;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const bool filled = grid[column][row] != 0;
            const int brush = !filled ? WHITE_BRUSH : IsWallOrFloor(column, row) ? GRAY_BRUSH : LTGRAY_BRUSH;
            DrawCell(dc, column, row, Stock(filled ? BLACK_BRUSH : WHITE_BRUSH), Stock(brush));
        }
    }
}

void DrawBrick(HDC dc, const BrickType& brick, const BrickPos& pos, HBRUSH inside) {
    if (pos.rotation < 0 || pos.rotation >= kMaxRotations) return;
    for (const auto& cell : brick.rotations[pos.rotation].cell)
        DrawCell(dc, pos.column + cell[0], pos.row + cell[1], Stock(BLACK_BRUSH), inside);
}

void InvalidateBrick(HWND window, const BrickType& brick, const BrickPos& pos) {
    if (pos.rotation < 0 || pos.rotation >= kMaxRotations) return;
    const BrickRotation& rot = brick.rotations[pos.rotation];
    const RECT box{(pos.column + rot.left) * cellPixels, (pos.row + rot.top) * cellPixels,
                   (pos.column + rot.right + 1) * cellPixels, (pos.row + rot.bottom + 1) * cellPixels};
    InvalidateRect(window, &box, FALSE);
}

void InvalidateRows(HWND window, int32_t topRow, int32_t bottomRow) {
    const RECT band{kFirstWellColumn * cellPixels, topRow * cellPixels, (kLastWellColumn + 1) * cellPixels,
                    (bottomRow + 1) * cellPixels};
    InvalidateRect(window, &band, FALSE);
}
