#!/usr/bin/python3
"""tests/servers/run_with_server.py with the server of tag_drop_ftp.py:
  run_with_tag_drop.py --addr 127.0.0.N --root DIR -- COMMAND..."""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "servers"))
import run_with_server  # noqa: E402


def start_tag_drop_server(args, workdir):
    command = [run_with_server.PYTHON, os.path.join(HERE, "tag_drop_ftp.py"), "--addr", args.addr,
               "--root", args.root]
    process = subprocess.Popen(command, start_new_session=True, stdin=subprocess.DEVNULL)
    return process, "kestro", "kestro-pass"


if __name__ == "__main__":
    run_with_server.start_server = start_tag_drop_server
    sys.argv[1:1] = ["--kind", "faulty"]
    sys.exit(run_with_server.main())
