#!/usr/bin/env python3
"""One diary on two machines kept in step by two real Syncthing instances.

Machine A and machine B each have their own home, XDG state and runtime
folders and their own Syncthing; the two talk over 127.0.0.1 only. Every
scenario shares a fresh folder, writes the diary on both sides with
tarelog-cli, lets Syncthing do what it does (conflict copies included), lets
Tarelog fold the copies in, and then requires the exact days and weights on
both machines, no conflict copy and none of Tarelog's lock or temporary files.

Exit status: 0 when every scenario passed or was skipped, 1 when one failed,
77 when syncthing is not installed.
"""

import argparse
import os
import shutil
import signal
import sys
import subprocess
import tempfile
import time
import traceback

# The test runs from the source tree, which must stay as it is checked out.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from machine import CliError, Machine, conflict_copies, leftovers, listing  # noqa: E402
from syncthing_pair import HarnessError, SyncthingPair, wait_until  # noqa: E402

DIARY = "d.tlg"
# The whole run must stay well inside the CTest timeout.
BUDGET_SECONDS = 110


class ScenarioFailed(Exception):
    pass


class Skipped(Exception):
    pass


class Budget:
    def __init__(self, seconds):
        self.deadline = time.monotonic() + seconds

    def cap(self, seconds):
        left = self.deadline - time.monotonic()
        if left <= 0:
            raise HarnessError(f"the run's {BUDGET_SECONDS} s budget is spent")
        return min(seconds, left)


def base_days():
    return {f"2026-10-{day:02d}": round(70.0 + day * 0.1, 1) for day in range(1, 31)}


