#!/usr/bin/python3
"""A pyftpdlib server for the tests: one user with a writable home and a
read-only anonymous root, on 127.0.0.1 only.

    pyftpd.py PORT HOME ANON_ROOT USER PASSWORD
"""
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    port, home, anon, user, password = sys.argv[1:6]
    logging.basicConfig(level=logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, home, perm="elradfmwMT")
    authorizer.add_anonymous(anon)
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.permit_foreign_addresses = False
    server = FTPServer(("127.0.0.1", int(port)), handler)
    server.max_cons = 64
    server.serve_forever(timeout=0.5)


if __name__ == "__main__":
    main()
