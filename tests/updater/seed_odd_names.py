#!/usr/bin/python3
"""Puts names that a Windows program cannot create into download/names/ and
download/odd/ on the server's disk, then runs the rest of the command line."""
import os
import sys

root = os.environ["KESTRO_TEST_FTP_ROOT"]
folder = os.path.join(root, "download", "names")
os.makedirs(folder, exist_ok=True)
for name in [b"..\\escape.txt", b"c:drive.txt", b"sub\\inner.txt", "設定ソ.txt".encode("cp932"), b"ok.txt"]:
    with open(os.path.join(folder.encode(), name), "wb") as f:
        f.write(b"from the server")
os.makedirs(os.path.join(root, "download", "odd"), exist_ok=True)
open(os.path.join(root.encode(), b"download", b"odd", b"..\\escape.txt"), "wb").close()  # nothing to take
os.execvp(sys.argv[1], sys.argv[1:])
