#!/usr/bin/env python3
"""The preview in a real headless browser (Chromium, driven by Selenium), as a person uses it.

On a fresh copy of the sample device: open the page, switch the notification style to
Outline, set the outline thickness to 6 with the keyboard, choose the custom colour source
and type a colour, tap Test Notifications; then the next platter in the home screen's
snapshot is painted with those settings, the page shows them and the picture it shows is
the newest, and the Settings host reads the same values back from the store.

Exit status 77 (ctest: skipped) with the reason when Chromium, its driver or Selenium is
missing; scripts/setup.sh --browser installs them.

  browser_test.py --preview TOOL --device SAMPLE_DEVICE --settings SETTINGS_HOST [--screenshot OUT.png]
"""
import argparse
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

SKIP = 77
PATIENCE = 90


def skip(reason):
    print(f"SKIPPED: preview.browser: {reason}; install them with scripts/setup.sh --browser")
    sys.exit(SKIP)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import Select, WebDriverWait
except ImportError:
    skip("Selenium (python3-selenium) is not installed")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def fresh_device(sample):
    root = tempfile.mkdtemp(prefix="tintwell-browser-")
    device = os.path.join(root, "device")
    shutil.copytree(sample, device, ignore=lambda folder, names: ["private"] if os.path.samefile(folder, sample) else [])
    for name in ("com.quillfen.tintwellprefs.plist", "com.quillfen.tintwellprefs.colors.plist"):
        path = os.path.join(device, "var/mobile/Library/Preferences", name)
        if os.path.exists(path):
            os.remove(path)
    return root, device


def start_preview(tool, device, port):
    preview = subprocess.Popen([tool, "--root", device, "--port", str(port), "--picture-scale", "1"],
                               stdout=subprocess.PIPE, text=True)
    announced = threading.Event()

    def read():
        for line in preview.stdout:
            if f"http://127.0.0.1:{port}/" in line:
                announced.set()

    threading.Thread(target=read, daemon=True).start()
    if not announced.wait(PATIENCE):
        preview.kill()
        raise AssertionError("tintwell-preview did not start")
    return preview


def api(url, path):
    with urllib.request.urlopen(url + path, timeout=30) as response:
        return json.loads(response.read())


def platter_of(screen, text):
    """The material view behind the visible label showing the text (as tests/e2e reads it)."""
    labels = [v for v in screen.get("views", []) if v.get("text") == text and not v.get("hidden")]
    if not labels:
        return None
    label_path = labels[0]["path"]
    best, best_length = None, 0
    for view in screen["views"]:
        if view["class"] != "MTMaterialView":
            continue
        parent = view["path"].rsplit("/", 1)[0]
        if label_path.startswith(parent + "/") and len(parent) > best_length:
            best, best_length = view, len(parent)
    return best


