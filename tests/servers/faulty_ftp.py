#!/usr/bin/python3
"""A small scripted FTP server for fault tests (passive mode only).

The script for each new control connection is read from <root>/script.txt
(first word), or else taken from --script. "normal" behaves like a plain
server on the files under <root>; the other scripts add one fault each:

  multiline        multi-line USER/PASS/CWD replies, SIZE and PASV replies
                   split across two writes
  greeting_dash    a greeting whose every line is "220-" but the last
  silent           accepts the connection and never answers
  retr_150_226     RETR: a 150 reply holding "226", data, then a late 226
  stor_150_226     STOR: a 150 reply holding "226", the real 226 comes late
  drop_control     RETR: half the data, then both connections are closed
  drop_data        RETR: half the data, the data connection is reset, no 226
  abort_data       RETR: half the data, data closed, "426" on control
  stall_upload     STOR: the data connection is never read
  list_abort       LIST: the data connection is closed at once, "426"
  pasv_noparen     PASV reply without parentheses
  pasv_seven       PASV reply with seven fields
  pasv_range       PASV reply with a field above 255
  pasv_port0       PASV reply with port 0
  cwd_faults       CWD into a folder named 421, 450 (that reply) or silent (none)
  pasv_elsewhere   PASV reply naming <net>.13, where no server listens
"""
import argparse
import os
import socket
import socketserver
import struct
import threading
import time

USER = "kestro"
PASSWORD = "kestro-pass"


def send(conn, text):
    conn.sendall(text.encode("cp932"))


