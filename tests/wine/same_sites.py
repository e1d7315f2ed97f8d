#!/usr/bin/env python3
"""same_sites.py LINUX_TOBIREX WINDOWS_TOBIREX: the Windows programs under Wine against the Linux one.

Every fan file, archive and other file under tests/data and the bundled sample is converted by both
programs from the command line; their exit statuses must be equal and, where a site is written, the
sites byte for byte the same. A foreign output folder must be refused by both. Both download from a
local server that answers well or misbehaves (redirects, cut bodies, a missing period, nothing
listening): equal exit statuses and failure texts. The console twin tobirex.com beside WINDOWS_TOBIREX
(tobirex.exe) runs every command-line case; last tobirex.exe converts the sample in its window under Xvfb
(the confirm box answered with Enter). Both convert a file with its folders where a Windows user has them:
Japanese names in FILE, --output DIR, --output=DIR and --history=DIR, the file manager's own files in the
output folder, an output folder deeper than 260 characters.
The Windows program sees the paths through Wine's drive Z:, which is the Linux root."""
import concurrent.futures, os, re, shutil, subprocess, sys, tempfile
from pathlib import Path

ROOT, DATA = Path(__file__).resolve().parents[2], Path(__file__).resolve().parents[1] / "data"
ARGS = ["--yes", "--no-gui", "--no-open", "--output"]
WINDOW = ["xvfb-run", "-a", "sh", "-c", 'xdotool search --sync --onlyvisible --name "^Harumado$" | head -n 1 | '
          'xargs -I{} xdotool key --window {} Return & exec "$@"', "-"]  # Enter answers the confirm box


def run(cmd, home=None, base=None):
    """Exit status and standard error up to a box's reason (not the system's own words), HOME and mirror set."""
    env = dict(os.environ, **({"HOME": str(home)} if home else {}), **({"TOBIREX_DOWNLOAD_BASE": base} if base else {}))
    done = subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    return done.returncode, done.stderr.decode(errors="replace").replace("\r\n", "\n").split("\n")[:4]


def site(folder):
    """Each page of the site by its path inside it, with its bytes; None when there is none."""
    files = {p.relative_to(folder).as_posix(): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}
    return files if files.keys() - {"notes.txt"} else None


def compare(linux_exe, windows_exe, data, how, base):
    """The failures of one input, as lines of text; `how` a download names the server's path."""
    with tempfile.TemporaryDirectory(prefix="tobirex-wine-") as top:
        linux, windows = Path(top, "linux"), Path(top, "windows")
        for out in (linux, windows): out.mkdir(), (out / "notes.txt").write_text("mine") if how == "foreign" else None
        program = windows_exe if how == "window" else Path(windows_exe).with_suffix(".com")
        windows_run = ["wine", program, *ARGS, "Z:" + str(windows).replace("/", "\\")]
        data_arg = ["Z:" + str(data).replace("/", "\\")] if data else []
        got = {"linux": run([linux_exe, *ARGS, str(linux), str(data)], Path(top)) if data else
                        run([linux_exe, *ARGS, str(linux), *how.split()[1:]], Path(top), base + how.split()[0]),
               "windows": run(WINDOW + [w for w in windows_run if w not in ("--yes", "--no-gui")] + data_arg)
                          if how == "window" else run(windows_run + (data_arg or how.split()[1:]), None,
                                                      None if data else base + how.split()[0])}
        told = got
        got = {side: status for side, (status, _) in got.items()} if data else got  # paths differ in form: statuses
        failures = [f"exit status and box {told}"] if got["linux"] != got["windows"] else []
        if None in (a := site(linux), b := site(windows)):
            return failures + ([] if a is b else [f"a site from one only: {got}"])
        return failures + [f"{name} differs" for name in sorted(a.keys() | b.keys()) if a.get(name) != b.get(name)][:10]


PLACES = [  # (input folder, output folder, options (IN: the input folder; "=": the output folder joined), held files)
    ("入力/日本語", "出力/日本", ["--output"], {}),
    ("入力", "出力/ファン手帳", ["--output="], {}),
    ("過去の期", "site", ["--history=IN", "--output"], {}),
    ("in", "site", ["--output"], {"desktop.ini": "[.ShellClassInfo]", "4000/Thumbs.db": "x", ".DS_Store": "x"}),
    ("in", "/".join(c * 90 for c in "abc") + "/site", ["--output"], {}),
]


