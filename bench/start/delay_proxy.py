#!/usr/bin/env python3
"""A network of a given round trip between the start benchmark's programs and the demo server.

Listens on 127.0.0.1 and forwards every connection to the server's port. Each chunk read from
either side is written to the other half a round trip after it arrived, in order; an end of
stream travels the same way. A new connection stands in for a TCP handshake: its bytes toward
the server travel as if sent no earlier than one round trip after the accept, so the first
request of a connection is answered two round trips after the connect, as on a real network.

Usage: delay_proxy.py --rtt MS --server-port-file FILE --port-file FILE

The server's port is read from its file at each connection, so the proxy can start first and
the server can name the proxy's port as its own address.
"""

import argparse
import asyncio
import os
import sys


async def pass_on(reader, writer, half_trip, not_before):
    """Copies one direction; each chunk leaves half_trip after it arrived (not before
    not_before), so the order of chunks and the gaps between them are kept."""
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def read_side():
        while True:
            chunk = await reader.read(65536)
            await queue.put((max(loop.time(), not_before) + half_trip, chunk))
            if not chunk:
                return

    async def write_side():
        while True:
            due, chunk = await queue.get()
            delay = due - loop.time()
            if delay > 0:
                await asyncio.sleep(delay)
            if not chunk:
                if writer.can_write_eof():
                    writer.write_eof()
                return
            writer.write(chunk)
            await writer.drain()

    reading = asyncio.ensure_future(read_side())
    try:
        await write_side()
    finally:
        reading.cancel()


async def handle(client_reader, client_writer, server_port_file, rtt):
    loop = asyncio.get_running_loop()
    accepted = loop.time()
    try:
        with open(server_port_file) as f:
            server_port = int(f.read())
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", server_port)
    except (OSError, ValueError) as error:
        print("delay proxy: no server (%s): %s" % (server_port_file, error), file=sys.stderr)
        client_writer.close()
        return
    directions = [
        asyncio.ensure_future(pass_on(client_reader, server_writer, rtt / 2, accepted + rtt)),
        asyncio.ensure_future(pass_on(server_reader, client_writer, rtt / 2, accepted))]
    # Both ends of stream pass on normally; a side that fails (a reset) ends the other too.
    done, pending = await asyncio.wait(directions, return_when=asyncio.FIRST_EXCEPTION)
    for direction in pending:
        direction.cancel()
    for direction in done:
        direction.exception()
    for writer in (server_writer, client_writer):
        writer.close()


async def serve(args):
    rtt = args.rtt / 1000.0
    server = await asyncio.start_server(
        lambda r, w: handle(r, w, args.server_port_file, rtt), "127.0.0.1", 0)
    port = server.sockets[0].getsockname()[1]
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(port))
    os.replace(args.port_file + ".tmp", args.port_file)
    async with server:
        await server.serve_forever()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rtt", type=float, required=True, help="round trip in milliseconds")
    parser.add_argument("--server-port-file", required=True, help="file holding the server's port")
    parser.add_argument("--port-file", required=True,
                        help="file the proxy's port is written to once listening")
    try:
        asyncio.run(serve(parser.parse_args()))
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
