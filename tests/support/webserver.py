#!/ usr / bin / env python3
"""A small web server for the download tests, bound to 127.0.0.1 on a free port.

Serves the files of the folder given as its argument, plus a few routes that misbehave on
purpose:
  /redirect/NAME   302 to /NAME
  /redirect-file/  302 to file:///etc/passwd, whatever follows
  /unbounded/NAME  NAME padded with zeros to 600000 bytes, without a Content-Length header
  /announced/NAME  the same with its Content-Length
  /slow/NAME       NAME after a pause of one and a half seconds
  /stall           headers, then nothing for ten seconds
Prints the port on the first line of its output once it listens.
"""
import http.server
import os
import sys
import time


PADDED_SIZE = 600000


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def send_bytes(self, data, announce=True):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if announce:
            self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        path = self.path.split("?")[0]
        if path.startswith("/redirect/"):
            self.send_response(302)
            self.send_header("Location", "/" + path[len("/redirect/"):])
            self.end_headers()
        elif path.startswith("/redirect-file/"):
            self.send_response(302)
            self.send_header("Location", "file:///etc/passwd")
            self.end_headers()
        elif path.startswith("/unbounded/") or path.startswith("/announced/"):
            head, name = path[1:].split("/", 1)
            with open(name, "rb") as source:
                data = source.read()
            data += b"\0" * max(0, PADDED_SIZE - len(data))
            self.send_bytes(data, announce=head == "announced")
        elif path.startswith("/slow/"):
            time.sleep(1.5)
            self.path = "/" + path[len("/slow/"):]
            super().do_GET()
        elif path == "/stall":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            self.wfile.flush()
            time.sleep(10)
        else:
            super().do_GET()


class QuietServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # clients that hang up early are what some tests do


def main():
    os.chdir(sys.argv[1])
    server = QuietServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
