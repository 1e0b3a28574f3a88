# Rows per game against the intensity of the steered selection; the random
# selection as a line. Variables: data, random, games, output (tools/results.py).
set terminal pngcairo size 800,480 font "sans,10"
set output output
set title sprintf("How well the computer plays: rows per game, %d games a point, 95%% intervals", games)
set logscale xy
set xrange [0.8:25]
set yrange [1:100000]
set xtics ("1" 1, "2" 2, "5" 5, "10" 10, "20" 20)
set format y "%.0f"
set xlabel "intensity of the steered selection"
set ylabel "rows per game"
set key bottom left box opaque
set grid
set label "games stop at 100,000 bricks" at 1.1,55000
plot data index 0 using 1:2:3 with yerrorlines lw 2 pt 7 title "more suitable bricks", \
     data index 1 using 1:2:3 with yerrorlines lw 2 pt 5 title "less suitable bricks", \
     random with lines dt 2 lw 2 title "random selection"
