#!/usr/bin/python3
"""The scripted FTP server of tests/servers/faulty_ftp.py, plus one fault:
while <root>/drop_tag.txt exists, the upload of a tag file (a name ending
in ".tag.tmp") is cut off: the data connection is accepted, then both
connections are closed without a reply."""
import argparse
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
source = importlib.util.spec_from_file_location(
    "faulty_ftp", os.path.join(HERE, "..", "servers", "faulty_ftp.py"))
faulty_ftp = importlib.util.module_from_spec(source)
source.loader.exec_module(faulty_ftp)


class TagDropSession(faulty_ftp.Session):
    def do_STOR(self, arg):
        if arg.endswith(".tag.tmp") and os.path.exists(os.path.join(self.root, "drop_tag.txt")):
            data = self.accept_data()
            self.reply("150 Ok to send data.")
            data.close()
            return "close"
        return super().do_STOR(arg)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--addr", default="127.0.0.1")
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    TagDropSession.root = os.path.abspath(args.root)
    with faulty_ftp.Server((args.addr, 21), TagDropSession) as server:
        server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
