#!/usr/bin/python3
"""Builds the program archives with cpack in the given build tree and checks
that each holds exactly the files of its program folder.

Usage: check_packages.py BUILD_TREE [--missing FILE]...
A --missing file is a program not built yet in this tree; it is left out of
the expected lists (and must then be absent)."""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

CLIENT = {"Kestro.exe", "SNAPTRAP.DLL", "downloader.exe", "template.xls", "doc/clienthint.html"}
MANAGER = {"kestroMgr.exe", "noteLens.exe", "downloader.exe", "list.xls", "imageList.xls",
           "template/TAN-01.xls", "template/TAN-02.xls", "template/TAN-03.xls", "doc/hint.html"}
UPDATER = {"downloader.exe"}
ARCHIVES = {"Kestro.zip": CLIENT, "kestroMgr.zip": MANAGER, "downloader.zip": UPDATER}
OLE = b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1"


def main(argv):
    tree = argv[1]
    missing = {argv[i + 1] for i, a in enumerate(argv) if a == "--missing"}
    out = tempfile.mkdtemp(prefix="kestro-package-", dir=tree)
    failures = []
    try:
        run = subprocess.run(["cpack", "--config", os.path.join(tree, "CPackConfig.cmake"), "-B", out],
                             cwd=tree, capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout, run.stderr)
            return 1
        made = sorted(f for f in os.listdir(out) if f.endswith(".zip"))
        if made != sorted(ARCHIVES):
            failures.append("archives made: %s" % made)
        for name, expected in ARCHIVES.items():
            path = os.path.join(out, name)
            if not os.path.exists(path):
                continue
            with zipfile.ZipFile(path) as z:
                files = {i.filename for i in z.infolist() if not i.is_dir()}
                want = {f for f in expected if os.path.basename(f) not in missing}
                print("%s: %s" % (name, ", ".join(sorted(files))))
                if files != want:
                    failures.append("%s: extra %s, lacking %s" % (name, sorted(files - want), sorted(want - files)))
                for f in files:
                    data = z.read(f)
                    if f.endswith(".xls") and not data.startswith(OLE):
                        failures.append("%s: %s is no real workbook" % (name, f))
                    if f.endswith((".exe", ".DLL")) and not data.startswith(b"MZ"):
                        failures.append("%s: %s is no Windows program" % (name, f))
                    if f.endswith(".html") and "</html>" not in data.decode("utf-8"):
                        failures.append("%s: %s is no page" % (name, f))
    finally:
        shutil.rmtree(out, ignore_errors=True)
    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
