#!/usr/bin/env python3
"""A whois server on 127.0.0.1 for the command-line tests.

Prints the port it listens on, answers every query line with one fixed record and prints
each query it answered ("query: TEXT"). A connection that closes without a line (the
probe) gets nothing. Ends after the number of queries given on the command line, or after
30 s without a connection.
"""
import socket
import sys

RECORD = (b"% Information related to 192.0.2.0 - 192.0.2.255\n"
          b"# registry data\n"
          b"inetnum:        192.0.2.0 - 192.0.2.255\n")


def query_line(peer):
    data = b""
    while b"\n" not in data:
        chunk = peer.recv(4096)
        if not chunk:
            return None
        data += chunk
    return data.split(b"\n")[0].strip()


def main():
    wanted = int(sys.argv[1])
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    listener.settimeout(30)
    print(listener.getsockname()[1], flush=True)
    answered = 0
    while answered < wanted:
        try:
            peer, _ = listener.accept()
        except socket.timeout:
            return
        with peer:
            peer.settimeout(10)
            try:
                query = query_line(peer)
                if query is None:
                    continue
                peer.sendall(RECORD)
            except OSError:
                continue
        print("query:", query.decode("ascii", "replace"), flush=True)
        answered += 1


main()
