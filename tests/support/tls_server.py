# A TLS server on 127.0.0.1 for the SSL transport's tests, with certificates it makes itself.
#   tls_server.py FOLDER LOG [--control]
# Makes in FOLDER a private CA (ca.pem) and server certificates with the openssl command line,
# then listens on one free port per kind and prints "KIND PORT" for each, then "ready":
#   good       signed by ca.pem, for 127.0.0.1 and localhost
#   expired    signed by ca.pem, valid only in January 2020
#   wrongname  signed by ca.pem, for other.example only
#   untrusted  signed by another CA that no one trusts
#   plain      no TLS, the same replies
#   stall      accepts and then says nothing
#   tls11      as good, but speaks TLS 1.1 only
#   tls13      as good, but speaks TLS 1.3 only
#   revoked    as good, but revoked: the revocation list its certificate names (on plain, as
#              /revoked.crl) lists it
#   unanswered as good, but its certificate names a revocation list at a port where no one listens
# Replies by path: /length (200000 bytes with Content-Length), /chunked (the same bytes in
# chunks), /close (the same bytes, ended by the closing alert), /cut-length and /cut-chunked
# (40000 of them, then the closing alert and the end of the connection), /abort-length,
# /abort-chunked and /abort-close (as /cut-length, /cut-chunked and /close with 40000 of the
# bytes, then the end of the connection without the closing alert, logged "aborted KIND PATH"),
# /abort-idle ("ok", then the same end while the connection waits), /cookies (sets s=1
# secure and p=2), /redirect/LOCATION (a 302 to LOCATION, the rest of the path as it is),
# /revoked.crl (the list above), anything else "ok". LOG gets one line per event: "sni KIND NAME", "handshake-failed KIND",
# "version KIND TLSv1.N", "request KIND CLIENTPORT REQUESTLINE", "cookie KIND VALUE",
# "authorization KIND VALUE".
# With --control, for a starter that cannot read the output (a Windows test under wine): the
# same lines go to FOLDER/ports, with "control PORT" before "ready", and the server ends when
# the first connection to that port closes (or when none comes within a minute).
import base64
import os
import random
import socket
import warnings
import ssl
import subprocess
import sys
import threading

folder, log_path = sys.argv[1], sys.argv[2]
warnings.filterwarnings("ignore", category=DeprecationWarning)  # TLS 1.1, on purpose
log_lock = threading.Lock()
# Serials of their own in each run: a system may keep what it learnt of a serial's revocation.
serials = iter(range(random.randrange(1 << 32, 1 << 40, 1 << 16), 1 << 41))


def log(line):
    with log_lock, open(log_path, "a") as out:
        out.write(line + "\n")


def openssl(*args):
    subprocess.run(["openssl", *args], cwd=folder, check=True, capture_output=True)


def der_items(data):
    """The (tag, content) pairs of a run of DER items."""
    items, at = [], 0
    while at < len(data):
        tag, length, at = data[at], data[at + 1], at + 2
        if length & 0x80:
            count = length & 0x7F
            length, at = int.from_bytes(data[at:at + count], "big"), at + count
        items.append((tag, data[at:at + length]))
        at += length
    return items


def full_length_signature(pem_name, label="CERTIFICATE"):
    """True when the ECDSA signature of the certificate (or list) has r and s of 32 bytes.

    Wine's certificate check refuses a valid P-256 signature whose r or s begins with a zero
    byte (about one signature in 128), so the Windows tests under wine would now and then see a
    good certificate as signed by an untrusted authority."""
    pem = open(os.path.join(folder, pem_name + ".pem")).read()
    body = pem.split("-----BEGIN %s-----" % label)[1].split("-----END %s-----" % label)[0]
    certificate = der_items(base64.b64decode(body))[0][1]
    signature = der_items(certificate)[2][1][1:]  # the BIT STRING, less its unused-bits byte
    r, s = der_items(der_items(signature)[0][1])
    return all(len(value.lstrip(b"\0")) == 32 for _, value in (r, s))


def new_key_and_request(name, subject):
    openssl("req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
            "-keyout", name + ".key", "-out", name + ".csr", "-subj", subject)


def new_ca(name):
    while True:
        make_ca(name)
        if full_length_signature(name):
            return


def make_ca(name):
    openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
            "-nodes", "-keyout", name + ".key", "-out", name + ".pem", "-days", "30",
            "-subj", "/CN=Pelmorix test " + name)


