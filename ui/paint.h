// Drawing a board window cell by cell, and marking the parts of it that changed.
// At 96 DPI a cell is 16 x 16 pixels drawn as a 15 x 15 square with a one-pixel
// outline; the 16th row and column of pixels stay the white background, which draws
// the lines between the cells. At a higher DPI everything grows with the cell.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/board.h"
#include "ui/run_state.h"

inline constexpr int kCellPixels96 = 16;  // a cell at 96 DPI and below

// The DPI the screen is shown at, as the program sees it (LOGPIXELSY).
int ScreenDpi();

// A cell's side at a screen of dpi dots per inch: 16 pixels at 96 DPI and below,
// and as many more as the DPI is higher (20 at 120, 24 at 144, 32 at 192).
int CellPixelsAt(int dpi);

// A board window's size at the current cellPixels: 12 x 25 cells.
inline int BoardPixelsWide() { return kGridColumns * cellPixels; }
inline int BoardPixelsHigh() { return kGridRows * cellPixels; }

// Cells from firstColumn..lastColumn and firstRow..lastRow, inclusive.
struct CellRange {
    int firstColumn, firstRow, lastColumn, lastRow;
};

// The cells an update rectangle touches (right and bottom exclusive), the last
// column clamped to 11 and the last row to 24.
CellRange CellsOfRect(const RECT& area);

// WM_PAINT of a board window: paints the cells of the update rectangle, then the hint
// (hint mode) and the falling brick. Does not call BeginPaint when nothing is invalid.
void PaintBoard(HWND window, const Board& board);

// The painter behind PaintBoard: cells of the area, hint, falling brick, into dc. Apart
// from PaintBoard, the tests call it to paint into a memory bitmap.
void PaintBoardArea(HDC dc, const Board& board, const RECT& area);

// Draws the grid cells of the range, rows top to bottom, each left to right; the last
// column is clamped to at most 11 and the last row to at most 24.
void PaintCells(HDC dc, const uint8_t (&grid)[kGridColumns][kGridRows], int firstColumn, int firstRow, int lastColumn,
                int lastRow);

// Draws the four cells of brick at pos: a black outline filled with inside.
void DrawBrick(HDC dc, const BrickType& brick, const BrickPos& pos, HBRUSH inside);

// Marks the box of brick at pos for repaint, without erasing.
void InvalidateBrick(HWND window, const BrickType& brick, const BrickPos& pos);

// Marks columns 1 to 10 of rows topRow..bottomRow for repaint, without erasing.
void InvalidateRows(HWND window, int32_t topRow, int32_t bottomRow);
