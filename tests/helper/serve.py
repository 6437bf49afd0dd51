# The update server of the helper's tests: http.server on 127.0.0.1 serving a folder, plus
# /short/* (a body that ends before its announced length) and /slow/* (a body that stalls).
# Prints its port, then serves until killed.
import functools
import http.server
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path.startswith("/short/") or self.path.startswith("/slow/"):
            body = b"!<arch>\n" + b"x" * 100
            self.send_response(200)
            self.send_header("Content-Length", str(len(body) * 10))
            self.end_headers()
            self.wfile.write(body)
            self.wfile.flush()
            if self.path.startswith("/slow/"):
                time.sleep(30)
            self.close_connection = True
            return
        super().do_GET()


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=sys.argv[1]))
server.daemon_threads = True
print(server.server_address[1], flush=True)
server.serve_forever()
