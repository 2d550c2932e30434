# Serves the files of one folder on 127.0.0.1 at a free port, which it prints first.
#   serve_files.py FOLDER [--http11] [--log FILE]
# --http11 answers in HTTP/1.1 and keeps connections open between requests (the default is
# HTTP/1.0, one request a connection). --log appends one line per request to FILE as the reply
# starts: the client's port, the request line and the reply code, so a test can tell which
# requests shared a connection.
import argparse
import functools
import http.server

parser = argparse.ArgumentParser()
parser.add_argument("folder")
parser.add_argument("--http11", action="store_true")
parser.add_argument("--log")
options = parser.parse_args()


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1" if options.http11 else "HTTP/1.0"

    def log_request(self, code="-", size="-"):
        code = getattr(code, "value", code)
        if options.log:
            with open(options.log, "a") as log:
                log.write("%d %s %s\n" % (self.client_address[1], self.requestline, code))

    def log_message(self, format, *args):
        pass


handler = functools.partial(Handler, directory=options.folder)
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()