def wait_until(condition, what, timeout=PATIENCE):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    raise AssertionError(f"timed out waiting for {what}")


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--preview", required=True)
    arguments.add_argument("--device", required=True)
    arguments.add_argument("--settings", required=True)
    arguments.add_argument("--screenshot")
    options = arguments.parse_args()

    browser = shutil.which("chromium")
    driver_program = shutil.which("chromedriver")
    if not browser or not driver_program:
        skip("Chromium or its driver (chromium, chromium-driver) is not installed")

    root, device = fresh_device(options.device)
    port = free_port()
    url = f"http://127.0.0.1:{port}"
    preview = start_preview(options.preview, device, port)
    chrome = webdriver.ChromeOptions()
    chrome.binary_location = browser
    for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1280,1300"):
        chrome.add_argument(flag)
    driver = webdriver.Chrome(service=Service(driver_program), options=chrome)
    passed = False
    red_before = red_after = None
    try:
        wait = WebDriverWait(driver, PATIENCE)
        driver.get(url + "/")
        wait.until(lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-version"))

        def version():
            return int(driver.find_element(By.TAG_NAME, "body").get_attribute("data-version"))

        def shown_screen(d):
            """The number of the picture the page shows, once it has loaded (else -1)."""
            return d.execute_script("const i = document.getElementById('screen');"
                                    "return i.complete && i.naturalWidth > 0 ? Number(i.dataset.screen || 0) : -1;")

        def red_pixels():
            """Width of the shown picture and its pixels in the custom colour, as the outline
            blends it; read once the picture has loaded (a newer one may replace it meanwhile)."""
            def measure():
                width, count = driver.execute_async_script("""
                    const done = arguments[arguments.length - 1];
                    const image = document.getElementById('screen');
                    image.decode().then(() => {
                        const canvas = document.createElement('canvas');
                        canvas.width = image.naturalWidth; canvas.height = image.naturalHeight;
                        const context = canvas.getContext('2d');
                        context.drawImage(image, 0, 0);
                        const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
                        let count = 0;
                        for (let i = 0; i < data.length; i += 4)
                            if (data[i] > 215 && Math.abs(data[i + 1] - 59) < 60 && Math.abs(data[i + 2] - 48) < 60) count++;
                        done([image.naturalWidth, count]);
                    }, () => done([0, 0]));""")
                return (width, count) if width else None
            return wait_until(measure, "the picture to load")

        def row_value(page, key):
            for candidate in api(url, "/api/state")["pages"]:
                if candidate["path"] == page:
                    for group in candidate["groups"]:
                        for row in group["rows"]:
                            if row["key"] == key:
                                return row["value"]
            return None

        driver.find_element(By.LINK_TEXT, "Notifications").click()
        wait.until(lambda d: d.find_element(By.ID, "settings-title").text == "Notifications")

        # The style, as a person taps a segment.
        style = driver.find_element(By.ID, "row-NotificationStyle")
        style.find_element(By.XPATH, ".//label[normalize-space()='Outline']").click()
        wait_until(lambda: row_value("Notifications", "NotificationStyle") == 0, "the style to be stored")

        # The thickness, with the keyboard on the slider: 3 → 6 in whole steps.
        thickness = driver.find_element(By.ID, "row-NotifOutThickness")
        assert driver.find_element(By.CSS_SELECTOR, "label[for=row-NotifOutThickness]").text == "Thickness"
        for _ in range(3):
            thickness.send_keys(Keys.ARROW_RIGHT)
        wait_until(lambda: row_value("Notifications", "NotifOutThickness") == 6, "the thickness to be stored")

        Select(driver.find_element(By.ID, "row-NotifImageCalc")).select_by_visible_text("Custom Colour")
        wait_until(lambda: row_value("Notifications", "NotifImageCalc") == 2, "the colour source to be stored")
        colour = driver.find_element(By.ID, "row-NotifCustomHEX-text")
        colour.clear()
        colour.send_keys("#ff3b30", Keys.TAB)
        wait_until(lambda: row_value("Notifications", "NotifCustomHEX") is not None, "the colour to be stored")

        driver.find_element(By.ID, "back").click()
        wait.until(lambda d: d.find_element(By.ID, "settings-title").text == "Tintwell")
        screen_before = api(url, "/api/state")["screen"]
        wait.until(lambda d: shown_screen(d) >= screen_before)
        _, red_before = red_pixels()
        before = version()
        driver.find_element(By.XPATH, "//button[normalize-space()='Test Notifications']").click()
        wait.until(lambda d: version() > before)

        # The snapshot: the newest platter is painted with the new settings.
        def painted():
            platter = platter_of(api(url, "/api/screen.json"), "Test notification 15!")
            return platter if platter and platter["layer"]["borderWidth"] == 6 else None
        platter = wait_until(painted, "the test notifications painted with the new settings")
        assert platter["layer"]["borderColor"]["hex"] == "#FF3B30CC", platter["layer"]
        # Outline only: the platter keeps the system's own fill.
        assert not (platter["backgroundColor"] or {}).get("hex", "").startswith("#FF3B30"), platter["backgroundColor"]

        # The page: it shows a newer picture, painted in the custom colour, and the controls
        # hold the values.
        screen_after = api(url, "/api/state")["screen"]
        assert screen_after > screen_before, (screen_before, screen_after)
        wait.until(lambda d: shown_screen(d) >= screen_after)
        width, red_after = red_pixels()
        assert width == 390, f"the picture is {width} pixels wide"
        assert red_before < 100 and red_after > 5000, f"custom-colour pixels before the tap {red_before}, after {red_after}"
        driver.find_element(By.LINK_TEXT, "Notifications").click()
        wait.until(lambda d: d.find_element(By.ID, "settings-title").text == "Notifications")
        outline = driver.find_element(By.XPATH, "//fieldset[@id='row-NotificationStyle']//label[normalize-space()='Outline']/input")
        assert outline.is_selected()
        assert driver.find_element(By.ID, "row-NotifOutThickness").get_attribute("value") == "6"
        assert driver.find_element(By.ID, "row-NotifCustomHEX-text").get_attribute("value") == "#ff3b30"
        if options.screenshot:
            driver.save_screenshot(options.screenshot)

        # The same store the Settings host reads.
        dump = json.loads(subprocess.run([options.settings, "--root", device, "--do", "open Tintwell", "--do", "open Notifications", "--dump"],
                                         check=True, capture_output=True, text=True).stdout)
        stored = {row["key"]: row["value"] for group in dump["groups"] for row in group["rows"] if row["key"]}
        assert stored["NotificationStyle"] == 0 and stored["NotifOutThickness"] == 6 and stored["NotifImageCalc"] == 2, stored
        assert stored["NotifCustomHEX"] == "#FF3B30:1.00", stored

        # A phone-sized window shows one pane at a time, switched by labelled buttons.
        driver.set_window_size(390, 844)
        wait.until(lambda d: d.find_element(By.ID, "show-lockscreen").is_displayed())
        assert not driver.find_element(By.ID, "screen").is_displayed()
        driver.find_element(By.ID, "show-lockscreen").click()
        assert driver.find_element(By.ID, "screen").is_displayed()
        assert driver.find_element(By.ID, "show-lockscreen").get_attribute("aria-pressed") == "true"
        passed = True
    finally:
        if not passed:
            driver.save_screenshot(os.path.join(root, "failure.png"))
            print(f"preview.browser: the page at the failure: {os.path.join(root, 'failure.png')}", file=sys.stderr)
            log = os.path.join(device, "private/var/log/springboard.log")
            if os.path.exists(log):
                with open(log, errors="replace") as lines:
                    print("preview.browser: the home screen's output:\n" + "".join(lines.readlines()[-20:]), file=sys.stderr)
        driver.quit()
        preview.send_signal(signal.SIGTERM)
        status = preview.wait(timeout=60)
        if passed:
            shutil.rmtree(root, ignore_errors=True)
    assert status == 0, f"tintwell-preview ended with status {status}"
    print(f"preview.browser: passed (pixels in the custom colour: {red_before} before the tap, {red_after} after)")


if __name__ == "__main__":
    main()
