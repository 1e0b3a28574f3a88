// Resource ids, shared by the resource script and the C++ code, grouped by range:
// icon 1xx, menu 2xx, statistics panel 3xx, strings 4xx, settings 5xx, about 6xx,
// accelerators 7xx.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDI_KVADER 100

#define IDD_STATS 300
#define IDC_SPEED 301
#define IDC_ROWS_LEFT 302   // left column (the player's rows in a versus game)
#define IDC_ROWS_RIGHT 303  // right column
#define IDC_SINGLES_LEFT 304
#define IDC_SINGLES_RIGHT 305
#define IDC_DOUBLES_LEFT 306
#define IDC_DOUBLES_RIGHT 307
#define IDC_TRIPLES_LEFT 308
#define IDC_TRIPLES_RIGHT 309
#define IDC_FOURS_LEFT 310
#define IDC_FOURS_RIGHT 311
#define IDC_BRICKS_TOTAL 312
#define IDC_BRICKS_TYPE0 313    // 313 + type, up to 319
#define IDC_BRICK_PICTURE0 320  // 320 + type, up to 326: the black pieces of each type's picture
#define IDC_BRICK_PICTURE1 321
#define IDC_BRICK_PICTURE2 322
#define IDC_BRICK_PICTURE3 323
#define IDC_BRICK_PICTURE4 324
#define IDC_BRICK_PICTURE5 325
#define IDC_BRICK_PICTURE6 326

#define IDS_APP_NAME 401
#define IDS_NO_BRICK_FILE 402
#define IDS_GAME_OVER 403
#define IDS_SPEED_PREFIX 404
#define IDS_BAD_SETTINGS 405
#define IDS_MANUAL_FILE 406
#define IDS_MILLIONS 407

#define IDM_MAIN 200
#define IDM_STANDARD_GAME 201  // 201 + GameMode, up to 204
#define IDM_AUTOMATIC_GAME 202
#define IDM_HINT_GAME 203
#define IDM_VERSUS_GAME 204
#define IDM_PAUSE 205
#define IDM_SETTINGS 206
#define IDM_MANUAL 207
#define IDM_ABOUT 208
#define IDM_EXIT 209

#define IDD_SETTINGS 500
#define IDC_SPEED_EDIT 501
#define IDC_ACCEL_EDIT 502
#define IDC_INTENSITY_EDIT 504
#define IDC_RANDOM_RADIO 510  // 510 + SelectionMode, up to 512
#define IDC_SUITABLE_RADIO 511
#define IDC_UNSUITABLE_RADIO 512

#define IDD_ABOUT 600

#define IDA_MAIN 700
