#!/usr/bin/env python3
"""Plays the real kvader.exe under Wine in the current X display with real key
presses and checks what the screen shows: a game starts on "1", the brick moves,
turns and drops, "4" widens the window, the space bar pauses, Escape ends the
program with exit code 0. Run from the folder that holds kvader.exe and kvader.dat."""
import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, '..', 'tools', 'wine-run')
BLACK, LIGHT_GREY, GREY = (0, 0, 0), (192, 192, 192), (128, 128, 128)
CELL = 16


game = None  # the running program, ended on failure


def fail(message):
    print('FAIL:', message)
    if game is not None and game.poll() is None:
        os.killpg(game.pid, signal.SIGKILL)
    sys.exit(1)


def xdotool(*args):
    return subprocess.run(['xdotool', *args], capture_output=True, text=True).stdout.strip()


def key(name):
    xdotool('key', name)


def wait_until(check, what, timeout=10.0):
    """Polls the screen until check() holds: the game answers keys at its own pace."""
    deadline = time.time() + timeout
    while not check():
        if time.time() > deadline:
            fail(what)
        time.sleep(0.2)


def geometry(window):
    values = dict(line.split('=') for line in xdotool('getwindowgeometry', '--shell', window).splitlines())
    return int(values['X']), int(values['Y']), int(values['WIDTH']), int(values['HEIGHT'])


def screenshot():
    """The whole screen as rows of (r, g, b)."""
    data = subprocess.run(['import', '-window', 'root', '-depth', '8', 'ppm:-'], capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:  # P6 width height maxval, each after white space
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    return lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3])


def board_origin(window):
    """Screen position of the player's well: found by the grey wall cell at its top left."""
    x, y, _, height = geometry(window)
    pixel = screenshot()
    for top in range(y, y + height - CELL):
        if all(pixel(x + 7, top + i) == GREY for i in range(12)):
            return x, top - 1
    fail('the well is not on the screen')


def cells(origin, kind):
    pixel = screenshot()
    return {(c, r) for c in range(1, 11) for r in range(24)
            if pixel(origin[0] + c * CELL + 7, origin[1] + r * CELL + 7) == kind}


def leftmost(cellset):
    return min((c for c, _ in cellset), default=-1)


def shape(cellset):
    if not cellset:
        return frozenset()
    left = leftmost(cellset)
    top = min(r for _, r in cellset)
    return frozenset((c - left, r - top) for c, r in cellset)


def load_bricks(path):
    numbers = [int(n) for n in open(path).read().split()]
    bricks, i = [], 0
    for _ in range(7):
        count, i = numbers[i], i + 1
        rotations = []
        for _ in range(count):
            rotations.append([(numbers[i + 2 * k], numbers[i + 2 * k + 1]) for k in range(4)])
            i += 8
        bricks.append(rotations)
    return bricks


def main():
    global game
    bricks = load_bricks('kvader.dat')
    game = subprocess.Popen([WINE_RUN, 'kvader.exe'], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    window = ''
    for _ in range(60):
        window = xdotool('search', '--name', '^Kvader$').split('\n')[0]
        if window:
            break
        time.sleep(0.5)
    if not window:
        fail('no window named Kvader appeared')
    time.sleep(1)
    xdotool('windowfocus', '--sync', window)
    origin = board_origin(window)
    narrow = geometry(window)[2]

    key('1')
    wait_until(lambda: len(cells(origin, BLACK)) == 4, '"1" should show a falling brick')
    falling = cells(origin, BLACK)
    types = [t for t, rotations in enumerate(bricks) if shape(falling) == shape(rotations[0])]
    if not types or leftmost(falling) != 4:
        fail('"1" should show a brick at the spawn place, found %s' % sorted(falling))
    rotations = bricks[types[0]]

    key('Left')
    wait_until(lambda: leftmost(cells(origin, BLACK)) == 3, 'Left should move the brick to column 3')
    key('Right')
    wait_until(lambda: leftmost(cells(origin, BLACK)) == 4, 'Right should move the brick back to column 4')
    key('z')
    turned = rotations[1 % len(rotations)]
    wait_until(lambda: shape(cells(origin, BLACK)) == shape(turned) and
               leftmost(cells(origin, BLACK)) == 4 + min(dx for dx, _ in turned),
               'Z should turn the brick to its next rotation')
    key('Return')
    wait_until(lambda: len(cells(origin, LIGHT_GREY)) == 4, 'Enter should drop and fix the brick')
    if min(r for _, r in cells(origin, LIGHT_GREY)) < 20:
        fail('the dropped brick should lie at the bottom, found %s' % sorted(cells(origin, LIGHT_GREY)))
    wait_until(lambda: len(cells(origin, BLACK)) == 4, 'a new brick should fall after the landing')

    key('4')
    wait_until(lambda: geometry(window)[2] == narrow + 12 * CELL, '"4" should widen the window by one well')
    key('space')
    time.sleep(0.5)
    paused = cells(origin, BLACK)
    time.sleep(2.5)
    if cells(origin, BLACK) != paused:
        fail('the brick should not fall while the game is paused')
    x, y, width, height = geometry(window)
    subprocess.run(['import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (width, height, x, y),
                    'kvader-screenshot.png'])

    key('Escape')
    try:
        code = game.wait(timeout=20)
    except subprocess.TimeoutExpired:
        fail('Escape should end the program')
    if code != 0:
        fail('exit code %d, expected 0' % code)
    print('played: brick type %d moved, turned and dropped; versus widened; pause held; exit 0' % types[0])


if __name__ == '__main__':
    main()