def place(linux_exe, windows_exe, into, out, options, held):
    """The failures of converting tests/data/history/fan2510.txt with its folders in the given places."""
    with tempfile.TemporaryDirectory(prefix="tobirex-wine-") as top:
        got = {}
        for side, exe in (("linux", [linux_exe]), ("windows", ["wine", Path(windows_exe).with_suffix(".com")])):
            named = (lambda p: "Z:" + str(p).replace("/", "\\")) if side == "windows" else str
            folder, output = Path(top, side, into), Path(top, side, out)
            shutil.copytree(DATA / "history", folder)
            for name, text in held.items():
                (output / name).parent.mkdir(parents=True, exist_ok=True), (output / name).write_text(text)
            words = [w.replace("IN", named(folder)) for w in options]
            words[-1:] = [words[-1] + named(output)] if words[-1].endswith("=") else [words[-1], named(output)]
            status, _ = run(exe + ["--yes", "--no-gui", "--no-open", *words, named(folder / "fan2510.txt")], Path(top))
            got[side] = (status, site(output))
        (a_status, a), (b_status, b) = got["linux"], got["windows"]
        failures = [f"exit statuses {a_status} and {b_status}"] if (a_status, b_status) != (0, 0) else []
        if a is None or b is None or not held.keys() <= a.keys():
            return failures + ["a site without the held files, or none"]
        return failures + [f"{name} differs" for name in sorted(a.keys() | b.keys()) if a.get(name) != b.get(name)][:10]


def same_table(linux_exe, windows_exe, sample):
    """The failures of the sample's CSV table, which the Windows program must write byte for byte as the Linux one."""
    with tempfile.TemporaryDirectory(prefix="tobirex-wine-") as top:
        linux, windows = Path(top, "linux.csv"), Path(top, "windows.csv")
        run([linux_exe, "--no-gui", f"--export={linux}", str(sample)])
        run(["wine", Path(windows_exe).with_suffix(".com"), "--no-gui", "--export=Z:" + str(windows).replace("/", "\\"),
             "Z:" + str(sample).replace("/", "\\")])
        return [] if linux.is_file() and windows.is_file() and linux.read_bytes() == windows.read_bytes() else ["the CSV tables differ"]


def main(linux_exe, windows_exe):
    inputs = [ROOT / "samples" / "fan2510.txt"] + sorted(p for p in DATA.rglob("*") if p.suffix in (".txt", ".lzh"))
    downloads = [f"/{p} --download=2510" for p in ("", "hop/5/", "hop/6/", "cut/9999/", "cut/1000/", "short/1000/")] + ["/ --download"]
    cases = [(p, "") for p in inputs] + [(DATA / "six_racers.txt", "foreign")] + [(None, d) for d in downloads] + \
            [(None, ":1/ --download=2510"), (inputs[0], "window")]
    server = subprocess.Popen([sys.executable, DATA.parent / "support" / "download_server.py"], cwd=DATA / "download",
                              stdout=subprocess.PIPE, text=True)
    try:
        port = re.search(r"port (\d+)", server.stdout.readline())[1]
        bases = {d: f"http://127.0.0.1:{port}" for d in downloads} | {":1/ --download=2510": "http://127.0.0.1"}
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            results = list(pool.map(lambda case: compare(linux_exe, windows_exe, *case, bases.get(case[1])), cases[:-1]))
            placed = list(pool.map(lambda case: place(linux_exe, windows_exe, *case), PLACES))
    finally:
        server.kill()
    # Wine's server keeps the display it started with (none): the window's run starts one of its own.
    subprocess.run(["wineserver", "-k"], check=False)
    subprocess.run(["wineserver", "-w"], check=True)
    results.append(compare(linux_exe, windows_exe, *cases[-1], None))
    cases.append((inputs[0], "--export"))
    results.append(same_table(linux_exe, windows_exe, inputs[0]))
    for (data, how), failures in zip(cases, results):
        name = data.relative_to(ROOT) if data else "download from"
        print(("FAIL " if failures else "PASS ") + f"{name} {how}" + "".join("\n    " + f for f in failures))
    for (into, out, options, held), failures in zip(PLACES, placed):
        print(("FAIL " if failures else "PASS ") + f"{' '.join(options)} {into} -> {out[:40]} {' '.join(held)}" +
              "".join("\n    " + f for f in failures))
    failed = sum(map(bool, results + placed))
    total = len(cases) + len(PLACES)
    print(f"{failed} of {total} inputs differ" if failed else f"all {total} inputs alike")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
