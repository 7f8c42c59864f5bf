#!/usr/bin/python3
"""How long the warm office takes to be ready to fork hosts: the office host
program started with --warm-office, as a run starts it, COUNT times in a
row; for each start the wall time until it says "ready" and the processor
time it spent by then (its own threads, not the programs it asked).

Runs in a private home whose office profile is set up first (by one
foliant-convert run over a small text file), so the user's own folders are
never touched and no start pays for the profile.

usage: warm_ready.py PROGRAM_DIR [COUNT=5]
  PROGRAM_DIR holds officehost and foliant-convert (build/ci/bin).
Run it under the shared lock: flock /tmp/foliant-e2e.lock bench/officehost/warm_ready.py build/ci/bin
"""
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

CONTROL = 3  # the descriptor the warm office is given its control socket on


def start(program, env):
    """(wall seconds until ready, processor seconds by then), or None."""
    ours, theirs = socket.socketpair(socket.AF_UNIX, socket.SOCK_SEQPACKET)
    os.dup2(theirs.fileno(), CONTROL, inheritable=True)
    begun = time.monotonic()
    office = subprocess.Popen([program, "--warm-office"], env=env, pass_fds=(CONTROL,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    theirs.close()  # the copy at CONTROL is replaced by the next start's
    answer = ours.recv(4096)
    wall = time.monotonic() - begun
    with open("/proc/%d/stat" % office.pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    ours.close()  # it ends when its control socket closes
    office.wait(timeout=30)
    return (wall, cpu) if answer == b"ready" else None


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    programs = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    work = tempfile.mkdtemp(prefix="foliant-warm-")
    try:
        home = os.path.join(work, "home")
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_RUNTIME_DIR=os.path.join(work, "run"))
        for folder in (env["XDG_CONFIG_HOME"], env["XDG_CACHE_HOME"], env["XDG_RUNTIME_DIR"]):
            os.makedirs(folder, mode=0o700)
        text = os.path.join(work, "setup.txt")
        with open(text, "w") as f:
            f.write("The profile is set up by this file.\n")
        subprocess.run([os.path.join(programs, "foliant-convert"), "-o", os.path.join(work, "out"), text],
                       env=env, check=True, stdout=subprocess.DEVNULL)
        # The control descriptor stays taken, so no socket of ours gets its number.
        while os.open("/dev/null", os.O_RDONLY) < CONTROL:
            pass
        starts = [start(os.path.join(programs, "officehost"), env) for _ in range(count)]
        for i, measured in enumerate(starts, 1):
            print("start %d: %s" % (i, "ready after %.2f s, %.2f s of processor time" % measured
                                    if measured else "never ready"))
        ready = [m for m in starts if m]
        if ready:
            print("median: ready after %.2f s, %.2f s of processor time (%d of %d ready)" % (
                statistics.median(m[0] for m in ready), statistics.median(m[1] for m in ready), len(ready),
                count))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
