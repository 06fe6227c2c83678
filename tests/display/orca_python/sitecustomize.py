# Loaded by the Python that runs Orca under with_orca.sh. Orca writes its
# debug log in blocks of several kilobytes, so the last things it said reach
# the file only once it has said more; the test reads the log while Orca
# speaks, so the log is opened line-buffered instead.
import builtins
import os

_log = os.environ.get("ORCA_DEBUG_LOG")
_open = builtins.open


def _open_log_line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if _log and file == _log and "w" in mode and "b" not in mode:
        buffering = 1
    return _open(file, mode, buffering, *args, **kwargs)


builtins.open = _open_log_line_buffered