def sign(name, ca, names, dates=None, crl=None):
    """Signs NAME.csr with CA for the subjectAltName NAMES; DATES = (start, end) or None; CRL:
    the address of the revocation list the certificate names, or None."""
    new_key_and_request(name, "/CN=" + name)
    while True:
        sign_request(name, ca, names, dates, crl)
        if full_length_signature(name):
            return


def revoke(name, ca):
    """Revokes NAME and writes the list that says so, NAME.crl in DER."""
    openssl("ca", "-config", name + ".cnf", "-cert", ca + ".pem", "-keyfile", ca + ".key",
            "-revoke", name + ".pem")
    while True:
        openssl("ca", "-gencrl", "-config", name + ".cnf", "-cert", ca + ".pem", "-keyfile",
                ca + ".key", "-crldays", "30", "-out", name + "-crl.pem")
        if full_length_signature(name + "-crl", "X509 CRL"):
            break
    openssl("crl", "-in", name + "-crl.pem", "-outform", "DER", "-out", name + ".crl")


def sign_request(name, ca, names, dates, crl):
    os.makedirs(os.path.join(folder, "db-" + name), exist_ok=True)
    open(os.path.join(folder, "db-" + name, "index.txt"), "w").close()
    with open(os.path.join(folder, "db-" + name, "serial"), "w") as serial:
        serial.write("%012X\n" % next(serials))
    with open(os.path.join(folder, name + ".cnf"), "w") as config:
        config.write("[ca]\ndefault_ca=c\n[c]\ndatabase=db-%s/index.txt\nserial=db-%s/serial\n"
                     "new_certs_dir=db-%s\npolicy=p\ndefault_md=sha256\nunique_subject=no\n"
                     "default_days=30\n[p]\ncommonName=supplied\n[x]\nsubjectAltName=%s\n"
                     % (name, name, name, names))
        if crl:
            config.write("crlDistributionPoints=URI:%s\n" % crl)
    start_end = ["-startdate", dates[0], "-enddate", dates[1]] if dates else []
    openssl("ca", "-batch", "-notext", "-config", name + ".cnf", "-cert", ca + ".pem",
            "-keyfile", ca + ".key", "-in", name + ".csr", "-out", name + ".pem",
            "-extensions", "x", *start_end)


BODY = bytes((i * 131 + 7) % 256 for i in range(200000))


def server_context(kind):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    if kind == "tls11":
        context.set_ciphers("DEFAULT:@SECLEVEL=0")
    if kind in ("tls11", "tls13"):
        version = ssl.TLSVersion.TLSv1_1 if kind == "tls11" else ssl.TLSVersion.TLSv1_3
        context.minimum_version = context.maximum_version = version
    certificate = "good" if kind in ("tls11", "tls13") else kind
    context.load_cert_chain(os.path.join(folder, certificate + ".pem"),
                            os.path.join(folder, certificate + ".key"))
    context.sni_callback = lambda _socket, name, _context: log("sni %s %s" % (kind, name))
    return context


def read_head(stream):
    lines = []
    while True:
        line = stream.readline()
        if not line:
            return None
        line = line.rstrip(b"\r\n").decode("latin-1")
        if not line:
            return lines
        lines.append(line)


def close_with_alert(connection):
    if isinstance(connection, ssl.SSLSocket):
        connection = connection.unwrap()  # sends the closing alert
    connection.close()


def abort(connection):
    """Ends the connection without the closing alert, as a cut cable or a hostile box would."""
    connection.shutdown(socket.SHUT_RDWR)
    connection.close()


