#!/usr/bin/env python3
"""same_sites.py LINUX_TOBIREX WINDOWS_TOBIREX: the Windows program under Wine against the Linux one.

Every fan file, archive and other file under tests/data and the bundled sample is converted by both
programs from the command line; their exit statuses must be equal and, where a site is written, the
sites byte for byte the same. A foreign output folder must be refused by both. Then the Windows
program downloads an archive from a local server, and converts the sample in its window under Xvfb
(the confirm box answered with Enter): both sites as the Linux program makes them from the file.
The Windows program sees the paths through Wine's drive Z:, which is the Linux root."""
import concurrent.futures, os, re, subprocess, sys, tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
ARGS = ["--yes", "--no-gui", "--no-open", "--output"]


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def site(folder):
    """Each file of the site by its path inside it, with its bytes; None when there is no site."""
    files = {p.relative_to(folder).as_posix(): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}
    return files if files.keys() - {"notes.txt"} else None


def differences(linux, windows):
    if linux is None or windows is None:
        return [] if linux is windows else [f"site written by one only (Linux {linux is not None})"]
    names = sorted(linux.keys() | windows.keys())
    return [f"{name} differs" for name in names if linux.get(name) != windows.get(name)][:10]


def in_window(cmd):
    """Runs the Windows program on a virtual display and answers its confirm box."""
    with subprocess.Popen(["xvfb-run", "-a", "sh", "-c", 'xdotool search --sync --onlyvisible --name "^Harumado$" '
                           '| head -n 1 | xargs -I{} xdotool key --window {} Return & exec "$@"', "-", *cmd],
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT) as run:
        return run.wait(timeout=120)


def downloaded(cmd):
    """Runs the Windows program with the archives of tests/data/download on a local server."""
    server = subprocess.Popen([sys.executable, ROOT / "tests" / "support" / "download_server.py"],
                              cwd=ROOT / "tests" / "data" / "download", stdout=subprocess.PIPE, text=True)
    try:
        port = re.search(r"port (\d+)", server.stdout.readline())[1]
        env = dict(os.environ, TOBIREX_DOWNLOAD_BASE=f"http://127.0.0.1:{port}")
        return subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=120).returncode
    finally:
        server.kill()


def compare(linux_exe, windows_exe, data, foreign=False, how=None):
    """The failures of one input, as lines of text."""
    with tempfile.TemporaryDirectory(prefix="tobirex-wine-") as top:
        outs = {"linux": Path(top, "linux", "out"), "windows": Path(top, "windows", "out")}
        for out in outs.values():
            out.mkdir(parents=True)
            if foreign:
                (out / "notes.txt").write_text("mine")
        windows = ["wine", windows_exe, *ARGS, windows_path(outs["windows"])]
        status = {"linux": subprocess.run([linux_exe, *ARGS, str(outs["linux"]), str(data)], stdin=subprocess.DEVNULL,
                                          capture_output=True, timeout=120).returncode,
                  "windows": downloaded(windows + ["--download=2510"]) if how == "download" else
                  in_window([w for w in windows if w not in ("--yes", "--no-gui")] + [windows_path(data)]) if how == "window" else
                  subprocess.run(windows + [windows_path(data)], stdin=subprocess.DEVNULL, capture_output=True,
                                 timeout=120).returncode}
        failures = [] if status["linux"] == status["windows"] else [f"exit status Linux {status['linux']}, "
                                                                      f"Windows {status['windows']}"]
        return failures + differences(site(outs["linux"]), site(outs["windows"]))


def main(linux_exe, windows_exe):
    inputs = [ROOT / "samples" / "fan2510.txt"] + sorted(p for p in (ROOT / "tests" / "data").rglob("*")
                                                        if p.suffix in (".txt", ".lzh"))
    cases = [(p, False, None) for p in inputs] + [(ROOT / "tests" / "data" / "six_racers.txt", True, None),
                                                   (ROOT / "tests" / "data" / "download" / "fan2510.lzh", False, "download"),
                                                   (inputs[0], False, "window")]
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        results = list(pool.map(lambda case: compare(linux_exe, windows_exe, *case), cases))
    failed = 0
    for (data, foreign, how), failures in zip(cases, results):
        name = data.relative_to(ROOT).as_posix() + (" into a foreign folder" if foreign else "") + \
            {"download": ", downloaded", "window": ", in the window"}.get(how, "")
        failed += bool(failures)
        print(("FAIL " if failures else "PASS ") + name + "".join("\n    " + f for f in failures), flush=True)
    print(f"{failed} of {len(cases)} inputs differ" if failed else f"all {len(cases)} inputs alike")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
