"""Short private folders for what the tests start: a host's copy and profile,
a tmux socket, the folders a host is opened on.

A Unix socket's path may not pass 107 bytes, and Windows programs under Wine
stumble on paths past 260 characters, while a clone, and so its build folder,
may lie as deep as its owner likes. So each run works in a folder of its own
under /tmp/veltrane-UID (not under TMPDIR, which may be as deep), removed at
its end; what a killed run left there is cleared by the next run.
"""

import contextlib
import os
import shutil
import signal
import stat
import subprocess
import tempfile
import time

def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def scratch_root():
    base = "/tmp" if os.access("/tmp", os.W_OK) else tempfile.gettempdir()
    root = os.path.join(base, f"veltrane-{os.getuid()}")
    os.makedirs(root, mode=0o700, exist_ok=True)
    info = os.lstat(root)
    if not stat.S_ISDIR(info.st_mode) or info.st_uid != os.getuid():
        raise OSError(f"{root} is not a folder of this user's own")
    os.chmod(root, 0o700)
    return root


def session_folder(prefix):
    """A new, empty folder of this process's own (its name carries the
    process id), after clearing what killed runs left beside it. Remove it
    with remove()."""
    root = scratch_root()
    reap_stale(root)
    return tempfile.mkdtemp(prefix=f"{prefix}{os.getpid()}-", dir=root)


@contextlib.contextmanager
def private_folder(prefix):
    """session_folder for a with-block, removed when the block ends."""
    folder = session_folder(prefix)
    try:
        yield folder
    finally:
        remove(folder)


def remove(folder):
    if not os.environ.get("VELTRANE_KEEP_SCRATCH"):
        shutil.rmtree(folder, ignore_errors=True)


def reap_stale(root):
    """Ends what runs killed before their end left behind (a tmux server
    outlives its client, a Wine program its terminal) in every folder whose
    owning process is gone, and removes the folder."""
    for entry in sorted(os.listdir(root)):
        folder = os.path.join(root, entry)
        if not _abandoned(folder):
            continue
        socket = os.path.join(folder, "tmux.sock")
        if os.path.exists(socket):
            subprocess.run(["tmux", "-S", socket, "kill-server"], capture_output=True)
        for pid in processes_under(folder):
            end_process(pid)
        shutil.rmtree(folder, ignore_errors=True)


def _abandoned(folder):
    """Whether the process named in the folder's name is gone (mkdtemp's
    own part of the name holds no hyphen)."""
    owner = os.path.basename(folder).split("-")[-2:-1]
    if not owner or not owner[0].isdigit():
        return False
    return not _running(int(owner[0]))


def _running(pid):
    """A killed process stays a zombie until its parent reaps it."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rpartition(")")[2].split()[0] != "Z"
    except OSError:
        return False


def processes_under(folder):
    """Processes whose program or command line lies in `folder`: far2l, or a
    Windows program under Wine. Only the folder's path is matched, never a
    program's name."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            exe = os.readlink(f"/proc/{entry}/exe")
            cmd = open(f"/proc/{entry}/cmdline", "rb").read().decode(errors="replace")
        except OSError:
            continue
        if exe.startswith(folder + "/") or (folder + "/") in cmd.replace("\0", " ") \
                or winpath(folder) in cmd:
            found.append(int(entry))
    return found


def end_process(pid):
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.kill(pid, sig)
        except ProcessLookupError:
            return
        for _ in range(50):
            try:
                os.kill(pid, 0)
            except ProcessLookupError:
                return
            time.sleep(0.02)
