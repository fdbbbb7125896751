#!/usr/bin/env python3
"""The phone page in a real browser: headless Chromium at a phone's size,
driven through Selenium, against tarelog-cli serve on 127.0.0.1.

Run by CTest as: browser_test.py --cli PATH/tarelog-cli [--screenshots DIR]
Exit status 77 when Chromium, its driver or Selenium is missing.
"""

import argparse
import datetime
import os
import shutil
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from serve_harness import Home, Server  # noqa: E402

try:
    from selenium import webdriver
    from selenium.common.exceptions import NoAlertPresentException, StaleElementReferenceException, TimeoutException
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None

CLI = None
SCREENSHOTS = None
TODAY = datetime.date.today().isoformat()
YESTERDAY = (datetime.date.today() - datetime.timedelta(days=1)).isoformat()
CHROMIUM = shutil.which("chromium")
DRIVER = shutil.which("chromedriver")
PHONE = {"width": 390, "height": 844, "pixelRatio": 3}
PHONE_AGENT = ("Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
               "Chrome/120.0 Mobile Safari/537.36")


def phone_browser(profile_dir, javascript=True):
    options = Options()
    options.binary_location = CHROMIUM
    for argument in (
            "--headless=new", "--no-sandbox", "--disable-gpu", f"--user-data-dir={profile_dir}",
            f"--window-size={PHONE['width']},{PHONE['height']}", "--ignore-certificate-errors",
            "--lang=ja", "--no-first-run", "--no-default-browser-check",
            # Nothing but the test's server: no background requests, and
            # every name but the loopback address resolves to nothing.
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--disable-default-apps", "--disable-extensions", "--disable-domain-reliability",
            "--disable-client-side-phishing-detection", "--disable-features=OptimizationHints,Translate,MediaRouter",
            "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
            "--proxy-server=127.0.0.1:9", "--proxy-bypass-list=127.0.0.1"):
        options.add_argument(argument)
    options.add_experimental_option("mobileEmulation", {"deviceMetrics": PHONE, "userAgent": PHONE_AGENT})
    if not javascript:
        # The page's scripts are blocked as a person switching JavaScript
        # off blocks them; WebDriver's own calls still run.
        options.add_experimental_option("prefs", {"profile.managed_default_content_settings.javascript": 2})
    return webdriver.Chrome(service=Service(DRIVER), options=options)


