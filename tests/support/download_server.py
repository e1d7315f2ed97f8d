#!/usr/bin/env python3
"""Serves the current folder on 127.0.0.1 for the download tests. A path may
start with one way of misbehaving before the file's name:
  /hop/N/...    redirects N times, then serves the rest
  /cut/N/...    the first N bytes, no Content-Length, then closes
  /short/N/...  the first N bytes of the announced length, then closes
  /drip/N/...   the announced length, one byte every N seconds
  /mute/N/...   the announced length, then N seconds of silence"""
import http.server
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        mode, _, rest = self.path.lstrip('/').partition('/')
        if mode not in ('hop', 'cut', 'short', 'drip', 'mute'):
            return super().do_GET()
        n, _, name = rest.partition('/')
        n = int(n)
        if mode == 'hop':
            self.send_response(302)
            self.send_header('Location', f'http://{self.headers["Host"]}/' + (f'hop/{n - 1}/{name}' if n > 1 else name))
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        body = open(name, 'rb').read()
        self.send_response(200)
        if mode != 'cut':
            self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        if mode in ('cut', 'short'):
            self.wfile.write(body[:n])
        elif mode == 'mute':
            time.sleep(n)
        else:
            for byte in body:
                self.wfile.write(bytes([byte]))
                self.wfile.flush()
                time.sleep(n)


server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
print(f'Serving HTTP on 127.0.0.1 port {server.server_address[1]}', flush=True)
server.serve_forever()
