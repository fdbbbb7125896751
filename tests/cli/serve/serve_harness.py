"""tarelog-cli serve as a person's machine runs it, for the tests beside this file.

Every process gets a home, state, configuration and runtime folder of its
own under a temporary folder, so nothing touches the user's own; every
server listens on 127.0.0.1 only, on a port the system chooses.
"""

import hashlib
import http.client
import json
import os
import queue
import signal
import socket
import ssl
import subprocess
import tempfile
import threading
import time


class HarnessError(Exception):
    pass


class Home:
    """A temporary home with its XDG folders, and the diary's folder."""

    def __init__(self, cli):
        self.cli = cli
        self._dir = tempfile.TemporaryDirectory(prefix="tarelog-serve-")
        self.root = self._dir.name
        self.env = dict(os.environ)
        for name, sub in (("HOME", "home"), ("XDG_STATE_HOME", "state"), ("XDG_CONFIG_HOME", "config"),
                          ("XDG_RUNTIME_DIR", "runtime"), ("XDG_CACHE_HOME", "cache")):
            path = os.path.join(self.root, sub)
            os.makedirs(path, mode=0o700, exist_ok=True)
            self.env[name] = path
        self.env["QT_QPA_PLATFORM"] = "offscreen"
        self.diary = os.path.join(self.root, "diary", "weights.tlg")
        os.makedirs(os.path.dirname(self.diary))

    def close(self):
        self._dir.cleanup()

    def run(self, *args, check=True):
        done = subprocess.run([self.cli, *args], env=self.env, capture_output=True, text=True, timeout=60)
        if check and done.returncode != 0:
            raise HarnessError(f"tarelog-cli {' '.join(args)} failed ({done.returncode}): {done.stderr}")
        return done

    def days(self):
        """The diary's days as {"YYYY-MM-DD": weight}, read by tarelog-cli dump."""
        if not os.path.exists(self.diary):
            return {}
        dumped = json.loads(self.run("dump", self.diary).stdout)
        return {r["date"]: r["weight"] for r in dumped["records"]}

    def token(self, name="script"):
        return self.run("pair", self.diary, "--token", "--name", name).stdout.strip()


class Server:
    """A running tarelog-cli serve and what it printed at start."""

    def __init__(self, home, *extra, listen="127.0.0.1:0"):
        self.home = home
        args = [home.cli, "serve", home.diary, "--listen", listen, *extra]
        self.process = subprocess.Popen(args, env=home.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        text=True)
        self.lines = []
        self.urls = []
        self.pair_link = None
        self.fingerprint = None
        self.qr_lines = []
        self._read_start()
        base = self.urls[0]
        self.tls = base.startswith("https://")
        self.port = int(base.rsplit(":", 1)[1].rstrip("/"))

    def _read_start(self):
        # A thread reads the lines, so that waiting for one can time out.
        lines = queue.Queue()
        threading.Thread(target=lambda: [lines.put(line) for line in self.process.stdout] and None,
                         daemon=True).start()
        deadline = time.monotonic() + 30
        while True:
            try:
                line = lines.get(timeout=max(deadline - time.monotonic(), 0.01))
            except queue.Empty:
                self.stop()
                raise HarnessError(f"serve printed no start within 30 s: {self.lines}")
            line = line.rstrip("\n")
            self.lines.append(line)
            if line.startswith("  http"):
                self.urls.append(line.strip().rstrip("/"))
            elif line.startswith("pair: "):
                self.pair_link = line[len("pair: "):]
            elif self.pair_link and line and set(line) <= set("\u2580\u2584\u2588 "):
                self.qr_lines.append(line)
            elif line.startswith("certificate SHA-256 fingerprint: "):
                self.fingerprint = line.split(": ", 1)[1]
                return
            elif line.startswith("plain HTTP"):
                return

    def connection(self, timeout=10):
        if self.tls:
            context = ssl.create_default_context()
            # Self-signed: the tests compare the fingerprint instead, as a person would.
            context.check_hostname = False
            context.verify_mode = ssl.CERT_NONE
            return http.client.HTTPSConnection("127.0.0.1", self.port, timeout=timeout, context=context)
        return http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)

    def request(self, method, path, body=None, headers=None, timeout=10):
        """(status, headers as a list of pairs, body bytes) of one request."""
        conn = self.connection(timeout)
        try:
            if isinstance(body, (dict, list)):
                body = json.dumps(body)
                headers = {"Content-Type": "application/json", **(headers or {})}
            conn.request(method, path, body=body, headers=headers or {})
            response = conn.getresponse()
            return response.status, response.getheaders(), response.read()
        finally:
            conn.close()

    def served_fingerprint(self):
        conn = self.connection()
        conn.connect()
        der = conn.sock.getpeercert(binary_form=True)
        conn.close()
        return ":".join(f"{b:02X}" for b in hashlib.sha256(der).digest())

    def origin(self):
        return self.urls[0]

    def post_entry(self, token, date, weight):
        return self.request("POST", "/api/entries", {"date": date, "weight": weight},
                            {"Authorization": f"Bearer {token}"})

    def signal(self, number):
        self.process.send_signal(number)

    def wait(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise HarnessError(f"serve did not end within {timeout} s")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        for stream in (self.process.stdout, self.process.stderr):
            if stream:
                stream.close()


def raw_connection(port):
    """A bare TCP connection to the server, for idle and half-sent requests."""
    return socket.create_connection(("127.0.0.1", port), timeout=10)


def cookie_pair(headers, name):
    """NAME=VALUE of the Set-Cookie header for `name`, and its attributes in lower case."""
    for key, value in headers:
        if key.lower() == "set-cookie" and value.startswith(name + "="):
            first, _, rest = value.partition(";")
            return first, [part.strip().lower() for part in rest.split(";")]
    return None, []
