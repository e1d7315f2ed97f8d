#!/usr/bin/env python3
"""site_browser_test.py TOBIREX SAMPLE_FILE HISTORY_PAGE: the converted sample read in headless Chromium, then a racer
page with its older periods (tests/golden/history); TOBIREX_SCREENSHOTS=DIR keeps roster.png, racer.png, index.png,
history.png. The pages name no character set: Japanese reading right means Shift_JIS."""
import os, subprocess, sys, tempfile
from pathlib import Path
from urllib.parse import unquote
from selenium.webdriver import Chrome, ChromeOptions
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait
(tobirex, sample, history), shots, failed = sys.argv[1:4], os.environ.get("TOBIREX_SCREENSHOTS"), []
def expect(what, got, want):
    failed.extend([] if got == want else [print(f"FAIL {what}: {got!r}, expected {want!r}") or what])
with tempfile.TemporaryDirectory(prefix="tobirex-browser-") as tmp:
    site = Path(tmp) / "site"
    subprocess.run([tobirex, "--no-gui", "--yes", "--no-open", "--output", site, sample],
                   stdin=subprocess.DEVNULL, capture_output=True, check=True, timeout=120)
    options = ChromeOptions()
    options.binary_location = os.environ.get("TOBIREX_CHROMIUM", "/usr/bin/chromium")
    for arg in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-sync",
                "--disable-background-networking", "--disable-component-update", "--window-size=1000,750",
                f"--user-data-dir={tmp}/profile"): options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    browser = Chrome(service=Service(os.environ.get("TOBIREX_CHROMEDRIVER", "/usr/bin/chromedriver")), options=options)
    arrive = lambda page: WebDriverWait(browser, 15).until(lambda b: unquote(b.current_url).endswith(page), page)
    shoot = lambda name: shots and (os.makedirs(shots, exist_ok=True), browser.save_screenshot(f"{shots}/{name}"))
    try:
        browser.get((site / "ファン手帳.html").as_uri())
        expect("roster title", browser.title, "モーターボートファン手帳ページ")
        expect("roster caption", browser.find_element(By.TAG_NAME, "caption").text, "2025 年後期　 1600 名")
        shoot("roster.png")
        browser.find_element(By.CSS_SELECTOR, "td a").click()  # the roster's first racer
        arrive("/2000/2951.html")
        expect("racer page title is the name", browser.title, "橋本　太郎　　　")
        courses = browser.find_elements(By.XPATH, "//table[last()]//tr[1]/td[position() > 1]")
        expect("course columns", [td.text for td in courses], [f"{n}コース" for n in "１２３４５６"])
        shoot("racer.png")
        browser.back()
        browser.find_element(By.LINK_TEXT, "索引").click()
        arrive("/索引.html")
        heading = browser.find_element(By.TAG_NAME, "h3")
        expect("index title, heading", (browser.title, heading.text, heading.is_displayed()), ("索引ページ", "索引", True))
        shoot("index.png")
        browser.get_log("browser")  # what came before is not this page's
        browser.get(Path(history).resolve().as_uri())
        heading = browser.find_element(By.XPATH, "//b[text()='期別成績']")
        periods = heading.find_elements(By.XPATH, "following::table[1]//tr/td[1]")
        expect("period column", [td.text for td in periods], ["期", "2025年後期", "2025年前期", "2024年後期"])
        chart = browser.execute_script("return [...document.querySelectorAll('polyline, g > rect, g > circle')]"
                                       ".map(e => [e.tagName, e.getAttribute('class'), e.getBBox().width])")
        expect("chart lines and markers", chart, [["polyline", "fsyoritu", 360], ["polyline", "syoritu", 360]] +
               [["rect", None, 8]] * 3 + [["circle", None, 8]] * 3)
        expect("console errors", [e["message"] for e in browser.get_log("browser") if e["level"] == "SEVERE"], [])
        browser.execute_script("arguments[0].scrollIntoView()", heading)
        shoot("history.png")
    finally:
        browser.quit()
sys.exit(f"{len(failed)} checks failed" if failed else 0)
