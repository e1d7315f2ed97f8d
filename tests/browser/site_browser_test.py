#!/usr/bin/env python3
"""Opens the site converted from the sample in headless Chromium, as a reader would.

Usage: site_browser_test.py TOBIREX_EXE SAMPLE_FILE

Drives Chromium through chromedriver with the W3C WebDriver protocol (plain
HTTP and JSON, standard library only). The pages are code page 932 and declare
no character set, so Japanese titles and captions reading correctly prove the
browser recognised them as Shift_JIS. With TOBIREX_SCREENSHOTS=DIR set, the
roster, a racer page and the index page are saved there as PNG files.
"""

import base64
import json
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.parse
import urllib.request
from pathlib import Path

CHROMIUM = os.environ.get("TOBIREX_CHROMIUM", "/usr/bin/chromium")
CHROMEDRIVER = os.environ.get("TOBIREX_CHROMEDRIVER", "/usr/bin/chromedriver")
CHROMIUM_ARGS = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync"]
WINDOW = (1000, 750)   # the page area, as the screenshots show it

WHOLE_RUN_SECONDS = 240   # the watchdog: nothing here may hang CI
CONVERT_SECONDS = 120
DRIVER_START_SECONDS = 20
REQUEST_SECONDS = 60
WAIT_SECONDS = 15

ROSTER_PAGE = "ファン手帳.html"
INDEX_PAGE = "索引.html"
ROSTER_TITLE = "モーターボートファン手帳ページ"
ROSTER_CAPTION = "2025 年後期　 1600 名"
INDEX_TITLE = "索引ページ"
RACER_HREF = ".\\4000\\4321.html"   # a racer link as the roster writes it
BACK_BUTTON = "戻る"
INDEX_LINK = "索引"
ROSTER_LINK = "モーターボートファン手帳"


class WebDriverError(Exception):
    pass


