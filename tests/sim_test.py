#!/usr/bin/env python3
"""kvader-sim from the outside: fixed seeds give the recorded files in tests/golden,
byte for byte, with one thread or two; bad arguments and unusable files get the usage
or a message and their exit codes. The recorded files are shared by every build, so
the Windows build under Wine must write what the host build writes.

Usage: sim_test.py [--recorded-only | --golden] COMMAND...   (COMMAND runs kvader-sim
from the folder that holds kvader.dat; --recorded-only skips the summary and the
argument cases, for Wine; --golden rewrites the recorded files instead of comparing)."""
import os
import subprocess
import sys
import tempfile

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'golden')

# Each recorded file and the arguments that make it: a .csv comes from --csv, a .log
# (every brick of every game) from --log, a .txt is the summary without its speed line.
RECORDED = [
    ('random.csv', ['--games', '6', '--seed', '1']),
    ('worse.csv', ['--games', '8', '--seed', '1000', '--selection', 'worse', '--intensity', '5']),
    # the seeds of games 2 and 3 wrap round to 0 and 1
    ('better.csv', ['--games', '4', '--seed', '4294967294', '--selection', 'better', '--intensity', '2',
                    '--max-bricks', '2000']),
    # a short and a long game of random bricks
    ('random.log', ['--games', '2', '--seed', '1']),
    # two games capped at 1500 bricks, the second from seed 0
    ('better.log', ['--games', '2', '--seed', '4294967295', '--selection', 'better', '--intensity', '2',
                    '--max-bricks', '1500']),
    # eight short games, each ending with its refused brick
    ('worse.log', ['--games', '8', '--seed', '1000', '--selection', 'worse', '--intensity', '5']),
    ('worse-summary.txt', ['--games', '8', '--seed', '1000', '--selection', 'worse', '--intensity', '5']),
]

# Each refused with the usage and a message that names the problem.
BAD_ARGUMENTS = [
    (['--games', '0'], 'a whole number from 1 to 100000000'), (['--games', 'abc'], "is expected, not 'abc'"),
    (['--games'], '--games'), (['--seed', '-1'], 'a whole number from 0 to 4294967295'),
    (['--seed', '4294967296'], "not '4294967296'"), (['--selection', 'best'], 'best not in {better,random,worse}'),
    (['--intensity', '0'], 'from 1 to 2147483647'), (['--intensity', '2147483648'], 'from 1 to 2147483647'),
    (['--max-bricks', '0'], 'from 1 to 4294967295'), (['--jobs', '0'], 'from 1 to 1024'),
    (['--unknown'], '--unknown'), (['stray'], 'stray'),
]

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print('FAIL:', what)


def run(command, args):
    return subprocess.run(command + args, capture_output=True, text=True, timeout=120)


def output(command, name, args, jobs, workdir):
    """What the run writes for the recorded file name (printf may round a half
    differently on Windows, so the summary is the host's alone)."""
    out = os.path.join(workdir, name)
    option = {'.csv': ['--csv', out], '.log': ['--log', out]}.get(os.path.splitext(name)[1], [])
    r = run(command, args + ['--jobs', jobs] + option)
    check(r.returncode == 0, f'{name} --jobs {jobs}: exit code {r.returncode}\n{r.stdout}{r.stderr}')
    if not option:
        return ''.join(line + '\n' for line in r.stdout.splitlines() if not line.startswith('speed')).encode()
    with open(out, 'rb') as f:
        return f.read()


def recorded(command, workdir, with_summary, rewrite):
    for name, args in RECORDED:
        if name.endswith('.txt') and not with_summary:
            continue
        path = os.path.join(GOLDEN, name)
        if rewrite:
            with open(path, 'wb') as f:
                f.write(output(command, name, args, '2', workdir))
            continue
        with open(path, 'rb') as f:
            expected = f.read()
        for jobs in ('1', '2') if not name.endswith('.txt') else ('2',):  # the summary names its jobs
            got = output(command, name, args, jobs, workdir)
            first = next((i for i, (a, b) in enumerate(zip(got.splitlines(), expected.splitlines())) if a != b),
                         min(len(got.splitlines()), len(expected.splitlines())))
            check(got == expected, f'{name} --jobs {jobs} differs from line {first + 1}: '
                                   f'{got.splitlines()[first:first + 1]} instead of {expected.splitlines()[first:first + 1]}')


def argument_errors(command, workdir):
    for args, message in BAD_ARGUMENTS:
        r = run(command, args + ['--games', '1'] if args[0] != '--games' else args)
        check(r.returncode == 2 and 'Usage:' in r.stdout + r.stderr and message in r.stderr.split('\n')[0],
              f'{args}: exit code {r.returncode}, expected 2 with the usage and {message!r}\n{r.stderr}')
    broken = os.path.join(workdir, 'broken.dat')
    with open(broken, 'w') as f:
        f.write('1 0 0 1 0 2 0 x')
    csv = os.path.join(workdir, 'untouched.csv')
    for what, args, cwd, named in [
        ('missing brick file', ['--data', os.path.join(workdir, 'none.dat'), '--csv', csv], None, 'none.dat'),
        ('no brick file here', ['--csv', csv], workdir, 'not in the current folder; name one with --data'),
        ('refused brick file', ['--data', broken, '--csv', csv], None, 'exists but is not a valid brick file'),
        ('CSV in a missing folder', ['--csv', os.path.join(workdir, 'no', 'x.csv')], None, 'x.csv'),
        ('log in a missing folder', ['--csv', csv, '--log', os.path.join(workdir, 'no', 'x.log')], None, 'x.log'),
    ]:
        r = subprocess.run(command + ['--games', '1'] + args, capture_output=True, text=True, timeout=120, cwd=cwd)
        check(r.returncode == 1 and named in r.stderr, f'{what}: exit code {r.returncode}, stderr {r.stderr!r}')
    check(not os.path.exists(csv), 'a refused run created the CSV file')


def main():
    mode = sys.argv[1] if sys.argv[1] in ('--recorded-only', '--golden') else None
    command = sys.argv[2:] if mode else sys.argv[1:]
    with tempfile.TemporaryDirectory() as workdir:
        recorded(command, workdir, mode != '--recorded-only', mode == '--golden')
        if mode is None:
            argument_errors(command, workdir)
    print(f'{len(failures)} failures')
    sys.exit(1 if failures else 0)


main()
