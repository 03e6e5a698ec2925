#!/usr/bin/env python3
# The web tests' server: Python's own static one, serving the folder it is
# started in on 127.0.0.1, at a port the system gives it, which it prints.
# With --redirect-index it answers every index.html with a redirect to its
# folder, as many static hosts do. While the folder holds a file `.mode`, it
# answers as that says: "hang", it takes each request and never answers, as a
# phone's network that hangs; "late MS", it answers each MS milliseconds late,
# as a slow link.
import http.server
import sys
import threading
import time


def mode():
    try:
        with open('.mode') as file:
            return file.read().split()
    except OSError:
        return []


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        how = mode()
        if how[:1] == ['hang']:
            threading.Event().wait()
        if how[:1] == ['late']:
            time.sleep(int(how[1]) / 1000)
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
