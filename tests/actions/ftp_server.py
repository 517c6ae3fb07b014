"""A throwaway FTP server for the tests, on 127.0.0.1 and a free port.

Usage: /usr/bin/python3 ftp_server.py [--reply-delay=SECONDS] [--cut-uploads=NAME]
                                      NAME:PASSWORD:PERMISSIONS:HOME...

NAME "anonymous" logs in with any password. PERMISSIONS are pyftpdlib's letters ("elr" reads,
"elradfmw" also writes). Every user starts in the folder "/incoming" of its home, so only an
absolute remote path reaches the root. The port is printed on standard output once the server
listens. The server ends on SIGTERM, or when its standard input closes, so it never outlives a
crashed test.

Hostile servers: --reply-delay makes every reply (the greeting too) wait that long; the files
the user --cut-uploads names stores keep only their first half, though the upload is answered
as complete.
"""

import logging
import os
import sys
import threading
import time
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer


class Handler(FTPHandler):
    auth_failed_timeout = 0  # a refused login answers at once
    max_login_attempts = 1000
    reply_delay = 0.0
    cut_uploads = None

    def on_login(self, username):
        self.fs.cwd = "/incoming"

    def respond(self, resp, logfun=logging.debug):
        if self.reply_delay:
            time.sleep(self.reply_delay)  # the whole server waits: one client at a time
        super().respond(resp, logfun=logfun)

    def on_file_received(self, file):
        if self.username == self.cut_uploads:
            with open(file, "r+b") as stored:
                stored.truncate(os.path.getsize(file) // 2)


def main():
    warnings.simplefilter("ignore")  # write access for anonymous is what the tests want
    config_logging(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    accounts = []
    for argument in sys.argv[1:]:
        if argument.startswith("--reply-delay="):
            Handler.reply_delay = float(argument.split("=", 1)[1])
        elif argument.startswith("--cut-uploads="):
            Handler.cut_uploads = argument.split("=", 1)[1]
        else:
            accounts.append(argument)
    for account in accounts:
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