class Scenario:
    """A fresh shared folder with the diary's path on each machine, and what happened in it."""

    def __init__(self, run, folder_id):
        self.run = run
        self.folder_id = folder_id
        self.a, self.b = run.machines
        self.paths = {machine: machine.folder(folder_id) for machine in run.machines}
        run.pair.add_folder(folder_id, self.paths[self.a], self.paths[self.b])
        self.written = set()
        self.copies_seen = set()
        # A copy may be folded in and put aside between two looks at the
        # folder; what each machine had put aside before is another
        # scenario's.
        self.folded_before = {machine: set(machine.folded_copies(DIARY)) for machine in run.machines}
        self.notes = []

    def diary(self, machine):
        return os.path.join(self.paths[machine], DIARY)

    def log(self, text):
        self.run.log(f"  [{self.folder_id} {time.monotonic() - self.run.started:6.1f} s] {text}")

    def add(self, machine, day, weight):
        machine.add(self.diary(machine), day, weight)
        self.written.add((machine.name, day))

    def seed(self, days):
        """Writes the starting diary on A and waits until B has it too."""
        self.a.import_days(self.diary(self.a), days)
        self.sync("the starting diary")
        got = self.b.days(self.diary(self.b))
        if got != days:
            raise HarnessError(f"machine B did not receive the starting diary: {len(got)} of {len(days)} days")

    def scan(self):
        self.run.pair.scan_both(self.folder_id)

    def sync(self, what, timeout=30):
        """Waits until both sides are idle, complete, and hold byte-identical folders twice in a row."""
        begun = time.monotonic()
        pair = self.run.pair
        self.scan()
        last_scan = [time.monotonic()]
        stable = [0]

        def settled():
            if time.monotonic() - last_scan[0] > 2:
                self.scan()
                last_scan[0] = time.monotonic()
            same = listing(self.paths[self.a]) == listing(self.paths[self.b])
            if same and pair.idle_and_complete(self.folder_id):
                stable[0] += 1
            else:
                stable[0] = 0
            self.note_copies()
            return stable[0] >= 3

        wait_until(f"both machines to agree on {self.folder_id} after {what}", settled,
                   self.run.budget.cap(timeout), 0.2)
        self.log(f"in sync after {what} ({time.monotonic() - begun:.1f} s)")

    def note_copies(self):
        for machine in self.run.machines:
            self.copies_seen.update(conflict_copies(self.paths[machine], DIARY))
            self.copies_seen.update(set(machine.folded_copies(DIARY)) - self.folded_before[machine])

    def offline(self):
        self.run.pair.disconnect(self.run.budget.cap(20))
        self.log("machines disconnected")

    def online(self):
        self.run.pair.reconnect(self.run.budget.cap(20))
        self.log("machines connected again")

    def require_conflict_copy(self):
        """The scenario is only meaningful if Syncthing really made a conflict copy."""
        self.note_copies()
        if not self.copies_seen:
            raise HarnessError("Syncthing made no conflict copy, so the scenario tested nothing")
        self.log(f"conflict copies seen: {', '.join(sorted(self.copies_seen))}")

    def fold(self):
        """Lets Tarelog fold the conflict copies in on each machine that has one, one machine at a time."""
        if not self.run.has_merge:
            self.notes.append("tarelog-cli has no merge verb: nothing folded the conflict copies in")
            return
        for machine in self.run.machines:
            if conflict_copies(self.paths[machine], DIARY):
                machine.run("merge", self.diary(machine))
                self.log(f"merged on {machine.name}")
                self.sync(f"the merge on {machine.name}")

    def check(self, expected):
        """Exact days and weights on both machines, no conflict copy, no lock or temporary file."""
        problems = []
        self.lost = set()
        self.hidden = set()
        for machine in self.run.machines:
            folder = self.paths[machine]
            got = machine.days(self.diary(machine))
            copies = conflict_copies(folder, DIARY)
            in_copies = {}
            for copy in copies:
                for day, weight in machine.days(os.path.join(folder, copy)).items():
                    in_copies.setdefault(day, []).append((copy, weight))
            missing = sorted(set(expected) - set(got))
            extra = sorted(set(got) - set(expected))
            wrong = sorted(day for day in set(got) & set(expected) if got[day] != expected[day])
            for day in missing + wrong:
                self.lost.add(day)
                if any(weight == expected[day] for _, weight in in_copies.get(day, [])):
                    self.hidden.add(day)
            where = f"machine {machine.name} ({len(got)} days, {len(expected)} expected)"
            if missing:
                problems.append(f"{where}: {len(missing)} days missing: " + ", ".join(
                    day + self._copy_note(day, expected, in_copies) for day in missing))
            if wrong:
                problems.append(f"{where}: wrong weight on " + ", ".join(
                    f"{day} ({got[day]} instead of {expected[day]}{self._copy_note(day, expected, in_copies)})"
                    for day in wrong))
            if extra:
                problems.append(f"{where}: days that should not be there: {', '.join(extra)}")
            if copies:
                problems.append(f"{where}: conflict copies left: {', '.join(copies)}")
            stray = leftovers(folder)
            if stray:
                problems.append(f"{where}: lock or temporary files left: {', '.join(stray)}")
            # Whatever Tarelog keeps per machine belongs in that machine's state folder, not beside the diary.
            others = sorted(set(listing(folder)) - {DIARY} - set(copies) - set(stray))
            if others:
                problems.append(f"{where}: other files in the synced folder: {', '.join(others)}")
        if problems:
            raise ScenarioFailed("\n".join(problems + self.notes))

    @staticmethod
    def _copy_note(day, expected, in_copies):
        holders = [copy for copy, weight in in_copies.get(day, []) if weight == expected[day]]
        return f" [only in {holders[0]}]" if holders else " [in no conflict copy here]"


# Scenarios


def write_while_offline(scenario, first, first_days, second, second_days):
    """Seeds the diary, lets `first` and then, a second later, `second` write
    their days while disconnected, reconnects and folds the conflict copy in;
    every day written must survive. The later writer's file is the newer one,
    so Syncthing keeps it and makes the earlier one the conflict copy."""
    days = base_days()
    scenario.seed(days)
    scenario.offline()
    for day, weight in first_days.items():
        scenario.add(first, day, weight)
    time.sleep(1.1)
    for day, weight in second_days.items():
        scenario.add(second, day, weight)
    scenario.scan()
    scenario.online()
    scenario.sync("the reconnection")
    scenario.require_conflict_copy()
    scenario.fold()
    scenario.check({**days, **first_days, **second_days})


def offline_additions(scenario):
    """Both machines add days while disconnected; all of them survive."""
    write_while_offline(scenario, scenario.a, {"2026-11-01": 80.1, "2026-11-02": 80.2},
                        scenario.b, {"2026-11-03": 90.3, "2026-11-04": 90.4})


