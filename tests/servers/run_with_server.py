#!/usr/bin/python3
"""Runs a command against a real FTP server on <addr>:21 of its own.

  run_with_server.py --kind pyftpdlib|vsftpd|faulty --addr 127.0.0.N
                     --root DIR [--script NAME] [--anonymous] -- COMMAND...

Starts the server with DIR as its root folder, holding only an empty writable
folder "kestro" (the tests work in it), waits until port 21 answers, runs COMMAND with KESTRO_TEST_FTP_HOST, _USER, _PASS and _ROOT (the
server's root folder as a Unix path) in its environment, stops the server
and exits with the command's exit code. Each test uses its own 127.0.0.N
(see servers.cmake), so servers of parallel tests never meet. With
--anonymous, pyftpdlib takes the user "anonymous" with any password instead
of its own user; with --total-line its listings begin with "total N".
"""
import argparse
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"

VSFTPD_CONF = """listen=YES
listen_ipv6=NO
listen_address={addr}
listen_port=21
background=NO
run_as_launching_user=NO
seccomp_sandbox=NO
secure_chroot_dir={empty}
anonymous_enable=YES
local_enable=NO
anon_root={root}
no_anon_password=NO
ftp_username=ftp
write_enable=YES
anon_upload_enable=YES
anon_mkdir_write_enable=YES
anon_other_write_enable=YES
anon_world_readable_only=NO
anon_umask=022
allow_writeable_chroot=YES
pasv_enable=YES
pasv_min_port={pasv_min}
pasv_max_port={pasv_max}
pasv_addr_resolve=NO
connect_from_port_20=NO
dirmessage_enable=NO
xferlog_enable=NO
vsftpd_log_file={logdir}/vsftpd.log
use_localtime=YES
"""


def passive_range(addr):
    # A port range of its own for each 127.0.0.N.
    n = int(addr.rsplit(".", 1)[1])
    low = 40000 + n * 20
    return low, low + 19


def wait_for_port(addr, seconds=15):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            with socket.create_connection((addr, 21), timeout=0.5):
                return True
        except OSError:
            time.sleep(0.05)
    return False


def start_server(args, workdir):
    user, password = "kestro", "kestro-pass"
    if args.kind == "pyftpdlib":
        if args.anonymous:
            user, password = "anonymous", ""
        low, high = passive_range(args.addr)
        command = [PYTHON, os.path.join(HERE, "pyftpdlib_server.py"), "--addr", args.addr, "--root", args.root,
                   "--user", user, "--password", password, "--passive-ports", "%d-%d" % (low, high)]
        command += ["--total-line"] if args.total_line else []
    elif args.kind == "faulty":
        command = [PYTHON, os.path.join(HERE, "faulty_ftp.py"), "--addr", args.addr, "--root", args.root,
                   "--script", args.script or "normal"] + (["--anonymous"] if args.anonymous else [])
    elif args.kind == "vsftpd":
        # The anonymous account maps to the local user "ftp"; vsftpd wants
        # its root read-only, so only the "kestro" folder is the user's.
        user, password = "anonymous", "kestro@test"
        ftp = pwd.getpwnam("ftp")
        os.chmod(args.root, 0o755)
        os.chown(os.path.join(args.root, "kestro"), ftp.pw_uid, ftp.pw_gid)
        empty = os.path.join(workdir, "empty")
        os.mkdir(empty, 0o755)
        low, high = passive_range(args.addr)
        conf = os.path.join(workdir, "vsftpd.conf")
        with open(conf, "w") as f:
            f.write(VSFTPD_CONF.format(addr=args.addr, empty=empty, root=args.root, pasv_min=low, pasv_max=high,
                                       logdir=workdir))
        command = ["/usr/sbin/vsftpd", conf]
    else:
        raise SystemExit("unknown server kind " + args.kind)
    process = subprocess.Popen(command, start_new_session=True, stdin=subprocess.DEVNULL)
    return process, user, password


def stop_server(process):
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


def main():
    argv = sys.argv[1:]
    if "--" not in argv:
        raise SystemExit("usage: run_with_server.py OPTIONS -- COMMAND...")
    split = argv.index("--")
    parser = argparse.ArgumentParser()
    parser.add_argument("--kind", required=True, choices=["pyftpdlib", "vsftpd", "faulty"])
    parser.add_argument("--addr", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--script", default="")
    parser.add_argument("--anonymous", action="store_true")
    parser.add_argument("--total-line", action="store_true")
    args = parser.parse_args(argv[:split])
    # KESTRO_TEST_NET (for example 127.0.1) moves every server of a run to
    # another loopback net, so that two build trees can run their tests at once.
    if os.environ.get("KESTRO_TEST_NET"):
        args.addr = os.environ["KESTRO_TEST_NET"] + "." + args.addr.rsplit(".", 1)[1]
    command = argv[split + 1:]

    args.root = os.path.abspath(args.root)
    shutil.rmtree(args.root, ignore_errors=True)
    os.makedirs(os.path.join(args.root, "kestro"))
    os.chmod(args.root, 0o777)
    os.chmod(os.path.join(args.root, "kestro"), 0o777)
    workdir = tempfile.mkdtemp(prefix="kestro-ftp-")
    process, user, password = start_server(args, workdir)
    try:
        if not wait_for_port(args.addr):
            print("run_with_server: %s on %s:21 did not answer" % (args.kind, args.addr), file=sys.stderr)
            return 1
        env = dict(os.environ, KESTRO_TEST_FTP_HOST=args.addr, KESTRO_TEST_FTP_USER=user,
                   KESTRO_TEST_FTP_PASS=password, KESTRO_TEST_FTP_ROOT=args.root,
                   KESTRO_TEST_FTP_KIND=args.kind)
        return subprocess.call(command, env=env)
    finally:
        stop_server(process)
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
