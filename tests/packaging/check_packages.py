#!/usr/bin/env python3
"""Checks what scripts/package.sh made: the .deb's files, owners and dependencies, the two
portable zips (their files, the architecture of their programs, names marked as UTF-8) and the
installer (both builds, the clips, the uninstaller). Usage: check_packages.py [PACKAGE_FOLDER] (default build/packages)."""
import collections
import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CLIPS = sorted(os.path.basename(p) for p in glob.glob(os.path.join(ROOT, "resources", "Sound", "*.wav")))
ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
PE_MACHINE = {"win32": 0x14C, "win64": 0x8664}

problems = []


def expect(condition, message):
    if not condition:
        problems.append(message)


def compare(what, found, wanted):
    for name in sorted(wanted - found):
        problems.append(f"{what}: {name} is missing")
    for name in sorted(found - wanted):
        problems.append(f"{what}: {name} should not be there")


def only(folder, pattern):
    matches = glob.glob(os.path.join(folder, pattern))
    expect(len(matches) == 1, f"expected one {pattern} in {folder}, found {len(matches)}")
    return matches[0] if len(matches) == 1 else None


def check_deb(deb):
    wanted = {
        "usr/bin/horalia", "usr/bin/horalia-say",
        "usr/lib/horalia/libUpdate.so", "usr/lib/horalia/libUpdateCheck.so",
        "usr/lib/horalia/libSendComment.so",
        "usr/share/applications/com.example.horalia.desktop",
        "usr/share/metainfo/com.example.horalia.metainfo.xml",
        "usr/share/icons/hicolor/scalable/apps/horalia.svg",
        "usr/share/man/man1/horalia.1.gz", "usr/share/man/man1/horalia-say.1.gz",
        "usr/share/doc/horalia/copyright", "usr/share/doc/horalia/changelog.gz",
    }
    wanted |= {f"usr/share/icons/hicolor/{n}x{n}/apps/horalia.png" for n in ICON_SIZES}
    wanted |= {f"usr/share/horalia/Sound/{clip}" for clip in CLIPS}
    listing = subprocess.run(["dpkg-deb", "--contents", deb], check=True, capture_output=True,
                             text=True).stdout.splitlines()
    files = {}
    for line in listing:
        # drwxr-xr-x root/root 0 2026-12-07 12:00 ./usr/bin/
        mode, owner, _size, _day, _time, path = line.split(None, 5)
        expect(owner == "root/root", f".deb: {path} belongs to {owner}")
        if not mode.startswith("d"):
            files[path.removeprefix("./")] = mode
    compare(".deb", set(files), wanted)
    for program in ("usr/bin/horalia", "usr/bin/horalia-say"):
        expect(files.get(program, "").startswith("-rwxr-xr-x"), f".deb: {program} is not executable")
    depends = subprocess.run(["dpkg-deb", "--field", deb, "Depends"], check=True,
                             capture_output=True, text=True).stdout
    # From dpkg-shlibdeps: Qt for the program, libcurl for the update check, PulseAudio for sound.
    for library in ("libqt6widgets6", "libcurl4", "libpulse0", "libsndfile1", "qt6-qpa-plugins"):
        expect(library in depends, f".deb: Depends lacks {library}: {depends.strip()}")
    # The libraries in /usr/lib/horalia are private, loaded by path: no ldconfig run for them.
    control = subprocess.run(["dpkg-deb", "--info", deb], check=True, capture_output=True,
                             text=True).stdout
    for script in ("postinst", "postrm"):
        expect(f" {script} " not in control, f".deb: has a {script}, which only ran ldconfig")
    check_desktop_metadata(deb)


def check_desktop_metadata(deb):
    """The menu entry and the AppStream data as desktops and software centres validate them."""
    with tempfile.TemporaryDirectory() as tree:
        subprocess.run(["dpkg-deb", "-x", deb, tree], check=True)
        for command in (["desktop-file-validate", "usr/share/applications/com.example.horalia.desktop"],
                        ["appstreamcli", "validate", "--no-net", "--pedantic",
                         "usr/share/metainfo/com.example.horalia.metainfo.xml"]):
            result = subprocess.run(command, cwd=tree, capture_output=True, text=True)
            notes = [line for line in result.stdout.splitlines() if line[:2] in ("E:", "W:", "I:", "P:")]
            expect(result.returncode == 0 and not notes,
                   f".deb: {command[0]} finds: {' '.join(notes) or result.stderr.strip()}")


# The Windows packages' programs, each built for the package's machine.
PROGRAMS = ("Horalia.exe", "horalia-say.exe", "Update.dll", "SendComment.dll")


def pe_machine(data):
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    expect(data[offset:offset + 4] == b"PE\0\0", "Horalia.exe is not a PE file")
    return struct.unpack_from("<H", data, offset + 4)[0]


def check_zip(path, arch):
    wanted = {f"Horalia/{name}" for name in PROGRAMS + ("说明.txt",)}
    wanted |= {f"Horalia/Sound/{clip}" for clip in CLIPS}
    with zipfile.ZipFile(path) as archive:
        entries = {info.filename: info for info in archive.infolist()}
        compare(os.path.basename(path), set(entries), wanted)
        for name, info in entries.items():
            if not name.isascii():
                expect(info.flag_bits & 0x800, f"{path}: {name} is not marked as UTF-8")
        if "Horalia/说明.txt" in entries:
            readme = archive.read("Horalia/说明.txt").decode("utf-8-sig")
            expect(f"{len(CLIPS)} 个语音文件" in readme,
                   f"{path}: 说明.txt does not count the {len(CLIPS)} clips shipped")
        for program in (f"Horalia/{name}" for name in PROGRAMS):
            if program in entries:
                machine = pe_machine(archive.read(program))
                expect(machine == PE_MACHINE[arch],
                       f"{path}: {program} is for machine {machine:#x}, not {arch}")


def check_installer(path):
    """7-Zip reads NSIS installers: both builds' programs, the clips, the uninstaller."""
    if shutil.which("7z") is None:
        problems.append("7z (p7zip-full) is missing: the installer's contents were not checked")
        return
    listing = subprocess.run(["7z", "l", "-slt", path], check=True, capture_output=True,
                             text=True).stdout.splitlines()
    paths = collections.Counter(line[7:] for line in listing if line.startswith("Path = "))
    paths.pop(path, None)
    found = {name for name in paths if not name.startswith("$PLUGINSDIR/")}
    wanted = set(PROGRAMS) | {"说明.txt", "Uninstall.exe"}
    wanted |= {f"Sound/{clip}" for clip in CLIPS}
    compare(os.path.basename(path), found, wanted)
    for program in PROGRAMS:
        expect(paths[program] == 2, f"{path}: {program} is there {paths[program]} times, not 2")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "packages")
    expect(len(CLIPS) == 103, f"resources/Sound holds {len(CLIPS)} clips, not 103")
    deb = only(folder, "horalia_*.deb")
    if deb:
        check_deb(deb)
    for arch in ("win32", "win64"):
        archive = only(folder, f"Horalia-*-{arch}.zip")
        if archive:
            check_zip(archive, arch)
    installer = only(folder, "Horalia-*-setup.exe")
    if installer:
        check_installer(installer)
    for problem in problems:
        print("check_packages:", problem, file=sys.stderr)
    if not problems:
        print("check_packages: the .deb, the two zips and the installer hold what they should")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