def correction_and_additions(scenario):
    """B corrects a day and A adds two while disconnected; the correction and the additions survive.
    A writes later, so B's correction is the one that lands in the conflict copy."""
    write_while_offline(scenario, scenario.b, {"2026-10-10": 99.9},
                        scenario.a, {"2026-11-05": 81.5, "2026-11-06": 81.6})


def near_simultaneous_writes(scenario):
    """20 rounds of one add on each machine a fraction of a second apart, while connected."""
    days = base_days()
    scenario.seed(days)
    a_days = {f"2026-11-{n:02d}": round(80.0 + n * 0.1, 1) for n in range(1, 21)}
    b_days = {f"2026-12-{n:02d}": round(90.0 + n * 0.1, 1) for n in range(1, 21)}
    for (a_day, a_weight), (b_day, b_weight) in zip(a_days.items(), b_days.items()):
        scenario.add(scenario.a, a_day, a_weight)
        time.sleep(0.15)
        scenario.add(scenario.b, b_day, b_weight)
        time.sleep(0.3)
    scenario.log("20 rounds written")
    scenario.sync("the rounds")
    scenario.require_conflict_copy()
    scenario.fold()
    scenario.check({**days, **a_days, **b_days})


DELETE_VERBS = ("delete", "remove")


def deletion_on_one_side(scenario):
    """A deletes a day, B leaves it alone but adds another, while disconnected: the day stays deleted."""
    verb = next((verb for verb in DELETE_VERBS if scenario.run.a.has_verb(verb)), None)
    if verb is None:
        raise Skipped("tarelog-cli has no verb that deletes a day (none of "
                      f"{', '.join(DELETE_VERBS)} in 'tarelog-cli --help')")
    days = base_days()
    scenario.seed(days)
    scenario.offline()
    gone = "2026-10-05"
    scenario.a.run(verb, scenario.diary(scenario.a), gone)
    scenario.written.add(("A", gone))
    time.sleep(1.1)
    scenario.add(scenario.b, "2026-11-07", 82.7)
    scenario.scan()
    scenario.online()
    scenario.sync("the reconnection")
    scenario.require_conflict_copy()
    scenario.fold()
    expected = dict(days, **{"2026-11-07": 82.7})
    del expected[gone]
    scenario.check(expected)


