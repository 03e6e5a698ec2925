#!/usr/bin/env python3
# The web tests' server: Python's own static one, serving the folder it is
# started in on 127.0.0.1, at a port the system gives it, which it prints.
# With --redirect-index it answers every index.html with a redirect to its
# folder, as many static hosts do.
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        path = self.path.split('?')[0]
        if '--redirect-index' in sys.argv and path.endswith('/index.html'):
            self.send_response(301)
            self.send_header('Location', path[:-len('index.html')])
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        super().do_GET()


server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
