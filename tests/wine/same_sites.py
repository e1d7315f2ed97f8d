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

ROOT, DATA = Path(__file__).resolve().parents[2], Path(__file__).resolve().parents[1] / "data"
ARGS = ["--yes", "--no-gui", "--no-open", "--output"]
WINDOW = ["xvfb-run", "-a", "sh", "-c", 'xdotool search --sync --onlyvisible --name "^Harumado$" | head -n 1 | '
          'xargs -I{} xdotool key --window {} Return & exec "$@"', "-"]  # Enter answers the confirm box


def status(cmd, env=None):
    return subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=120).returncode


def downloaded(cmd):
    """The Windows program's exit status with the archives of tests/data/download on a local server."""
    server = subprocess.Popen([sys.executable, DATA.parent / "support" / "download_server.py"], cwd=DATA / "download",
                              stdout=subprocess.PIPE, text=True)
    try:
        port = re.search(r"port (\d+)", server.stdout.readline())[1]
        return status(cmd, dict(os.environ, TOBIREX_DOWNLOAD_BASE=f"http://127.0.0.1:{port}"))
    finally:
        server.kill()


def site(folder):
    """Each page of the site by its path inside it, with its bytes; None when there is none."""
    files = {p.relative_to(folder).as_posix(): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}
    return files if files.keys() - {"notes.txt"} else None


def compare(linux_exe, windows_exe, data, how):
    """The failures of one input, as lines of text."""
    with tempfile.TemporaryDirectory(prefix="tobirex-wine-") as top:
        linux, windows = Path(top, "linux"), Path(top, "windows")
        for out in (linux, windows):
            out.mkdir()
            (out / "notes.txt").write_text("mine") if how == "foreign" else None
        run = ["wine", windows_exe, *ARGS, "Z:" + str(windows).replace("/", "\\")]
        data_arg = "Z:" + str(data).replace("/", "\\")
        got = {"linux": status([linux_exe, *ARGS, str(linux), str(data)]),
               "windows": downloaded(run + ["--download=2510"]) if how == "download" else
               status(WINDOW + [w for w in run if w not in ("--yes", "--no-gui")] + [data_arg]) if how == "window" else
               status(run + [data_arg])}
        failures = [f"exit status {got}"] if got["linux"] != got["windows"] else []
        a, b = site(linux), site(windows)
        if a is None or b is None:
            return failures + ([] if a is b else [f"a site from one only: {got}"])
        return failures + [f"{name} differs" for name in sorted(a.keys() | b.keys()) if a.get(name) != b.get(name)][:10]


def main(linux_exe, windows_exe):
    inputs = [ROOT / "samples" / "fan2510.txt"] + sorted(p for p in DATA.rglob("*") if p.suffix in (".txt", ".lzh"))
    cases = [(p, "") for p in inputs] + [(DATA / "six_racers.txt", "foreign"), (DATA / "download/fan2510.lzh", "download"),
                                         (inputs[0], "window")]
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        results = list(pool.map(lambda case: compare(linux_exe, windows_exe, *case), cases[:-1]))
    # Wine's server, while it runs, keeps the display it started with (none): the window waits for it to end.
    subprocess.run(["wineserver", "-w"], check=True)
    results.append(compare(linux_exe, windows_exe, *cases[-1]))
    for (data, how), failures in zip(cases, results):
        print(("FAIL " if failures else "PASS ") + f"{data.relative_to(ROOT)} {how}" + "".join("\n    " + f for f in failures))
    failed = sum(map(bool, results))
    print(f"{failed} of {len(cases)} inputs differ" if failed else f"all {len(cases)} inputs alike")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
