#!/usr/bin/env python3
"""The web edition's page in headless Chromium, one scenario per row of SCENARIOS, each on a freshly
loaded page; then a picture of the page and the two benchmark figures.

test_page.py SITE-FOLDER OUT-FOLDER"""
import gzip
import http.server
import pathlib
import subprocess
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.keys import Keys

DEFAULTS = ["4.0", "3.6", "0.45", "2.0", "2.2", "3.0", "280", "160", "130", "30", "0.50", "22.0", "0.0"]
START = ("6.7kN/m", "7.172kN/m^2")
TAB_CHAIN = ["Text2", "Text3", "Text4", "Text5", "Text6", "Text13", "Text11", "Text7", "Text8",
             "Text9", "Text10", "Text12", "Picture1", "Text1"]

# name, page, steps, what must hold afterwards. Steps: (click, field), (keys, text), (tab, n),
# (paste, text), (compose, preedit, committed), (menu, label, action), (hover, label), (print,).
# Expectations not named hold as just after start-up: the defaults, both captions, no message,
# no beep.
SCENARIOS = [
    ("start-up", "index.html", [], {"focus": "Text1", "selection": (0, 3)}),
    ("start-up from disk", "file", [], {"focus": "Text1", "selection": (0, 3)}),
    ("typing, beam", "index.html", [("click", "Text2"), ("keys", "3")],
     {"texts": {"Text2": "3"}, "captions": ("4.9kN/m", START[1])}),
    ("typing, stair", "index.html", [("click", "Text12"), ("keys", "20")],
     {"texts": {"Text12": "20"}, "captions": (START[0], "7.078kN/m^2")}),
    ("filtered keys", "index.html", [("keys", "a+-e,/ ")],
     {"focus": "Text1", "selection": (0, 3)}),
    ("rejected, reset and recomputed", "index.html",
     [("click", "Text2"), ("keys", "0")],
     {"messages": [("数据检查", "层高≤0，数据错误。请重新输入！")], "focus": "Text2", "selection": (0, 3)}),
    ("leading zero beeps", "index.html", [("click", "Text3"), ("keys", "01")],
     {"beeps": 1, "focus": "Text3", "selection": (0, 4)}),
    ("the same text typed over its selection is checked", "index.html",
     [("click", "Text4"), ("keys", "3"), ("click", "Text1"), ("keys", "2"), ("click", "Text4"),
      ("keys", "3")],
     {"texts": {"Text1": "2", "Text4": "2.0"}, "captions": ("3.95kN/m", START[1]),
      "messages": [("数据检查", "窗宽≥开间轴线间距，数据错误。请重新输入！")] * 2,
      "focus": "Text4", "selection": (0, 3)}),
    ("pasted minus", "index.html", [("click", "Text4"), ("paste", "-1")],
     {"messages": [("数据检查", "窗宽< 0，数据错误。请重新输入！")], "selection": (0, 3)}),
    ("pasted letters in a stair field", "index.html", [("click", "Text7"), ("paste", "12abc")],
     {"texts": {"Text7": "12abc"}, "captions": (START[0], "59.461kN/m^2")}),
    ("input method, judged when committed", "index.html", [("compose", "zh", "３．５")],
     {"texts": {"Text1": "３．５"}, "captions": ("6.307kN/m", START[1])}),
    ("Tab order", "index.html", [("tab", 14)], {"chain": TAB_CHAIN, "focus": "Text1"}),
    ("Enter recomputes", "index.html", [("click", "Text7"), ("keys", Keys.ENTER)], {"focus": "Text7"}),
    ("working on hover", "index.html", [("hover", "Label11")],
     {"working": "g = (b + h) / b × f × γ + (h / 2 + t / cos α) × 25 + 0.34 / cos α"}),
    ("copy the result", "index.html", [("menu", "Label10", "copyResult")],
     {"clipboard": ("6.7kN/m", "6.7kN/m")}),
    ("copy the working", "index.html", [("menu", "Label10", "copyWorking")],
     {"clipboard": ("结果：q = 6.7kN/m", "<i>h</i><sub>b</sub>")}),
    ("print the sheet", "index.html", [("click", "Text2"), ("keys", "3"), ("print",)],
     {"texts": {"Text2": "3"}, "captions": ("4.9kN/m", START[1]),
      "paper": ["1", "594.96 x 841.92 pts (A4)"],
      "pdf": ["计算书", "一、输入数据", "框架梁上均布线荷载：4.9kN/m", "楼梯的折算恒荷载：7.172kN/m^2"]}),
]


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run",
                 f"--user-data-dir={profile}", "--window-size=800,700", "--lang=zh-CN"):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(site):
    handler = lambda *a: Quiet(*a, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"


def dismiss_dialogs(driver, messages):
    while driver.execute_script("return document.getElementById('Message').open"):
        dialog = driver.find_element(By.ID, "Message")
        messages.append((dialog.find_element(By.CLASS_NAME, "title").text,
                         dialog.find_element(By.CLASS_NAME, "prompt").text))
        dialog.find_element(By.TAG_NAME, "button").click()
        # The replay goes on once the dialog has closed, and may open it again (a reset text
        # failing its own check).
        driver.execute_async_script("setTimeout(arguments[0], 50)")


def read_clipboard(driver):
    return driver.execute_async_script("""
        const done = arguments[0];
        navigator.clipboard.read().then(async ([item]) => done([
          await (await item.getType('text/plain')).text(),
          await (await item.getType('text/html')).text()]), (e) => done(['', String(e)]));""")


def step(driver, action, out, state):
    kind, *args = action
    by_id = lambda name: driver.find_element(By.ID, name)
    # A result label reaches under the fields to its right: point at its visible left end.
    result_end = lambda name: ActionChains(driver).move_to_element_with_offset(
        by_id(name), 20 - by_id(name).size["width"] // 2, 0)
    if kind == "click":
        by_id(args[0]).click()
    elif kind == "keys":
        ActionChains(driver).send_keys(args[0]).perform()
    elif kind == "tab":
        for _ in range(args[0]):
            ActionChains(driver).send_keys(Keys.TAB).perform()
            state["chain"].append(driver.execute_script("return document.activeElement.id"))
    elif kind == "paste":
        driver.execute_async_script("navigator.clipboard.writeText(arguments[0]).then(arguments[1])", args[0])
        ActionChains(driver).key_down(Keys.CONTROL).send_keys("v").key_up(Keys.CONTROL).perform()
    elif kind == "compose":
        driver.execute_cdp_cmd("Input.imeSetComposition", {"text": args[0], "selectionStart": 2,
                                                            "selectionEnd": 2})
        driver.execute_cdp_cmd("Input.insertText", {"text": args[1]})
    elif kind == "hover":
        result_end(args[0]).perform()
        state["working"] = by_id("Working").text
    elif kind == "menu":
        result_end(args[0]).context_click().perform()
        driver.find_element(By.CSS_SELECTOR, f'#Menu [data-action="{args[1]}"]').click()
        time.sleep(0.2)
        state["clipboard"] = read_clipboard(driver)
    elif kind == "print":
        # As the print dialog does: the page's own paper size (A4) and margins.
        pdf = out / "sheet-web.pdf"
        printed = driver.execute_cdp_cmd("Page.printToPDF", {"preferCSSPageSize": True})
        pdf.write_bytes(__import__("base64").b64decode(printed["data"]))
        state["pdf"] = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True,
                                      text=True, check=True).stdout
        info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
        state["paper"] = [line.split(":")[1].strip() for line in info.splitlines()
                          if line.startswith(("Pages:", "Page size:"))]
    dismiss_dialogs(driver, state["messages"])


def check(driver, name, expect, state):
    texts = {f"Text{i}": t for i, t in enumerate(DEFAULTS, 1)} | expect.get("texts", {})
    got = {n: driver.find_element(By.ID, n).get_property("value") for n in texts}
    captions = tuple(driver.find_element(By.ID, n).text for n in ("Label10", "Label11"))
    problems = []
    want = [("texts", texts, got), ("captions", expect.get("captions", START), captions),
            ("messages", expect.get("messages", []), state["messages"]),
            ("beeps", expect.get("beeps", 0), driver.execute_script("return window.loadcalcBeeps"))]
    if "focus" in expect:
        want.append(("focus", expect["focus"], driver.execute_script("return document.activeElement.id")))
    if "selection" in expect:
        sel = driver.execute_script("const e = document.activeElement; return [e.selectionStart, e.selectionEnd]")
        want.append(("selection", expect["selection"], (sel[0], sel[1] - sel[0])))
    if "paper" in expect:
        want.append(("paper", expect["paper"], state["paper"]))
    for key in ("chain", "working", "clipboard"):
        if key in expect:
            ok = expect[key] == state[key] if key == "chain" else all(
                s in t for s, t in zip([expect[key]] if key == "working" else expect[key],
                                       [state[key]] if key == "working" else state[key]))
            want.append((key, expect[key], expect[key] if ok else state[key]))
    for text in expect.get("pdf", []):
        want.append(("pdf", text, text if text in state["pdf"].replace(" ", "") else state["pdf"]))
    for what, expected, actual in want:
        if expected != actual:
            problems.append(f"  {what}: expected {expected!r}, got {actual!r}")
    print(("ok  " if not problems else "FAIL") + f" {name}")
    print("\n".join(problems)) if problems else None
    return not problems


def run(site, out):
    base = serve(str(site))
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        driver.execute_cdp_cmd("Browser.grantPermissions", {
            "origin": base.rstrip("/"), "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        passed = True
        for name, page, steps, expect in SCENARIOS:
            driver.get((site / "loadcalc.html").as_uri() if page == "file" else base + page)
            driver.execute_script("document.fonts && document.fonts.ready")
            while driver.execute_script("return document.body.dataset.ready") != "true":
                time.sleep(0.02)
            state = {"messages": [], "chain": []}
            for action in steps:
                step(driver, action, out, state)
            passed &= check(driver, name, expect, state)
        times = []
        for _ in range(5):
            driver.get(base + "index.html")
            while driver.execute_script("return document.body.dataset.ready") != "true":
                time.sleep(0.02)
            times.append(driver.execute_script(
                "return performance.getEntriesByName('loadcalc-captions')[0].startTime"))
        driver.find_element(By.ID, "Text1").send_keys("5.4")
        driver.find_element(By.ID, "Form1").screenshot(str(out / "screenshot-web.png"))
        driver.quit()
    page = sum(len(gzip.compress((site / f).read_bytes(), 9))
               for f in ("index.html", "loadcalc.js", "loadcalc.css", "loadcalc.wasm"))
    single = len(gzip.compress((site / "loadcalc.html").read_bytes(), 9))
    times.sort()
    print(f"navigation to both captions: median {times[2]:.0f} ms, slowest {times[4]:.0f} ms of 5; page transfer {page / 1000:.0f} KB gzip "
          f"(index.html, script, style, module), loadcalc.html {single / 1000:.0f} KB gzip")
    return passed


if __name__ == "__main__":
    sys.exit(0 if run(pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2]).resolve()) else 1)
