#!/usr/bin/env python3
"""A stand-in for Kodi's JSON-RPC over TCP on 127.0.0.1, scripted by the test.

Usage: kodi_stand_in.py -- COMMAND [ARGS...]
Serves on a free port, runs COMMAND with KODI_STAND_IN_PORT set to it, and
ends with COMMAND, returning its exit code.

It answers the methods the program asks Kodi, like Kodi 20: JSON objects back
to back without a delimiter. A connection that calls a StandIn method becomes
the test's control connection: it is spared by GoAway, and each StandIn
method is answered with its result as JSON on a line of its own:
  StandIn.Set {"players": bool, "speed": n, "muted": bool,
               "pvr": "none" | "timers" | "properties", "timers": [state, ...]}
  StandIn.Notify {"method": name, "data": {...}}  to every other connection
  StandIn.GoAway    closes the port and every other connection
  StandIn.ComeBack  serves on the same port again
"""

import json
import os
import selectors
import socket
import subprocess
import sys
import threading


class Failed(Exception):
    """Kodi's error answer: -32100 where it has no player or no PVR back end."""

    def __init__(self, code=-32100, message="Failed to execute method."):
        super().__init__(message)
        self.code = code


NO_SUCH_METHOD = Failed(-32601, "Method not found.")


class StandIn:
    def __init__(self):
        self.selector = selectors.DefaultSelector()
        self.listener = None
        self.port = 0
        self.clients = {}  # socket -> unparsed text
        self.controls = set()
        self.state = {"players": False, "speed": 0, "muted": False, "pvr": "none", "timers": []}
        self.listen()

    def listen(self):
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", self.port))
        self.listener.listen()
        self.port = self.listener.getsockname()[1]
        self.selector.register(self.listener, selectors.EVENT_READ)

    def serve(self, stopped):
        while not stopped.is_set():
            for key, _ in self.selector.select(timeout=0.1):
                if key.fileobj is self.listener:
                    client, _ = self.listener.accept()
                    self.clients[client] = ""
                    self.selector.register(client, selectors.EVENT_READ)
                else:
                    self.receive(key.fileobj)

    def receive(self, client):
        try:
            data = client.recv(65536)
        except OSError:
            data = b""
        if not data:
            self.close(client)
            return
        text = self.clients[client] + data.decode("utf-8", "replace")
        decoder = json.JSONDecoder()
        while True:
            text = text.lstrip()
            try:
                message, end = decoder.raw_decode(text)
            except json.JSONDecodeError:
                break
            text = text[end:]
            self.handle(client, message)
            if client not in self.clients:
                return
        self.clients[client] = text

    def close(self, client):
        self.selector.unregister(client)
        del self.clients[client]
        self.controls.discard(client)
        client.close()

    def send(self, client, text):
        try:
            client.sendall(text.encode())
        except OSError:
            self.close(client)

    def handle(self, client, message):
        if not isinstance(message, dict):
            return
        method = message.get("method", "")
        params = message.get("params") or {}
        if method.startswith("StandIn."):
            self.controls.add(client)
            self.send(client, json.dumps(self.control(method, params)) + "\n")
            if method == "StandIn.GoAway":
                self.go_away()
            return
        reply = {"jsonrpc": "2.0", "id": message.get("id")}
        try:
            reply["result"] = self.answer(method)
        except Failed as failure:
            reply["error"] = {"code": failure.code, "message": str(failure)}
        if "id" in message:
            self.send(client, json.dumps(reply))

    def answer(self, method):
        state = self.state
        if method == "JSONRPC.Version":
            return {"version": {"major": 13, "minor": 0, "patch": 0}}
        if method == "Player.GetActivePlayers":
            return [{"playerid": 0, "playertype": "internal", "type": "audio"}] if state["players"] else []
        if method == "Player.GetProperties":
            if not state["players"]:
                raise Failed()
            return {"speed": state["speed"]}
        if method == "Application.GetProperties":
            return {"muted": state["muted"], "volume": 100}
        if method == "PVR.GetTimers" and state["pvr"] == "timers":
            timers = [{"timerid": n + 1, "label": "Timer %d" % (n + 1), "state": timer_state}
                      for n, timer_state in enumerate(state["timers"])]
            return {"limits": {"start": 0, "end": len(timers), "total": len(timers)}, "timers": timers}
        if method == "PVR.GetProperties" and state["pvr"] in ("timers", "properties"):
            return {"available": True, "recording": "recording" in state["timers"], "scanning": False}
        raise Failed() if method.startswith("PVR.") else NO_SUCH_METHOD

    def control(self, method, params):
        if method == "StandIn.Set":
            self.state.update(params)
        elif method == "StandIn.Notify":
            note = {"jsonrpc": "2.0", "method": params["method"],
                    "params": {"data": params.get("data"), "sender": "xbmc"}}
            for client in self.others():
                self.send(client, json.dumps(note))
        elif method == "StandIn.GoAway":
            pass  # after the answer
        elif method == "StandIn.ComeBack":
            if self.listener is None:
                self.listen()
        else:
            return "unknown"
        return "OK"

    def others(self):
        return [client for client in self.clients if client not in self.controls]

    def go_away(self):
        if self.listener is not None:
            self.selector.unregister(self.listener)
            self.listener.close()
            self.listener = None
        for client in self.others():
            self.close(client)


def main(argv):
    if len(argv) < 3 or argv[1] != "--":
        sys.exit(__doc__)
    stand_in = StandIn()
    stopped = threading.Event()
    server = threading.Thread(target=stand_in.serve, args=(stopped,))
    server.start()
    try:
        env = dict(os.environ, KODI_STAND_IN_PORT=str(stand_in.port))
        return subprocess.call(argv[2:], env=env)
    finally:
        stopped.set()
        server.join()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
