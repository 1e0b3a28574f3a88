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
#define IDC_ROWS_LEFT 302    // left column (the player's rows in a versus game)
#define IDC_ROWS_RIGHT 303   // right column
#define IDC_SINGLES_LEFT 304
#define IDC_SINGLES_RIGHT 305
#define IDC_DOUBLES_LEFT 306
#define IDC_DOUBLES_RIGHT 307
#define IDC_TRIPLES_LEFT 308
#define IDC_TRIPLES_RIGHT 309
#define IDC_FOURS_LEFT 310
#define IDC_FOURS_RIGHT 311
#define IDC_BRICKS_TOTAL 312
#define IDC_BRICKS_TYPE0 313 // 313 + type, up to 319

#define IDS_APP_NAME 401
#define IDS_NO_BRICK_FILE 402
#define IDS_GAME_OVER 403
#define IDS_SPEED_PREFIX 404
#define IDS_BAD_SETTINGS 405
#define IDS_MANUAL_FILE 406
