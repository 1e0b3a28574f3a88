#!/usr/bin/env python3
"""kvader-sim from the outside. Fixed seeds must give the recorded files of
tests/golden byte for byte, with one thread or two (the Windows build under Wine
too); bad arguments and unusable files get the usage or a message naming the problem.

Usage: sim_test.py [--recorded-only | --golden] COMMAND...   (COMMAND runs kvader-sim
from the folder that holds kvader.dat; --recorded-only, for Wine, skips the summaries
and the bad arguments; --golden rewrites the recorded files instead)."""
import os, subprocess, sys, tempfile

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'golden')
WORSE = ['--selection', 'worse', '--intensity', '5']
# A .csv comes from --csv, a .log (every landing of every game) from --log, a .txt is
# the summary without its speed line.
RECORDED = [
    ('random.csv', ['--games', '6', '--seed', '1']),
    ('worse.csv', ['--games', '8', '--seed', '1000', *WORSE]),
    ('better.csv', ['--games', '4', '--seed', '4294967294', '--selection', 'better', '--intensity', '2',
                    '--max-bricks', '2000']),  # the seeds of games 2 and 3 wrap round to 0 and 1
    ('random.log', ['--games', '2', '--seed', '1']),  # a short game and a long one
    ('better.log', ['--games', '2', '--seed', '4294967295', '--selection', 'better', '--intensity', '2',
                    '--max-bricks', '1500']),  # capped, the second from seed 0
    ('worse.log', ['--games', '8', '--seed', '1000', *WORSE]),  # short games, each ends with its refused brick
    ('worse-summary.txt', ['--games', '8', '--seed', '1000', *WORSE]),
    ('worse-40-summary.txt', ['--games', '40', '--seed', '2000', *WORSE]),  # beyond the t table
]
BAD = [(['--games', '0'], 'a whole number from 1 to 100000000'), (['--games', 'abc'], "is expected, not 'abc'"),
       (['--games'], '--games'), (['--seed', '-1'], 'a whole number from 0 to 4294967295'),
       (['--seed', '4294967296'], "not '4294967296'"), (['--selection', 'best'], 'best not in {better,random,worse}'),
       (['--intensity', '0'], 'from 1 to 2147483647'), (['--intensity', '2147483648'], 'from 1 to 2147483647'),
       (['--max-bricks', '0'], 'from 1 to 4294967295'), (['--jobs', '0'], 'from 1 to 1024'),
       (['--unknown'], '--unknown'), (['stray'], 'stray')]
mode = sys.argv[1] if sys.argv[1] in ('--recorded-only', '--golden') else None
command, failures = sys.argv[2:] if mode else sys.argv[1:], []


def check(ok, what):
    failures.extend([what] * (not ok)) or ok or print('FAIL:', what)


def run(args, cwd=None):
    return subprocess.run(command + args, capture_output=True, text=True, timeout=120, cwd=cwd)


with tempfile.TemporaryDirectory() as work:
    for name, args in RECORDED:
        out, kind = os.path.join(work, name), name.split('.')[1]
        if kind == 'txt' and mode == '--recorded-only':
            continue  # printf may round a half differently on Windows: the summary is the host's
        for jobs in ['2'] if mode or kind == 'txt' else ['1', '2']:  # the summary names its jobs
            r = run(args + ['--jobs', jobs] + ({'csv': ['--csv', out], 'log': ['--log', out]}.get(kind, [])))
            got = ''.join(line + '\n' for line in r.stdout.splitlines() if not line.startswith('speed')) \
                if kind == 'txt' else open(out, newline='').read()
            if mode == '--golden':
                open(os.path.join(GOLDEN, name), 'w', newline='').write(got)
                continue
            want = open(os.path.join(GOLDEN, name), newline='').read()
            g, w = got.split('\n'), want.split('\n')
            first = next((i for i, (a, b) in enumerate(zip(g, w)) if a != b), min(len(g), len(w)) - 1)
            check(r.returncode == 0 and got == want, f'{name} --jobs {jobs}: exit {r.returncode}, '
                  f'line {first + 1} is {g[first:first + 1]}, recorded {w[first:first + 1]}')
    for args, message in BAD if not mode else []:
        r = run(args + ['--games', '1'] if args[0] != '--games' else args)
        check(r.returncode == 2 and 'Usage:' in r.stdout + r.stderr and message in r.stderr.split('\n')[0],
              f'{args}: exit {r.returncode}, expected 2 with the usage and {message!r}: {r.stderr}')
    open(os.path.join(work, 'broken.dat'), 'w').write('1 0 0 1 0 2 0 x')
    csv = os.path.join(work, 'untouched.csv')
    for args, cwd, named in [] if mode else [
            (['--data', os.path.join(work, 'none.dat'), '--csv', csv], None, 'none.dat'),
            (['--csv', csv], work, 'not in the current folder; name one with --data'),
            (['--data', os.path.join(work, 'broken.dat'), '--csv', csv], None, 'exists but is not a valid brick file'),
            (['--csv', os.path.join(work, 'no', 'x.csv')], None, 'x.csv'),
            (['--csv', csv, '--log', os.path.join(work, 'no', 'x.log')], None, 'x.log')]:
        r = run(['--games', '1'] + args, cwd)
        check(r.returncode == 1 and named in r.stderr, f'{args}: exit {r.returncode}, stderr {r.stderr!r}')
    check(not os.path.exists(csv), 'a refused run created the CSV file')
print(f'{len(failures)} failures')
sys.exit(1 if failures else 0)
