#!/usr/bin/env python3
"""A TCP proxy on loopback that holds everything the client sends for a fixed delay before passing
it on, so that every round trip to the server behind it takes that much longer: a network of
that latency, for the library benchmark. The answers go back at once; the delay of a round trip
is the one of its request.

    delay-proxy.py TARGET_HOST TARGET_PORT DELAY_MS

It listens on a free loopback port, prints that port on a line of its own when it is ready and
runs until it is terminated."""

import asyncio
import sys


async def forward_delayed(reader, writer, delay):
    # Chunks keep their order: each leaves `delay` after it arrived, not after the one before.
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def send():
        while True:
            due, data = await queue.get()
            if data is None:
                break
            pause = due - loop.time()
            if pause > 0:
                await asyncio.sleep(pause)
            writer.write(data)
            await writer.drain()
        writer.close()

    sender = asyncio.create_task(send())
    try:
        while data := await reader.read(65536):
            queue.put_nowait((loop.time() + delay, data))
    finally:
        queue.put_nowait((0, None))
        await sender


async def forward(reader, writer):
    try:
        while data := await reader.read(65536):
            writer.write(data)
            await writer.drain()
    finally:
        writer.close()


async def main():
    host, port, delay = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]) / 1000.0

    async def connect(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection(host, port)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(forward_delayed(client_reader, server_writer, delay),
                             forward(server_reader, client_writer), return_exceptions=True)

    proxy = await asyncio.start_server(connect, "127.0.0.1", 0)
    print(proxy.sockets[0].getsockname()[1], flush=True)
    async with proxy:
        await proxy.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
