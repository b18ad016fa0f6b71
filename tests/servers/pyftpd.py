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

port, home, anon, user, password = sys.argv[1:6]
logging.basicConfig(level=logging.WARNING)
FTPHandler.authorizer = DummyAuthorizer()
FTPHandler.authorizer.add_user(user, password, home, perm="elradfmwMT")
FTPHandler.authorizer.add_anonymous(anon)
FTPHandler.permit_foreign_addresses = False
server = FTPServer(("127.0.0.1", int(port)), FTPHandler)
server.max_cons = 64
server.serve_forever(timeout=0.5)
