#!/usr/bin/env python3
"""kvader-sim from the outside: bad arguments and unusable files get the usage or a
message and their exit codes, and fixed seeds give the CSV files checked in beside
this script, byte for byte, with one thread or two, and on the host the summary. Those files are shared by every
build, so the Windows build under Wine must print what the host build prints.

Usage: sim_test.py [--csv-only] COMMAND...   (COMMAND runs kvader-sim, from the
folder that holds kvader.dat; --csv-only skips the argument cases, for Wine)."""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

# Each game's CSV row is fixed by its seed; the files were written by the first
# version of the simulator and must never change unless the play itself does.
SEEDED = [
    ('random.csv', ['--games', '6', '--seed', '1']),
    ('worse.csv', ['--games', '8', '--seed', '1000', '--selection', 'worse', '--intensity', '5']),
    # the seeds of games 2 and 3 wrap round to 0 and 1
    ('better.csv', ['--games', '4', '--seed', '4294967294', '--selection', 'better', '--intensity', '2',
                    '--max-bricks', '2000']),
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


def seeded_csv(command, workdir):
    for name, args in SEEDED:
        with open(os.path.join(HERE, 'sim', name), 'rb') as f:
            expected = f.read()
        for jobs in ('1', '2'):
            out = os.path.join(workdir, name)
            r = run(command, args + ['--jobs', jobs, '--csv', out])
            check(r.returncode == 0, f'{name} --jobs {jobs}: exit code {r.returncode}\n{r.stdout}{r.stderr}')
            with open(out, 'rb') as f:
                got = f.read()
            check(got == expected, f'{name} --jobs {jobs}: the CSV differs\n--- got\n{got.decode()}'
                                   f'--- expected\n{expected.decode()}')


def summary(command):
    """The summary of a fixed seed, but for the speed line (printf may round a
    half differently on Windows, so the host alone checks it)."""
    with open(os.path.join(HERE, 'sim', 'worse-summary.txt')) as f:
        expected = f.read()
    r = run(command, SEEDED[1][1] + ['--jobs', '2'])
    got = ''.join(line + '\n' for line in r.stdout.splitlines() if not line.startswith('speed'))
    check(got == expected, f'the summary differs\n--- got\n{got}--- expected\n{expected}')


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
    ]:
        r = subprocess.run(command + ['--games', '1'] + args, capture_output=True, text=True, timeout=120, cwd=cwd)
        check(r.returncode == 1 and named in r.stderr, f'{what}: exit code {r.returncode}, stderr {r.stderr!r}')
    check(not os.path.exists(csv), 'a run refused for its brick file created the CSV file')


def main():
    args = sys.argv[1:]
    csv_only = args[:1] == ['--csv-only']
    command = args[1:] if csv_only else args
    with tempfile.TemporaryDirectory() as workdir:
        seeded_csv(command, workdir)
        if not csv_only:
            summary(command)
            argument_errors(command, workdir)
    print(f'{len(failures)} failures')
    sys.exit(1 if failures else 0)


main()
