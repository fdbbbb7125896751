"""Two Syncthing instances on loopback, driven through their REST API.

Each instance gets its own home folder and environment (the "machine" it runs
on). Everything that could reach another address (discovery, relays, NAT
traversal, STUN, usage and crash reports, upgrades) is switched off in
config.xml before the first start, because the REST API only exists once the
instance runs and by then it would already have announced itself; devices,
folders and pauses then go through the REST API.
"""

import ctypes
import json
import os
import secrets
import signal
import socket
import subprocess
import time
import urllib.error
import urllib.parse
import urllib.request
import xml.etree.ElementTree as ElementTree


class HarnessError(Exception):
    """The sync engine did not do what the test needs (not a fault of the diary)."""


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_until(what, condition, timeout, interval=0.1):
    """Polls condition() until it returns a true value; raises HarnessError after timeout seconds."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = condition()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise HarnessError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


# Options that keep an instance to itself: nothing announced, nothing relayed,
# no port mapping, no reports, no upgrades.
QUIET_OPTIONS = {
    "globalAnnounceEnabled": "false",
    "localAnnounceEnabled": "false",
    "relaysEnabled": "false",
    "natEnabled": "false",
    "urAccepted": "-1",
    "urSeen": "3",
    "crashReportingEnabled": "false",
    "autoUpgradeIntervalH": "0",
    "startBrowser": "false",
    "announceLANAddresses": "false",
    "stunKeepaliveStartS": "0",
    "stunKeepaliveMinS": "0",
    "reconnectionIntervalS": "1",
    "setLowPriority": "false",
}


def _die_with_parent():
    # PR_SET_PDEATHSIG: an instance must not outlive a test runner killed on its timeout.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)


class Instance:
    """One Syncthing process with its home folder, GUI/REST port and listen port."""

    def __init__(self, name, home, env):
        self.name = name
        self.home = home
        self.env = dict(env, STNODEFAULTFOLDER="1", STNOUPGRADE="1", STNORESTART="1")
        self.gui_port = free_port()
        self.listen_port = free_port()
        self.api_key = secrets.token_hex(16)
        self.process = None
        self.device_id = None
        self.log_path = os.path.join(home, "syncthing.log")

    @property
    def listen_address(self):
        return f"tcp://127.0.0.1:{self.listen_port}"

    def generate(self):
        os.makedirs(self.home, exist_ok=True)
        subprocess.run(
            ["syncthing", "generate", f"--home={self.home}", "--no-default-folder", "--skip-port-probing"],
            env=self.env,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
            check=True,
            timeout=30,
        )
        self._make_quiet(os.path.join(self.home, "config.xml"))

    def _make_quiet(self, config_path):
        tree = ElementTree.parse(config_path)
        root = tree.getroot()
        options = root.find("options")
        for key, value in QUIET_OPTIONS.items():
            element = options.find(key)
            if element is None:
                element = ElementTree.SubElement(options, key)
            element.text = value
        self._set_single(options, "listenAddress", self.listen_address)
        # An empty element rather than none: a missing list is filled with the public servers.
        self._set_single(options, "globalAnnounceServer", "")
        self._set_single(options, "stunServer", "")
        self._set_single(options, "urURL", "")
        self._set_single(options, "releasesURL", "")
        self._set_single(options, "crashReportingURL", "")
        gui = root.find("gui")
        gui.find("address").text = f"127.0.0.1:{self.gui_port}"
        gui.find("apikey").text = self.api_key
        # The generated config names this device "dynamic"; no other address may be tried.
        for address in root.findall("./device/address"):
            address.text = self.listen_address
        tree.write(config_path)

    @staticmethod
    def _set_single(parent, tag, text):
        for element in parent.findall(tag):
            parent.remove(element)
        if text is not None:
            ElementTree.SubElement(parent, tag).text = text

    def start(self):
        log = open(self.log_path, "ab")
        self.process = subprocess.Popen(
            [
                "syncthing",
                "serve",
                f"--home={self.home}",
                "--no-browser",
                "--no-restart",
                "--no-upgrade",
                f"--gui-address=http://127.0.0.1:{self.gui_port}",
                f"--gui-apikey={self.api_key}",
            ],
            env=self.env,
            stdin=subprocess.DEVNULL,
            stdout=log,
            stderr=subprocess.STDOUT,
            start_new_session=True,
            preexec_fn=_die_with_parent,
        )
        log.close()
        status = wait_until(f"{self.name}'s REST API", self._try_status, 30, 0.2)
        self.device_id = status["myID"]

    def _try_status(self):
        if self.process.poll() is not None:
            raise HarnessError(f"syncthing {self.name} exited with {self.process.returncode}; see {self.log_path}")
        try:
            return self.get("/rest/system/status")
        except (urllib.error.URLError, ConnectionError, OSError):
            return None

    def stop(self):
        if self.process is None or self.process.poll() is not None:
            return
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait(timeout=5)
        except ProcessLookupError:
            pass

    def log_tail(self, lines=25):
        try:
            with open(self.log_path, errors="replace") as log:
                return "".join(log.readlines()[-lines:])
        except OSError:
            return ""

    # REST

    def request(self, method, path, body=None, timeout=30):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(f"http://127.0.0.1:{self.gui_port}{path}", data=data, method=method)
        request.add_header("X-API-Key", self.api_key)
        if data is not None:
            request.add_header("Content-Type", "application/json")
        with urllib.request.urlopen(request, timeout=timeout) as response:
            payload = response.read()
        return json.loads(payload) if payload.strip() else None

    def get(self, path, **query):
        if query:
            path += "?" + urllib.parse.urlencode(query)
        return self.request("GET", path)

    def post(self, path, **query):
        if query:
            path += "?" + urllib.parse.urlencode(query)
        return self.request("POST", path)

    def add_device(self, other):
        self.request(
            "PUT",
            f"/rest/config/devices/{other.device_id}",
            {
                "deviceID": other.device_id,
                "name": other.name,
                "addresses": [other.listen_address],
                "compression": "metadata",
                "autoAcceptFolders": False,
                "paused": False,
            },
        )

    def add_folder(self, folder_id, path, peers):
        devices = [{"deviceID": self.device_id}] + [{"deviceID": peer.device_id} for peer in peers]
        self.request(
            "PUT",
            f"/rest/config/folders/{folder_id}",
            {
                "id": folder_id,
                "label": folder_id,
                "path": path,
                "type": "sendreceive",
                "devices": devices,
                "rescanIntervalS": 10,
                "fsWatcherEnabled": True,
                "fsWatcherDelayS": 1,
                "maxConflicts": 10,
                "paused": False,
            },
        )

    def scan(self, folder_id):
        self.post("/rest/db/scan", folder=folder_id)

    def folder_status(self, folder_id):
        return self.get("/rest/db/status", folder=folder_id)

    def completion(self, folder_id, device_id):
        return self.get("/rest/db/completion", folder=folder_id, device=device_id)

    def connection_to(self, other):
        return self.get("/rest/system/connections")["connections"].get(other.device_id, {})

    def pause(self, other):
        self.post("/rest/system/pause", device=other.device_id)

    def resume(self, other):
        self.post("/rest/system/resume", device=other.device_id)

    def options(self):
        return self.get("/rest/config/options")


class SyncthingPair:
    """Instances "a" and "b", each knowing the other by its loopback address only."""

    def __init__(self, homes_and_envs):
        (home_a, env_a), (home_b, env_b) = homes_and_envs
        self.a = Instance("a", home_a, env_a)
        self.b = Instance("b", home_b, env_b)

    def __enter__(self):
        try:
            for instance in (self.a, self.b):
                instance.generate()
            for instance in (self.a, self.b):
                instance.start()
            self.check_quiet()
            self.a.add_device(self.b)
            self.b.add_device(self.a)
            self.wait_connected()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def stop(self):
        for instance in (self.a, self.b):
            instance.stop()

    def instances(self):
        return (self.a, self.b)

    def other(self, instance):
        return self.b if instance is self.a else self.a

    def check_quiet(self):
        """Fails unless each running instance reports only loopback addresses and no outside service."""
        for instance in self.instances():
            options = instance.options()
            problems = []
            if options["listenAddresses"] != [instance.listen_address]:
                problems.append(f"listens on {options['listenAddresses']}")
            for key in ("globalAnnounceEnabled", "localAnnounceEnabled", "relaysEnabled", "natEnabled",
                        "crashReportingEnabled", "announceLANAddresses"):
                if options.get(key):
                    problems.append(f"{key} is on")
            for key in ("globalAnnounceServers", "stunServers"):
                if any(options.get(key) or []):
                    problems.append(f"{key} {options[key]}")
            if options.get("urAccepted", 0) >= 0:
                problems.append(f"urAccepted is {options.get('urAccepted')}")
            if options.get("autoUpgradeIntervalH"):
                problems.append("auto upgrade is on")
            if problems:
                raise HarnessError(f"syncthing {instance.name} is not confined to loopback: " + "; ".join(problems))

    def check_sockets_loopback(self):
        """Every socket the two processes hold is bound to, and connected to, loopback only."""
        for instance in self.instances():
            bad = non_loopback_sockets(instance.process.pid)
            if bad:
                raise HarnessError(f"syncthing {instance.name} holds non-loopback sockets: {bad}")

    def wait_connected(self, timeout=20):
        for here in self.instances():
            there = self.other(here)
            wait_until(
                f"{here.name} to connect to {there.name}",
                lambda: here.connection_to(there).get("connected"),
                timeout,
                0.2,
            )
            address = here.connection_to(there).get("address", "")
            if not address.startswith("127.0.0.1:"):
                raise HarnessError(f"{here.name} reached {there.name} at {address}, not over loopback")

    def disconnect(self, timeout=20):
        """Pauses each side's device of the other: the two machines are offline from each other."""
        for here in self.instances():
            here.pause(self.other(here))
        for here in self.instances():
            there = self.other(here)
            wait_until(
                f"{here.name} to lose {there.name}",
                lambda: not here.connection_to(there).get("connected"),
                timeout,
                0.2,
            )

    def reconnect(self, timeout=20):
        """Resumes B's side first, then A's, so that only A dials: two instances dialling each other at once
        from their listen ports can meet in one TCP connection that neither side's TLS accepts."""
        deadline = time.monotonic() + timeout
        self.b.resume(self.a)
        time.sleep(0.3)
        self.a.resume(self.b)
        try:
            self.wait_connected(min(8, timeout))
        except HarnessError:
            # A pause and resume makes A dial again at once instead of at its next scheduled dial.
            self.a.pause(self.b)
            time.sleep(0.3)
            self.a.resume(self.b)
            self.wait_connected(max(1, deadline - time.monotonic()))

    def add_folder(self, folder_id, path_a, path_b):
        self.a.add_folder(folder_id, path_a, [self.b])
        self.b.add_folder(folder_id, path_b, [self.a])
        for instance in self.instances():
            wait_until(
                f"folder {folder_id} to start on {instance.name}",
                lambda: instance.folder_status(folder_id).get("state") == "idle",
                20,
                0.2,
            )

    def scan_both(self, folder_id):
        for instance in self.instances():
            instance.scan(folder_id)

    def idle_and_complete(self, folder_id):
        """True when both sides are idle, need nothing, and see the other side at 100 %."""
        for here in self.instances():
            status = here.folder_status(folder_id)
            if status.get("state") != "idle" or status.get("needTotalItems", 0) != 0:
                return False
            completion = here.completion(folder_id, self.other(here).device_id)
            if completion.get("completion") != 100 or completion.get("needItems", 0) != 0:
                return False
        return True


