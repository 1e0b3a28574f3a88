#!/usr/bin/env python3
"""How well the computer plays: runs kvader-sim for random selection and for both
steered selections at intensities 1, 2, 5, 10 and 20, keeps every game's CSV in
OUT, prints the results table of docs/simulator.md and draws OUT/results.png with gnuplot.

Usage: results.py SIM OUT [GAMES]   (SIM is kvader-sim, run from its own folder,
where kvader.dat lies; GAMES defaults to 200)."""
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
INTENSITIES = [1, 2, 5, 10, 20]
RUNS = [('random', None)] + [(s, k) for s in ('better', 'worse') for k in INTENSITIES]
NAMES = {'random': 'random', 'better': 'more suitable', 'worse': 'less suitable'}

# The lines of kvader-sim's summary that the table reads.
SUMMARY = {
    'games': r'games\s+(\d+) \((\d+) capped',
    'rows': r'rows per game\s+mean ([\d.]+) \+- ([\d.]+) \(95% interval\), median ([\d.]+)',
    'per_brick': r'rows per brick\s+([\d.]+)',
}


def run(sim, out, games, selection, intensity):
    args = ['--games', str(games), '--selection', selection]
    if intensity is not None:
        args += ['--intensity', str(intensity)]
    csv = os.path.join(out, f'{selection}{intensity or ""}.csv')
    printed = subprocess.run([sim] + args + ['--csv', csv], check=True, capture_output=True, text=True,
                             cwd=os.path.dirname(sim)).stdout
    found = {key: re.search(pattern, printed).groups() for key, pattern in SUMMARY.items()}
    played, capped = map(int, found['games'])
    mean, half, median = map(float, found['rows'])
    return {'selection': selection, 'intensity': intensity, 'mean': mean, 'half': half, 'median': median,
            'per_brick': float(found['per_brick'][0]), 'capped': capped / played,
            'command': './kvader-sim ' + ' '.join(args)}


def main():
    sim, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    games = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    os.makedirs(out, exist_ok=True)
    rows = []
    for selection, intensity in RUNS:
        rows.append(run(sim, out, games, selection, intensity))
        print(f'{selection} {intensity or ""}'.strip(), f'{rows[-1]["mean"]:.1f} rows per game', file=sys.stderr)

    print('| Selection | Intensity | Rows per game (mean, 95% interval) | Median | Rows per brick | Capped |'
          ' Command |')
    print('|---|---:|---:|---:|---:|---:|---|')
    for r in rows:
        print(f'| {NAMES[r["selection"]]} | {r["intensity"] or "–"} | {r["mean"]:,.1f} ± {r["half"]:,.1f} |'
              f' {r["median"]:,.1f} | {r["per_brick"]:.3f} | {r["capped"]:.0%} | `{r["command"]}` |')

    data = os.path.join(out, 'results.dat')
    with open(data, 'w') as f:
        for selection in ('better', 'worse'):
            f.write(f'# {selection}: intensity, mean rows per game, half-width of the 95% interval\n')
            for r in rows:
                if r['selection'] == selection:
                    f.write(f'{r["intensity"]} {r["mean"]} {r["half"]}\n')
            f.write('\n\n')
    subprocess.run(['gnuplot', '-e', f'data="{data}"; random={rows[0]["mean"]}; games={games};'
                    f' output="{os.path.join(out, "results.png")}"', os.path.join(HERE, 'results.gp')], check=True)


main()