class Session(socketserver.BaseRequestHandler):
    root = "."
    default_script = "normal"
    anonymous = False

    def setup(self):
        self.script = self.default_script
        try:
            with open(os.path.join(self.root, "script.txt"), encoding="ascii") as f:
                words = f.read().split()
                if words:
                    self.script = words[0]
        except OSError:
            pass
        self.cwd = "/"
        self.listener = None
        self.rename_from = None
        self.user = None
        self.buffer = b""

    # -- helpers --
    def reply(self, text):
        send(self.request, text + "\r\n")

    def local(self, name):
        path = name if name.startswith("/") else os.path.join(self.cwd, name)
        path = os.path.normpath("/" + path).lstrip("/")
        return os.path.join(self.root, path)

    def read_line(self):
        while b"\n" not in self.buffer:
            chunk = self.request.recv(4096)
            if not chunk:
                return None
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.rstrip(b"\r").decode("cp932", "replace")

    def open_passive(self):
        if self.listener:
            self.listener.close()
        self.listener = socket.socket()
        if self.script == "stall_upload":
            self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        self.listener.bind((self.request.getsockname()[0], 0))
        self.listener.listen(1)
        self.listener.settimeout(10)
        host, port = self.listener.getsockname()
        return host.split("."), port

    def accept_data(self):
        conn, _ = self.listener.accept()
        self.listener.close()
        self.listener = None
        return conn

    # -- the session --
    def handle(self):
        if self.script == "silent":
            while self.request.recv(4096):
                pass
            return
        if self.script == "greeting_dash":
            self.reply("220-Welcome\r\n220-Kestro test server\r\n220-")
            time.sleep(0.2)
            self.reply("220 ready")
        else:
            self.reply("220 Kestro test server ready")
        while True:
            line = self.read_line()
            if line is None:
                return
            verb, _, arg = line.partition(" ")
            handler = getattr(self, "do_" + verb.upper(), None)
            if handler is None:
                self.reply("502 Command not implemented.")
            elif handler(arg) == "close":
                return

    def do_USER(self, arg):
        self.user = arg
        if self.script == "multiline":
            self.reply("331-Password required\r\n331-for " + arg + "\r\n331 Send it")
        else:
            self.reply("331 Password required")

    def do_PASS(self, arg):
        if (self.user != USER or arg != PASSWORD) and not (self.anonymous and self.user == "anonymous"):
            self.reply("530 Login incorrect.")
        elif self.script == "multiline":
            self.reply("230-Welcome\r\n230-230 lines follow\r\n230 Logged in.")
        else:
            self.reply("230 Logged in.")

    def do_CWD(self, arg):
        if self.script == "cwd_faults" and arg.rstrip("/").endswith(("/421", "/450", "/silent")):
            if not arg.rstrip("/").endswith("silent"):
                self.reply(arg.rstrip("/")[-3:] + " Folder not available.")
            return "close" if arg.rstrip("/").endswith("421") else None
        target = self.local(arg)
        if not os.path.isdir(target):
            self.reply("550 No such folder.")
            return
        relative = os.path.relpath(target, self.root)
        self.cwd = "/" if relative == "." else "/" + relative
        if self.script == "multiline":
            self.reply("250-Folder changed\r\n250 OK")
        else:
            self.reply("250 OK")

    def do_MKD(self, arg):
        try:
            os.mkdir(self.local(arg))
            self.reply('257 "%s" created' % arg)
        except OSError:
            self.reply("550 Cannot create.")

    def do_DELE(self, arg):
        try:
            os.remove(self.local(arg))
            self.reply("250 Deleted.")
        except OSError:
            self.reply("550 Not found.")

    def do_RNFR(self, arg):
        if os.path.exists(self.local(arg)):
            self.rename_from = self.local(arg)
            self.reply("350 Ready.")
        else:
            self.reply("550 Not found.")

    def do_RNTO(self, arg):
        try:
            os.rename(self.rename_from, self.local(arg))
            self.reply("250 Renamed.")
        except (OSError, TypeError):
            self.reply("550 Cannot rename.")

    def do_TYPE(self, arg):
        self.reply("200 Type set.")

    def do_SIZE(self, arg):
        target = self.local(arg)
        if not os.path.isfile(target):
            self.reply("550 Not found.")
        elif self.script == "multiline":
            send(self.request, "21")
            time.sleep(0.2)
            self.reply("3 %d" % os.path.getsize(target))
        else:
            self.reply("213 %d" % os.path.getsize(target))

    def do_PASV(self, arg):
        host, port = self.open_passive()
        fields = host + [str(port // 256), str(port % 256)]
        if self.script == "pasv_noparen":
            self.reply("227 Entering Passive Mode " + ",".join(fields))
        elif self.script == "pasv_seven":
            self.reply("227 Entering Passive Mode (%s,7)" % ",".join(fields))
        elif self.script == "pasv_range":
            self.reply("227 Entering Passive Mode (%s,%s,%s,%s,300,%s)" % tuple(fields[:4] + [fields[5]]))
        elif self.script == "pasv_elsewhere":
            self.reply("227 Entering Passive Mode (%s)" % ",".join(host[:3] + ["13"] + fields[4:]))
        elif self.script == "pasv_port0":
            self.reply("227 Entering Passive Mode (%s,0,0)" % ",".join(host))
        elif self.script == "multiline":
            send(self.request, "227 Entering Passive Mode (" + ",".join(fields[:3]))
            time.sleep(0.2)
            self.reply("," + ",".join(fields[3:]) + ")")
        else:
            self.reply("227 Entering Passive Mode (%s)" % ",".join(fields))

    def do_LIST(self, arg):
        data = self.accept_data()
        self.reply("150 Here comes the listing.")
        if self.script == "list_abort":
            data.close()
            self.reply("426 Connection closed; transfer aborted.")
            return
        folder = self.local(".")
        lines = []
        for name in sorted(os.listdir(folder)):
            if name == "script.txt":
                continue
            st = os.stat(os.path.join(folder, name))
            kind = "d" if os.path.isdir(os.path.join(folder, name)) else "-"
            lines.append("%srw-r--r--    1 0        0        %8d Jan 01 00:00 %s\r\n" % (kind, st.st_size, name))
        data.sendall("".join(lines).encode("cp932"))
        data.close()
        self.reply("226 Directory send OK.")

    def do_RETR(self, arg):
        target = self.local(arg)
        if not os.path.isfile(target):
            self.reply("550 Not found.")
            return
        with open(target, "rb") as f:
            content = f.read()
        data = self.accept_data()
        half = content[: len(content) // 2]
        if self.script == "retr_150_226":
            self.reply("150 Opening BINARY mode data connection (226 bytes).")
            data.sendall(content)
            data.close()
            time.sleep(0.3)
            self.reply("150 Still 226 to go")
            time.sleep(0.3)
            self.reply("226 Transfer complete.")
            return
        self.reply("150 Opening BINARY mode data connection.")
        if self.script == "drop_control":
            data.sendall(half)
            time.sleep(0.2)
            data.close()
            return "close"
        if self.script == "drop_data":
            data.sendall(half)
            time.sleep(0.2)
            data.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            data.close()
            return
        if self.script == "abort_data":
            data.sendall(half)
            data.close()
            time.sleep(0.2)
            self.reply("426 Connection closed; transfer aborted.")
            return
        data.sendall(content)
        data.close()
        self.reply("226 Transfer complete.")

    def do_STOR(self, arg):
        target = self.local(arg)
        data = self.accept_data()
        if self.script == "stall_upload":
            self.reply("150 Ok to send data.")
            # Never read: the client's sends block until it gives up.
            while self.request.recv(4096):
                pass
            data.close()
            return "close"
        if self.script == "stor_150_226":
            self.reply("150 Opening data connection for 226 bytes.")
        else:
            self.reply("150 Ok to send data.")
        with open(target, "wb") as f:
            while True:
                chunk = data.recv(65536)
                if not chunk:
                    break
                f.write(chunk)
        data.close()
        if self.script == "stor_150_226":
            time.sleep(0.5)
        self.reply("226 Transfer complete.")

    def do_QUIT(self, arg):
        self.reply("221 Goodbye.")
        return "close"


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--addr", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=21)
    parser.add_argument("--root", required=True)
    parser.add_argument("--script", default="normal")
    parser.add_argument("--anonymous", action="store_true")
    args = parser.parse_args()
    Session.root = os.path.abspath(args.root)
    Session.anonymous = args.anonymous
    Session.default_script = args.script
    with Server((args.addr, args.port), Session) as server:
        server.serve_forever()


if __name__ == "__main__":
    main()
