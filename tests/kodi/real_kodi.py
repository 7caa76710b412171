#!/usr/bin/env python3
"""Runs a command beside Debian's Kodi, headless, on this computer.

Usage: real_kodi.py -- COMMAND [ARGS...]
Starts a private X display (Xvfb), a PulseAudio server with a null sink (Kodi
plays in real time only into a real sink) and kodi.bin with a private HOME,
its JSON-RPC on a free TCP port of 127.0.0.1; writes a minute of sound as a
WAV; runs COMMAND with KODI_PORT and KODI_WAV set; then ends every process it
started, by its PID, whatever happened, and removes its folder. Exit code:
COMMAND's, 77 where this host has no Kodi, 1 when Kodi did not come up.
"""

import ctypes
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import wave

KODI = "/usr/lib/x86_64-linux-gnu/kodi/kodi.bin"
SKIPPED = 77
START_PATIENCE_S = 90
WAV_SECONDS = 60
WAV_RATE = 8000


def die_with_us():
    """Run in each child: the kernel kills it when this script ends, even by SIGKILL."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def write_wav(path):
    with wave.open(path, "wb") as sound:
        sound.setnchannels(1)
        sound.setsampwidth(2)
        sound.setframerate(WAV_RATE)
        period = WAV_RATE // 440
        samples = bytearray()
        for n in range(WAV_RATE):  # one second of a quiet 440 Hz square wave, repeated
            samples += (2000 if n % period < period // 2 else -2000).to_bytes(2, "little", signed=True)
        for _ in range(WAV_SECONDS):
            sound.writeframes(samples)


def answers_version(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=2) as kodi:
            kodi.sendall(b'{"jsonrpc":"2.0","id":1,"method":"JSONRPC.Version"}')
            return b'"version"' in kodi.recv(4096)
    except OSError:
        return False


class Processes:
    """The processes started here, ended in reverse order by their PIDs."""

    def __init__(self, log):
        self.started = []
        self.log = log

    def start(self, name, command, env, **options):
        print("real_kodi: starting", name, flush=True)
        process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=self.log,
                                   stderr=subprocess.STDOUT, preexec_fn=die_with_us, **options)
        self.started.append((name, process))
        return process

    def end_all(self):
        for name, process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    print("real_kodi: killing", name, process.pid, flush=True)
                    process.kill()
                    process.wait()


def start_display(processes, env):
    read_end, write_end = os.pipe()
    processes.start("Xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                    env, pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end) as display:
        number = display.readline().strip()
    if not number:
        raise RuntimeError("Xvfb did not start")
    return ":" + number


def start_kodi(processes, folder, port):
    runtime = os.path.join(folder, "run")
    os.mkdir(runtime, 0o700)
    userdata = os.path.join(folder, ".kodi", "userdata")
    os.makedirs(userdata)
    with open(os.path.join(userdata, "advancedsettings.xml"), "w") as settings:
        settings.write("<advancedsettings><jsonrpc><tcpport>%d</tcpport></jsonrpc></advancedsettings>\n" % port)
    env = dict(os.environ, HOME=folder, XDG_RUNTIME_DIR=runtime)
    env.pop("DISPLAY", None)
    env["DISPLAY"] = start_display(processes, env)
    processes.start("pulseaudio", ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                   "-L", "module-null-sink", "-L", "module-native-protocol-unix"], env)
    env["KODI_AE_SINK"] = "PULSE"
    kodi = processes.start("kodi.bin", [KODI, "--standalone"], env)
    deadline = time.monotonic() + START_PATIENCE_S
    while time.monotonic() < deadline and kodi.poll() is None:
        if answers_version(port):
            return True
        time.sleep(0.5)
    return False


def main(argv):
    if len(argv) < 3 or argv[1] != "--":
        sys.exit(__doc__)
    missing = [tool for tool in (KODI, "Xvfb", "pulseaudio") if not shutil.which(tool)]
    if missing:
        print("skipped: this host has no", ", ".join(missing), flush=True)
        return SKIPPED
    folder = tempfile.mkdtemp(prefix="real-kodi-")
    log_path = os.path.join(folder, "processes.log")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # cleanup runs on CTest's timeout too
    with open(log_path, "w") as log:
        processes = Processes(log)
        try:
            port = free_port()
            if not start_kodi(processes, folder, port):
                print("real_kodi: Kodi did not answer on port %d" % port, flush=True)
                return 1
            wav = os.path.join(folder, "tone.wav")
            write_wav(wav)
            env = dict(os.environ, KODI_PORT=str(port), KODI_WAV=wav)
            return subprocess.call(argv[2:], env=env)
        finally:
            processes.end_all()
            log.flush()
            if os.environ.get("REAL_KODI_LOG"):
                shutil.copy(log_path, os.environ["REAL_KODI_LOG"])
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
