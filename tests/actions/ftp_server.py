"""A throwaway FTP server for the tests, on 127.0.0.1 and a free port.

Usage: /usr/bin/python3 ftp_server.py NAME:PASSWORD:PERMISSIONS:HOME...

NAME "anonymous" logs in with any password. PERMISSIONS are pyftpdlib's letters ("elr" reads,
"elradfmw" also writes). Every user starts in the folder "/incoming" of its home, so only an
absolute remote path reaches the root. The port is printed on standard output once the server
listens. The server ends on SIGTERM, or when its standard input closes, so it never outlives a
crashed test.
"""

import logging
import os
import sys
import threading
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


class Handler(FTPHandler):
    auth_failed_timeout = 0  # a refused login answers at once
    max_login_attempts = 1000

    def on_login(self, username):
        self.fs.cwd = "/incoming"


def main():
    warnings.simplefilter("ignore")  # write access for anonymous is what the tests want
    config_logging(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    for account in sys.argv[1:]:
        name, password, perm, home = account.split(":", 3)
        if name == "anonymous":
            authorizer.add_anonymous(home, perm=perm)
        else:
            authorizer.add_user(name, password, home, perm=perm)
    Handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), Handler)

    def end_with_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=end_with_parent, daemon=True).start()
    print(server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
