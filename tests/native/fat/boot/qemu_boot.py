#!/usr/bin/env python3
# tests/native/fat/boot/qemu_boot.py
# Writes a disk image with boot_test_image (and copies a file into its volume with mtools), boots
# it in qemu (no display, no network, the image opened as a snapshot) and reads the VGA text
# screen through the monitor until every expected text shows; fails at the deadline, printing
# what the screen held. The image lives in a temporary folder that is removed afterwards.
#
#   qemu_boot.py --image-tool PATH --volume fat16|fat32 --sectors N [--change C ...]
#                [--copy FILE] [--geometry C,H,S[,T]] --expect TEXT [--expect TEXT ...]
#                [--reject TEXT ...] [--timeout SECONDS]
import argparse
import os
import socket
import subprocess
import sys
import tempfile
import time

SCREEN = 0xB8000
COLUMNS, ROWS = 80, 25


def monitor_command(sock, command):
    sock.sendall(command.encode() + b"\n")
    data = b""
    # The monitor echoes the command and ends its answer with a new prompt.
    while command.encode() not in data or not data.rstrip().endswith(b"(qemu)"):
        chunk = sock.recv(65536)
        if not chunk:
            raise ConnectionError("monitor closed")
        data += chunk
    return data.decode("latin-1")


def read_screen(sock):
    answer = monitor_command(sock, "xp /%dbx 0x%x" % (COLUMNS * ROWS * 2, SCREEN))
    cells = []
    for line in answer.splitlines():
        address, _, values = line.partition(":")
        if address.strip().startswith("0000") and values:
            cells.extend(int(v, 16) for v in values.split())
    characters = "".join(chr(c) if 32 <= c < 127 else " " for c in cells[0::2])
    return [characters[r * COLUMNS:(r + 1) * COLUMNS].rstrip() for r in range(ROWS)]


def connect(path, qemu, deadline):
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    while True:
        try:
            sock.connect(path)
            sock.settimeout(10)
            return sock
        except (FileNotFoundError, ConnectionRefusedError):
            if qemu.poll() is not None or time.monotonic() > deadline:
                return None
            time.sleep(0.05)


def watch(sock, args, deadline):
    screen = []
    while time.monotonic() < deadline:
        screen = read_screen(sock)
        if all(e in "\n".join(screen) for e in args.expect):
            # Let the program run on a little: a rejected text must not follow.
            time.sleep(0.5)
            screen = read_screen(sock)
            rejected = [r for r in args.reject if r in "\n".join(screen)]
            if rejected:
                print("the screen shows %r:" % rejected)
                print("\n".join(screen))
                return 1
            print("\n".join(line for line in screen if line))
            return 0
        time.sleep(0.25)
    missing = [e for e in args.expect if e not in "\n".join(screen)]
    print("after %.0f s the screen lacks %r:" % (args.timeout, missing))
    print("\n".join(screen))
    return 1


def boot(image, work, args):
    monitor = os.path.join(work, "monitor")
    disk = ["-drive", "file=%s,format=raw,if=ide,snapshot=on" % image]
    if args.geometry:
        # A disk whose BIOS geometry is not the one the partition entry was written for.
        cylinders, heads, sectors, translation = (args.geometry.split(",") + ["none"])[:4]
        disk = ["-drive", "file=%s,format=raw,if=none,id=disk,snapshot=on" % image,
                "-device", "ide-hd,drive=disk,cyls=%s,heads=%s,secs=%s,bios-chs-trans=%s"
                % (cylinders, heads, sectors, translation)]
    qemu = subprocess.Popen(
        ["qemu-system-i386", "-nodefaults", "-vga", "std", "-display", "none", "-nic", "none",
         "-m", "16"] + disk + ["-boot", "c", "-monitor", "unix:%s,server,nowait" % monitor],
        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    deadline = time.monotonic() + args.timeout
    sock = None
    try:
        sock = connect(monitor, qemu, deadline)
        if sock is None:
            print("qemu did not start")
            return 1
        return watch(sock, args, deadline)
    finally:
        if sock is not None:
            try:
                monitor_command(sock, "quit")
            except (OSError, ConnectionError):
                pass
            sock.close()
        try:
            qemu.wait(timeout=5)
        except subprocess.TimeoutExpired:
            qemu.kill()
            qemu.wait()
        output = qemu.stdout.read().decode(errors="replace").strip()
        if output:
            print(output)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--image-tool", required=True)
    parser.add_argument("--volume", required=True)
    parser.add_argument("--sectors", required=True)
    parser.add_argument("--change", action="append", default=[])
    parser.add_argument("--copy")
    parser.add_argument("--geometry", help="CYLINDERS,HEADS,SECTORS[,none|lba|large] of the disk")
    parser.add_argument("--expect", action="append", default=[])
    parser.add_argument("--reject", action="append", default=[])
    parser.add_argument("--timeout", type=float, default=20)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:
        image = os.path.join(work, "disk.img")
        subprocess.run([args.image_tool, image, args.volume, args.sectors] + args.change, check=True)
        if args.copy:
            with open(image, "rb") as disk:
                disk.seek(446 + 8)
                offset = int.from_bytes(disk.read(4), "little") * 512
            subprocess.run(["mcopy", "-i", "%s@@%d" % (image, offset), args.copy, "::IO.SYS"],
                           check=True, env=dict(os.environ, MTOOLS_SKIP_CHECK="1"))
        return boot(image, work, args)


if __name__ == "__main__":
    sys.exit(main())
