#!/usr/bin/env python3
# The interactive session of sumtra-cli, typed into a pseudo-terminal the way a
# user types: prompts, printed lines, Tab completion, recall, Ctrl+D, and the
# history file left behind.
# Usage: TestConsole.py path/to/sumtra-cli
import os
import select
import shutil
import subprocess
import sys
import tempfile
import termios
import time

TIMEOUT = 20  # seconds for each prompt; the machine may be busy
UP = "\x1b[A"
END = "\x04"  # Ctrl+D


def run_session(cli, args, keys, env_setup):
    """Types each of keys after a prompt; returns (printed lines, stderr, status, state dir)."""
    home = tempfile.mkdtemp(prefix="sumtra-console-")
    state = os.path.join(home, "state")
    env = dict(os.environ, HOME=home, XDG_STATE_HOME=state, TERM="xterm", LC_ALL="C")
    env_setup(env, state)
    master, slave = os.openpty()
    proc = subprocess.Popen([cli] + args, stdin=slave, stdout=slave, stderr=subprocess.PIPE,
                            env=env, close_fds=True)
    os.close(slave)
    out = b""

    def read_until(done):
        nonlocal out
        deadline = time.time() + TIMEOUT
        while not done() and time.time() < deadline:
            ready, _, _ = select.select([master], [], [], 0.1)
            if ready:
                try:
                    out += os.read(master, 4096)
                except OSError:  # the session closed the terminal
                    break
        return done()

    def prompts():
        return ("\n" + out.decode(errors="replace")).count("\n> ")

    def editing():  # line editing has the terminal in raw mode; keys typed before are echoed
        return not termios.tcgetattr(master)[3] & termios.ICANON

    waiting = read_until(lambda: prompts() > 0 and editing())
    for key in keys:
        if not waiting:
            break
        before = prompts()
        os.write(master, key.encode())
        if key == END:
            break
        waiting = read_until(lambda: prompts() > before and editing())
    try:
        status = proc.wait(timeout=TIMEOUT if waiting else 0)
    except subprocess.TimeoutExpired:
        proc.kill()
        status = "no exit"
    read_until(lambda: False)
    os.close(master)
    err = proc.stderr.read().decode()
    # The terminal echoes (and redraws) what was typed after a prompt; the rest
    # is what the program printed.
    lines = out.decode().split("\r\n")
    printed = [line for line in lines
               if line and not any(part.startswith("> ") for part in line.split("\r"))]
    return printed, err, status, state


def no_setup(env, state):
    pass


def earlier_history(env, state):
    os.makedirs(os.path.join(state, "sumtra"), mode=0o700)
    with open(os.path.join(state, "sumtra", "history"), "w") as f:
        f.writelines(f"{i}\n" for i in range(1, 1006))


def state_is_a_file(env, state):
    open(state, "w").close()


# name, arguments, keys (each typed after a prompt), printed lines, history
# entries (None: no file), warning lines on stderr, setup
CASES = [
    ("a session runs each line against the same names",
     [], ["x := 2\n", "x*21\n", "y+1\n", "\n", "  \n", "total_sum := 5\n", "tot\t\n",
          "x*2\n", UP + "\n", END],
     ["sumtra-cli 0.1.0 (Ctrl+D ends)", "x = 2", "x∙21 = 42",
      "Unknown identifier 'y' (row 1, col 1)", "total_sum = 5", "total_sum = 5", "x∙2 = 4",
      "x∙2 = 4"],
     ["x := 2", "x*21", "y+1", "total_sum := 5", "total_sum", "x*2"], 0, no_setup),
    ("quiet leaves out the banner, the format applies",
     ["-q", "-f", "hex"], ["255\n", END], ["255 = $FF"], ["255"], 0, no_setup),
    ("functions complete too",
     ["--quiet"], ["square_of(t) := t*t\n", "squ\t(3)\n", END],
     ["square_of(t) = t∙t", "square_of(3) = 9"], ["square_of(t) := t*t", "square_of(3)"], 0,
     no_setup),
    ("characters beyond ASCII are read as UTF-8 whatever the locale",
     ["-q"], ["√4\n", END], ["√4 = 2"], ["√4"], 0, no_setup),
    ("look-alikes are replaced with -n",
     ["-q", "-n"], ["3·3\n", END], ["3∙3 = 9"], ["3·3"], 0, no_setup),
    ("an earlier history is recalled and kept to its bound",
     ["-q"], [UP + UP + "\n", END], ["1004 = 1004"],
     [str(i) for i in range(7, 1006)] + ["1004"], 0, earlier_history),
    ("a history that cannot be written does not stop the session",
     ["-q"], ["1+1\n", "2+2\n", END], ["1+1 = 2", "2+2 = 4"], None, 1, state_is_a_file),
]


def main():
    cli = sys.argv[1]
    failures = 0
    for name, args, keys, printed, history, warnings, setup in CASES:
        got, err, status, state = run_session(cli, args, keys, setup)
        path = os.path.join(state, "sumtra", "history")
        problems = []
        if got != printed:
            problems.append(f"printed {got!r}, expected {printed!r}")
        if status != 0:
            problems.append(f"exit status {status}")
        if len(err.splitlines()) != warnings:
            problems.append(f"stderr {err!r}, expected {warnings} line(s)")
        if history is None:
            if os.path.isfile(path):
                problems.append("a history file was written")
        elif not os.path.isfile(path):
            problems.append("no history file")
        else:
            with open(path) as f:
                entries = f.read().splitlines()
            if entries != history:
                problems.append(f"history {entries[-8:]!r} ({len(entries)} entries), "
                                f"expected {history[-8:]!r} ({len(history)} entries)")
            for p, mode in ((path, 0o600), (os.path.dirname(path), 0o700)):
                if os.stat(p).st_mode & 0o777 != mode:
                    problems.append(f"{p} has mode {os.stat(p).st_mode & 0o777:o}")
        shutil.rmtree(os.path.dirname(state), ignore_errors=True)
        print(("FAIL " if problems else "ok   ") + name)
        for p in problems:
            print("     " + p)
        failures += bool(problems)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
