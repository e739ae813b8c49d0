# Runs the screen reader with its debug output written through at once, so that a test can
# follow what it says as it says it. Usage: python3 orca_flushing.py ORCA-ARGUMENTS...
import runpy
import sys

import orca.debug as debug

for name in ("println", "_print_text"):  # the writer's name differs between releases
    original = getattr(debug, name, None)
    if original:
        def flushed(*args, _original=original, **kwargs):
            _original(*args, **kwargs)
            if debug.debugFile:
                debug.debugFile.flush()
        setattr(debug, name, flushed)

sys.argv = ["orca"] + sys.argv[1:]
runpy.run_path("/usr/bin/orca", run_name="__main__")