class Session:
    """One WebDriver session on a running chromedriver."""

    def __init__(self, port):
        self.base = f"http://127.0.0.1:{port}"
        self.id = None

    def call(self, method, path, body=None):
        """Sends one command and returns its "value"; raises WebDriverError on an error reply."""
        data = None if body is None else json.dumps(body).encode()
        req = urllib.request.Request(self.base + path, data=data, method=method,
                                     headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(req, timeout=REQUEST_SECONDS) as reply:
                return json.load(reply).get("value")
        except urllib.error.HTTPError as e:
            body = e.read().decode(errors="replace")
            try:
                value = json.loads(body)["value"]
                body = f"{value.get('error')}: {value.get('message', '')[:300]}"
            except (ValueError, KeyError, AttributeError):
                pass
            raise WebDriverError(f"{method} {path}: {body}") from None

    def cmd(self, method, path, body=None):
        return self.call(method, f"/session/{self.id}{path}", body)

    def start(self, user_data_dir):
        args = CHROMIUM_ARGS + [f"--user-data-dir={user_data_dir}"]
        caps = {"browserName": "chrome",
                "goog:chromeOptions": {"binary": CHROMIUM, "args": args},
                "timeouts": {"pageLoad": WAIT_SECONDS * 1000, "script": WAIT_SECONDS * 1000, "implicit": 0}}
        self.id = self.call("POST", "/session", {"capabilities": {"alwaysMatch": caps}})["sessionId"]
        self.size_viewport(*WINDOW)

    def size_viewport(self, width, height):
        """Sizes the window so the page area is width × height pixels."""
        self.cmd("POST", "/window/rect", {"width": width, "height": height})
        inner = self.script("return [window.innerWidth, window.innerHeight];")
        self.cmd("POST", "/window/rect", {"width": 2 * width - inner[0], "height": 2 * height - inner[1]})

    def quit(self):
        if self.id:
            self.call("DELETE", f"/session/{self.id}")
            self.id = None

    def open(self, url):
        self.cmd("POST", "/url", {"url": url})

    def url(self):
        return self.cmd("GET", "/url")

    def title(self):
        return self.cmd("GET", "/title")

    def find(self, using, value):
        """The first element matching, as its WebDriver reference."""
        return self.cmd("POST", "/element", {"using": using, "value": value})

    def find_in(self, element, using, value):
        """The first element matching inside element."""
        return self.cmd("POST", f"/element/{element_id(element)}/element", {"using": using, "value": value})

    def click(self, element):
        self.cmd("POST", f"/element/{element_id(element)}/click", {})

    def script(self, source, *args):
        return self.cmd("POST", "/execute/sync", {"script": source, "args": list(args)})

    def text_content(self, element):
        """The element's text exactly as the DOM holds it (full-width blanks kept)."""
        return self.script("return arguments[0].textContent;", element)

    def attribute(self, element, name):
        return self.cmd("GET", f"/element/{element_id(element)}/attribute/{name}")

    def screenshot(self, path):
        png = base64.b64decode(self.cmd("GET", "/screenshot"))
        Path(path).write_bytes(png)


def element_id(element):
    return next(iter(element.values()))


def xpath_literal(text):
    """An XPath string literal for text holding no apostrophe."""
    assert "'" not in text
    return f"'{text}'"


def normalise_space(text):
    """Collapses runs of ASCII white space, as a reader sees them; U+3000 stays."""
    return re.sub(r"[ \t\n\r\f]+", " ", text).strip(" ")


def page_path(url):
    """The decoded path of a file:// URL."""
    return urllib.parse.unquote(urllib.parse.urlparse(url).path)


def racer_path(href):
    """"NNNN/NNNN.html" from a link written as ".\\NNNN\\NNNN.html"."""
    match = re.fullmatch(r"\.\\(\d{4})\\(\d{4})\.html", href)
    if not match:
        raise AssertionError(f"racer link {href!r} is not in the .\\NNNN\\NNNN.html form")
    return f"{match[1]}/{match[2]}.html", match[2]


def wait_for_path(session, suffix):
    """Waits until the page's path ends with suffix; returns the URL."""
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        url = session.url()
        if page_path(url).endswith("/" + suffix) or time.monotonic() > deadline:
            return url
        time.sleep(0.1)


class Checks:
    """Counts checks and prints one line per check."""

    def __init__(self):
        self.passed = 0
        self.failed = 0

    def expect(self, name, actual, expected):
        if actual == expected:
            self.passed += 1
            print(f"PASS {name}")
        else:
            self.failed += 1
            print(f"FAIL {name}: got {actual!r}, expected {expected!r}")

    def crashed(self, name, error):
        self.failed += 1
        print(f"FAIL {name}: {type(error).__name__}: {error}")


class SiteTour:
    """The reader's walk through the site, one method per step."""

    def __init__(self, session, site, checks, shots):
        self.s = session
        self.site = site
        self.checks = checks
        self.shots = shots

    def url_of(self, name):
        return (self.site / name).as_uri()

    def expect_page(self, step, page, title):
        url = wait_for_path(self.s, page)
        self.checks.expect(f"{step}: page", page_path(url).endswith("/" + page), True)
        self.checks.expect(f"{step}: title", self.s.title(), title)

    def shoot(self, name):
        if self.shots:
            self.s.screenshot(self.shots / name)
            print(f"     screenshot {self.shots / name}")

    def roster_reads_as_japanese(self):
        self.s.open(self.url_of(ROSTER_PAGE))
        self.checks.expect("roster: title", self.s.title(), ROSTER_TITLE)
        caption = self.s.find("css selector", "caption")
        self.checks.expect("roster: caption", normalise_space(self.s.text_content(caption)), ROSTER_CAPTION)
        self.shoot("roster.png")

    def racer_link_opens_racer(self):
        self.s.open(self.url_of(ROSTER_PAGE))
        link = self.s.find("xpath", f"//a[@href={xpath_literal(RACER_HREF)}]")
        self.open_racer("roster link", link)
        self.shoot("racer.png")

    def back_button_returns(self):
        self.s.click(self.s.find("css selector", f"input[type=button][value='{BACK_BUTTON}']"))
        self.expect_page("racer back button", ROSTER_PAGE, ROSTER_TITLE)

    def index_link_and_back(self):
        self.s.open(self.url_of(ROSTER_PAGE))
        self.s.click(self.s.find("link text", INDEX_LINK))
        self.expect_page("roster index link", INDEX_PAGE, INDEX_TITLE)
        self.shoot("index.png")
        self.s.click(self.s.find("link text", ROSTER_LINK))
        self.expect_page("index roster link", ROSTER_PAGE, ROSTER_TITLE)

    def index_cell_opens_racer(self):
        self.s.open(self.url_of(INDEX_PAGE))
        # The last racer lies far down under another kana heading: the click must scroll to it.
        cell = self.s.find("xpath", "(//td[a])[last()]")
        link = self.s.find_in(cell, "css selector", "a")
        reading = self.s.text_content(self.s.find_in(cell, "css selector", "font"))
        self.open_racer("index cell", link)
        shown = self.s.text_content(self.s.find("xpath", "//table[1]//tr[2]/td[1]/font"))
        self.checks.expect("index cell: reading on racer page", shown, reading)

    def open_racer(self, step, link):
        """Clicks a racer link and checks the page is that racer's."""
        path, number = racer_path(self.s.attribute(link, "href"))
        name = self.s.text_content(link)
        self.s.click(link)
        url = wait_for_path(self.s, path)
        self.checks.expect(f"{step}: opens {path}", page_path(url).endswith("/" + path), True)
        self.checks.expect(f"{step}: title is the name", self.s.title(), name)
        bold = self.s.find("xpath", "/html/body/b[1]")
        self.checks.expect(f"{step}: number in bold", self.s.text_content(bold), number)


def convert_sample(tobirex, sample, site):
    run = subprocess.run([tobirex, "--no-gui", "--yes", "--no-open", "--output", str(site), sample],
                         stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=CONVERT_SECONDS)
    if run.returncode != 0 or not (site / ROSTER_PAGE).is_file():
        raise RuntimeError(f"tobirex ended with {run.returncode}:\n{run.stdout}{run.stderr}")


def free_port():
    with socket.socket() as sock:
        sock.bind(("127.0.0.1", 0))
        return sock.getsockname()[1]


def start_chromedriver(port, log):
    # Its own process group, so the browser it starts ends with it.
    driver = subprocess.Popen([CHROMEDRIVER, f"--port={port}", "--allowed-ips=127.0.0.1"],
                              stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    deadline = time.monotonic() + DRIVER_START_SECONDS
    while time.monotonic() < deadline:
        if driver.poll() is not None:
            raise RuntimeError(f"chromedriver ended with {driver.returncode}")
        try:
            with urllib.request.urlopen(f"http://127.0.0.1:{port}/status", timeout=2) as reply:
                if json.load(reply)["value"].get("ready"):
                    return driver
        except (OSError, ValueError):
            pass
        time.sleep(0.1)
    stop_process_group(driver)
    raise RuntimeError("chromedriver did not become ready")


def stop_process_group(proc):
    """Ends chromedriver and every process it started (the group it leads)."""
    try:
        os.killpg(proc.pid, signal.SIGTERM)
        proc.wait(timeout=5)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        pass
    try:
        os.killpg(proc.pid, signal.SIGKILL)  # a browser process may outlive the driver
    except ProcessLookupError:
        pass
    proc.wait(timeout=5)


class OutOfTime(Exception):
    """The watchdog fired; not an OSError, so no step swallows it."""


def on_watchdog(signum, frame):
    raise OutOfTime(f"the browser test ran longer than {WHOLE_RUN_SECONDS} s")


def tour(session, site, checks, shots):
    walk = SiteTour(session, site, checks, shots)
    steps = [walk.roster_reads_as_japanese, walk.racer_link_opens_racer, walk.back_button_returns,
             walk.index_link_and_back, walk.index_cell_opens_racer]
    for step in steps:
        try:
            step()
        except (WebDriverError, AssertionError, OSError) as error:
            checks.crashed(step.__name__, error)


def screenshot_folder():
    shots = os.environ.get("TOBIREX_SCREENSHOTS")
    if not shots:
        return None
    shots = Path(shots).resolve()
    shots.mkdir(parents=True, exist_ok=True)
    return shots


def run(tobirex, sample, tmp, checks):
    """Converts the sample into tmp and walks the site in the browser."""
    site = tmp / "site"
    convert_sample(tobirex, sample, site)
    port = free_port()
    with open(tmp / "chromedriver.log", "w") as log:
        driver = start_chromedriver(port, log)
        session = Session(port)
        try:
            session.start(tmp / "profile")
            tour(session, site, checks, screenshot_folder())
        finally:
            try:
                session.quit()
            except (WebDriverError, OSError):
                pass
            stop_process_group(driver)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    signal.signal(signal.SIGALRM, on_watchdog)
    signal.alarm(WHOLE_RUN_SECONDS)
    checks = Checks()
    with tempfile.TemporaryDirectory(prefix="tobirex-browser-", ignore_cleanup_errors=True) as tmp:
        try:
            run(argv[1], argv[2], Path(tmp), checks)
        except (OutOfTime, RuntimeError, WebDriverError, OSError, subprocess.SubprocessError) as error:
            checks.crashed("run", error)
            log = Path(tmp) / "chromedriver.log"
            if log.exists():
                print(log.read_text(errors="replace")[-4000:], file=sys.stderr)
    signal.alarm(0)
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
