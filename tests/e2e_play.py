#!/usr/bin/env python3
"""The real kvader.exe, copied with its brick file and manual into "e2e/Řehořovy hry", played under Wine with real
keys from a folder with a broken kvader.dat (refused), then from one without (a game, the versus window, the
manual beside the exe in the browser, Escape). docs/testing.md says what each step checks."""
import os, shutil, subprocess, sys, time, urllib.parse

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
WINE_RUN, BROKEN = f'{SOURCE}/tools/wine-run', f'{SOURCE}/fuzz/corpus/brick_file/broken-ends-early.dat'
folder, elsewhere, broken = (os.path.abspath(f'e2e/{name}') for name in ('Řehořovy hry', 'elsewhere', 'broken'))
browsers = os.path.abspath('e2e/browsers')  # the stand-ins, and what they were given
opened = os.path.join(browsers, 'opened')
shutil.rmtree('e2e', ignore_errors=True)
os.makedirs(folder), os.makedirs(os.path.join(elsewhere, 'kvader.dat'))  # a folder: no brick file
os.makedirs(broken), os.makedirs(browsers), shutil.copy(BROKEN, os.path.join(broken, 'kvader.dat'))
for name in ('kvader.exe', 'kvader.dat', 'Manual_CZ.html'): shutil.copy(name, folder)
for name in ('xdg-open', 'firefox', 'konqueror', 'mozilla', 'opera', 'dillo'):  # Wine's launcher's list
    open(os.path.join(browsers, name), 'w').write(f'#!/bin/sh\necho "$(basename "$0") $*" >>"{opened}"\n')
    os.chmod(os.path.join(browsers, name), 0o755)


def start(where):
    return subprocess.Popen([WINE_RUN, os.path.join(folder, 'kvader.exe')], cwd=where, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, start_new_session=True,
                            env=dict(os.environ, PATH=browsers + os.pathsep + os.environ['PATH']))


game = start(broken)


def xdotool(*args):
    return subprocess.run(['xdotool', *args], capture_output=True, text=True).stdout.strip()


def until(check, what, timeout=20.0):
    """Polls until check() gives a true value, and returns it: the game answers at its own pace."""
    for _ in range(int(timeout / 0.25)):
        found = check()
        if found:
            return found
        time.sleep(0.25)
    print('FAIL:', what)
    os.killpg(game.pid, 9)
    sys.exit(1)


def geometry():
    return [int(v.split('=')[1]) for v in xdotool('getwindowgeometry', '--shell', window).splitlines()[1:5]]


def screen():
    x, y, width, height = geometry()
    data = subprocess.run(['import', '-window', 'root', '-crop', f'{width}x{height}+{x}+{y}', '-depth', '8', 'rgb:-'],
                          capture_output=True).stdout
    return lambda px, py: data[(py * width + px) * 3:][:3]


def cells(grey):
    """The well's cells drawn black (falling) or light grey (fixed), 16 pixels a cell."""
    pixel, colour = screen(), bytes([192] * 3 if grey else [0] * 3)
    return {(c, r) for c in range(1, 11) for r in range(24) if pixel(c * 16 + 7, top + r * 16 + 7) == colour}


def ended(code_wanted, what):
    try:
        code = game.wait(timeout=20)
    except subprocess.TimeoutExpired:
        code = f'none: {what} did not end the program'
    until(lambda: code == code_wanted, f'exit code {code}, expected {code_wanted}', 0.25)


# The broken file in the current folder is the one asked for: refused, whatever lies beside the exe.
# Only a visible window is looked for: one not yet mapped takes no focus, and the box's key would be lost.
box = until(lambda: xdotool('search', '--onlyvisible', '--name', '^Kvader$').split('\n')[0],
            'no box for the broken brick file', 30)
xdotool('windowfocus', '--sync', box)
xdotool('key', 'Return')
ended(1, 'Enter on the box')
game = start(elsewhere)
window = until(lambda: xdotool('search', '--onlyvisible', '--name', '^Kvader$').split('\n')[0],
               'no window named Kvader appeared', 30)
time.sleep(1)
xdotool('windowfocus', '--sync', window)
narrow = geometry()[2]
pixel = screen()  # the well's top: the first wall cell, grey inside a black outline, below the menu
top = next(t for t in range(200) if all(pixel(7, t + i) == bytes([128] * 3) for i in range(12))) - 1
for key, check, what in [
        ('1', lambda: len(cells(False)) == 4 and min(cells(False))[0] == 4, '"1" shows a brick at the spawn place'),
        ('Left', lambda: len(cells(False)) == 4 and min(cells(False))[0] == 3, 'Left moves the brick'),
        ('Return', lambda: len(cells(True)) == 4 and min(cells(True), key=lambda c: c[1])[1] >= 20,
         'Enter drops and fixes the brick'),
        ('4', lambda: geometry()[2] == narrow + 12 * 16, '"4" widens the window by one well')]:
    xdotool('key', key)
    until(check, what)
xdotool('key', '--delay', '300', 'F10', 'Right', 'Right', 'Right', 'Down', 'Return')  # the bar's 4th item: Manuál
# Wine's launcher runs after the menu command, and hands the browser the manual beside the exe.
url = 'file://' + urllib.parse.quote(os.path.join(folder, 'Manual_CZ.html'))
until(lambda: os.path.exists(opened), 'no browser was asked to open the manual')
time.sleep(0.5)  # any other browser the launcher tried
with open(opened) as f:
    asked = f.read().splitlines()
until(lambda: asked == [f'xdg-open {url}'], f'the browsers were asked {asked}, expected the manual\'s URL {url}', 0.25)
xdotool('key', 'Escape')
ended(0, 'Escape')
print('refused a broken brick file here with a good one beside the exe (exit 1); played from another folder:'
      ' a brick moved and dropped, versus widened the window, the manual beside the exe'
      ' opened in the browser, exit 0')