class PhonePage(unittest.TestCase):
    def setUp(self):
        self.home = Home(CLI)
        self.server = Server(self.home)
        self.base = self.server.urls[0]
        self.profiles = tempfile.TemporaryDirectory(prefix="tarelog-browser-")
        self.browsers = []

    def tearDown(self):
        for browser in self.browsers:
            browser.quit()
        self.server.stop()
        self.profiles.cleanup()
        self.home.close()

    def browser(self, javascript=True):
        profile = os.path.join(self.profiles.name, str(len(self.browsers)))
        browser = phone_browser(profile, javascript)
        self.browsers.append(browser)
        return browser

    def pair(self, browser):
        browser.get(self.server.pair_link)
        # The pairing page leads to the diary's own page.
        browser.get(self.base + "/")
        WebDriverWait(browser, 10).until(lambda b: b.find_elements(By.NAME, "weight"))

    def shot(self, browser, name):
        if SCREENSHOTS:
            os.makedirs(SCREENSHOTS, exist_ok=True)
            browser.save_screenshot(os.path.join(SCREENSHOTS, name + ".png"))

    def record(self, browser, weight):
        """Types a weight for the preset day (today) and records it with Enter,
        which the form gives to its record button."""
        field = browser.find_element(By.NAME, "weight")
        field.clear()
        field.send_keys(weight + "\n")

    @staticmethod
    def mark(browser):
        """Marks the document, to tell afterwards whether the page was loaded anew."""
        browser.execute_script("window.tarelogTestMark = 1")

    @staticmethod
    def still_marked(browser):
        return browser.execute_script("return window.tarelogTestMark === 1")

    def latest(self, browser):
        return browser.find_element(By.ID, "latest").text

    def wait_for_latest(self, browser, text):
        try:
            # The page's script replaces the figures while they are read.
            WebDriverWait(browser, 10, ignored_exceptions=(StaleElementReferenceException,)).until(
                lambda b: text in self.latest(b))
        except TimeoutException:
            self.fail(f"the latest weight stayed {self.latest(browser)!r}, not {text!r}")

    def test_pair_record_and_see_it_with_javascript(self):
        self.home.run("add", self.home.diary, YESTERDAY, "70.2")
        browser = self.browser()
        self.pair(browser)
        self.assertIn("70.2", self.latest(browser))
        self.assertTrue(browser.find_elements(By.CSS_SELECTOR, "svg"), "no graph on the page")
        self.shot(browser, "page")
        self.mark(browser)
        self.record(browser, "69.8")
        self.wait_for_latest(browser, "69.8")
        self.shot(browser, "recorded")
        # Recorded by the page's script, without loading the page again.
        self.assertTrue(self.still_marked(browser))
        self.assertEqual(self.home.days(), {YESTERDAY: 70.2, TODAY: 69.8})
        # Nothing wider than the phone: no sideways scrolling.
        width = browser.execute_script("return document.documentElement.scrollWidth")
        self.assertLessEqual(width, PHONE["width"])

    def test_pair_and_record_without_javascript(self):
        self.home.run("add", self.home.diary, YESTERDAY, "70.2")
        browser = self.browser(javascript=False)
        self.pair(browser)
        # A plain form post, answered with the whole page.
        self.record(browser, "69.5")
        self.wait_for_latest(browser, "69.5")
        self.shot(browser, "recorded-without-script")
        self.assertEqual(self.home.days(), {YESTERDAY: 70.2, TODAY: 69.5})
        # The question before a weight 20% off comes as a page with its own button.
        self.record(browser, "90")
        WebDriverWait(browser, 10).until(lambda b: b.find_elements(By.CSS_SELECTOR, ".question"))
        self.shot(browser, "question-without-script")
        self.assertEqual(self.home.days()[TODAY], 69.5)
        browser.find_element(By.CSS_SELECTOR, "button[name=record]").send_keys("\n")
        self.wait_for_latest(browser, "90")
        self.assertEqual(self.home.days()[TODAY], 90)

    def test_a_weight_far_off_the_latest_asks_first(self):
        self.home.run("add", self.home.diary, YESTERDAY, "70.0")
        browser = self.browser()
        self.pair(browser)
        self.record(browser, "90")
        # The script asks in a dialog, as the window does.
        alert = WebDriverWait(browser, 10, ignored_exceptions=(NoAlertPresentException,)).until(
            lambda b: b.switch_to.alert)
        self.assertIn("20%", alert.text)
        self.assertNotIn(TODAY, self.home.days())
        alert.accept()
        self.wait_for_latest(browser, "90")
        self.assertEqual(self.home.days()[TODAY], 90)

    def test_a_replayed_pairing_link_gets_nothing_of_the_diary(self):
        self.home.run("add", self.home.diary, YESTERDAY, "70.2")
        owner = self.browser()
        self.pair(owner)
        stranger = self.browser()
        stranger.get(self.server.pair_link)
        stranger.get(self.base + "/")
        time.sleep(0.5)
        page = stranger.page_source
        self.shot(stranger, "replayed-link")
        shown = YESTERDAY.replace("-", "/")
        for secret in ("70.2", shown, shown[5:], "<svg"):
            self.assertNotIn(secret, page)
        self.assertFalse(stranger.find_elements(By.NAME, "weight"))
        self.assertEqual(stranger.get_cookies(), [])


def main():
    global CLI, SCREENSHOTS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--screenshots")
    known, rest = parser.parse_known_args()
    if webdriver is None or not CHROMIUM or not DRIVER:
        print("Chromium, chromedriver or python3-selenium is not installed (scripts/deps.sh installs them)")
        sys.exit(77)
    CLI = os.path.abspath(known.cli)
    SCREENSHOTS = known.screenshots
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
