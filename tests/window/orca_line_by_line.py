"""Runs Orca (arguments as Orca's) with its debug file written line by line,
so that a test reads what Orca says as it says it."""
import builtins
import runpy
import sys

debug_file = sys.argv[sys.argv.index("--debug-file") + 1]
opened = builtins.open


def line_by_line(file, mode="r", *args, **kwargs):
    if file == debug_file and not args and "buffering" not in kwargs:
        return opened(file, mode, 1, **kwargs)
    return opened(file, mode, *args, **kwargs)


builtins.open = line_by_line
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
