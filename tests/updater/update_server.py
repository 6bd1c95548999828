#!/usr/bin/env python3
"""The update server of the updater tests: serves a folder on 127.0.0.1 at a port of its own
choosing, which it prints as its first line.

  update_server.py ROOT [--port PORT] [--rate BYTES_PER_SECOND] [--drop-after BYTES]

--rate sends every file at about that speed; --drop-after announces a file's full length and
closes the connection after that many bytes of it.
"""

import argparse
import functools
import http.server
import socket
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    rate = 0
    drop_after = 0

    def log_message(self, format, *args):
        pass

    def copyfile(self, source, outputfile):
        # Twenty pieces a second make the rate even enough for the speed display.
        piece = max(1, self.rate // 20) if self.rate else 64 * 1024
        sent = 0
        while True:
            if self.drop_after and sent >= self.drop_after:
                outputfile.flush()
                self.connection.shutdown(socket.SHUT_RDWR)
                self.close_connection = True
                return
            data = source.read(piece)
            if not data:
                return
            outputfile.write(data)
            sent += len(data)
            if self.rate:
                time.sleep(len(data) / self.rate)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--drop-after", type=int, default=0)
    options = parser.parse_args()
    Handler.rate = options.rate
    Handler.drop_after = options.drop_after
    handler = functools.partial(Handler, directory=options.root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", options.port), handler)
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    sys.exit(0)


if __name__ == "__main__":
    main()
