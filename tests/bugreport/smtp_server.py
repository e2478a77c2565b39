#!/usr/bin/python3
"""Real SMTP servers on loopback for the bug report's tests (aiosmtpd).

  smtp_server.py start DIR   starts them in the background; returns once they
                             listen, with their ports in DIR/ports
  smtp_server.py stop DIR    stops them
  smtp_server.py serve DIR   runs them (what "start" launches)

One process, one listening socket per behaviour, each on a free port of
127.0.0.1 that the system chooses (so runs never collide):
  normal  keeps every message: DIR/normal/NNNN.eml (the bytes received, dots
          already unstuffed) and NNNN.env (MAIL FROM, then each RCPT TO)
  helo    the same in DIR/helo, for an older server: it answers EHLO with
          502, and refuses the null sender "MAIL FROM:<>" (as some do)
  refuse  refuses every recipient with 550
  drop    takes the data, then drops the connection without a reply
  silent  accepts connections and never says a word
  brief   as normal, in DIR/brief, but closes a session idle for 1 second
Each connection leaves DIR/<mode>/conn-NNNN, so tests can count sessions.
"""
import asyncio
import itertools
import os
import shutil
import signal
import socket
import subprocess
import sys
import time

from aiosmtpd.smtp import SMTP

IDLE_EXIT_SECONDS = 20 * 60  # a server left behind by an interrupted run goes by itself
MODES = ("normal", "helo", "refuse", "drop", "silent", "brief")
BRIEF_IDLE_SECONDS = 1


class Activity:
    last = time.monotonic()
    counter = itertools.count(1)


def record_connection(directory):
    Activity.last = time.monotonic()
    with open(os.path.join(directory, "conn-%04d" % next(Activity.counter)), "w"):
        pass


class Keeper:
    def __init__(self, directory):
        self.directory = directory

    async def handle_DATA(self, server, session, envelope):
        n = next(Activity.counter)
        base = os.path.join(self.directory, "%04d" % n)
        with open(base + ".tmp", "wb") as f:
            f.write(envelope.original_content)
        with open(base + ".env.tmp", "w") as f:
            f.write("\n".join([envelope.mail_from] + list(envelope.rcpt_tos)) + "\n")
        os.replace(base + ".env.tmp", base + ".env")
        os.replace(base + ".tmp", base + ".eml")  # last: a test that sees it sees both
        return "250 2.0.0 Message accepted"


class Refuser:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        return "550 5.1.1 <%s>: Recipient address rejected" % address


class Dropper:
    async def handle_DATA(self, server, session, envelope):
        server.transport.abort()
        return "250 never heard"


class OldSMTP(SMTP):
    async def smtp_EHLO(self, hostname):
        await self.push("502 5.5.1 Error: command not implemented")

    async def smtp_MAIL(self, arg):
        if arg and arg.replace(" ", "").upper() == "FROM:<>":
            return await self.push("553 5.1.7 The null sender is not welcome here")
        return await super().smtp_MAIL(arg)


class Silent(asyncio.Protocol):
    pass


def factory(mode, directory):
    def make():
        record_connection(directory)
        if mode == "normal":
            return SMTP(Keeper(directory), decode_data=False)
        if mode == "helo":
            return OldSMTP(Keeper(directory), decode_data=False)
        if mode == "brief":
            return SMTP(Keeper(directory), decode_data=False, timeout=BRIEF_IDLE_SECONDS)
        if mode == "refuse":
            return SMTP(Refuser(), decode_data=False)
        if mode == "drop":
            return SMTP(Dropper(), decode_data=False)
        return Silent()
    return make


async def serve(root):
    loop = asyncio.get_running_loop()
    ports = []
    for mode in MODES:
        directory = os.path.join(root, mode)
        os.makedirs(directory, exist_ok=True)
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.bind(("127.0.0.1", 0))
        await loop.create_server(factory(mode, directory), sock=sock)
        ports.append("%s %d" % (mode, sock.getsockname()[1]))
    with open(os.path.join(root, "ports.tmp"), "w") as f:
        f.write("\n".join(ports) + "\n")
    os.replace(os.path.join(root, "ports.tmp"), os.path.join(root, "ports"))
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    while not stop.is_set():
        try:
            await asyncio.wait_for(stop.wait(), 10)
        except asyncio.TimeoutError:
            if time.monotonic() - Activity.last > IDLE_EXIT_SECONDS:
                break


def start(root):
    stop(root)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    log = open(os.path.join(root, "server.log"), "w")
    # Its own session, and no pipe of ours: ctest waits for pipes to close.
    child = subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", root],
                             stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    with open(os.path.join(root, "pid"), "w") as f:
        f.write("%d\n" % child.pid)
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if os.path.exists(os.path.join(root, "ports")):
            with open(os.path.join(root, "ports")) as f:
                sys.stdout.write(f.read())
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.05)
    with open(os.path.join(root, "server.log")) as f:
        sys.stderr.write("the SMTP servers did not start\n" + f.read())
    return 1


def stop(root):
    try:
        with open(os.path.join(root, "pid")) as f:
            pid = int(f.read())
    except (OSError, ValueError):
        return 0
    try:
        os.kill(pid, signal.SIGTERM)
        for _ in range(100):
            os.kill(pid, 0)
            time.sleep(0.05)
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    os.remove(os.path.join(root, "pid"))
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop", "serve"):
        sys.exit(__doc__)
    command, root = sys.argv[1], os.path.abspath(sys.argv[2])
    if command == "serve":
        asyncio.run(serve(root))
    else:
        sys.exit(start(root) if command == "start" else stop(root))
