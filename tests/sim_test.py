#!/usr/bin/env python3
"""kvader-sim from the outside: fixed seeds must give the recorded files of tests/golden byte for byte, with
one thread or two (the Windows build under Wine too), and so must the messages of refused runs (errors.txt).

Usage: sim_test.py [--recorded-only | --golden] COMMAND... (COMMAND runs kvader-sim from the folder of
kvader.dat; --recorded-only, for Wine, skips the summaries and messages; --golden rewrites the files)."""
import os, resource, subprocess, sys, tempfile

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
# Runs that must be refused, recorded in errors.txt: exit code, whether the usage is
# shown, and the first line of the message (WORK stands for a scratch folder). Each
# but the CSV's own also names a CSV, which none of them may write.
REFUSED = [['--games', '0'], ['--games', 'abc'], ['--games'], ['--seed', '-1'], ['--seed', '4294967296'],
           ['--selection', 'best'], ['--intensity', '0'], ['--intensity', '2147483648'], ['--max-bricks', '0'],
           ['--jobs', '0'], ['--unknown'], ['stray'], ['--data', 'WORK/none.dat'], ['--data', 'WORK/broken.dat'],
           ['--csv', 'WORK/no/x.csv'], ['--log', 'WORK/no/x.log'], ['(run in WORK, without kvader.dat)']]
mode = sys.argv[1] if sys.argv[1] in ('--recorded-only', '--golden') else None
command, failures = sys.argv[2:] if mode else sys.argv[1:], []


def run(args, cwd=None):
    return subprocess.run(command + args, capture_output=True, text=True, timeout=120, cwd=cwd)


def output(name, args, jobs, work):
    """What the recorded file name holds when made again."""
    out, kind = os.path.join(work, name), name.split('.')[1]
    if name == 'errors.txt':
        open(os.path.join(work, 'broken.dat'), 'w').write('1 0 0 1 0 2 0 x')
        said, csv = '', ['--csv', os.path.join(work, 'untouched.csv')]
        for refused in REFUSED:
            cwd, args = (work, []) if refused[0].startswith('(') else (None, [a.replace('WORK', work) for a in refused])
            r = run(['--games', '1'] * ('--games' not in args) + csv * ('--csv' not in args) + args, cwd)
            said += f"{' '.join(refused)}: exit {r.returncode}, usage {'Usage:' in r.stdout + r.stderr}: " \
                    f"{(r.stderr.splitlines() or [''])[0].replace(work, 'WORK')}\n"
        return said + f'CSV written: {os.path.exists(csv[1])}\n'
    r = run(args + ['--jobs', jobs] + ({'csv': ['--csv', out], 'log': ['--log', out]}.get(kind, [])))
    if r.returncode:
        return f'exit {r.returncode}: {r.stderr}'
    if kind == 'txt':  # the summary without its speed
        return ''.join(line + '\n' for line in r.stdout.splitlines() if not line.startswith('speed'))
    return open(out, newline='').read()


with tempfile.TemporaryDirectory() as work:
    for name, args in RECORDED + [('errors.txt', [])]:
        if name.endswith('.txt') and mode == '--recorded-only':
            continue  # printf may round a half differently on Windows: summaries and messages are the host's
        for jobs in ['2'] if mode or name.endswith('.txt') else ['1', '2']:  # a summary names its jobs
            got = output(name, args, jobs, work)
            if mode == '--golden':
                open(os.path.join(GOLDEN, name), 'w', newline='').write(got)
                continue
            g, w = got.split('\n'), open(os.path.join(GOLDEN, name), newline='').read().split('\n')
            first = next((i for i, (a, b) in enumerate(zip(g, w)) if a != b), min(len(g), len(w)) - 1)
            if g != w:
                failures.append(name)
                print(f'FAIL: {name} --jobs {jobs}, line {first + 1}: {g[first]!r}, recorded {w[first]!r}')
# A run short of memory (the results of 100,000,000 games in 1 GiB) says so and exits 1;
# not under AddressSanitizer, which reserves far more than that.
if mode is None and not os.environ.get('KVADER_SANITIZE'):
    r = subprocess.run(command + ['--games', '100000000'], capture_output=True, text=True, timeout=120,
                       preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30)))
    if (r.returncode, r.stderr) != (1, 'kvader-sim: not enough memory for this run\n'):
        failures.append('memory')
        print(f'FAIL: short of memory: exit {r.returncode}, {r.stderr!r}')
print(f'{len(failures)} failures')
sys.exit(1 if failures else 0)
