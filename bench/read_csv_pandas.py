"""Times pandas.read_csv on one capture file, the baseline of the load benchmark.

Usage: python3 read_csv_pandas.py CAPTURE_FILE

Prints two numbers on one line: the seconds that read_csv took to load the
file into a data frame (the measured load), and the seconds that importing
pandas took before it (not part of the load, stated beside it).
"""
import sys
import time

start = time.perf_counter()
import pandas  # noqa: E402  (timed on purpose)

imported = time.perf_counter()
frame = pandas.read_csv(sys.argv[1])
loaded = time.perf_counter()
print(f"{loaded - imported:.6f} {imported - start:.6f}")
