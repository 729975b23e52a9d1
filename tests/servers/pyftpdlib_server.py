#!/usr/bin/python3
"""pyftpdlib on <addr>:21 with one user who may do everything under <root>."""
import argparse
import logging

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class LsFS(AbstractedFS):
    def format_list(self, basedir, listing, ignore_err=True):
        yield ("total %d\r\n" % len(listing)).encode()  # as servers built on ls do
        yield from super().format_list(basedir, listing, ignore_err)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--addr", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=21)
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--passive-ports", default="")
    parser.add_argument("--total-line", action="store_true")
    args = parser.parse_args()
    logging.basicConfig(level=logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    # Names arrive in code page 932: keep their bytes as they are on disk and
    # in listings instead of replacing what is not UTF-8.
    handler.unicode_errors = "surrogateescape"
    handler.abstracted_fs = LsFS if args.total_line else AbstractedFS
    if args.passive_ports:
        low, high = (int(p) for p in args.passive_ports.split("-"))
        handler.passive_ports = range(low, high + 1)
    server = FTPServer((args.addr, args.port), handler)
    server.serve_forever()


if __name__ == "__main__":
    main()
