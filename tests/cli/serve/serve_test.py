#!/usr/bin/env python3
"""tarelog-cli serve from outside, over real sockets on 127.0.0.1.

Run by CTest as: serve_test.py --cli PATH/tarelog-cli [--qrencode PATH]
"""

import argparse
import concurrent.futures
import json
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from serve_harness import Home, Server, cookie_pair, raw_connection  # noqa: E402

CLI = None
QRENCODE = None


class ServeCase(unittest.TestCase):
    def setUp(self):
        self.home = Home(CLI)
        self.servers = []

    def tearDown(self):
        for server in self.servers:
            server.stop()
        self.home.close()

    def serve(self, *extra, **options):
        server = Server(self.home, *extra, **options)
        self.servers.append(server)
        return server


class StartAndPairing(ServeCase):
    def test_prints_where_to_go_and_pairs_once_over_tls(self):
        server = self.serve()
        base = f"https://127.0.0.1:{server.port}"
        self.assertEqual(server.urls, [base])
        self.assertTrue(server.pair_link.startswith(base + "/pair/"), server.pair_link)
        # The fingerprint printed is the one of the certificate served, as a phone shows it.
        self.assertEqual(server.served_fingerprint(), server.fingerprint)
        self.assertTrue(os.path.exists(os.path.join(self.home.env["XDG_STATE_HOME"], "tarelog", "tls", "server.pem")))
        self.assertEqual(os.listdir(os.path.dirname(self.home.diary)), [])
        if QRENCODE:
            drawn = subprocess.run([QRENCODE, "-t", "UTF8", "-o", "-", server.pair_link], capture_output=True,
                                   text=True, check=True).stdout
            self.assertEqual(server.qr_lines, drawn.rstrip("\n").split("\n"))
        else:
            self.assertGreater(len(server.qr_lines), 10)

        path = server.pair_link[len(base):]
        status, headers, _ = server.request("GET", path)
        self.assertEqual(status, 200)
        cookie, attributes = cookie_pair(headers, "tarelog_device")
        self.assertIsNotNone(cookie)
        for attribute in ("httponly", "secure", "samesite=strict"):
            self.assertIn(attribute, attributes)
        status, _, page = server.request("GET", "/", headers={"Cookie": cookie})
        self.assertEqual(status, 200)
        # A second use of the same link pairs nothing.
        status, headers, _ = server.request("GET", path)
        self.assertEqual(status, 403)
        self.assertEqual(cookie_pair(headers, "tarelog_device"), (None, []))

    def test_a_link_made_by_another_process_pairs_with_the_running_server(self):
        server = self.serve()
        link = self.home.run("pair", self.home.diary).stdout.split("pair: ", 1)[1].split("\n", 1)[0]
        status, headers, _ = server.request("GET", "/pair/" + link.rsplit("/pair/", 1)[1])
        self.assertEqual(status, 200)
        self.assertIsNotNone(cookie_pair(headers, "tarelog_device")[0])

    def test_the_certificate_is_kept_between_runs(self):
        first = self.serve()
        fingerprint = first.fingerprint
        first.stop()
        second = self.serve()
        self.assertEqual(second.fingerprint, fingerprint)
        self.assertEqual(second.served_fingerprint(), fingerprint)


class ApiThroughTheServer(ServeCase):
    def test_records_with_the_token_and_refuses_without(self):
        server = self.serve()
        token = self.home.token()
        status, _, body = server.post_entry(token, "2026-03-04", 65.4)
        self.assertEqual(status, 200, body)
        self.assertEqual(json.loads(body)["weight"], 65.4)
        status, _, body = server.request("GET", "/api/diary", headers={"Authorization": f"Bearer {token}"})
        self.assertEqual(status, 200, body)
        self.assertEqual(json.loads(body)["latest"]["date"], "2026-03-04")
        self.assertEqual(self.home.days(), {"2026-03-04": 65.4})

        status, _, body = server.post_entry("not-a-token", "2026-03-05", 66.0)
        self.assertEqual(status, 401)
        self.assertIn("error", json.loads(body))
        status, _, _ = server.request("GET", "/api/diary")
        self.assertEqual(status, 401)
        self.assertEqual(self.home.days(), {"2026-03-04": 65.4})

    def test_a_huge_body_is_refused_and_the_server_goes_on(self):
        server = self.serve()
        token = self.home.token()
        body = json.dumps({"date": "2026-03-04", "weight": 65.4, "pad": "x" * 1_000_000})
        try:
            status, _, _ = server.request("POST", "/api/entries", body,
                                          {"Authorization": f"Bearer {token}", "Content-Type": "application/json"})
            self.assertEqual(status, 413)
        except OSError:
            pass  # refused from the headers and closed while the body was still being sent (reset, TLS EOF)
        self.assertEqual(self.home.days(), {})
        status, _, _ = server.post_entry(token, "2026-03-04", 65.4)
        self.assertEqual(status, 200)


