#!/usr/bin/env python3
"""Plays the vendor's two servers for the launcher, on one address (default 127.0.0.1:8431).

The configuration server answers
  /starter/server20/servers.txt, /starter/server20<affid>/servers.txt   the server list
  /starter/index.php?action=getbutton&param1=<row>                        a button row
and the server named by the server list (the same address) answers
  /index.php?action=getpage&...            the start page (page.html)
  /index.php?action=getbuttonimage&id=&param1=<row>   images/<row>.jpg
  /index.php?action=getdllink&...          a download page
  /index.php?id=<id>&action=getpatchmsg|getpatchurl|getpatchtype
                                           patches/<id>/message.txt, url.txt, type.txt
  /index.php                               the write probe
  /patches/<id>/<name>.txt                 a patch list, patches/<id>/<name>.txt
  /<any other path>                        a file of the scenario folder (the patch files)

Every reply comes from the scenario folder, read afresh for each request, so a test can change
the scenario while the server runs. In the texts of index.php and in the patch lists, {base}
stands for this server's own address with a closing "/", {id} for the request's id parameter,
{query} for the request's query text; every other file is served byte for byte. Texts are
Windows-1252, as the launcher reads them.
Every request line is written to the log (standard output unless --log is given).
"""

import argparse
import html
import http.server
import io
import os
import socket
import sys
import threading
import urllib.parse


class Scenario:
    def __init__(self, folder, base):
        self.folder = os.path.abspath(folder)
        self.base = base

    def path(self, *parts):
        full = os.path.abspath(os.path.join(self.folder, *parts))
        if not full.startswith(self.folder + os.sep):
            return None  # outside the scenario folder
        return full

    def read(self, *parts):
        full = self.path(*parts)
        if full is None or not os.path.isfile(full):
            return None
        with open(full, "rb") as f:
            return f.read()

    def text(self, name, **values):
        data = self.read(name)
        if data is None:
            return None
        data = data.replace(b"{base}", self.base.encode())
        for key, value in values.items():
            data = data.replace(b"{" + key.encode() + b"}", value.encode("latin-1", "replace"))
        return data

    def button_row(self, row):
        data = self.read("buttons.txt")
        if data is None:
            return None
        lines = data.decode("latin-1").split("\n")
        if not 0 <= row < len(lines):
            return None
        return lines[row].rstrip("\r").encode("latin-1")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "PelmorixDemo/1"

    def log_message(self, fmt, *args):
        pass  # the request log below replaces the default access log

    def log_request_line(self):
        with self.server.log_lock:
            self.server.log.write(self.requestline + "\n")
            self.server.log.flush()

    def reply(self, code, body, content_type="text/plain; charset=windows-1252"):
        # Head and body leave in one write, as a real server sends a small reply. Written
        # apart, the body of a kept-alive reply waits for the client's delayed acknowledgement
        # of the head (about 40 ms a reply).
        socket_writer, self.wfile = self.wfile, io.BytesIO()
        try:
            self.send_response(code)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            reply = self.wfile.getvalue()
        finally:
            self.wfile = socket_writer
        self.wfile.write(reply)

    def not_found(self):
        self.reply(404, b"not found")

    def do_GET(self):
        self.log_request_line()
        url = urllib.parse.urlsplit(self.path)
        # The launcher sends its addresses unencoded; keep "+" and "&" of values as they came.
        query = dict(p.partition("=")[::2] for p in url.query.split("&") if p)
        scenario = self.server.scenario
        body = None
        content_type = "text/plain; charset=windows-1252"
        path = url.path
        if path.startswith("/starter/server20") and path.endswith("/servers.txt"):
            affid = path[len("/starter/server20"):-len("/servers.txt")]
            body = scenario.text("servers%s.txt" % affid) if affid else None
            if body is None:
                body = scenario.text("servers.txt")
        elif path == "/starter/index.php" and query.get("action") == "getbutton":
            try:
                body = scenario.button_row(int(query.get("param1", "")))
            except ValueError:
                body = None
        elif path == "/index.php":
            body, content_type = self.index_php(query, url.query)
        else:
            parts = [p for p in path.split("/") if p]
            if len(parts) == 3 and parts[0] == "patches" and parts[2].endswith(".txt"):
                body = scenario.text(os.path.join(*parts))
            else:
                body = scenario.read(*parts)
                content_type = "application/octet-stream"
        if body is None:
            self.not_found()
        else:
            self.reply(200, body, content_type)

    def index_php(self, query, raw_query):
        scenario = self.server.scenario
        action = query.get("action", "")
        ident = query.get("id", "")
        html_type = "text/html; charset=windows-1252"
        if action == "getpage":
            return scenario.text("page.html", id=ident, query=html.escape(raw_query)), html_type
        if action == "getbuttonimage":
            return scenario.read("images", query.get("param1", "") + ".jpg"), "image/jpeg"
        if action == "getdllink":
            return scenario.text("download.html", query=html.escape(raw_query)), html_type
        if action in ("getpatchmsg", "getpatchurl", "getpatchtype"):
            name = {"getpatchmsg": "message.txt", "getpatchurl": "url.txt",
                    "getpatchtype": "type.txt"}[action]
            return scenario.text(os.path.join("patches", ident, name), id=ident), None
        if not raw_query:
            return b"write probe", "application/octet-stream"
        return None, None


# For a starter without a handle to this process (a Windows test under wine): it holds the
# control connection, and the server ends with it, even when the starter dies.
def end_when_control_closes(port_file):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    with open(port_file + ".tmp", "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.replace(port_file + ".tmp", port_file)

    def watch():
        listener.settimeout(60)
        try:
            control, _ = listener.accept()
            control.settimeout(None)
            while control.recv(1):
                pass
        except OSError:
            pass
        os._exit(0)

    threading.Thread(target=watch, daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=8431, help="port on 127.0.0.1 (0: any free)")
    parser.add_argument("--scenario", default=os.path.join(os.path.dirname(__file__), "scenario"),
                        help="folder the replies come from")
    parser.add_argument("--log", help="file the request lines are appended to")
    parser.add_argument("--port-file", help="file the chosen port is written to once listening")
    parser.add_argument("--control-port-file",
                        help="file the port of a control listener is written to (before the port"
                        " file); the server ends when its one connection closes")
    parser.add_argument("--public-port", type=int,
                        help="the port the server list and the texts name as this server's"
                        " (a proxy's in front of it); its own port by default")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    port = server.server_address[1]
    server.scenario = Scenario(args.scenario, "http://127.0.0.1:%d/" % (args.public_port or port))
    server.log = open(args.log, "a") if args.log else sys.stdout
    server.log_lock = threading.Lock()
    if args.control_port_file:
        end_when_control_closes(args.control_port_file)
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write(str(port))
        os.replace(args.port_file + ".tmp", args.port_file)
    print("demo server listening on http://127.0.0.1:%d/ (scenario %s)" % (port, args.scenario),
          file=sys.stderr, flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
