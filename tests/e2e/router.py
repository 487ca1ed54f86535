"""A home router for the tests, in the router's network namespace: answers discovery (SSDP) and
control (SOAP) requests as an Internet Gateway Device does, or NAT-PMP requests only, writes each
request to standard output as a JSON line, and applies each forwarding with nftables. Usage:
router.py LAN_ADDRESS WAN_INTERFACE EXTERNAL_ADDRESS_IT_TELLS [UPNP_ERROR_FOR_EVERY_FORWARDING |
natpmp]"""

import http.server
import json
import re
import socket
import struct
import subprocess
import sys
import threading

LAN, WAN, EXTERNAL = sys.argv[1:4]
MODE = sys.argv[4] if len(sys.argv) > 4 else ""
REFUSAL = int(MODE) if MODE.isdigit() else None
HTTP_PORT, SSDP = 5000, ("239.255.255.250", 1900)
SERVICE = "urn:schemas-upnp-org:service:WANIPConnection:1"
# The library takes a router only with WANCommonInterfaceConfig among its services.
DESCRIPTION = ('<?xml version="1.0"?><root><device><deviceType>urn:schemas-upnp-org:device:'
               'InternetGatewayDevice:1</deviceType><serviceList>%s</serviceList></device></root>' %
               "".join("<service><serviceType>%s</serviceType><controlURL>/%d</controlURL>"
                       "</service>" % (kind, n) for n, kind in enumerate((
                           "urn:schemas-upnp-org:service:WANCommonInterfaceConfig:1", SERVICE))))
ANSWERS = {"GetStatusInfo": {"NewConnectionStatus": "Connected", "NewUptime": "1"},
           "GetExternalIPAddress": {"NewExternalIPAddress": EXTERNAL}}
forwardings = {}  # (protocol, port) -> internal client
lock = threading.Lock()  # one line of the record at a time


def record(**entry):
    with lock:
        print(json.dumps(entry), flush=True)


def nft(*commands):
    subprocess.run(["nft", "; ".join(commands)], check=True)


def apply_forwardings():
    nft("flush chain ip router forward", *(
        "add rule ip router forward iifname %s %s dport %s dnat to %s" %
        (WAN, protocol.lower(), port, client) for (protocol, port), client in forwardings.items()))


def answer_discovery(ssdp):
    while True:
        data, sender = ssdp.recvfrom(2048)
        search = data.startswith(b"M-SEARCH") and re.search(rb"^ST:\s*(\S+)", data, re.M | re.I)
        if not search:
            continue
        record(discovery=search.group(1).decode())
        ssdp.sendto(b"HTTP/1.1 200 OK\r\nST: %s\r\nUSN: uuid:1::%s\r\nLOCATION: http://%s:%d/\r\n"
                    b"\r\n" % (search.group(1), search.group(1), LAN.encode(), HTTP_PORT), sender)


def answer_natpmp(gateway):
    while True:
        data, sender = gateway.recvfrom(64)
        if data[:2] == b"\0\0":  # the external address
            gateway.sendto(struct.pack("!BBHI4s", 0, 128, 0, 1, socket.inet_aton(EXTERNAL)), sender)
            continue
        _, operation, _, private, public, lease = struct.unpack("!BBHHHI", data[:12])
        record(natpmp=operation, private=private, public=public, lease=lease)
        mapping = ("TCP" if operation == 2 else "UDP", str(private))
        forwardings.pop(mapping, None)
        if lease:
            forwardings[mapping] = "%s:%d" % (sender[0], private)
        apply_forwardings()
        gateway.sendto(struct.pack("!BBHIHHI", 0, 128 + operation, 0, 1, private,
                                   private if lease else 0, lease), sender)


def envelope(body):
    return ('<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/'
            'envelope/"><s:Body>%s</s:Body></s:Envelope>' % body).encode()


class Control(http.server.BaseHTTPRequestHandler):
    def reply(self, status, body):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.reply(200, DESCRIPTION.encode())

    def do_POST(self):
        action = self.headers.get("SOAPAction", "").strip('"').rpartition("#")[2]
        body = self.rfile.read(int(self.headers.get("Content-Length", 0))).decode()
        arguments = dict(re.findall(r"<(New\w+)>([^<]*)</", body))
        record(action=action, arguments=arguments)
        error = self.act(action, arguments)
        if error:
            self.reply(500, envelope(
                '<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring>'
                '<detail><UPnPError xmlns="urn:schemas-upnp-org:control-1-0"><errorCode>%d'
                '</errorCode></UPnPError></detail></s:Fault>' % error))
            return
        values = "".join("<%s>%s</%s>" % (name, value, name)
                         for name, value in ANSWERS.get(action, {}).items())
        self.reply(200, envelope('<u:%sResponse xmlns:u="%s">%s</u:%sResponse>' %
                                 (action, SERVICE, values, action)))

    def act(self, action, arguments):
        """Does what an action asks; gives the UPnP error to answer, or None."""
        mapping = arguments.get("NewProtocol"), arguments.get("NewExternalPort")
        if action == "AddPortMapping":
            if REFUSAL:
                return REFUSAL
            forwardings[mapping] = "%s:%s" % (arguments["NewInternalClient"],
                                              arguments["NewInternalPort"])
        elif action == "DeletePortMapping":
            if forwardings.pop(mapping, None) is None:
                return 714  # NoSuchEntryInArray
        elif action not in ANSWERS:
            return 401  # Invalid Action
        apply_forwardings()
        return None

    def log_message(self, *_):
        pass


if __name__ == "__main__":
    nft("add table ip router", "flush table ip router",
        "add chain ip router forward { type nat hook prerouting priority dstnat; }",
        "add chain ip router out { type nat hook postrouting priority srcnat; }",
        "add rule ip router out oifname %s masquerade" % WAN)
    if MODE == "natpmp":
        natpmp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        natpmp.bind((LAN, 5351))
        record(ready=True)
        answer_natpmp(natpmp)
    ssdp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    ssdp.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    ssdp.bind(("", SSDP[1]))
    ssdp.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
                    struct.pack("4s4s", socket.inet_aton(SSDP[0]), socket.inet_aton(LAN)))
    threading.Thread(target=answer_discovery, args=(ssdp,), daemon=True).start()
    control = http.server.HTTPServer((LAN, HTTP_PORT), Control)
    record(ready=True)
    control.serve_forever()
