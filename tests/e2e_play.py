#!/usr/bin/env python3
"""Plays the real kvader.exe under Wine in the current X display with real keys, as a
player would from a folder with no brick file (a folder named kvader.dat), with the exe,
its brick file and manual copied into "e2e/Řehořovy hry": "1" starts a game, Left moves
the brick, Enter drops it, "4" widens the window by a well, Space pauses and resumes,
the manual goes to the shell by its full path, Escape ends it with exit code 0."""
import os, shutil, subprocess, sys, tempfile, time

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tools', 'wine-run')
folder, elsewhere = os.path.abspath('e2e/Řehořovy hry'), os.path.abspath('e2e/elsewhere')
shutil.rmtree('e2e', ignore_errors=True)
os.makedirs(folder), os.makedirs(os.path.join(elsewhere, 'kvader.dat'))  # a folder: no brick file
for name in ('kvader.exe', 'kvader.dat', 'Manual_CZ.html'): shutil.copy(name, folder)
output = tempfile.TemporaryFile()
game = subprocess.Popen([WINE_RUN, os.path.join(folder, 'kvader.exe')], cwd=elsewhere, stdin=subprocess.DEVNULL,
                        stdout=output, stderr=subprocess.STDOUT, start_new_session=True,
                        env=dict(os.environ, KVADER_WINEDEBUG='trace+exec'))


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


window = until(lambda: xdotool('search', '--name', '^Kvader$').split('\n')[0], 'no window named Kvader appeared', 30)
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
xdotool('key', 'space')
time.sleep(0.5)
paused = cells(False)
time.sleep(2.5)
until(lambda: cells(False) == paused, 'the brick falls while the game is paused', 1)
xdotool('key', 'space')
until(lambda: cells(False) != paused, 'the brick does not fall by itself once the game is resumed', 5)
xdotool('key', '--delay', '300', 'F10', 'Right', 'Right', 'Right', 'Down', 'Return')  # the bar's 4th item: Manuál
time.sleep(1)
xdotool('key', 'Escape')
try:
    code = game.wait(timeout=20)
except subprocess.TimeoutExpired:
    code = 'none: Escape did not end the program'
until(lambda: code == 0, f'exit code {code}, expected 0', 1)
# Wine's trace of what the shell was handed: a backslash doubled, a letter beyond ASCII as \XXXX.
windows_path = 'Z:' + os.path.join(folder, 'Manual_CZ.html').replace('/', '\\')
traced = ''.join(c if c < '\x80' else f'\\{ord(c):04x}' for c in windows_path.replace('\\', '\\\\'))
output.seek(0)
handed = [line.split(' file=')[1].split(' parm=')[0] for line in output.read().decode('utf-8', 'replace').splitlines()
          if 'SHELL_execute mask=' in line]
until(lambda: handed == [f'L"{traced}"'], f'the shell was handed {handed}, expected the manual\'s full path', 0.25)
print('played from another folder: a brick moved and dropped, versus widened the window, pause held, the brick fell,'
      ' the manual went to the shell by its full path, exit 0')
