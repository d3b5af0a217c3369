#!/usr/bin/env python3
"""Runs a command under a pseudo-terminal of a given width and writes to standard output
everything the command printed, as the terminal received it; exits with the command's status.

    run_in_pty.py COLUMNS COMMAND [ARGUMENT...]
"""
import fcntl
import os
import pty
import struct
import sys
import termios

columns = int(sys.argv[1])
command = sys.argv[2:]
pid, terminal = pty.fork()
if pid == 0:
    # The child's side of the terminal gets its size before the command starts.
    fcntl.ioctl(sys.stdout.fileno(), termios.TIOCSWINSZ, struct.pack("HHHH", 24, columns, 0, 0))
    os.execvp(command[0], command)
received = b""
while True:
    try:
        chunk = os.read(terminal, 65536)
    except OSError:  # the child has gone and its side of the terminal is closed
        break
    if not chunk:
        break
    received += chunk
_, status = os.waitpid(pid, 0)
sys.stdout.buffer.write(received)
sys.exit(os.WEXITSTATUS(status) if os.WIFEXITED(status) else 128 + os.WTERMSIG(status))
