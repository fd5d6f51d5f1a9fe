#!/usr/bin/env python3
"""Checks the release as a Windows user gets it, under Wine.

usage: run_release_tests.py DIST_DIR TEST_INSTALLER START_PROGRAM

DIST_DIR holds what scripts/package.sh wrote. TEST_INSTALLER is the installer
script built as a 64-bit program (this machine runs no 32-bit code), and
START_PROGRAM the helper that starts a copy of the program and waits for its
main window. Run inside scripts/with-wine-display.sh.
"""
import hashlib
import pathlib
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
VERSION = (ROOT / "VERSION").read_text().strip()
FILES = {"velkor-subnetting.exe", "velkor.exe", "README.txt"}
MACHINES = {"win32": 0x014C, "win64": 0x8664}  # PE machine types: i386, x86-64
PRODUCT = "Velkor - IPv4 Subnetting"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkor"

failures = []
passed = 0


def check(condition, what):
    global passed
    if condition:
        passed += 1
    else:
        failures.append(what)
        print("FAILED:", what)


def run(*args, **kwargs):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=120, **kwargs)


def pe_machine(data):
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


def unix_path(windows_path):
    return pathlib.Path(run("winepath", "-u", windows_path).stdout.strip())


def windows_path(path):
    return run("winepath", "-w", str(path)).stdout.strip()


def shows_main_window(start_program, exe):
    result = run("wine", str(start_program), windows_path(exe))
    print(result.stdout.strip())
    return result.returncode == 0


def check_zip(dist, arch, start_program):
    archive = dist / f"velkor-{VERSION}-{arch}.zip"
    with zipfile.ZipFile(archive) as z, tempfile.TemporaryDirectory() as tmp:
        check(set(z.namelist()) == FILES, f"{archive.name} holds exactly {sorted(FILES)}")
        z.extractall(tmp)
        folder = pathlib.Path(tmp)
        readme = (folder / "README.txt").read_bytes()
        check(b"\r\n" in readme and b"\n" not in readme.replace(b"\r\n", b""),
              f"{arch} README.txt has CRLF line ends only")
        check(f"{PRODUCT} {VERSION}".encode() in readme and b"--hosts" in readme,
              f"{arch} README.txt names the version and the command-line usage")
        exes = [folder / name for name in sorted(FILES) if name.endswith(".exe")]
        for exe in exes:
            check(pe_machine(exe.read_bytes()) == MACHINES[arch],
                  f"{arch} {exe.name} is a {arch} program")
        imports = run(str(ROOT / "scripts" / "check-imports.sh"), *map(str, exes))
        check(imports.returncode == 0, f"{arch} programs import only system DLLs: {imports.stderr}")
        if arch == "win64":
            check(shows_main_window(start_program, folder / "velkor-subnetting.exe"),
                  "the unpacked 64-bit program shows its main window")
            version = run("wine", str(folder / "velkor.exe"), "--version")
            check(version.stdout == f"velkor {VERSION}\n", "the unpacked velkor.exe runs")


def check_sums(dist):
    sums = (dist / "SHA256SUMS").read_text().split("\n")
    named = {line.split()[1]: line.split()[0] for line in sums if line}
    expected = {f"velkor-{VERSION}-win32.zip", f"velkor-{VERSION}-win64.zip",
                f"velkor-{VERSION}-setup.exe"}
    check(set(named) == expected, "SHA256SUMS lists the three files")
    for name, digest in named.items():
        actual = hashlib.sha256((dist / name).read_bytes()).hexdigest()
        check(actual == digest, f"SHA256SUMS matches {name}")


def uninstall_entry():
    result = run("wine", "reg", "query", UNINSTALL_KEY)
    return result.stdout if result.returncode == 0 else ""


def wait_for(condition, seconds=30):
    deadline = time.time() + seconds
    while not condition():
        if time.time() > deadline:
            return False
        time.sleep(0.5)
    return True


def check_installer(installer, start_program):
    local = unix_path(run("wine", "cmd", "/c", "echo %LOCALAPPDATA%").stdout.strip())
    appdata = unix_path(run("wine", "cmd", "/c", "echo %APPDATA%").stdout.strip())
    folder = local / "Programs" / "Velkor"
    shortcut = appdata / "Microsoft" / "Windows" / "Start Menu" / "Programs" / f"{PRODUCT}.lnk"

    check(run("wine", str(installer), "/S").returncode == 0, "the silent install succeeds")
    for name in FILES | {"uninstall.exe"}:
        check((folder / name).is_file(), f"the install puts {name} in {folder}")
    check(shortcut.is_file(), "the install adds the Start-menu shortcut")
    entry = uninstall_entry()
    for value in (PRODUCT, VERSION, "Orvantis", "uninstall.exe"):
        check(value in entry, f"the uninstall entry holds {value}")
    check(pe_machine((folder / "velkor-subnetting.exe").read_bytes()) == MACHINES["win64"],
          "64-bit Windows gets the 64-bit program")
    check(shows_main_window(start_program, folder / "velkor-subnetting.exe"),
          "the installed program shows its main window")

    run("wine", str(folder / "uninstall.exe"), "/S")
    # The uninstaller runs on from a copy of itself, so its work is awaited.
    check(wait_for(lambda: not folder.exists()), "the silent uninstall removes the program folder")
    check(not shortcut.exists(), "the uninstall removes the shortcut")
    check(uninstall_entry() == "", "the uninstall removes the uninstall entry")


def main():
    dist, installer, start_program = map(pathlib.Path, sys.argv[1:4])
    check_sums(dist)
    for arch in ("win32", "win64"):
        check_zip(dist, arch, start_program)
    shipped = dist / f"velkor-{VERSION}-setup.exe"
    check(pe_machine(shipped.read_bytes()) == MACHINES["win32"],
          "the shipped installer is a 32-bit program, so it runs on every Windows")
    check_installer(installer, start_program)
    print(f"release: {passed} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
