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
  starttls  submission as today's providers run it: STARTTLS first, then a
          login (PLAIN or LOGIN) before any mail
  login   the same, offering AUTH LOGIN alone
  implicit  TLS from the first byte (as on port 465), then a login
  notls   asks for a login and offers no encryption; DIR/notls/auth-NNNN
          would show that a client sent AUTH all the same
Each connection leaves DIR/<mode>/conn-NNNN, so tests can count sessions.
The TLS servers use a certificate for "localhost" alone, issued by
an authority made for the run: DIR/ca.der (for the client's trusted roots).
Every message kept also leaves NNNN.json: python's own reading of it (its
headers, defects, and the body decoded), and the TLS version it came by.
The login is USER_NAME with PASSWORD (UTF-8 on the wire).
"""
import asyncio
import email
import email.policy
import itertools
import json
import os
import shutil
import signal
import socket
import ssl
import subprocess
import sys
import time

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

IDLE_EXIT_SECONDS = 20 * 60  # a server left behind by an interrupted run goes by itself
MODES = ("normal", "helo", "refuse", "drop", "silent", "brief", "starttls", "login", "implicit", "notls")
TLS_MODES = ("starttls", "login", "implicit")
USER_NAME = "jane@example.org"
PASSWORD = "s\u00e9same ouvre-toi"
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
        with open(base + ".json.tmp", "w") as f:
            r = reading(envelope.original_content)
            tls = server.transport.get_extra_info("ssl_object")
            r["tls"] = tls.version() if tls else None
            json.dump(r, f)
        os.replace(base + ".json.tmp", base + ".json")
        os.replace(base + ".tmp", base + ".eml")  # last: a test that sees it sees both
        return "250 2.0.0 Message accepted"


def reading(data):
    """What a strict reader makes of a message: defects, headers, text."""
    message = email.message_from_bytes(data, policy=email.policy.default)
    defects = [type(d).__name__ for d in message.defects]
    headers = []
    for name, value in message.items():
        defects += ["%s: %s" % (name, d) for d in getattr(value, "defects", ())]
        headers.append([name, str(value)])
    try:
        body = message.get_content()
    except Exception as e:  # noqa: BLE001 (the test shows what went wrong)
        body = None
        defects.append("body: %r" % e)
    return {"defects": defects, "headers": headers, "body": body,
            "charset": message.get_content_charset(), "date": str(message["Date"].datetime) if message["Date"] else None}


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword) and auth_data.login == USER_NAME.encode("utf-8")
          and auth_data.password == PASSWORD.encode("utf-8"))
    return AuthResult(success=ok, handled=False)


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


class NoTlsSMTP(SMTP):
    """Asks for a login, offers no encryption, and notes every AUTH."""
    async def smtp_AUTH(self, arg):
        with open(os.path.join(self._directory, "auth-%04d" % next(Activity.counter)), "w"):
            pass
        return await super().smtp_AUTH(arg)


def tls_context(root):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(os.path.join(root, "server.pem"), os.path.join(root, "server.key"))
    return context


def make_certificates(root):
    """An authority for the run, and the servers' certificate it issues."""
    def openssl(*args):
        subprocess.run(["openssl"] + list(args), check=True, cwd=root,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    with open(os.path.join(root, "server.ext"), "w") as f:
        f.write("basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                "extendedKeyUsage=serverAuth\nsubjectAltName=DNS:localhost\n")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
            "-days", "2", "-subj", "/CN=Usagram test authority",
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr",
            "-subj", "/CN=localhost")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
            "-out", "server.pem", "-days", "2", "-extfile", "server.ext")
    openssl("x509", "-in", "ca.pem", "-outform", "der", "-out", "ca.der")


def factory(mode, directory, root):
    def make():
        record_connection(directory)
        if mode in ("starttls", "login"):
            return SMTP(Keeper(directory), decode_data=False, tls_context=tls_context(root), require_starttls=True,
                        authenticator=authenticator, auth_required=True, auth_require_tls=True,
                        auth_exclude_mechanism=["PLAIN"] if mode == "login" else [])
        if mode == "implicit":
            # The connection is TLS already; aiosmtpd knows only STARTTLS's.
            return SMTP(Keeper(directory), decode_data=False, authenticator=authenticator, auth_required=True,
                        auth_require_tls=False)
        if mode == "notls":
            server = NoTlsSMTP(Keeper(directory), decode_data=False, authenticator=authenticator,
                               auth_required=True, auth_require_tls=False)
            server._directory = directory
            return server
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
        await loop.create_server(factory(mode, directory, root), sock=sock,
                                 ssl=tls_context(root) if mode == "implicit" else None)
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
    make_certificates(root)
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