def _loopback(address):
    host = address.rsplit(":", 1)[0]
    # /proc/net hex addresses: 127.x.x.x is stored little-endian, so it ends in "7F".
    if len(host) == 8:
        return host.endswith("7F") or host == "00000000"
    ipv6_loopback = "00000000000000000000000001000000"
    mapped_v4 = "0000000000000000FFFF0000"
    return host in (ipv6_loopback, "0" * 32) or (host.startswith(mapped_v4) and host.endswith("7F"))


def non_loopback_sockets(pid):
    inodes = set()
    fd_dir = f"/proc/{pid}/fd"
    for fd in os.listdir(fd_dir):
        try:
            target = os.readlink(os.path.join(fd_dir, fd))
        except OSError:
            continue
        if target.startswith("socket:["):
            inodes.add(target[8:-1])
    bad = []
    for table in ("tcp", "tcp6", "udp", "udp6"):
        try:
            with open(f"/proc/{pid}/net/{table}") as rows:
                next(rows)
                for row in rows:
                    fields = row.split()
                    local, remote, inode = fields[1], fields[2], fields[9]
                    if inode not in inodes:
                        continue
                    if not _loopback(local) or not _loopback(remote):
                        bad.append(f"{table} {local} -> {remote}")
                    elif local.split(":")[0] == "0" * len(local.split(":")[0]):
                        bad.append(f"{table} listening on every address {local}")
        except OSError:
            continue
    return bad