class Stopping(ServeCase):
    def test_a_signal_finishes_the_request_in_flight_and_exits_0(self):
        for number in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=number):
                server = self.serve("--http")
                token = self.home.token(f"script {number}")
                # A request already on its way when the signal comes.
                body = json.dumps({"date": "2026-05-01", "weight": 61.5 + number})
                sock = raw_connection(server.port)
                sock.sendall((f"POST /api/entries HTTP/1.1\r\nHost: 127.0.0.1:{server.port}\r\n"
                              f"Authorization: Bearer {token}\r\nContent-Type: application/json\r\n"
                              f"Content-Length: {len(body)}\r\n").encode())
                time.sleep(0.3)
                server.signal(number)
                time.sleep(0.3)
                sock.sendall(b"\r\n" + body.encode())
                answer = sock.recv(65536).decode()
                sock.close()
                self.assertTrue(answer.startswith("HTTP/1.1 200"), answer)
                self.assertEqual(server.wait(), 0)
                self.assertEqual(self.home.days()["2026-05-01"], 61.5 + number)
                with self.assertRaises(OSError):
                    raw_connection(server.port).close()

    def test_plain_http_only_on_loopback(self):
        for listen in ("0.0.0.0:0", "192.168.1.20:8765", "[::]:0"):
            with self.subTest(listen=listen):
                done = self.home.run("serve", self.home.diary, "--http", "--listen", listen, check=False)
                self.assertEqual(done.returncode, 2)
                self.assertEqual(done.stdout, "")
                self.assertIn("loopback", done.stderr.splitlines()[0])
        done = self.home.run("serve", self.home.diary, "--listen", "nonsense", check=False)
        self.assertEqual(done.returncode, 2)
        server = self.serve("--http")
        self.assertEqual(server.urls, [f"http://127.0.0.1:{server.port}"])
        self.assertIsNone(server.fingerprint)
        status, _, _ = server.request("GET", "/")
        self.assertEqual(status, 200)


class Load(ServeCase):
    def test_idle_connections_do_not_keep_a_request_waiting(self):
        server = self.serve()
        idle = [raw_connection(server.port) for _ in range(200)]
        try:
            # Half have begun a TLS handshake and stopped.
            for sock in idle[:100]:
                sock.sendall(b"\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03")
            time.sleep(0.2)
            start = time.monotonic()
            status, _, _ = server.request("GET", "/", timeout=10)
            waited = time.monotonic() - start
        finally:
            for sock in idle:
                sock.close()
        self.assertEqual(status, 200)
        # An idle connection is kept 2 s and a half-done handshake 5 s:
        # the request did not wait for any of them.
        self.assertLess(waited, 1.5)

    def test_api_clients_and_cli_writers_lose_no_day(self):
        server = self.serve()
        tokens = [self.home.token(f"client{n}") for n in range(4)]
        api_days = {f"2025-{1 + n:02d}-{1 + d:02d}": round(60 + n + d / 10, 1) for n in range(4) for d in range(25)}
        cli_days = {f"2024-{1 + d // 25:02d}-{1 + d % 25:02d}": round(80 + d / 10, 1) for d in range(50)}

        def client(n):
            failures = []
            for d in range(25):
                date = f"2025-{1 + n:02d}-{1 + d:02d}"
                status, _, body = server.post_entry(tokens[n], date, api_days[date])
                if status != 200:
                    failures.append((date, status, body))
            return failures

        adds = [subprocess.Popen([CLI, "add", self.home.diary, date, str(weight)], env=self.home.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
                for date, weight in cli_days.items()]
        with concurrent.futures.ThreadPoolExecutor(4) as pool:
            failures = [f for result in pool.map(client, range(4)) for f in result]
        add_failures = [(p.args[3], p.stderr.read()) for p in adds if p.wait(timeout=120) != 0]
        for p in adds:
            p.stderr.close()
        # On a slow machine (a sanitizer build) a writer may give up waiting
        # for the lock: it says so, leaves the file as it was, and a script
        # sends the day again. Any other failure is a fault.
        busy = "waiting for another program"
        self.assertEqual([f for f in failures if f[1] != 503 or busy.encode() not in f[2]], [])
        self.assertEqual([f for f in add_failures if busy not in f[1]], [])
        for date, _, _ in failures:
            self.assertEqual(server.post_entry(tokens[0], date, api_days[date])[0], 200)
        for date, _ in add_failures:
            self.home.run("add", self.home.diary, date, str(cli_days[date]))
        self.assertEqual(self.home.days(), {**api_days, **cli_days})


def main():
    global CLI, QRENCODE
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--qrencode", default=shutil.which("qrencode"))
    known, rest = parser.parse_known_args()
    CLI = os.path.abspath(known.cli)
    QRENCODE = known.qrencode
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
