// Board painting into a memory bitmap, checked pixel by pixel, and the rectangles
// that mark a brick or a band of rows for repaint.
#include <cstring>

#include "test_boards.h"
#include "ui/paint.h"
#include "ui/run_state.h"
#include "ui_harness.h"

namespace {

constexpr COLORREF kUntouched = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr COLORREF kLightGray = RGB(192, 192, 192), kGray = RGB(128, 128, 128);

// A memory bitmap of one board window, filled with a colour no cell uses.
class Canvas {
  public:
    Canvas() {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, kBoardPixelsWide, kBoardPixelsHigh);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH fill = CreateSolidBrush(kUntouched);
        RECT all{0, 0, kBoardPixelsWide, kBoardPixelsHigh};
        FillRect(dc_, &all, fill);
        DeleteObject(fill);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF Outline(int column, int row) const { return GetPixel(dc_, column * 16, row * 16); }
    COLORREF Inside(int column, int row) const { return GetPixel(dc_, column * 16 + 7, row * 16 + 7); }
    COLORREF Gap(int column, int row) const { return GetPixel(dc_, column * 16 + 15, row * 16 + 15); }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TEST(Paint, UpdateRectangleCoversWholeCellsAndIsClamped) {
    const struct {
        RECT area;
        CellRange cells;
    } cases[] = {
        // clang-format off
        {{0, 0, 192, 400}, {0, 0, 11, 24}}, {{16, 0, 176, 384}, {1, 0, 10, 23}}, {{20, 5, 33, 17}, {1, 0, 2, 1}},
        {{0, 0, 17, 16}, {0, 0, 1, 0}},     {{100, 200, 500, 900}, {6, 12, 11, 24}},
        {{0, 390, 16, 420}, {0, 24, 0, 24}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const CellRange got = CellsOfRect(c.area);
        EXPECT_EQ(0, memcmp(&got, &c.cells, sizeof got))
            << c.area.left << "," << c.area.top << "," << c.area.right << "," << c.area.bottom;
    }
}

TEST(Paint, CellsTakeTheirColoursAndLeaveTheSixteenthLine) {
    const Board board = Well("##.......#");
    Canvas canvas;
    PaintCells(canvas.dc(), board.grid, -3, -5, 40, 90);  // clamped to the grid
    const struct {
        const char* what;
        int column, row;
        COLORREF outline, inside;
    } cells[] = {
        {"empty", 5, 10, kWhite, kWhite},
        {"fixed", 1, 23, kBlack, kLightGray},
        {"fixed, last column", 10, 23, kBlack, kLightGray},
        {"left wall", 0, 3, kBlack, kGray},
        {"top corner", 0, 0, kBlack, kGray},
        {"right wall", 11, 20, kBlack, kGray},
        {"floor", 6, 24, kBlack, kGray},
        {"corner", 11, 24, kBlack, kGray},
    };
    for (const auto& c : cells) {
        EXPECT_EQ(canvas.Outline(c.column, c.row), c.outline) << c.what;
        EXPECT_EQ(canvas.Inside(c.column, c.row), c.inside) << c.what;
        EXPECT_EQ(canvas.Gap(c.column, c.row), kUntouched) << c.what << ": the 16th pixel line is never drawn";
    }
}

TEST(Paint, OnlyTheCellsOfTheRangeAreDrawn) {
    Board board = Well();
    Canvas canvas;
    PaintBoardArea(canvas.dc(), board, RECT{20, 5, 33, 17});
    for (int column = 0; column < kGridColumns; ++column)
        for (int row = 0; row < kGridRows; ++row) {
            const bool inRange = column >= 1 && column <= 2 && row <= 1;
            EXPECT_EQ(canvas.Inside(column, row), inRange ? kWhite : kUntouched) << column << "," << row;
        }
}

TEST(Paint, FallingBrickIsBlackAndCoversTheHint) {
    for (int mode : {kStandardGame, kAutomaticGame, kHintGame, kVersusGame}) {
        Board board = Well();
        board.mode = mode;
        board.curBrick = &brickTable.types[kSquare];
        board.curPos = BrickPos{0, 4, 10};
        board.hintPos = BrickPos{0, 1, 22};
        Canvas canvas;
        PaintBoardArea(canvas.dc(), board, RECT{0, 0, 192, 400});
        EXPECT_EQ(canvas.Inside(4, 10), kBlack) << "mode " << mode;
        EXPECT_EQ(canvas.Outline(5, 11), kBlack) << "mode " << mode;
        const COLORREF hintOutline = mode == kHintGame ? kBlack : kWhite;
        EXPECT_EQ(canvas.Outline(1, 22), hintOutline) << "mode " << mode << ": hint only in the hint game";
        EXPECT_EQ(canvas.Inside(2, 23), kWhite) << "mode " << mode;

        board.hintPos = board.curPos;  // hint straight under the brick
        Canvas covered;
        PaintBoardArea(covered.dc(), board, RECT{0, 0, 192, 400});
        EXPECT_EQ(covered.Inside(4, 10), kBlack) << "mode " << mode << ": the brick hides the hint";
    }
    // Nothing for the computer's board before its first brick, nor for a brick at a
    // rotation out of range, as a hint left from another brick could be.
    Board board = Well();
    board.mode = kHintGame;
    for (int rotation : {0, -1, kMaxRotations}) {
        board.curBrick = rotation == 0 ? nullptr : &brickTable.types[kBar];
        board.curPos = board.hintPos = BrickPos{rotation, 4, 10};
        Canvas canvas;
        PaintBoardArea(canvas.dc(), board, RECT{0, 0, 192, 400});
        for (int column = 1; column <= 10; ++column)
            for (int row = 0; row < kWellRows; ++row)
                EXPECT_EQ(canvas.Outline(column, row), kWhite) << rotation << ": " << column << "," << row;
    }
}

TEST(Paint, BrickAndRowBandsAreMarkedExactlyWithoutErasing) {
    ValidateRect(playerBoardWnd, nullptr);
    UiHarness::erases = 0;
    InvalidateBrick(playerBoardWnd, brickTable.types[kBar], BrickPos{1, 5, 3});  // upright bar, local column 1
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {RECT{96, 48, 112, 112}}));
    ValidateRect(playerBoardWnd, nullptr);
    InvalidateRows(playerBoardWnd, 19, 23);
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {RECT{16, 304, 176, 384}}));
    UpdateWindow(playerBoardWnd);
    EXPECT_EQ(UiHarness::erases, 0);
    EXPECT_TRUE(UpdateRegionIs(playerBoardWnd, {}));
}

}  // namespace
