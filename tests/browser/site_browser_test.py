#!/usr/bin/env python3
"""site_browser_test.py TOBIREX SAMPLE_FILE HISTORY_PAGE: the converted sample read in headless Chromium, then a racer
page with its older periods (tests/golden/history), then the sample converted with --extras: the search, the race card
from its address, the rankings and a course chart, each held against what the pages themselves show;
TOBIREX_SCREENSHOTS=DIR keeps roster.png, racer.png, index.png, history.png, search.png, racecard.png, ranking.png,
course-chart.png. The pages name no character set: Japanese reading right means Shift_JIS."""
import os, re, subprocess, sys, tempfile
from pathlib import Path
from urllib.parse import unquote, urlparse
from selenium.webdriver import Chrome, ChromeOptions
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait
(tobirex, sample, history), shots, failed = sys.argv[1:4], os.environ.get("TOBIREX_SCREENSHOTS"), []
def expect(what, got, want):
    failed.extend([] if got == want else [print(f"FAIL {what}: {got!r}, expected {want!r}") or what])
with tempfile.TemporaryDirectory(prefix="tobirex-browser-") as tmp:
    site, extras = Path(tmp) / "site", Path(tmp) / "extras"
    for out, more in ((site, []), (extras, ["--extras"])):
        subprocess.run([tobirex, "--no-gui", "--yes", "--no-open", *more, "--output", out, sample],
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
        errors = []
        def visit(page, address=""):
            errors.extend(e["message"] for e in browser.get_log("browser") if e["level"] == "SEVERE")
            browser.get((extras / page).as_uri() + address)
        blank = lambda text: re.sub(r"[\s\u3000]", "", text)
        def search(query, field, words):  # the cells shown after typing, and those whose `field` holds every word
            box = browser.find_element(By.CSS_SELECTOR, "#search input")
            box.clear()
            box.send_keys(query)
            cells = browser.execute_script("return [...document.querySelectorAll('td[data-find]')].map(c => [c.dataset.find,"
                                           " c.offsetParent != null, c.querySelector('a').textContent, c.innerText])")
            want = [c[0] for c in cells if all(blank(w) in blank(field(c)) for w in words)]
            return [c[0] for c in cells if c[1]], want, cells
        visit("ファン手帳.html")
        for query, words, field in (("43", ["43"], lambda c: c[0].split("|")[0]), ("橋本 太郎", ["橋本", "太郎"], lambda c: c[2]),
                                    ("佐賀", ["佐賀"], lambda c: c[0].split("|")[3])):
            shown, want, _ = search(query, field, words)
            expect(f"roster search {query}", (shown, len(shown) > 0), (want, True))
        shoot("search.png")
        visit("索引.html")
        reading = lambda c: c[3].split("\n")[0]
        one = search("", reading, [])[2][700]
        kana, half = blank(reading(one)), one[0].split("|")[1]
        hiragana = "".join(chr(ord(k) - 0x60) if "ァ" <= k <= "ヶ" else k for k in kana)
        for query, word in ((hiragana, kana), (half, kana), (kana[:3], kana[:3])):
            shown, want, cells = search(query, reading, [word])
            headings = browser.execute_script("return [...document.querySelectorAll('font[color] b')]"
                                              ".filter(b => b.offsetParent != null).map(b => b.textContent)")
            expect(f"index search {query}", (shown, len(shown) > 0, sorted(headings)),
                   (want, True, sorted({reading(c)[0] for c in cells if c[1]})))
        racers = [c[0].split("|")[0] for c in cells[:6]]
        visit("出走表.html", "#" + ",".join(racers))
        cell = lambda row, boat: browser.find_element(By.XPATH, f"//tr[@data-f='{row}']/td[{boat}]").get_attribute("textContent")
        for boat, no in enumerate(racers, 1):
            link = browser.find_element(By.XPATH, f"//tr[@data-f='name']/td[{boat}]/a").get_attribute("href")
            racer = Path(unquote(urlparse(link).path)).read_bytes().decode("cp932")
            rows = {label: re.findall(r"<TD>([^<]*)</TD>", tds) for label, tds in re.findall(r"<TR><TD>(?:<FONT SIZE=-1>)?([^<]+)(?:</FONT>)?</TD>((?:<TD>[^<]*</TD>){6})</TR>", racer)}
            expect(f"boat {boat}", [cell(row, boat) for row in ["no", "name"] + [f"c{n}" for n in range(10)]],
                   [no, re.search("<TITLE>(.*)</TITLE>", racer)[1]] + [rows[label][boat - 1].strip() for label in ["回数", "2連対率", "3連対率", "スタートタイミング", "１着", "２着", "３着", "４着", "５着", "６着"]])
        shoot("racecard.png")
        for box, no in zip(browser.find_elements(By.NAME, "boat"), ["0000"] + racers[:5]):
            box.clear()
            box.send_keys(no)
        browser.find_element(By.CSS_SELECTOR, "input[type=submit]").click()
        expect("card typed in", (unquote(browser.current_url).split("#")[1], cell("name", 1), cell("no", 2)),
               (",".join(["0000"] + racers[:5]), "見つかりません", racers[0]))
        visit("ランキング.html")
        first = browser.find_element(By.CSS_SELECTOR, "table.ranking")
        places = [r.find_element(By.TAG_NAME, "td").text for r in first.find_elements(By.CSS_SELECTOR, "tbody tr")]
        first.find_element(By.XPATH, ".//th[.='登録番号']").click()
        numbers = [r.find_elements(By.TAG_NAME, "td")[1].text for r in first.find_elements(By.CSS_SELECTOR, "tbody tr")]
        expect("ranking places, sorted by a click", (places, numbers, browser.find_element(By.ID, "sorthint").is_displayed()),
               ([str(n) for n in range(1, 51)], sorted(numbers), True))
        shoot("ranking.png")
        visit(racers[0][0] + "000/" + racers[0] + ".html")
        counts = [int(td.text) for td in browser.find_elements(By.XPATH, "//tr[td='回数']/td[position() > 1]")]
        heights = browser.execute_script("return [...document.querySelectorAll('g.starts rect')].map(e => e.getBBox().height)")
        expect("bars as the starts", [round(h * max(counts) / max(heights), 1) for h in heights], [float(c) for c in counts])
        browser.execute_script("document.querySelector('svg').scrollIntoView()")
        shoot("course-chart.png")
        visit("索引.html")
        expect("console errors with --extras", errors, [])
    finally:
        browser.quit()
sys.exit(f"{len(failed)} checks failed" if failed else 0)
