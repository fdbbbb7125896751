"""One of the two computers: its own home and XDG folders, and tarelog-cli run as its user."""

import json
import os
import re
import subprocess

# The conflict copies the sync engines make of "BASE.tlg" (see docs/reliability.md for their sources).
CONFLICT_PATTERNS = (
    r"{base}\.sync-conflict-\d{{8}}-\d{{6}}-[A-Z2-7]{{0,7}}\.tlg",
    r"{base} \(conflicted copy (?:[^()]* )?\d{{4}}-\d{{2}}-\d{{2}} \d{{6}}\)\.tlg",
    r"{base}_conflict[-_](?:[^/]*-)?\d{{8}}-\d{{6}}\.tlg",
    r"{base} \([^()]*conflicted copy \d{{4}}-\d{{2}}-\d{{2}}(?: \(\d+\))?\)\.tlg",
)

# Files of the sync engine itself, which are no business of the diary.
ENGINE_NAMES = (".stfolder", ".stversions", ".stignore")


class CliError(Exception):
    pass


class Machine:
    def __init__(self, name, root, cli):
        self.name = name
        self.root = root
        self.cli = cli
        self.env = self._environment(root)

    @staticmethod
    def _environment(root):
        env = {key: value for key, value in os.environ.items() if not key.startswith("XDG_")}
        folders = {
            "HOME": "home",
            "XDG_CONFIG_HOME": "config",
            "XDG_STATE_HOME": "state",
            "XDG_DATA_HOME": "data",
            "XDG_CACHE_HOME": "cache",
            "XDG_RUNTIME_DIR": "run",
        }
        for key, sub in folders.items():
            path = os.path.join(root, sub)
            os.makedirs(path, mode=0o700, exist_ok=True)
            env[key] = path
        env["QT_QPA_PLATFORM"] = "offscreen"
        env["LC_ALL"] = "C.UTF-8"
        return env

    def folder(self, folder_id):
        path = os.path.join(self.root, "sync", folder_id)
        os.makedirs(path, exist_ok=True)
        return path

    def run(self, *args, cwd=None, check=True, timeout=30):
        result = subprocess.run(
            [self.cli, *args],
            env=self.env,
            cwd=cwd,
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            timeout=timeout,
        )
        if check and result.returncode != 0:
            raise CliError(
                f"machine {self.name}: tarelog-cli {' '.join(args)} exited with {result.returncode}: "
                f"{result.stderr.strip()}"
            )
        return result

    def add(self, diary, day, weight):
        self.run("add", diary, day, f"{weight:.1f}")

    def import_days(self, diary, days):
        sheet = diary + ".csv"
        with open(sheet, "w") as out:
            out.write("date,weight\n")
            for day, weight in sorted(days.items()):
                out.write(f"{day},{weight:.1f}\n")
        self.run("import", diary, sheet, "--format", "tarelog")
        os.remove(sheet)

    def days(self, diary):
        """The diary's days as {YYYY-MM-DD: weight}, read through tarelog-cli dump."""
        dump = json.loads(self.run("dump", diary).stdout)
        return {record["date"]: round(record["weight"], 2) for record in dump["records"]}

    def folded_copies(self, diary_name="d.tlg"):
        """The conflict copies tarelog-cli folded in and put aside in this
        machine's state folder, by the names they had in the shared folder."""
        kept = os.path.join(self.env["XDG_STATE_HOME"], "tarelog", "conflict-copies")
        if not os.path.isdir(kept):
            return []
        names = [re.sub(r"-[0-9a-f]{16}$", "", name) for name in os.listdir(kept)]
        return sorted(name for name in names if is_conflict_copy(name, diary_name))

    def has_verb(self, verb):
        listing = self.run("--help", check=False).stdout
        return re.search(rf"^\s+{re.escape(verb)}\s", listing, re.MULTILINE) is not None


def is_conflict_copy(name, diary_name="d.tlg"):
    base = re.escape(diary_name[: -len(".tlg")])
    return any(re.fullmatch(pattern.format(base=base), name) for pattern in CONFLICT_PATTERNS)


def conflict_copies(folder, diary_name="d.tlg"):
    return sorted(name for name in os.listdir(folder) if is_conflict_copy(name, diary_name))


def leftovers(folder):
    """Tarelog's own lock and temporary files anywhere under folder."""
    found = []
    for here, dirs, files in os.walk(folder):
        dirs[:] = [d for d in dirs if d not in ENGINE_NAMES]
        for name in files:
            if name.endswith(".lock") or ".saving-" in name:
                found.append(os.path.relpath(os.path.join(here, name), folder))
    return sorted(found)


def listing(folder):
    """{relative name: bytes} of everything in folder but the engine's own files and its temporaries."""
    contents = {}
    for here, dirs, files in os.walk(folder):
        dirs[:] = [d for d in dirs if d not in ENGINE_NAMES]
        for name in files:
            if name.startswith(".syncthing.") and name.endswith(".tmp"):
                continue
            path = os.path.join(here, name)
            try:
                with open(path, "rb") as data:
                    contents[os.path.relpath(path, folder)] = data.read()
            except OSError:
                continue
    return contents
