"""A real SMTP server on a free loopback port, for the mail tests.

Prints its port on the first line of standard output, then one JSON object per
line for each event:
  {"event": "connect"}
  {"event": "message", "mail_from": ..., "rcpt_tos": [...], "headers": [[name, value], ...],
   "raw_headers": ..., "charset": ..., "body": ..., "seven_bit": true}
      (header values decoded and unfolded by Python's email package; raw_headers is
       the header block as received, up to the blank line)
  {"event": "quit"}
It stops when its standard input is closed.

Options:
  --refuse ADDRESS         refuse this receiver (550); may be repeated
  --refuse-sender ADDRESS  refuse this envelope sender (553)
  --refuse-data            refuse every message after its data (554)
  --quit-reply REPLY       answer QUIT with REPLY instead of "221 Bye"
  --greeting REPLY         no SMTP server: greet every connection with REPLY only
"""
import argparse
import asyncio
import email
import email.policy
import json
import socket
import sys
import threading

from aiosmtpd.smtp import SMTP


def emit(**event):
    print(json.dumps(event), flush=True)


class Recorder:
    def __init__(self, options):
        self.options = options

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if address == self.options.refuse_sender:
            return "553 5.7.1 sender <%s> refused" % address
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.options.refuse:
            return "550 5.1.1 receiver <%s> refused" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.options.refuse_data:
            return "554 5.6.0 message refused"
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        emit(event="message", mail_from=envelope.mail_from, rcpt_tos=envelope.rcpt_tos,
             headers=[[name, str(value)] for name, value in message.items()],
             raw_headers=raw.split(b"\r\n\r\n", 1)[0].decode("ascii", "replace"),
             charset=message.get_content_charset(),
             body=message.get_content().replace("\r\n", "\n"),
             seven_bit=all(byte < 0x80 for byte in raw))
        return "250 OK"

    async def handle_QUIT(self, server, session, envelope):
        emit(event="quit")
        return self.options.quit_reply


class Peer(SMTP):
    def connection_made(self, transport):
        emit(event="connect")
        super().connection_made(transport)


class Greeter(asyncio.Protocol):
    def __init__(self, greeting):
        self.greeting = greeting

    def connection_made(self, transport):
        emit(event="connect")
        transport.write(self.greeting.encode() + b"\r\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--refuse-sender")
    parser.add_argument("--refuse-data", action="store_true")
    parser.add_argument("--quit-reply", default="221 Bye")
    parser.add_argument("--greeting")
    options = parser.parse_args()

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    sock = socket.socket()
    sock.bind(("127.0.0.1", 0))
    if options.greeting:
        factory = lambda: Greeter(options.greeting)
    else:
        recorder = Recorder(options)
        factory = lambda: Peer(recorder, hostname="peer.test", loop=loop)
    loop.run_until_complete(loop.create_server(factory, sock=sock))
    print(sock.getsockname()[1], flush=True)

    def stop_when_stdin_closes():
        sys.stdin.read()
        loop.call_soon_threadsafe(loop.stop)

    threading.Thread(target=stop_when_stdin_closes, daemon=True).start()
    loop.run_forever()


if __name__ == "__main__":
    main()
