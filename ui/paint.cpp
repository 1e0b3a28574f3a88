#include "ui/paint.h"

namespace {

void DrawCell(HDC dc, int column, int row) {
    const int x = column * kCellPixels, y = row * kCellPixels;
    Rectangle(dc, x, y, x + kCellPixels - 1, y + kCellPixels - 1);
}

bool IsWallOrFloor(int column, int row) {
    return column < kFirstWellColumn || column > kLastWellColumn || row >= kFloorRow;
}

}  // namespace

CellRange CellsOfRect(const RECT& area) {
    CellRange cells{area.left / kCellPixels, area.top / kCellPixels, (area.right - 1) / kCellPixels,
                    (area.bottom - 1) / kCellPixels};
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
    if (board.mode == kHintGame && board.curBrick != nullptr) {
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
        DrawBrick(dc, *board.curBrick, board.hintPos);
    }
    if (board.curBrick != nullptr) {
        SelectObject(dc, GetStockObject(BLACK_BRUSH));
        DrawBrick(dc, *board.curBrick, board.curPos);
    }
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
            SelectObject(dc, GetStockObject(filled ? BLACK_PEN : WHITE_PEN));
            SelectObject(dc, GetStockObject(brush));
            DrawCell(dc, column, row);
        }
    }
}

void DrawBrick(HDC dc, const BrickType& brick, const BrickPos& pos) {
    if (pos.rotation < 0 || pos.rotation >= kMaxRotations) return;
    SelectObject(dc, GetStockObject(BLACK_PEN));
    for (const auto& cell : brick.rotations[pos.rotation].cell) DrawCell(dc, pos.column + cell[0], pos.row + cell[1]);
}

void InvalidateBrick(HWND window, const BrickType& brick, const BrickPos& pos) {
    if (pos.rotation < 0 || pos.rotation >= kMaxRotations) return;
    const BrickRotation& rot = brick.rotations[pos.rotation];
    const RECT box{(pos.column + rot.left) * kCellPixels, (pos.row + rot.top) * kCellPixels,
                   (pos.column + rot.right) * kCellPixels + kCellPixels,
                   (pos.row + rot.bottom) * kCellPixels + kCellPixels};
    InvalidateRect(window, &box, FALSE);
}

void InvalidateRows(HWND window, int32_t topRow, int32_t bottomRow) {
    const RECT band{kFirstWellColumn * kCellPixels, topRow * kCellPixels, (kLastWellColumn + 1) * kCellPixels,
                    bottomRow * kCellPixels + kCellPixels};
    InvalidateRect(window, &band, FALSE);
}
