#!/usr/bin/env python3
"""An RFC 3161 timestamp server on 127.0.0.1 for the signing tests: answers each HTTP POST of an
application/timestamp-query with the reply of `openssl ts -reply` under the given configuration.

Usage: timestamp_server.py CONFIG PORT_FILE
The port is chosen by the system and written to PORT_FILE once the server listens; each request is
one line on standard error. It serves until it is ended.
"""
import http.server
import os
import subprocess
import sys
import tempfile


class TimestampHandler(http.server.BaseHTTPRequestHandler):
    config = ""

    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        if self.headers.get("Content-Type") != "application/timestamp-query":
            self.send_error(415, "expected application/timestamp-query")
            return
        with tempfile.TemporaryDirectory() as work:
            query_file = os.path.join(work, "query.tsq")
            reply_file = os.path.join(work, "reply.tsr")
            with open(query_file, "wb") as f:
                f.write(query)
            answer = subprocess.run(
                ["openssl", "ts", "-reply", "-config", self.config, "-queryfile", query_file,
                 "-out", reply_file],
                capture_output=True, text=True)
            if answer.returncode != 0:
                self.send_error(500, "openssl ts -reply failed: " + answer.stderr.strip()[:200])
                return
            with open(reply_file, "rb") as f:
                reply = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)


def main():
    config, port_file = sys.argv[1], sys.argv[2]
    TimestampHandler.config = config
    server = http.server.HTTPServer(("127.0.0.1", 0), TimestampHandler)
    # Written whole and then renamed, so a reader never sees half a number.
    with open(port_file + ".new", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".new", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
