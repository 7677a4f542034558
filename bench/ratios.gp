# The chart of bench/run: each ratio ours / peer as a bar, its target as a mark.
set terminal pngcairo size 900,420
set output 'ratios.png'
set title 'QV fileutils against the standard tools (lower is faster)'
set ylabel 'median time ours / peer'
set yrange [0:*]
set style fill solid 0.6
set boxwidth 0.6
set xtics rotate by -20
set key top left
plot 'ratios.dat' using 0:2:xtic(1) with boxes title 'ratio', \
     '' using 0:3 with points pointtype 9 pointsize 2 title 'target'