def window_open_while_copy_arrives(scenario):
    """The window is open on A while a change and a conflict copy arrive: it folds the copy in and saves."""
    if not scenario.run.window:
        raise Skipped("no window program given (--window)")
    days = base_days()
    scenario.seed(days)
    window = subprocess.Popen([scenario.run.window, scenario.diary(scenario.a)], env=scenario.a.env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        time.sleep(1.0)
        if window.poll() is not None:
            raise HarnessError(f"the window exited at once: {window.stderr.read().decode(errors='replace')}")
        scenario.offline()
        # A script writes beside the open window; the other machine writes later, so that A's version is
        # the one Syncthing renames into a conflict copy on A, under the window's eyes.
        a_days = {"2026-11-08": 83.8}
        b_days = {"2026-11-09": 93.9}
        scenario.add(scenario.a, *next(iter(a_days.items())))
        time.sleep(1.1)
        scenario.add(scenario.b, *next(iter(b_days.items())))
        scenario.scan()
        scenario.online()
        expected = {**days, **a_days, **b_days}

        def folded_everywhere():
            scenario.note_copies()
            return all(not conflict_copies(scenario.paths[m], DIARY) and m.days(scenario.diary(m)) == expected
                       for m in scenario.run.machines)

        wait_until("the window to fold the conflict copy in and both machines to hold every day",
                   folded_everywhere, scenario.run.budget.cap(30), 0.3)
        scenario.log("the window folded the copy in")
        scenario.require_conflict_copy()
        scenario.sync("the window's save")
        if window.poll() is not None:
            raise HarnessError(f"the window exited: {window.stderr.read().decode(errors='replace')}")
        scenario.check(expected)
    finally:
        window.terminate()
        try:
            window.wait(timeout=10)
        except subprocess.TimeoutExpired:
            window.kill()
            window.wait()


SCENARIOS = (
    ("offline additions on both sides", "offline", offline_additions),
    ("a correction on one side, additions on the other", "correction", correction_and_additions),
    ("near-simultaneous writes while connected", "rounds", near_simultaneous_writes),
    ("a deletion on one side left alone on the other", "deletion", deletion_on_one_side),
    ("the window open while a change and a conflict copy arrive", "window", window_open_while_copy_arrives),
)


class Run:
    def __init__(self, args, root):
        self.args = args
        self.started = time.monotonic()
        self.budget = Budget(BUDGET_SECONDS)
        self.a = Machine("A", os.path.join(root, "A"), args.cli)
        self.b = Machine("B", os.path.join(root, "B"), args.cli)
        self.machines = (self.a, self.b)
        self.window = args.window
        self.has_merge = self.a.has_verb("merge")
        self.pair = None

    def log(self, text):
        print(text, flush=True)

    def execute(self, selected):
        results = []
        homes = [(os.path.join(m.root, "syncthing"), m.env) for m in self.machines]
        with SyncthingPair(homes) as pair:
            self.pair = pair
            self.log(f"two Syncthing instances connected over loopback in {time.monotonic() - self.started:.1f} s")
            pair.check_sockets_loopback()
            for title, folder_id, scenario_function in selected:
                results.append(self.one(title, folder_id, scenario_function))
            pair.check_sockets_loopback()
        return results

    def one(self, title, folder_id, scenario_function):
        begun = time.monotonic()
        self.log(f"scenario: {title}")
        scenario = None
        try:
            scenario = Scenario(self, folder_id)
            scenario_function(scenario)
            outcome, message = "PASS", ""
        except Skipped as skip:
            outcome, message = "SKIP", str(skip)
        except ScenarioFailed as failure:
            outcome, message = "FAIL", str(failure)
        except (HarnessError, CliError) as error:
            outcome, message = "FAIL", f"{type(error).__name__}: {error}"
            if isinstance(error, HarnessError):
                for instance in self.pair.instances():
                    message += f"\n--- last lines of syncthing {instance.name}'s log:\n{instance.log_tail()}"
        except Exception:
            outcome, message = "FAIL", traceback.format_exc()
        seconds = time.monotonic() - begun
        written = len(scenario.written) if scenario else 0
        lost = getattr(scenario, "lost", set()) if scenario else set()
        hidden = getattr(scenario, "hidden", set()) if scenario else set()
        copies = len(scenario.copies_seen) if scenario else 0
        self.log(f"{outcome} {title} ({seconds:.1f} s)" + (f"\n{message}" if message else ""))
        return {"title": title, "outcome": outcome, "seconds": seconds, "written": written,
                "lost": len(lost), "hidden": len(hidden), "copies": copies}


def report(results, seconds):
    print("\nfigures (days written on two machines, days lost):")
    for r in results:
        if r["outcome"] == "SKIP":
            print(f"  SKIP {r['title']}")
            continue
        print(f"  {r['outcome']} {r['title']}: {r['written']} days written, {r['lost']} lost "
              f"({r['hidden']} only in conflict copies, {r['lost'] - r['hidden']} gone for good), "
              f"{r['copies']} conflict copies seen, {r['seconds']:.1f} s")
    ran = [r for r in results if r["outcome"] != "SKIP"]
    print(f"  total: {sum(r['written'] for r in ran)} days written, {sum(r['lost'] for r in ran)} lost, "
          f"{seconds:.1f} s")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, help="the tarelog-cli to test")
    parser.add_argument("--window", help="the tarelog window program, for the window scenario")
    parser.add_argument("--only", action="append", default=[],
                        help="run only this scenario (" + ", ".join(s[1] for s in SCENARIOS) + ")")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    # A runner's SIGTERM unwinds like an exception, so the instances are stopped and the folder removed.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    if shutil.which("syncthing") is None:
        print("syncthing is not installed (scripts/deps.sh installs it); skipping")
        return 77
    selected = [s for s in SCENARIOS if not args.only or s[1] in args.only]
    root = tempfile.mkdtemp(prefix="tarelog-sync-")
    started = time.monotonic()
    try:
        run = Run(args, root)
        results = run.execute(selected)
    except (HarnessError, CliError) as error:
        print(f"FAIL the two machines could not be set up: {error}")
        return 1
    finally:
        if args.keep:
            print(f"kept {root}")
        else:
            shutil.rmtree(root, ignore_errors=True)
    report(results, time.monotonic() - started)
    return 1 if any(r["outcome"] == "FAIL" for r in results) else 0


if __name__ == "__main__":
    sys.exit(main())