def reply(connection, path):
    """Sends the reply for PATH: "keep" the connection, end it with the "alert" or "abort" it."""
    if path.startswith("/abort-"):
        kind = path[len("/abort-"):]
        if kind == "idle":
            connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
        elif kind == "chunked":
            connection.sendall(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n%x\r\n"
                               % 40000 + BODY[:40000] + b"\r\n")
        else:
            length = b"Content-Length: %d\r\n" % len(BODY) if kind == "length" else b""
            connection.sendall(b"HTTP/1.1 200 OK\r\n" + length + b"\r\n" + BODY[:40000])
        return "abort"
    if path == "/length":
        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n" % len(BODY) + BODY)
    elif path in ("/chunked", "/cut-chunked"):
        connection.sendall(b"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n")
        body = BODY if path == "/chunked" else BODY[:40000]
        for start in range(0, len(body), 40000):
            piece = body[start:start + 40000]
            connection.sendall(b"%x\r\n" % len(piece) + piece + b"\r\n")
        if path == "/cut-chunked":
            return "alert"
        connection.sendall(b"0\r\n\r\n")
    elif path in ("/close", "/cut-length"):
        length = b"" if path == "/close" else b"Content-Length: %d\r\n" % len(BODY)
        body = BODY if path == "/close" else BODY[:40000]
        connection.sendall(b"HTTP/1.1 200 OK\r\nConnection: close\r\n" + length + b"\r\n" + body)
        return "alert"
    elif path.startswith("/redirect/"):
        location = path[len("/redirect/"):].encode("latin-1")
        connection.sendall(b"HTTP/1.1 302 Found\r\nLocation: " + location +
                           b"\r\nContent-Length: 5\r\n\r\nmoved")
    elif path == "/revoked.crl":
        crl = open(os.path.join(folder, "revoked.crl"), "rb").read()
        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: application/pkix-crl\r\n"
                           b"Content-Length: %d\r\n\r\n" % len(crl) + crl)
    elif path == "/cookies":
        connection.sendall(b"HTTP/1.1 200 OK\r\nSet-Cookie: s=1; path=/; secure\r\n"
                           b"Set-Cookie: p=2; path=/\r\nContent-Length: 2\r\n\r\nok")
    else:
        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
    return "keep"


def serve(kind, connection, client_port):
    if kind == "stall":
        connection.recv(1)  # holds the connection until the client gives up
        return
    if kind != "plain":
        try:
            connection = server_context(kind).wrap_socket(connection, server_side=True)
        except (ssl.SSLError, OSError):
            log("handshake-failed " + kind)
            return
        log("version %s %s" % (kind, connection.version()))
    stream = connection.makefile("rb")
    while True:
        head = read_head(stream)
        if head is None:
            return
        log("request %s %d %s" % (kind, client_port, head[0]))
        for line in head[1:]:
            for name in ("cookie", "authorization"):
                if line.lower().startswith(name + ":"):
                    log("%s %s %s" % (name, kind, line.split(":", 1)[1].strip()))
        path = head[0].split(" ")[1]
        ending = reply(connection, path)
        if ending == "alert":
            close_with_alert(connection)
            return
        if ending == "abort":
            abort(connection)
            log("aborted %s %s" % (kind, path))
            return


def accept_loop(kind, listener):
    while True:
        connection, address = listener.accept()
        threading.Thread(target=serve, args=(kind, connection, address[1]), daemon=True).start()


def serve_until_control_closes(lines):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    lines.append("control %d" % listener.getsockname()[1])
    with open(os.path.join(folder, "ports.part"), "w") as out:
        out.write("".join(line + "\n" for line in lines + ["ready"]))
    os.rename(os.path.join(folder, "ports.part"), os.path.join(folder, "ports"))
    listener.settimeout(60)
    try:
        control, _ = listener.accept()
        control.settimeout(None)
        while control.recv(1):
            pass
    except OSError:
        pass
    os._exit(0)


lines, listeners = [], {}
for kind in ("good", "expired", "wrongname", "untrusted", "plain", "stall", "tls11", "tls13",
             "revoked", "unanswered"):
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    listeners[kind] = listener
    lines.append("%s %d" % (kind, listener.getsockname()[1]))

# The ports are known first: two certificates name addresses on them.
new_ca("ca")
new_ca("stranger")
local = "IP:127.0.0.1,DNS:localhost"
sign("good", "ca", local)
sign("expired", "ca", local, ("20200101000000Z", "20200131000000Z"))
sign("wrongname", "ca", "DNS:other.example")
sign("untrusted", "stranger", local)
sign("revoked", "ca", local,
     crl="http://127.0.0.1:%d/revoked.crl" % listeners["plain"].getsockname()[1])
revoke("revoked", "ca")
# Bound and kept, but never listening: a connection to it is refused.
nobody = socket.socket()
nobody.bind(("127.0.0.1", 0))
sign("unanswered", "ca", local, crl="http://127.0.0.1:%d/none.crl" % nobody.getsockname()[1])
for kind, listener in listeners.items():
    threading.Thread(target=accept_loop, args=(kind, listener), daemon=True).start()
if "--control" in sys.argv[3:]:
    serve_until_control_closes(lines)
print("".join(line + "\n" for line in lines + ["ready"]), end="", flush=True)
threading.Event().wait()
