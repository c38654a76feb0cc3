"""Runs Orca (its usual arguments follow) with its debug log written line by line.

Orca opens the log with a block buffer, so a log read while Orca runs would lack its latest
lines, what it spoke last among them.
"""

import builtins
import runpy
import sys

log = sys.argv[sys.argv.index("--debug-file") + 1]
plain_open = builtins.open


def open_log_line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if file == log and "w" in mode:
        buffering = 1
    return plain_open(file, mode, buffering, *args, **kwargs)


builtins.open = open_log_line_buffered
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
